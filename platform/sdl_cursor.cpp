#include "win_handles.h"

namespace {
// Windows keeps a display count: the cursor shows while it is 0 or more.
int s_cursorCount = 0;
}  // namespace

int ShowCursor(BOOL show)
{
    s_cursorCount += show ? 1 : -1;
    if (PlatformStartVideo())
        SDL_ShowCursor(s_cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return s_cursorCount;
}
