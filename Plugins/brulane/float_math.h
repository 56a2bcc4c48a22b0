// The float forms of the standard functions the effect computes with: the
// argument widened to double, the result rounded back to float.
#pragma once

#include <cmath>

inline float FloatSin(float x)
{
    return static_cast<float>(std::sin(static_cast<double>(x)));
}

inline float FloatCos(float x)
{
    return static_cast<float>(std::cos(static_cast<double>(x)));
}

inline float FloatSqrt(float x)
{
    return static_cast<float>(std::sqrt(static_cast<double>(x)));
}

inline float FloatPow(float x, float y)
{
    return static_cast<float>(std::pow(static_cast<double>(x), static_cast<double>(y)));
}
