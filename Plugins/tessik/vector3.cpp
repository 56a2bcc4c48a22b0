#include "vector3.h"

#include "effect_math.h"

Vector3& Vector3::Set(float newX, float newY, float newZ)
{
    x = newX;
    y = newY;
    z = newZ;
    return *this;
}

Vector3& Vector3::ScaledCopy(Vector3& out, float k) const
{
    out.x = x * k;
    out.y = y * k;
    out.z = z * k;
    return out;
}

Vector3& Vector3::Scale(float k)
{
    x *= k;
    y *= k;
    z *= k;
    return *this;
}

float Vector3::Length() const
{
    const float sum = x * x + y * y + z * z;
    return SqrtF(sum);
}

Vector3& Vector3::Normalise()
{
    return Scale(1.0f / Length());
}
