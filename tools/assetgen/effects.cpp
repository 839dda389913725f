#include "effects.h"

#include "noise.h"

#include <cmath>

Image makeSelectionRing() {
    const int n = 128;
    Image img(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float dx = (x + 0.5f) / n * 2.0f - 1.0f, dy = (y + 0.5f) / n * 2.0f - 1.0f;
            float r = std::sqrt(dx * dx + dy * dy);
            // A crisp band near the edge with a faint glow inside it and four small notches of light.
            float band = 1.0f - smoothstep(0.035f, 0.06f, std::fabs(r - 0.86f));
            float inner = 0.28f * std::exp(-std::pow((r - 0.78f) / 0.07f, 2.0f)) * (r < 0.86f ? 1.0f : 0.0f);
            float a = std::atan2(dy, dx);
            float tick = std::pow(std::fabs(std::cos(a * 2.0f)), 40.0f) * (1.0f - smoothstep(0.0f, 0.05f, std::fabs(r - 0.72f)));
            float v = clampf(band + inner + 0.8f * tick, 0.0f, 1.0f);
            if (x == 0 || y == 0 || x == n - 1 || y == n - 1) v = 0.0f;
            float* p = img.at(x, y);
            p[0] = p[1] = p[2] = v;
            p[3] = 1.0f;
        }
    return img;
}

namespace {

// Beam frame 0: a broad soft energy stream with flowing lumps; 1: a tight bright core with sparkles;
// 2: a twisting plasma braid. u runs along the beam (one repeat across the image), v across it (-1..1).
float beam(int frame, float u, float v) {
    const float tau = 6.2831853f;
    if (frame == 0) {
        float flow = 0.5f + 0.5f * fbm2(u * 8.0f, v * 2.0f + 4.0f, 8, 4, 0.5f, 71);
        float profile = std::exp(-v * v * 4.0f);
        float core = std::exp(-v * v * 40.0f);
        return profile * (0.35f + 0.65f * flow) + 0.6f * core;
    }
    if (frame == 1) {
        float core = std::exp(-v * v * 60.0f);
        float halo = std::exp(-v * v * 8.0f) * 0.35f;
        float sparkle = std::pow(0.5f + 0.5f * noise2(u * 32.0f, v * 6.0f, 32, 72), 6.0f) * std::exp(-v * v * 3.0f) * 2.0f;
        return core + halo * (0.7f + 0.3f * std::sin(u * tau * 16.0f)) + sparkle;
    }
    // Three strands twisting round each other, brighter where they come to the front.
    float a = 0.0f;
    for (int k = 0; k < 3; ++k) {
        float phase = u * tau * 4.0f + k * tau / 3.0f;
        float d = v - 0.42f * std::sin(phase);
        float front = 0.55f + 0.45f * std::cos(phase);
        a = std::max(a, std::exp(-d * d * 90.0f) * front);
    }
    float glow = std::exp(-v * v * 4.0f) * 0.25f;
    return a * 0.85f + glow;
}

// Brightness of particle frame `frame` at (x, y) in -1..1 across its cell; zero from radius 1 on.
float particle(int frame, float x, float y) {
    float r = std::sqrt(x * x + y * y);
    float edge = 1.0f - smoothstep(0.8f, 1.0f, r);
    switch (frame) {
        case 0:
            return edge * (0.7f * std::exp(-r * r * 5.0f) + 0.3f * std::exp(-r * r * 40.0f));
        case 1: {
            float a = std::atan2(y, x);
            float rays = std::pow(std::fabs(std::cos(a * 2.0f)), 30.0f) * std::exp(-r * 2.5f) +
                         0.5f * std::pow(std::fabs(std::cos(a * 2.0f + 0.785f)), 30.0f) * std::exp(-r * 4.0f);
            return edge * (rays + std::exp(-r * r * 30.0f));
        }
        case 2:
            return edge * (std::exp(-std::pow((r - 0.5f) / 0.12f, 2.0f)) + 0.5f * std::exp(-r * r * 20.0f));
        default: {
            float n = 0.5f + 0.5f * fbm2(x * 3.0f + 10.0f, y * 3.0f + 10.0f, 0, 4, 0.5f, 73);
            return edge * std::exp(-r * r * 3.0f) * n * 1.2f;
        }
    }
}

}  // namespace

Image makeEffectAtlas() {
    const int n = 512;
    Image img(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float* p = img.at(x, y);
            float a;
            if (y < 384) {
                int frame = y / 128;
                float v = ((y % 128) + 0.5f) / 64.0f - 1.0f;
                float u = (x + 0.5f) / n;
                // The band's own edges reach zero so neighbouring frames never bleed into each other.
                a = beam(frame, u, v) * (1.0f - smoothstep(0.8f, 0.97f, std::fabs(v)));
            } else {
                int frame = x / 128;
                float px = ((x % 128) + 0.5f) / 64.0f - 1.0f, py = ((y - 384) + 0.5f) / 64.0f - 1.0f;
                a = particle(frame, px, py);
            }
            a = clampf(a, 0.0f, 1.0f);
            // White-hot where strong, so the tint colours the soft edges and the core stays bright.
            p[0] = p[1] = p[2] = 0.75f + 0.25f * a;
            p[3] = a;
        }
    return img;
}
