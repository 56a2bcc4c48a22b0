#include <cstdio>

#include "box_signals.h"
#include "unattended.h"
#include "win_handles.h"

namespace {

// Once a signal has closed a box, the player is on its way out: a later box
// is not waited for either.
bool s_endingBySignal = false;

int Report(const char* caption, const char* text, int result)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
    return result;
}

}  // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT)
{
    if (!text)
        text = "";
    if (!caption)
        caption = "Error";
    // Where no one can answer, the question is only reported.
    if (s_endingBySignal || PlatformIsUnattended())
        return Report(caption, text, IDOK);
    SDL_Window* parent = PlatformIsWindow(owner) ? owner->sdlWindow : nullptr;
    int caught = 0;
    const int shown = ShowBoxClosedBySignals(
        [&] { return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, parent); },
        &caught);
    if (caught) {
        s_endingBySignal = true;
        return IDOK;
    }
    return shown == 0 ? IDOK : Report(caption, text, 0);
}
