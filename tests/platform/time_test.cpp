#include <gtest/gtest.h>

#include "win_time.h"

TEST(Time, SleepWaitsOnTheCounterItsMilliseconds)
{
    LARGE_INTEGER frequency, before, after;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(1000000000, frequency.QuadPart);
    ASSERT_TRUE(QueryPerformanceCounter(&before));
    Sleep(20);
    ASSERT_TRUE(QueryPerformanceCounter(&after));
    double seconds = static_cast<double>(after.QuadPart - before.QuadPart) / frequency.QuadPart;
    EXPECT_GE(seconds, 0.020);
    EXPECT_LT(seconds, 1.0);
}
