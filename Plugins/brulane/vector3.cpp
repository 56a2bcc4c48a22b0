#include "vector3.h"

#include "effect_math.h"

Vector3& Vector3::Set(float newX, float newY, float newZ)
{
    x = newX;
    y = newY;
    z = newZ;
    return *this;
}

Vector3* Vector3::ScaledCopy(Vector3* out, float f) const
{
    out->x = x * f;
    out->y = y * f;
    out->z = z * f;
    return out;
}

Vector3& Vector3::AddVector(const Vector3& v)
{
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
}

Vector3& Vector3::SubtractVector(const Vector3& v)
{
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
}

void Vector3::Normalise()
{
    // The squares are summed in double and stored as a float; the root is
    // the float one.
    const float squares = static_cast<float>(double(x) * x + double(y) * y + double(z) * z);
    const float length = SqrtF(squares);
    if (length > 0.0f) {
        x = x / length;
        y = y / length;
        z = z / length;
    }
}
