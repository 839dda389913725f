#include "noise.h"

#include <cmath>

uint64_t Rng::next() {
    state += 0x9E3779B97F4A7C15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float Rng::unit() { return static_cast<float>(next() >> 40) / 16777216.0f; }

uint32_t hash3(int x, int y, int z, int seed) {
    uint32_t h = static_cast<uint32_t>(seed) * 0x27D4EB2Du;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h = (h << 17) | (h >> 15);
    h ^= static_cast<uint32_t>(z) * 0x165667B1u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

float clampf(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

float smoothstep(float e0, float e1, float v) {
    float t = clampf((v - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float mixf(float a, float b, float t) { return a + (b - a) * t; }

// Lattice index wrapped into 0..period-1 (unchanged when period <= 0).
static int wrapIndex(int i, int period) {
    if (period <= 0) return i;
    int m = i % period;
    return m < 0 ? m + period : m;
}

// Quintic fade keeps the second derivative continuous, which the normal maps need.
static float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

// 256 evenly spread unit gradients, built before main: trigonometry per lattice point was the
// generator's cost.
namespace {
struct GradientTable {
    float g[512];
    GradientTable() {
        for (int i = 0; i < 256; ++i) {
            float a = (i + 0.5f) * (6.2831853f / 256.0f);
            g[2 * i] = std::cos(a);
            g[2 * i + 1] = std::sin(a);
        }
    }
};
const GradientTable kGradients;
}  // namespace

static inline float grad2(int ix, int iy, int seed, float dx, float dy) {
    const float* g = kGradients.g + 2 * (hash3(ix, iy, 0, seed) & 0xFF);
    return g[0] * dx + g[1] * dy;
}

float noise2(float x, float y, int period, int seed) {
    float fx = std::floor(x), fy = std::floor(y);
    int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    float dx = x - fx, dy = y - fy;
    int ax = wrapIndex(x0, period), bx = wrapIndex(x0 + 1, period);
    int ay = wrapIndex(y0, period), by = wrapIndex(y0 + 1, period);
    float n00 = grad2(ax, ay, seed, dx, dy);
    float n10 = grad2(bx, ay, seed, dx - 1.0f, dy);
    float n01 = grad2(ax, by, seed, dx, dy - 1.0f);
    float n11 = grad2(bx, by, seed, dx - 1.0f, dy - 1.0f);
    float u = fade(dx), v = fade(dy);
    return 1.41f * mixf(mixf(n00, n10, u), mixf(n01, n11, u), v);
}

float fbm2(float x, float y, int period, int octaves, float gain, int seed) {
    float sum = 0.0f, amp = 1.0f, norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * noise2(x, y, period, seed + o * 101);
        norm += amp;
        amp *= gain;
        x *= 2.0f;
        y *= 2.0f;
        if (period > 0) period *= 2;
    }
    return sum / norm;
}

float ridged2(float x, float y, int period, int octaves, float gain, int seed) {
    float sum = 0.0f, amp = 1.0f, norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        float n = 1.0f - std::fabs(noise2(x, y, period, seed + o * 131));
        sum += amp * n * n;
        norm += amp;
        amp *= gain;
        x *= 2.0f;
        y *= 2.0f;
        if (period > 0) period *= 2;
    }
    return sum / norm;
}

void cellular2(float x, float y, int period, int seed, float* f1, float* f2, uint32_t* cellId) {
    int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
    float best = 1e9f, second = 1e9f;
    uint32_t bestId = 0;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) {
            int gx = cx + i, gy = cy + j;
            uint32_t h = hash3(wrapIndex(gx, period), wrapIndex(gy, period), 7, seed);
            float px = gx + static_cast<float>(h & 0xFFF) / 4096.0f;
            float py = gy + static_cast<float>((h >> 12) & 0xFFF) / 4096.0f;
            float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < best) {
                second = best;
                best = d;
                bestId = h;
            } else if (d < second) {
                second = d;
            }
        }
    *f1 = best;
    *f2 = second;
    if (cellId) *cellId = bestId;
}

// Dot product of the offset with one of twelve cube-edge gradients chosen by the hash.
static float grad3(int ix, int iy, int iz, int seed, float dx, float dy, float dz) {
    uint32_t h = hash3(ix, iy, iz, seed);
    // Twelve edge directions of a cube, as in classic gradient noise.
    switch (h % 12) {
        case 0: return dx + dy;
        case 1: return -dx + dy;
        case 2: return dx - dy;
        case 3: return -dx - dy;
        case 4: return dx + dz;
        case 5: return -dx + dz;
        case 6: return dx - dz;
        case 7: return -dx - dz;
        case 8: return dy + dz;
        case 9: return -dy + dz;
        case 10: return dy - dz;
        default: return -dy - dz;
    }
}

float noise3(float x, float y, float z, int seed) {
    float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy), z0 = static_cast<int>(fz);
    float dx = x - fx, dy = y - fy, dz = z - fz;
    float u = fade(dx), v = fade(dy), w = fade(dz);
    float n[2][2][2];
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i)
                n[k][j][i] = grad3(x0 + i, y0 + j, z0 + k, seed, dx - i, dy - j, dz - k);
    float a = mixf(mixf(n[0][0][0], n[0][0][1], u), mixf(n[0][1][0], n[0][1][1], u), v);
    float b = mixf(mixf(n[1][0][0], n[1][0][1], u), mixf(n[1][1][0], n[1][1][1], u), v);
    return 0.9f * mixf(a, b, w);
}

float fbm3(float x, float y, float z, int octaves, float gain, int seed) {
    float sum = 0.0f, amp = 1.0f, norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * noise3(x, y, z, seed + o * 97);
        norm += amp;
        amp *= gain;
        x *= 2.03f;
        y *= 2.03f;
        z *= 2.03f;
    }
    return sum / norm;
}
