// Windows bitmaps through the platform's DIB sections. Only 24 bits per
// pixel are taken: the upload reads three blue-green-red bytes per pixel.
#include <GL/gl.h>
#include <GL/glext.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host_path.h"
#include "importers.h"
#include "orvan_core.h"
#include "texture.h"
#include "win_gdi.h"
#include "win_window.h"

int ImportBitmap(char* file, Texture* record)
{
    Orvan_Core_Print("Orvan/non-GLaux Bitmap Importer 1.0\n");

    FILE* probe = fopen(PosixPath(file).c_str(), "r");
    if (!probe) {
        Orvan_Core_Print("BMP IMPORT ERROR - Unable to open file!\n");
        return -1;
    }
    fclose(probe);

    HANDLE handle = LoadImageA(GetModuleHandleA(nullptr), file, IMAGE_BITMAP, 0, 0,
                               LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!handle) {
        Orvan_Core_Print("LoadImage failed!\n");
        MessageBoxA(nullptr, "LoadImage Failed!\n", "bitmap import error", MB_OK);
        return -1;
    }

    BITMAP info;
    if (!GetObjectA(handle, sizeof info, &info)) {
        Orvan_Core_Print("GetObject failed!\n");
        MessageBoxA(nullptr, "GetObject Failed!\n", "bitmap import error", MB_OK);
        DeleteObject(handle);
        return -1;
    }

    size_t rowBytes = static_cast<size_t>(info.bmWidth > 0 ? info.bmWidth : 0) * 3;
    if (info.bmBitsPixel != 24 || info.bmWidth <= 0 || info.bmHeight <= 0 || !info.bmBits ||
        static_cast<size_t>(info.bmWidthBytes) < rowBytes) {
        Orvan_Core_Print("BMP IMPORT ERROR - %d bits per pixel, only 24-bit bitmaps are supported!\n",
                         info.bmBitsPixel);
        DeleteObject(handle);
        return -1;
    }

    record->width = info.bmWidth;
    record->height = info.bmHeight;
    record->renderTarget = false;
    record->bitmap = static_cast<uint8_t*>(malloc(rowBytes * static_cast<size_t>(info.bmHeight)));
    if (!record->bitmap) {
        Orvan_Core_Print("texture->bitmap == 0\n");
        DeleteObject(handle);
        return -1;
    }

    // The DIB's rows are padded to 4 bytes; the buffer's rows are not. Both
    // keep the bottom row first, which is where GL wants row 0.
    const uint8_t* source = static_cast<const uint8_t*>(info.bmBits);
    for (LONG row = 0; row < info.bmHeight; row++)
        memcpy(record->bitmap + static_cast<size_t>(row) * rowBytes,
               source + static_cast<size_t>(row) * static_cast<size_t>(info.bmWidthBytes), rowBytes);

    DeleteObject(handle);
    return GL_BGR_EXT;
}
