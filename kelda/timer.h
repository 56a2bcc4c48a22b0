// The frame timer: steps of the high-resolution counter in seconds, bounded,
// and their running sum.
#pragma once

#include <cstdint>

class Timer {
public:
    // Reads the counter frequency only; the first Update has nothing to
    // measure from and counts as a step of zero (then bounded).
    Timer(double minStep, double maxStep);

    // Seconds since the previous Update, bounded by maxStep and then by
    // minStep (so minStep wins when the bounds cross), added to totalTime.
    double Update();
    double GetTotalTime();

    double frequency;
    double minStep;
    double maxStep;
    double totalTime;
    int64_t lastCount;  // 0 until the first Update
};
