#include "win_handles.h"

bool PlatformStartVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    // A window-manager close becomes a message for that window only; the
    // window procedure decides whether the program ends.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}
