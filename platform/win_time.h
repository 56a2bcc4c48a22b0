// Sleep and the high-resolution counter, on the monotonic clock.
#pragma once

#include "win_types.h"

void Sleep(DWORD milliseconds);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
