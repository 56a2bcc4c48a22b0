// The heard-time clock against simulated device callbacks: on time, early,
// late, jittery and stalled.
#include "fsound_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

const int kRate = 44100;
const long kBuffer = 1024;
const int64_t kBufferNs = int64_t(1e9 * kBuffer / kRate);

struct DeviceCase {
    const char* name;
    double pace;      // callback period / buffer duration
    double jitter;    // +- fraction of a period
    int stallAfter;   // callback that comes late, 0 for none
    int64_t stallNs;  // by this much
};

void PrintTo(const DeviceCase& c, std::ostream* os)
{
    *os << c.name;
}

class HeardClockTest : public ::testing::TestWithParam<DeviceCase> {};

int Ms(double frames)
{
    return int(std::floor(frames * 1000.0 / kRate));
}

}  // namespace

// Reads 1.05 ms apart rise on every read, never pass what was handed over,
// stay near what the device has played, and end on the last frame.
TEST_P(HeardClockTest, FollowsTheDevice)
{
    const DeviceCase& c = GetParam();
    std::mt19937 random(7);
    std::uniform_real_distribution<double> jitter(-c.jitter, c.jitter);
    fsound::HeardClock clock(kRate, kBuffer);
    const int callbacks = 200;  // about 4.6 s
    const int64_t readStep = 1050000;

    clock.Resume(0);
    int64_t nextRead = 0;
    int64_t stallDelay = 0;
    double previous = -1.0;
    int previousMs = -1;
    int64_t lastCallback = 0;
    for (int k = 0; k <= callbacks + 3; ++k) {
        if (k == c.stallAfter)
            stallDelay = c.stallNs;
        int64_t at = int64_t((k + jitter(random)) * c.pace * double(kBufferNs)) + stallDelay;
        at = std::max(at, lastCallback + 1);
        bool stalled = c.stallAfter != 0 && k >= c.stallAfter - 1 && k <= c.stallAfter + 15;
        for (; nextRead < at; nextRead += readStep) {
            double p = clock.Position(nextRead);
            ASSERT_GE(p, previous) << "went back at " << nextRead;
            ASSERT_LE(p, double(clock.Given()));
            int ms = Ms(p);
            if (k > 3 && !stalled && !clock.Finished(nextRead)) {
                ASSERT_GT(ms, previousMs) << "stood still at " << nextRead / 1000 << " us, callback " << k;
            }
            if (k > 20 && !stalled && k <= callbacks) {
                ASSERT_GE(p, double(clock.Given() - 4 * kBuffer)) << "fell behind the device";
            }
            previous = p;
            previousMs = ms;
        }
        long frames = k < callbacks ? kBuffer : k == callbacks ? kBuffer / 3 : 0;
        clock.OnDeviceBuffer(at, frames, k == callbacks);
        lastCallback = at;
    }
    int64_t end = lastCallback + 10 * kBufferNs;
    EXPECT_TRUE(clock.Finished(end));
    EXPECT_EQ(clock.Position(end), double(callbacks * kBuffer + kBuffer / 3));
}

INSTANTIATE_TEST_SUITE_P(Devices, HeardClockTest,
                         ::testing::Values(DeviceCase{"OnTime", 1.0, 0.0, 0, 0},
                                           DeviceCase{"EarlyLikeTheDiskDriver", 0.95, 0.0, 0, 0},
                                           DeviceCase{"SlowerThanTheSystemClock", 1.003, 0.0, 0, 0},
                                           DeviceCase{"Jittery", 1.0, 0.4, 0, 0},
                                           DeviceCase{"Stalled", 1.0, 0.05, 60, 150000000}),
                         [](const ::testing::TestParamInfo<DeviceCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(HeardClock, StandsWhilePausedAndGoesOnFromThere)
{
    fsound::HeardClock clock(kRate, kBuffer);
    EXPECT_EQ(clock.Position(0), 0.0) << "runs before it was started";
    clock.Resume(0);
    EXPECT_EQ(clock.Position(5000000), 0.0) << "ahead of a device given nothing";
    int64_t t = 0;
    for (int k = 0; k < 20; ++k, t += kBufferNs)
        clock.OnDeviceBuffer(t, kBuffer, false);
    t -= kBufferNs / 2;
    clock.Pause(t);
    double stood = clock.Position(t);
    EXPECT_GT(stood, 0.0);
    EXPECT_EQ(clock.Position(t + 2000000000), stood);
    int64_t back = t + 3000000000LL;
    clock.Resume(back);
    EXPECT_EQ(clock.Position(back), stood);
    double later = clock.Position(back + 10000000);  // 10 ms on
    EXPECT_NEAR(later - stood, kRate * 0.010, 1.0);
}
