#ifndef GELMARCH_RENDER_VECTOR3_H
#define GELMARCH_RENDER_VECTOR3_H

// A single-precision 3-vector: positions, directions and normals. Every operation works in place.
class Vector3 {
public:
    float x, y, z;

    Vector3() : x(0.0f), y(0.0f), z(0.0f) {}
    Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    float length() const;
    // Divides by the length; a zero vector stays zero instead of turning into NaNs.
    void normalize();
    // this = this x v
    void cross(Vector3 v);
    void add(Vector3 v);
    void subtract(Vector3 v);
};

#endif
