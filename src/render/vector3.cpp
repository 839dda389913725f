#include "render/vector3.h"

#include <cmath>

float Vector3::length() const {
    return std::sqrt(x * x + y * y + z * z);
}

void Vector3::normalize() {
    float len = length();
    if (len == 0.0f) {
        return;
    }
    x /= len;
    y /= len;
    z /= len;
}

void Vector3::cross(Vector3 v) {
    float cx = y * v.z - z * v.y;
    float cy = z * v.x - x * v.z;
    float cz = x * v.y - y * v.x;
    x = cx;
    y = cy;
    z = cz;
}

void Vector3::add(Vector3 v) {
    x += v.x;
    y += v.y;
    z += v.z;
}

void Vector3::subtract(Vector3 v) {
    x -= v.x;
    y -= v.y;
    z -= v.z;
}
