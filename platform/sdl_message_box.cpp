#include <cstdio>

#include "unattended.h"
#include "win_handles.h"

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT)
{
    if (!text)
        text = "";
    if (!caption)
        caption = "Error";
    // Where no one can answer, the question is only reported.
    if (PlatformIsUnattended()) {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        std::fflush(stderr);
        return IDOK;
    }
    SDL_Window* parent = PlatformIsWindow(owner) ? owner->sdlWindow : nullptr;
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, parent) != 0) {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        std::fflush(stderr);
        return 0;
    }
    return IDOK;
}
