// The small three-float vector of the tile routines.
#pragma once

class Vector3 {
public:
    // Leaves the components as the storage held them.
    Vector3() {}
    Vector3(const Vector3& other) = default;
    Vector3& operator=(const Vector3& other) = default;

    Vector3& Set(float x, float y, float z);
    // out = this * f; this is unchanged.
    Vector3* ScaledCopy(Vector3* out, float f) const;
    Vector3& AddVector(const Vector3& v);
    Vector3& SubtractVector(const Vector3& v);
    // Divides by the length when it is above 0; a zero vector stays zero.
    void Normalise();

    float x;
    float y;
    float z;
};
