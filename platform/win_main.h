// The program entry point that the host defines; the platform's main() calls
// it as Windows would.
#pragma once

#include "win_types.h"

int WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
