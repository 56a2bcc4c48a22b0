// The host's store of named GL textures, identified by pool index (-1: none).
// Plugins call LoadTexture (slot 2) and GetTextureByName (slot 6) through the
// table, so the slot order is part of their contract.
#pragma once

#include <GL/gl.h>
#include <vector>

class Texture;

// Fills record->bitmap from file; returns the GL pixel format of the pixels
// (GL_RGB or GL_BGR_EXT), or -1.
typedef int (*ImportFunction)(char* file, Texture* record);

struct ImporterRecord {
    ImportFunction function;
    int flags;
    char extension[4];  // lower case, without the dot
};

class TexturePool {
public:
    TexturePool();
    ~TexturePool();

    virtual GLuint BindTexture(int index);                                   // slot 0
    virtual int UnbindTexture(int index);                                    // slot 1
    virtual int LoadTexture(char* file, const char* name);                   // slot 2
    virtual int LoadTextureEx(char* file, const char* name, int width, int height,
                              int bitsPerPixel, int reserved);               // slot 3
    virtual int CreateTexture(const char* name, int width, int height, int bitsPerPixel,
                              bool renderTarget);                            // slot 4
    virtual int ImportTexture(char* file, Texture* record);                  // slot 5
    virtual Texture* GetTextureByName(const char* name);                     // slot 6
    virtual int FindTexture(const char* name);                               // slot 7
    virtual int FreeTexture(int index);                                      // slot 8
    virtual int UnloadTexture(int index);                                    // slot 9

    Texture* GetTexture(int index);
    int RegisterImporter(ImportFunction function, const char* name, const char* extension,
                         int flags);
    // Lower-cases the extension of file in place.
    ImportFunction FindImporter(char* file);

    std::vector<Texture*> textures;          // index = pool index
    std::vector<ImporterRecord*> importers;  // in registration order
};
