#include "timer.h"

#include "win_time.h"

Timer::Timer(double minStep, double maxStep)
    : frequency(0.0), minStep(minStep), maxStep(maxStep), totalTime(0.0), lastCount(0)
{
    LARGE_INTEGER ticksPerSecond;
    ticksPerSecond.QuadPart = 0;
    QueryPerformanceFrequency(&ticksPerSecond);
    frequency = static_cast<double>(ticksPerSecond.QuadPart);
}

double Timer::Update()
{
    LARGE_INTEGER reading;
    reading.QuadPart = 0;
    QueryPerformanceCounter(&reading);
    // The counter never reads 0 once the machine is up, so 0 marks "no
    // reading yet": the first step is taken as zero rather than measured
    // from the counter's origin.
    const int64_t difference = lastCount != 0 ? reading.QuadPart - lastCount : 0;
    lastCount = reading.QuadPart;

    double step = static_cast<double>(difference) / frequency;
    if (step > maxStep)
        step = maxStep;
    if (step < minStep)
        step = minStep;
    totalTime += step;
    return step;
}

double Timer::GetTotalTime()
{
    return totalTime;
}
