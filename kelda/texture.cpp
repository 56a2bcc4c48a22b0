#include "texture.h"

Texture::Texture()
    : bindCount(0),
      width(0),
      height(0),
      inUse(false),
      name(nullptr),
      renderTarget(false),
      glTexture(0xFFFFFFFFu),
      bitmap(nullptr)
{
}
