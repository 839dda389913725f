#include "terrain_modifiers.h"

#include "noise.h"

#include <cmath>
#include <vector>

namespace {

float gauss(float d2, float r) { return std::exp(-d2 / (r * r)); }

// A crater centred at (cx, cy) of radius r (all in cells): a bowl below the surroundings and a raised rim.
float crater(float x, float y, float cx, float cy, float r, float depth) {
    float q = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) / r;
    float bowl = q < 1.0f ? -(1.0f - q * q) * depth : 0.0f;
    float rim = depth * 0.45f * std::exp(-(q - 1.0f) * (q - 1.0f) * 9.0f);
    return bowl + rim;
}

// Heights (0..255 steps) of a central mesa with four ramps towards the start corners, on gentle hills.
float plateau(float u, float v, float m, int seed) {
    float x = u * m, y = v * m;
    float c = m * 0.5f;
    float d = std::sqrt((x - c) * (x - c) + (y - c) * (y - c));
    float edge = m * 0.2f + m * 0.04f * noise2(std::atan2(y - c, x - c) * 2.0f, 0.5f, 0, seed);
    float top = 1.0f - smoothstep(edge - 1.5f, edge + 1.5f, d);
    // Four ramps climb the mesa along the diagonals, facing the start corners.
    float ramp = 0.0f;
    for (int k = 0; k < 4; ++k) {
        float dx = (k & 1) ? 1.0f : -1.0f, dy = (k & 2) ? 1.0f : -1.0f;
        float along = ((x - c) * dx + (y - c) * dy) / 1.4142f;
        float across = ((x - c) * dy - (y - c) * dx) / 1.4142f;
        float width = m * 0.045f;
        if (along < 0.0f) continue;  // each ramp leaves the mesa on its own side only
        float on = 1.0f - smoothstep(width, width + 2.0f, std::fabs(across));
        float rise = 1.0f - smoothstep(edge - 2.0f, edge + m * 0.16f, along);
        ramp = std::max(ramp, on * rise);
    }
    float hills = 0.5f + 0.5f * fbm2(u * 5.0f, v * 5.0f, 0, 4, 0.5f, seed + 1);
    return 40.0f + 130.0f * std::max(top, ramp) + 30.0f * hills;
}

float ridges(float u, float v, float m, int seed) {
    float x = u * m, y = v * m, c = m * 0.5f;
    // A cross of craggy ridges around a central peak splits the map into four quarters, one per start
    // corner; every arm has a saddle low enough to walk over.
    float wobX = m * 0.04f * fbm2(v * 4.0f, 0.5f, 0, 3, 0.5f, seed);
    float wobY = m * 0.04f * fbm2(u * 4.0f, 1.5f, 0, 3, 0.5f, seed + 7);
    float width = m * 0.075f;
    float armV = gauss((x - c - wobX) * (x - c - wobX), width);  // the arm running along y
    float armH = gauss((y - c - wobY) * (y - c - wobY), width);  // the arm running along x
    // Height along each arm: rugged, fading before the map edge, dipping at the saddles.
    float alongV = std::fabs(y - c) / (m * 0.5f), alongH = std::fabs(x - c) / (m * 0.5f);
    float profileV = (0.75f + 0.25f * fbm2(v * 6.0f, 3.0f, 0, 3, 0.5f, seed + 1)) * (1.0f - smoothstep(0.75f, 0.95f, alongV)) *
                     (1.0f - 0.9f * gauss((alongV - 0.45f) * (alongV - 0.45f), 0.09f));
    float profileH = (0.75f + 0.25f * fbm2(u * 6.0f, 5.0f, 0, 3, 0.5f, seed + 2)) * (1.0f - smoothstep(0.75f, 0.95f, alongH)) *
                     (1.0f - 0.9f * gauss((alongH - 0.45f) * (alongH - 0.45f), 0.09f));
    float ridge = std::max(armV * profileV, armH * profileH);
    float peak = gauss((x - c) * (x - c) + (y - c) * (y - c), m * 0.12f);
    float crag = ridged2(u * 8.0f, v * 8.0f, 0, 3, 0.5f, seed + 3);
    float high = std::max(ridge, 1.1f * peak);
    return 40.0f + 130.0f * high * (0.8f + 0.3f * crag) + 12.0f * crag;
}

// Heights of scattered round hills around a pond in the middle.
float rollingHills(float u, float v, float m, int seed) {
    Rng rng(static_cast<uint64_t>(seed));
    float x = u * m, y = v * m;
    float h = 70.0f + 40.0f * fbm2(u * 4.0f, v * 4.0f, 0, 4, 0.5f, seed);
    for (int i = 0; i < 9; ++i) {
        float hx = rng.range(0.22f, 0.78f) * m, hy = rng.range(0.22f, 0.78f) * m;
        float r = rng.range(0.06f, 0.11f) * m;
        h += rng.range(60.0f, 120.0f) * gauss((x - hx) * (x - hx) + (y - hy) * (y - hy), r);
    }
    // A pond in the middle, ringed by a low bank.
    float c = m * 0.5f;
    float d2 = (x - c) * (x - c) + (y - c - m * 0.08f) * (y - c - m * 0.08f);
    h -= 60.0f * gauss(d2, m * 0.09f);
    return h;
}

// Heights of one great central crater and a few small ones on a rough plain.
float greatCrater(float u, float v, float m, int seed) {
    float x = u * m, y = v * m;
    float h = 128.0f + 14.0f * fbm2(u * 6.0f, v * 6.0f, 0, 4, 0.5f, seed);
    h += 110.0f * crater(x, y, m * 0.5f, m * 0.5f, m * 0.24f, 1.0f);
    h += 60.0f * crater(x, y, m * 0.22f, m * 0.62f, m * 0.07f, 1.0f);
    h += 60.0f * crater(x, y, m * 0.74f, m * 0.3f, m * 0.06f, 1.0f);
    h += 50.0f * crater(x, y, m * 0.55f, m * 0.86f, m * 0.05f, 1.0f);
    return h;
}

// Heights of a plain pocked with many craters of different sizes.
float craterField(float u, float v, float m, int seed) {
    Rng rng(static_cast<uint64_t>(seed));
    float x = u * m, y = v * m;
    float h = 120.0f + 16.0f * fbm2(u * 7.0f, v * 7.0f, 0, 4, 0.5f, seed);
    int count = m > 100.0f ? 34 : 14;
    for (int i = 0; i < count; ++i) {
        float cx = rng.range(0.08f, 0.92f) * m, cy = rng.range(0.08f, 0.92f) * m;
        float r = rng.range(0.035f, 0.09f) * m;
        if (m > 100.0f) r *= 0.8f;
        h += rng.range(45.0f, 80.0f) * crater(x, y, cx, cy, r, 1.0f);
    }
    return h;
}

// Heights of soft-stepped mesas in levels around a central crater.
float terraces(float u, float v, float m, int seed) {
    float x = u * m, y = v * m;
    float n = 0.5f + 0.6f * fbm2(u * 3.0f, v * 3.0f, 0, 4, 0.5f, seed);
    // Soft steps: each level blends into the next over a few cells so units can climb them.
    float level = n * 5.0f;
    float base = std::floor(level);
    float f = level - base;
    float stepped = base + smoothstep(0.3f, 0.7f, f);
    float h = 70.0f + 26.0f * stepped + 8.0f * fbm2(u * 12.0f, v * 12.0f, 0, 2, 0.5f, seed + 3);
    h += 70.0f * crater(x, y, m * 0.5f, m * 0.5f, m * 0.12f, 1.0f);
    return h;
}

}  // namespace

Image makeTerrainModifier(int number, int mapSize) {
    int n = mapSize + 1;
    float m = static_cast<float>(mapSize);
    std::vector<float> h(static_cast<size_t>(n) * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float u = x / m, v = y / m;
            float value;
            switch (number) {
                case 1: value = plateau(u, v, m, 11); break;
                case 2: value = ridges(u, v, m, 22); break;
                case 3: value = rollingHills(u, v, m, 33); break;
                case 4: value = greatCrater(u, v, m, 44); break;
                case 5: value = craterField(u, v, m, 55); break;
                default: value = terraces(u, v, m, 66); break;
            }
            h[static_cast<size_t>(y) * n + x] = value;
        }
    // Level the start areas: each corner's base (cells 14..16) blends into its surroundings.
    const int corners[4][2] = {{15, 15}, {mapSize - 15, mapSize - 15}, {mapSize - 15, 15}, {15, mapSize - 15}};
    for (int k = 0; k < 4; ++k) {
        int cx = corners[k][0], cy = corners[k][1];
        float level = h[static_cast<size_t>(cy) * n + cx];
        // The level of the base is the mean around it, so the blend neither digs a pit nor raises a mound.
        float sum = 0.0f;
        int cnt = 0;
        for (int dy = -8; dy <= 8; ++dy)
            for (int dx = -8; dx <= 8; ++dx) {
                sum += h[static_cast<size_t>(cy + dy) * n + cx + dx];
                ++cnt;
            }
        level = sum / cnt;
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                float d = std::sqrt(static_cast<float>((x - cx) * (x - cx) + (y - cy) * (y - cy)));
                float w = 1.0f - smoothstep(5.0f, 13.0f, d);
                float& v = h[static_cast<size_t>(y) * n + x];
                v = mixf(v, level, w);
            }
    }
    Image img(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float b = clampf(h[static_cast<size_t>(y) * n + x], 0.0f, 255.0f) / 255.0f;
            float* p = img.at(x, y);
            p[0] = p[1] = p[2] = b;
            p[3] = 1.0f;
        }
    return img;
}
