// The float forms of the standard functions the effects compute with: the
// argument widened to double, the result rounded back to float. (The C
// library's own float functions compute in float and can differ in the last
// bit.)
#pragma once

#include <cmath>

inline float SinF(float x) { return static_cast<float>(std::sin(static_cast<double>(x))); }

inline float CosF(float x) { return static_cast<float>(std::cos(static_cast<double>(x))); }

inline float SqrtF(float x) { return static_cast<float>(std::sqrt(static_cast<double>(x))); }

inline float PowF(float x, float y)
{
    return static_cast<float>(std::pow(static_cast<double>(x), static_cast<double>(y)));
}

inline float FmodF(float x, float y)
{
    return static_cast<float>(std::fmod(static_cast<double>(x), static_cast<double>(y)));
}
