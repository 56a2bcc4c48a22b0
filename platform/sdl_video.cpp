#include <cstring>
#include <string>

#include "win_handles.h"

namespace {

// Whether SDL_VIDEODRIVER (a name or a comma-separated list) names driver.
bool DriverAskedFor(const char* driver)
{
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (!asked)
        return false;
    const std::string list = asked;
    std::string::size_type from = 0;
    while (from <= list.size()) {
        std::string::size_type end = list.find(',', from);
        if (end == std::string::npos)
            end = list.size();
        if (SDL_strcasecmp(list.substr(from, end - from).c_str(), driver) == 0)
            return true;
        from = end + 1;
    }
    return false;
}

// SDL falls back to its offscreen driver where no display answers. A player
// that drew there would play its whole run to nowhere, so those drivers count
// only where they are asked for by name, as headless runs and tests do.
bool DrawsToNowhere(const char* driver)
{
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) &&
           !DriverAskedFor(driver);
}

}  // namespace

bool PlatformStartVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    // A start that failed is not tried again for the same request: each try
    // would say again why no driver answers.
    static std::string failedFor;
    static bool failed = false;
    const char* hint = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    const std::string asked = hint ? hint : "";
    if (failed && failedFor == asked)
        return false;
    // A window-manager close becomes a message for that window only; the
    // window procedure decides whether the program ends.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    bool started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (started && DrawsToNowhere(SDL_GetCurrentVideoDriver())) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_SetError("no display to draw on (SDL_VIDEODRIVER names none)");
        started = false;
    }
    failed = !started;
    failedFor = asked;
    return started;
}
