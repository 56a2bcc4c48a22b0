// The frame timer against the real counter.
#include <gtest/gtest.h>

#include <cmath>

#include "timer.h"
#include "win_time.h"

namespace {

TEST(Timer, StartsAtZeroWithTheCounterFrequency)
{
    LARGE_INTEGER frequency;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    Timer timer(0.0, 99999.0);
    EXPECT_EQ(static_cast<double>(frequency.QuadPart), timer.frequency);
    EXPECT_EQ(0.0, timer.GetTotalTime());
}

// The first Update has no earlier reading: a step of zero, then bounded.
TEST(Timer, FirstUpdateIsAZeroStepWithinTheBounds)
{
    Timer plain(0.0, 99999.0);
    EXPECT_EQ(0.0, plain.Update());
    Timer floored(0.2, 1.0);
    EXPECT_EQ(0.2, floored.Update());
    EXPECT_EQ(0.2, floored.GetTotalTime());
}

// Second steps after a real sleep, against each bound.
struct BoundCase {
    const char* name;
    double minStep;
    double maxStep;
    DWORD sleepMs;
    double low;   // the step lies in [low, high]
    double high;
};

const BoundCase kBoundCases[] = {
    {"unbounded step is measured", 0.0, 99999.0, 30, 0.029, 1.0},
    {"maxStep caps a long step", 0.0, 0.005, 30, 0.005, 0.005},
    {"minStep lifts a short step", 0.5, 99999.0, 0, 0.5, 0.5},
    {"minStep wins when the bounds cross", 0.3, 0.1, 30, 0.3, 0.3},
    {"NaN bounds change nothing", NAN, NAN, 30, 0.029, 1.0},
};

TEST(Timer, UpdateBoundsTheMeasuredStep)
{
    for (const BoundCase& c : kBoundCases) {
        SCOPED_TRACE(c.name);
        Timer timer(c.minStep, c.maxStep);
        timer.Update();
        const double before = timer.GetTotalTime();
        if (c.sleepMs)
            Sleep(c.sleepMs);
        const double step = timer.Update();
        EXPECT_GE(step, c.low);
        EXPECT_LE(step, c.high);
        EXPECT_EQ(before + step, timer.GetTotalTime());
    }
}

TEST(Timer, TotalTimeIsTheSumOfTheStepsAndFollowsTheClock)
{
    Timer timer(0.0, 99999.0);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    timer.Update();
    QueryPerformanceCounter(&start);
    double sum = 0.0;
    for (int i = 0; i < 20; i++) {
        Sleep(2);
        sum += timer.Update();
    }
    QueryPerformanceCounter(&end);
    EXPECT_DOUBLE_EQ(sum, timer.GetTotalTime());
    const double clock = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    // The timer's readings frame the clock's: it ran at least as long, and
    // not much longer.
    EXPECT_GE(timer.GetTotalTime(), 0.040);
    EXPECT_LE(timer.GetTotalTime(), clock + 0.001);
}

}  // namespace
