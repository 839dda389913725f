#include "shapes.h"

#include <algorithm>

float sdCircle(float px, float py, float cx, float cy, float r) {
    return std::sqrt((px - cx) * (px - cx) + (py - cy) * (py - cy)) - r;
}

float sdEllipse(float px, float py, float cx, float cy, float rx, float ry) {
    // Scaled-circle approximation, corrected by the gradient length so the edge stays one pixel wide.
    float dx = (px - cx) / rx, dy = (py - cy) / ry;
    float k = std::sqrt(dx * dx + dy * dy);
    if (k < 1e-6f) return -std::min(rx, ry);
    float gx = dx / rx, gy = dy / ry;
    float g = std::sqrt(gx * gx + gy * gy) / k;
    return (k - 1.0f) / std::max(g, 1e-6f);
}

float sdRoundBox(float px, float py, float cx, float cy, float hw, float hh, float r) {
    float qx = std::fabs(px - cx) - hw + r, qy = std::fabs(py - cy) - hh + r;
    float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - r;
}

float sdSegment(float px, float py, float ax, float ay, float bx, float by) {
    float pax = px - ax, pay = py - ay, bax = bx - ax, bay = by - ay;
    float len2 = bax * bax + bay * bay;
    float h = len2 > 0.0f ? std::min(std::max((pax * bax + pay * bay) / len2, 0.0f), 1.0f) : 0.0f;
    float dx = pax - bax * h, dy = pay - bay * h;
    return std::sqrt(dx * dx + dy * dy);
}

float sdPolygon(float px, float py, const float* v, int n) {
    float d = 1e9f;
    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        float ax = v[2 * j], ay = v[2 * j + 1], bx = v[2 * i], by = v[2 * i + 1];
        d = std::min(d, sdSegment(px, py, ax, ay, bx, by));
        if (((by > py) != (ay > py)) && (px < (ax - bx) * (py - by) / (ay - by) + bx)) inside = !inside;
    }
    return inside ? -d : d;
}

float coverage(float sd) { return std::min(std::max(0.5f - sd, 0.0f), 1.0f); }
