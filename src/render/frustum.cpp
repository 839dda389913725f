#include "render/frustum.h"

#include <cmath>
#include <cstring>

#include "render/matrix_stack.h"

Frustum::Frustum() {
    std::memset(planes, 0, sizeof(planes));
}

void Frustum::extract(const MatrixStack& projection, const MatrixStack& modelview) {
    MatrixStack clip;
    clip.current = projection.current;
    clip.multiply(modelview.current);
    const float* m = clip.current.m;
    for (int p = 0; p < 6; ++p) {
        int row = p / 2;
        float sign = (p == 0 || p == 3 || p == 4) ? -1.0f : 1.0f;
        for (int j = 0; j < 4; ++j) {
            planes[p][j] = m[j * 4 + 3] + sign * m[j * 4 + row];
        }
        float n = std::sqrt(planes[p][0] * planes[p][0] + planes[p][1] * planes[p][1] + planes[p][2] * planes[p][2]);
        for (int j = 0; j < 4; ++j) {
            planes[p][j] /= n;
        }
    }
}

float Frustum::distance(float x, float y, float z, int plane) const {
    const float* p = planes[plane];
    return p[0] * x + p[1] * y + p[2] * z + p[3];
}

bool Frustum::sphereVisible(float x, float y, float z, float radius) const {
    for (int p = 0; p < 6; ++p) {
        if (distance(x, y, z, p) <= -radius) {
            return false;
        }
    }
    return true;
}

void Frustum::toScreen(float x, float y, float z, int& screenX, int& screenY, int& size, int width, int height) const {
    float dl = distance(x, y, z, kPlaneLeft);
    float dr = distance(x, y, z, kPlaneRight);
    float db = distance(x, y, z, kPlaneBottom);
    float dt = distance(x, y, z, kPlaneTop);
    screenX = (int)(dl / (dl + dr) * width);
    screenY = (int)(db / (db + dt) * height);
    size = 50;
}
