// Single-precision sine as the effect computes it: the argument widened to
// double, the result rounded to float.
#pragma once

#include <cmath>

inline float SinF(float x)
{
    return static_cast<float>(std::sin(static_cast<double>(x)));
}
