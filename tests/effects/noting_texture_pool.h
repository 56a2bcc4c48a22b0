// The real texture pool, noting the calls an effect makes through its table,
// as "load <file> <name>" and "find <name>".
#pragma once

#include <string>
#include <vector>

#include "texture_pool.h"

class NotingTexturePool : public TexturePool {
public:
    int LoadTexture(char* file, const char* name) override
    {
        calls.push_back(std::string("load ") + file + " " + name);
        return TexturePool::LoadTexture(file, name);
    }
    Texture* GetTextureByName(const char* name) override
    {
        calls.push_back(std::string("find ") + name);
        return TexturePool::GetTextureByName(name);
    }

    std::vector<std::string> calls;
};
