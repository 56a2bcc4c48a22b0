// The library entry point every plugin library carries.
#pragma once

#include "win_types.h"

BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
