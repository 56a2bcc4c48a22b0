#include <cerrno>
#include <ctime>

#include "win_time.h"

void Sleep(DWORD milliseconds)
{
    timespec remaining;
    remaining.tv_sec = milliseconds / 1000;
    remaining.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

// The counter counts nanoseconds of the monotonic clock.
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    if (!frequency)
        return FALSE;
    frequency->QuadPart = 1000000000LL;
    return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count)
{
    timespec now;
    if (!count || clock_gettime(CLOCK_MONOTONIC, &now) != 0)
        return FALSE;
    count->QuadPart = static_cast<int64_t>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    return TRUE;
}
