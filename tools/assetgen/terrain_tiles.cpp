#include "terrain_tiles.h"

#include "noise.h"
#include "shapes.h"

#include <cmath>
#include <vector>

namespace {

const int N = kTileSize;

// A periodic height field alongside the colour, so the normal map follows what the picture shows.
struct Tile {
    Image colour;
    std::vector<float> height;
    Tile() : colour(N, N), height(static_cast<size_t>(N) * N, 0.0f) {}
    float& h(int x, int y) { return height[static_cast<size_t>((y + N) % N) * N + (x + N) % N]; }
};

// Stores a clamped opaque colour.
void setColour(Tile& t, int x, int y, float r, float g, float b) {
    float* p = t.colour.at(x, y);
    p[0] = clampf(r, 0.0f, 1.0f);
    p[1] = clampf(g, 0.0f, 1.0f);
    p[2] = clampf(b, 0.0f, 1.0f);
    p[3] = 1.0f;
}

// Coordinates in noise lattice cells for a picture spanning `cells` cells.
float cell(int x, int cells) { return (x + 0.5f) * cells / static_cast<float>(N); }

// Short strokes with wrap-around: grass blades seen from above, or scratches.
void strokes(Tile& t, Rng& rng, int count, float minLen, float maxLen, float width, const float* lo, const float* hi,
             float heightGain, float bendToward) {
    for (int i = 0; i < count; ++i) {
        float x = rng.range(0.0f, N), y = rng.range(0.0f, N);
        float a = rng.range(0.0f, 6.2831853f);
        a = mixf(a, 1.2f, bendToward);
        float len = rng.range(minLen, maxLen);
        float ex = x + std::cos(a) * len, ey = y + std::sin(a) * len;
        float k = rng.unit();
        float col[4] = {mixf(lo[0], hi[0], k), mixf(lo[1], hi[1], k), mixf(lo[2], hi[2], k), 1.0f};
        int x0 = static_cast<int>(std::floor(std::min(x, ex) - width - 1)), x1 = static_cast<int>(std::ceil(std::max(x, ex) + width + 1));
        int y0 = static_cast<int>(std::floor(std::min(y, ey) - width - 1)), y1 = static_cast<int>(std::ceil(std::max(y, ey) + width + 1));
        for (int py = y0; py <= y1; ++py)
            for (int px = x0; px <= x1; ++px) {
                float d = sdSegment(px + 0.5f, py + 0.5f, x, y, ex, ey);
                // Blades taper towards their tip.
                float along = clampf(((px + 0.5f - x) * (ex - x) + (py + 0.5f - y) * (ey - y)) / (len * len), 0.0f, 1.0f);
                float c = coverage(d - width * (1.0f - 0.6f * along));
                if (c <= 0.0f) continue;
                int wx = (px % N + N) % N, wy = (py % N + N) % N;
                t.colour.blend(wx, wy, col, c * 0.9f);
                float& hh = t.h(wx, wy);
                hh = std::max(hh, hh * 0.3f + heightGain * c * (0.6f + 0.4f * along));
            }
    }
}

// Scatters shaded oval pebbles (or flowers) with wrap-around, raising the height field under them.
void pebbles(Tile& t, Rng& rng, int count, float minR, float maxR, const float* lo, const float* hi, float heightGain) {
    for (int i = 0; i < count; ++i) {
        float x = rng.range(0.0f, N), y = rng.range(0.0f, N);
        float r = rng.range(minR, maxR);
        float k = rng.unit();
        float col[4] = {mixf(lo[0], hi[0], k), mixf(lo[1], hi[1], k), mixf(lo[2], hi[2], k), 1.0f};
        float squash = rng.range(0.6f, 1.0f), ang = rng.range(0.0f, 3.14159f);
        int ext = static_cast<int>(r) + 2;
        for (int py = static_cast<int>(y) - ext; py <= static_cast<int>(y) + ext; ++py)
            for (int px = static_cast<int>(x) - ext; px <= static_cast<int>(x) + ext; ++px) {
                float dx = px + 0.5f - x, dy = py + 0.5f - y;
                float u = dx * std::cos(ang) + dy * std::sin(ang), v = (-dx * std::sin(ang) + dy * std::cos(ang)) / squash;
                float d = std::sqrt(u * u + v * v) - r;
                float c = coverage(d);
                if (c <= 0.0f) continue;
                int wx = (px % N + N) % N, wy = (py % N + N) % N;
                float dome = std::sqrt(clampf(1.0f - (u * u + v * v) / (r * r), 0.0f, 1.0f));
                // Light from the upper left shades each pebble.
                float shade = 0.8f + 0.35f * clampf((-u - v) / (r * 1.4f), -1.0f, 1.0f);
                float pc[4] = {col[0] * shade, col[1] * shade, col[2] * shade, 1.0f};
                t.colour.blend(wx, wy, pc, c);
                float& hh = t.h(wx, wy);
                hh = std::max(hh, heightGain * dome);
            }
    }
}

void meadow(Tile& t, int seed, const float* base, const float* dark, const float* bladeLo, const float* bladeHi,
            int blades, float dryPatches) {
    Rng rng(static_cast<uint64_t>(seed) * 7919u + 3u);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float n = fbm2(cell(x, 8), cell(y, 8), 8, 5, 0.55f, seed);
            float m = 0.5f + 0.5f * fbm2(cell(x, 4), cell(y, 4), 4, 3, 0.5f, seed + 9);
            float k = clampf(0.5f + n * 0.9f, 0.0f, 1.0f);
            float soil = smoothstep(0.62f, 0.8f, m) * dryPatches;
            float r = mixf(dark[0], base[0], k), g = mixf(dark[1], base[1], k), b = mixf(dark[2], base[2], k);
            r = mixf(r, 0.36f, soil);
            g = mixf(g, 0.29f, soil);
            b = mixf(b, 0.17f, soil);
            setColour(t, x, y, r, g, b);
            t.h(x, y) = 0.25f * n;
        }
    strokes(t, rng, blades, 3.0f, 8.0f, 0.8f, bladeLo, bladeHi, 0.9f, 0.0f);
}

// Weathered rock: broken ledges from terraced noise, branching crevices where warped noise crosses zero,
// fine grain, and moss or lichen settling in the low parts.
void rockTile(Tile& t, int seed, const float* dark, const float* light, const float* moss, float mossAmount) {
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float wx = fbm2(cell(x, 4), cell(y, 4), 4, 4, 0.5f, seed + 1);
            float wy = fbm2(cell(x, 4), cell(y, 4), 4, 4, 0.5f, seed + 2);
            float ux = cell(x, 6) + wx * 0.8f, uy = cell(y, 6) + wy * 0.8f;
            float n1 = fbm2(ux, uy, 6, 5, 0.55f, seed + 3);
            float q = (n1 + 1.0f) * 3.5f;
            float fq = q - std::floor(q);
            float ledge = std::floor(q) + smoothstep(0.7f, 0.95f, fq);
            float c1 = 1.0f - smoothstep(0.0f, 0.035f, std::fabs(fbm2(cell(x, 5) + wy * 0.5f, cell(y, 5) + wx * 0.5f, 5, 4, 0.5f, seed + 4)));
            float c2 = 1.0f - smoothstep(0.0f, 0.04f, std::fabs(fbm2(cell(x, 12), cell(y, 12), 12, 3, 0.5f, seed + 5)));
            c2 *= smoothstep(0.0f, 0.3f, fbm2(cell(x, 3), cell(y, 3), 3, 2, 0.5f, seed + 9) + 0.15f);
            float grain = fbm2(cell(x, 64), cell(y, 64), 64, 2, 0.5f, seed + 6);
            float tone = 0.5f + 0.5f * fbm2(cell(x, 3), cell(y, 3), 3, 3, 0.5f, seed + 7);
            float k = clampf(0.35f + 0.3f * n1 + 0.08f * ledge / 7.0f + 0.2f * grain + 0.25f * (tone - 0.5f), 0.0f, 1.0f);
            // A lit upper edge on every ledge.
            float lip = smoothstep(0.7f, 0.8f, fq) * (1.0f - smoothstep(0.85f, 0.98f, fq));
            k = clampf(k + 0.12f * lip, 0.0f, 1.0f);
            float r = mixf(dark[0], light[0], k), g = mixf(dark[1], light[1], k), b = mixf(dark[2], light[2], k);
            r *= 0.92f + 0.16f * tone;
            b *= 1.05f - 0.1f * tone;
            float m = smoothstep(0.1f, -0.35f, n1) * smoothstep(-0.15f, 0.25f, fbm2(cell(x, 8), cell(y, 8), 8, 4, 0.5f, seed + 8)) * mossAmount;
            r = mixf(r, moss[0], m);
            g = mixf(g, moss[1], m);
            b = mixf(b, moss[2], m);
            float shade = (1.0f - 0.42f * c1) * (1.0f - 0.3f * c2);
            setColour(t, x, y, r * shade, g * shade, b * shade);
            t.h(x, y) = 1.2f * n1 + 0.25f * ledge - 0.9f * c1 - 0.35f * c2 + 0.08f * grain;
        }
}

// Tile 0: grey-brown rock for steep ground and crests.
void grassRock(Tile& t) {
    const float dark[3] = {0.20f, 0.19f, 0.17f}, light[3] = {0.74f, 0.70f, 0.62f}, moss[3] = {0.26f, 0.35f, 0.12f};
    rockTile(t, 101, dark, light, moss, 0.6f);
}

// Tile 1: lush dark grass with clover for hollows.
void grassHollow(Tile& t) {
    const float base[3] = {0.16f, 0.36f, 0.09f}, dark[3] = {0.07f, 0.20f, 0.05f};
    const float lo[3] = {0.08f, 0.26f, 0.05f}, hi[3] = {0.26f, 0.52f, 0.12f};
    meadow(t, 202, base, dark, lo, hi, 42000, 0.0f);
    // Clover flowers dotted through the lush grass.
    Rng rng(2021);
    const float white[3] = {0.85f, 0.85f, 0.75f}, pink[3] = {0.85f, 0.6f, 0.75f};
    pebbles(t, rng, 260, 1.0f, 1.9f, white, pink, 0.5f);
}

// Tile 2: dry grass over bare soil with pebbles, the variation.
void grassDry(Tile& t) {
    const float base[3] = {0.46f, 0.42f, 0.22f}, dark[3] = {0.34f, 0.28f, 0.16f};
    const float lo[3] = {0.50f, 0.44f, 0.20f}, hi[3] = {0.74f, 0.66f, 0.36f};
    meadow(t, 303, base, dark, lo, hi, 16000, 0.9f);
    Rng rng(3031);
    const float plo[3] = {0.38f, 0.35f, 0.31f}, phi[3] = {0.62f, 0.58f, 0.52f};
    pebbles(t, rng, 500, 1.2f, 3.4f, plo, phi, 1.0f);
}

// Tile 3: the default meadow.
void grassMeadow(Tile& t) {
    const float base[3] = {0.30f, 0.50f, 0.14f}, dark[3] = {0.17f, 0.34f, 0.08f};
    const float lo[3] = {0.18f, 0.38f, 0.08f}, hi[3] = {0.44f, 0.62f, 0.20f};
    meadow(t, 404, base, dark, lo, hi, 34000, 0.25f);
}

// Tile 4: dark basalt with glowing crystal veins for steep ground and crests.
void asteroidBasalt(Tile& t) {
    const float dark[3] = {0.10f, 0.09f, 0.12f}, light[3] = {0.52f, 0.48f, 0.58f}, dust[3] = {0.34f, 0.22f, 0.30f};
    rockTile(t, 505, dark, light, dust, 0.5f);
    // Glowing crystal veins along ridged noise.
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float v = ridged2(cell(x, 4), cell(y, 4), 4, 3, 0.45f, 606);
            float vein = smoothstep(0.82f, 0.95f, v);
            float* p = t.colour.at(x, y);
            p[0] = mixf(p[0], 0.55f, vein);
            p[1] = mixf(p[1], 0.25f, vein);
            p[2] = mixf(p[2], 0.95f, vein);
            t.h(x, y) += 0.8f * vein;
        }
}

// Tile 5: rippled purple dust with grit for hollows.
void asteroidDust(Tile& t) {
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float n = fbm2(cell(x, 8), cell(y, 8), 8, 6, 0.6f, 707);
            float ripple = std::sin((cell(y, 32) + 2.0f * fbm2(cell(x, 4), cell(y, 4), 4, 3, 0.5f, 708)) * 3.14159f);
            float k = clampf(0.5f + 0.6f * n + 0.08f * ripple, 0.0f, 1.0f);
            setColour(t, x, y, mixf(0.20f, 0.42f, k), mixf(0.13f, 0.26f, k), mixf(0.20f, 0.36f, k));
            t.h(x, y) = 0.4f * n + 0.15f * ripple;
        }
    Rng rng(7071);
    const float lo[3] = {0.22f, 0.17f, 0.22f}, hi[3] = {0.50f, 0.40f, 0.46f};
    pebbles(t, rng, 700, 0.8f, 2.6f, lo, hi, 0.8f);
}

// Tile 6: folded rust-coloured sediment, the stripes and border.
void asteroidBands(Tile& t) {
    const float tau = 6.2831853f;
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float w = fbm2(cell(x, 3), cell(y, 3), 3, 4, 0.5f, 808);
            float w2 = fbm2(cell(x, 5), cell(y, 5), 5, 3, 0.5f, 811);
            // Faint folded strata: few bands, strongly bent, so they never read as regular stripes when the
            // tile repeats across a whole map.
            float phase = (1.0f * x + 1.0f * y) * tau / N + w * 4.0f + w2 * 2.0f;
            float band = 0.5f + 0.5f * std::sin(phase * 3.0f);
            float d = fbm2(cell(x, 32), cell(y, 32), 32, 3, 0.5f, 809);
            float patch = 0.5f + 0.5f * fbm2(cell(x, 6), cell(y, 6), 6, 5, 0.55f, 810);
            float k = clampf(0.2f * band + 0.25f * d + 0.8f * (patch - 0.5f) + 0.4f, 0.0f, 1.0f);
            float r = mixf(0.26f, 0.66f, k), g = mixf(0.17f, 0.44f, k), b = mixf(0.15f, 0.33f, k);
            // Pale dust drifted into patches.
            float drift = smoothstep(0.6f, 0.85f, 0.5f + 0.5f * fbm2(cell(x, 4) + w, cell(y, 4), 4, 5, 0.55f, 813));
            r = mixf(r, 0.74f, drift * 0.6f);
            g = mixf(g, 0.58f, drift * 0.6f);
            b = mixf(b, 0.46f, drift * 0.6f);
            // Darker oxidised streaks.
            float streak = smoothstep(0.55f, 0.8f, 0.5f + 0.5f * fbm2(cell(x, 10), cell(y, 10), 10, 3, 0.5f, 812));
            r *= 1.0f - 0.25f * streak;
            g *= 1.0f - 0.3f * streak;
            b *= 1.0f - 0.2f * streak;
            setColour(t, x, y, r, g, b);
            t.h(x, y) = 0.25f * band + 0.35f * d + 0.5f * patch;
        }
    Rng rng(8181);
    const float lo[3] = {0.25f, 0.18f, 0.17f}, hi[3] = {0.55f, 0.42f, 0.36f};
    pebbles(t, rng, 450, 0.8f, 2.6f, lo, hi, 0.6f);
}

// Tile 7: grey cratered regolith, the default ground.
void asteroidRegolith(Tile& t) {
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float n = fbm2(cell(x, 8), cell(y, 8), 8, 6, 0.55f, 909);
            float hgt = 0.3f * n;
            // Craters of two sizes: a bowl inside the cell's feature point with a raised rim.
            float shadeCr = 0.0f;
            for (int scale = 0; scale < 2; ++scale) {
                int cells = scale == 0 ? 5 : 13;
                float f1, f2;
                uint32_t id;
                cellular2(cell(x, cells), cell(y, cells), cells, 910 + scale, &f1, &f2, &id);
                float r = 0.22f + 0.18f * static_cast<float>(id & 0xFF) / 255.0f;
                if ((id >> 8) % 3 == 0) continue;  // not every cell holds a crater
                float q = f1 / r;
                float bowl = q < 1.0f ? (q * q - 1.0f) : 0.0f;
                float rim = std::exp(-(q - 1.0f) * (q - 1.0f) * 30.0f);
                float depth = scale == 0 ? 1.0f : 0.5f;
                hgt += depth * (0.8f * bowl + 0.35f * rim);
                shadeCr += depth * (0.25f * rim + 0.2f * bowl);
            }
            float k = clampf(0.5f + 0.5f * n + shadeCr, 0.0f, 1.0f);
            setColour(t, x, y, mixf(0.24f, 0.56f, k), mixf(0.23f, 0.53f, k), mixf(0.25f, 0.55f, k));
            t.h(x, y) = hgt;
        }
    Rng rng(9191);
    const float lo[3] = {0.25f, 0.24f, 0.26f}, hi[3] = {0.55f, 0.53f, 0.55f};
    pebbles(t, rng, 400, 0.8f, 2.2f, lo, hi, 0.6f);
}

// Normals from the periodic height field by central differences; strength scales the relief.
void buildNormals(Tile& t, float strength, Image* out) {
    *out = Image(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            float dx = (t.h(x + 1, y) - t.h(x - 1, y)) * 0.5f * strength;
            float dy = (t.h(x, y + 1) - t.h(x, y - 1)) * 0.5f * strength;
            float len = std::sqrt(dx * dx + dy * dy + 1.0f);
            float* p = out->at(x, y);
            p[0] = 0.5f - 0.5f * dx / len;
            p[1] = 0.5f - 0.5f * dy / len;
            p[2] = 0.5f + 0.5f / len;
            p[3] = 1.0f;
        }
}

}  // namespace

void makeTerrainTile(int index, Image* surface, Image* normalMap) {
    Tile t;
    float strength = 1.0f;
    switch (index) {
        case 0: grassRock(t); strength = 4.0f; break;
        case 1: grassHollow(t); strength = 3.0f; break;
        case 2: grassDry(t); strength = 3.0f; break;
        case 3: grassMeadow(t); strength = 3.0f; break;
        case 4: asteroidBasalt(t); strength = 4.0f; break;
        case 5: asteroidDust(t); strength = 4.0f; break;
        case 6: asteroidBands(t); strength = 5.0f; break;
        default: asteroidRegolith(t); strength = 2.0f; break;
    }
    *surface = t.colour;
    buildNormals(t, strength, normalMap);
}
