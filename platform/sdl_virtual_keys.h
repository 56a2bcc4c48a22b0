// SDL key symbols as Windows virtual-key codes. Internal to the platform layer.
#pragma once

#include <SDL.h>

// 0 for a key that has no virtual-key code here.
unsigned VirtualKeyFromSdl(SDL_Keycode key);
