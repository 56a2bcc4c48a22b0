// Three floats and the few operations the blob mesh needs.
#pragma once

struct Vector3 {
    // Default construction leaves the components unset.
    Vector3& Set(float x, float y, float z);
    // Writes this vector times k into out and returns out; this one stays.
    Vector3& ScaledCopy(Vector3& out, float k) const;
    Vector3& Scale(float k);
    float Length() const;
    // No test for zero length: a zero vector comes out non-finite.
    Vector3& Normalise();

    float x, y, z;
};
