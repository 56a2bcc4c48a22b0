// Bitmap files as DIB sections: LoadImageA gives what Windows gives for
// IMAGE_BITMAP with LR_LOADFROMFILE | LR_CREATEDIBSECTION, an uncompressed
// bottom-up DIB at the file's bit depth with rows padded to 4 bytes (blue,
// green, red for 24 bits, palette indices up to 8 bits).
#pragma once

#include "win_types.h"

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

#define IMAGE_BITMAP 0u
#define LR_LOADFROMFILE 0x00000010u
#define LR_CREATEDIBSECTION 0x00002000u

// name is a file name (Windows separators allowed). NULL when the file
// cannot be read or its header does not describe the data it holds; the
// reason goes to standard error.
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height, UINT flags);
// Fills a BITMAP for a bitmap from LoadImageA; with a null buffer returns the
// size needed. 0 for an unknown handle or a buffer too small.
int GetObjectA(HANDLE object, int size, LPVOID buffer);
BOOL DeleteObject(HGDIOBJ object);
