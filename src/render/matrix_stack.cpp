#include "render/matrix_stack.h"

#include <cmath>
#include <cstring>

namespace {

const float kPi = 3.141592f;

void setIdentity(Matrix4& out) {
    for (int i = 0; i < 16; ++i) {
        out.m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    }
}

}  // namespace

float degToRad(float degrees) {
    return (float)((double)degrees * (double)kPi / 180.0);
}

MatrixStack::MatrixStack() : capacity(1), depth(0), saved(new Matrix4[1]) {
    loadIdentity();
}

MatrixStack::MatrixStack(int capacity_) : capacity(capacity_), depth(0), saved(new Matrix4[capacity_ > 0 ? capacity_ : 1]) {
    loadIdentity();
}

MatrixStack::~MatrixStack() {
    delete[] saved;
}

void MatrixStack::loadIdentity() {
    setIdentity(current);
}

void MatrixStack::multiply(const Matrix4& m) {
    Matrix4 result;
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += current.m[k * 4 + r] * m.m[c * 4 + k];
            }
            result.m[c * 4 + r] = sum;
        }
    }
    current = result;
}

void MatrixStack::translate(float x, float y, float z) {
    Matrix4 t;
    setIdentity(t);
    t.m[12] = x;
    t.m[13] = y;
    t.m[14] = z;
    multiply(t);
}

void MatrixStack::scale(float x, float y, float z) {
    Matrix4 s;
    setIdentity(s);
    s.m[0] = x;
    s.m[5] = y;
    s.m[10] = z;
    multiply(s);
}

void MatrixStack::rotate(float angle, float x, float y, float z) {
    float rad = degToRad(angle);
    float c = std::cos(rad);
    float s = std::sin(rad);
    float t = 1.0f - c;
    Matrix4 r;
    setIdentity(r);
    r.m[0] = t * x * x + c;
    r.m[1] = t * x * y + z * s;
    r.m[2] = t * x * z - y * s;
    r.m[4] = t * x * y - z * s;
    r.m[5] = t * y * y + c;
    r.m[6] = t * y * z + x * s;
    r.m[8] = t * x * z + y * s;
    r.m[9] = t * y * z - x * s;
    r.m[10] = t * z * z + c;
    multiply(r);
}

void MatrixStack::perspective(float fovy, float aspect, float zNear, float zFar) {
    float f = 1.0f / std::tan((float)((double)fovy / 2.0 * (double)kPi / 180.0));
    loadIdentity();
    current.m[0] = f / aspect;
    current.m[5] = f;
    current.m[10] = (zFar + zNear) / (zNear - zFar);
    current.m[11] = -1.0f;
    current.m[14] = (float)((double)zFar * 2.0 * (double)zNear / (double)(zNear - zFar));
    current.m[15] = 0.0f;
}

void MatrixStack::ortho(float left, float right, float bottom, float top, float zNear, float zFar) {
    loadIdentity();
    current.m[0] = (float)(2.0 / (double)(right - left));
    current.m[5] = (float)(2.0 / (double)(top - bottom));
    current.m[10] = (float)(-2.0 / (double)(zFar - zNear));
    current.m[12] = -(right + left) / (right - left);
    current.m[13] = -(top + bottom) / (top - bottom);
    current.m[14] = -(zFar + zNear) / (zFar - zNear);
}

void MatrixStack::push() {
    if (depth < capacity) {
        saved[depth] = current;
        ++depth;
    }
}

void MatrixStack::pop() {
    if (depth > 0) {
        --depth;
        current = saved[depth];
    }
}
