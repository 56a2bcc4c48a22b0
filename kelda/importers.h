// The texture pool's image importers. Each fills record->bitmap with rows of
// width x 3 bytes, bottom row first, and returns the GL pixel format of the
// pixels (GL_RGB or GL_BGR_EXT), or -1. file is a Windows-style name.
#pragma once

class Texture;

// Headerless red-green-blue bytes; the size comes from the record.
int ImportRaw(char* file, Texture* record);
// A 24-bit Windows bitmap through the platform's DIB sections.
int ImportBitmap(char* file, Texture* record);
// A JPEG through DevIL; ilInit must have run.
int ImportJpeg(char* file, Texture* record);
