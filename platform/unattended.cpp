#include "unattended.h"

#include <cstdlib>
#include <cstring>

#include "win_handles.h"

bool PlatformIsUnattended()
{
    const char* declared = std::getenv("KELDA_UNATTENDED");
    if (declared && *declared && std::strcmp(declared, "0") != 0)
        return true;
    if (!PlatformStartVideo())
        return true;
    const char* driver = SDL_GetCurrentVideoDriver();
    return !driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}
