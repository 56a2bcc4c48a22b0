// The effect's arithmetic is single precision: each function widens its float
// argument to double and rounds the double result back to float.
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

inline float SqrtF(float x)
{
    return static_cast<float>(std::sqrt(static_cast<double>(x)));
}
