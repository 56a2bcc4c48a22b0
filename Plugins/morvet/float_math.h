// Single-precision sine and cosine as the effect computes them: the argument
// widened to double, the result rounded to float.
#pragma once

#include <cmath>

inline float SinF(float x)
{
    return static_cast<float>(std::sin(static_cast<double>(x)));
}

inline float CosF(float x)
{
    return static_cast<float>(std::cos(static_cast<double>(x)));
}
