#include "sky_box.h"

#include "noise.h"

#include <cmath>

namespace {

// Corner positions of each face in the game's strip order, with texcoords (1,1), (1,0), (0,1), (0,0).
const float kFace[6][4][3] = {
    {{0.5f, -0.5f, -0.5f}, {0.5f, -0.5f, 0.5f}, {0.5f, 0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}},
    {{-0.5f, -0.5f, -0.5f}, {-0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, -0.5f}, {0.5f, -0.5f, 0.5f}},
    {{-0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, 0.5f}, {-0.5f, -0.5f, -0.5f}, {-0.5f, -0.5f, 0.5f}},
    {{0.5f, 0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}, {-0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, 0.5f}},
    {{-0.5f, -0.5f, 0.5f}, {-0.5f, 0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}},
    {{-0.5f, 0.5f, -0.5f}, {-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, -0.5f}, {0.5f, -0.5f, -0.5f}},
};

void normalise(float* v) {
    float l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    v[0] /= l;
    v[1] /= l;
    v[2] /= l;
}

float dot3(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Stars on a 3D grid of cells around the direction: each cell holds one star of its own brightness.
float stars(const float* d, float cells, int seed, float sharpness) {
    float p[3] = {d[0] * cells, d[1] * cells, d[2] * cells};
    int c[3] = {static_cast<int>(std::floor(p[0])), static_cast<int>(std::floor(p[1])), static_cast<int>(std::floor(p[2]))};
    float sum = 0.0f;
    for (int k = -1; k <= 1; ++k)
        for (int j = -1; j <= 1; ++j)
            for (int i = -1; i <= 1; ++i) {
                uint32_t h = hash3(c[0] + i, c[1] + j, c[2] + k, seed);
                if ((h & 3) == 0) continue;
                float s[3] = {c[0] + i + (h & 0xFF) / 255.0f, c[1] + j + ((h >> 8) & 0xFF) / 255.0f,
                              c[2] + k + ((h >> 16) & 0xFF) / 255.0f};
                // Project the star onto the sphere of radius `cells` so it sits on the sky.
                normalise(s);
                float dx = s[0] * cells - p[0], dy = s[1] * cells - p[1], dz = s[2] * cells - p[2];
                float d2 = dx * dx + dy * dy + dz * dz;
                float mag = static_cast<float>((h >> 24) & 0xFF) / 255.0f;
                mag = mag * mag * mag;
                sum += mag * std::exp(-d2 * sharpness);
            }
    return sum;
}

void spaceSky(const float* d, float* rgb) {
    // Nebula: two coloured clouds of warped noise, strongest along a band across the sky.
    float band = std::exp(-std::pow(d[0] * 0.5f + d[1] * 0.3f - d[2] * 0.8f, 2.0f) * 3.0f);
    float w = fbm3(d[0] * 2.0f, d[1] * 2.0f, d[2] * 2.0f, 4, 0.5f, 31);
    float n1 = fbm3(d[0] * 3.0f + w, d[1] * 3.0f - w, d[2] * 3.0f, 6, 0.55f, 32);
    float n2 = fbm3(d[0] * 5.0f - w, d[1] * 5.0f, d[2] * 5.0f + w, 5, 0.55f, 33);
    float c1 = clampf(n1 * 1.6f + 0.1f, 0.0f, 1.0f) * band;
    float c2 = clampf(n2 * 1.8f, 0.0f, 1.0f) * (0.4f + 0.6f * band);
    rgb[0] = 0.010f + 0.30f * c1 * c1 + 0.05f * c2;
    rgb[1] = 0.008f + 0.06f * c1 + 0.12f * c2 * c2;
    rgb[2] = 0.030f + 0.36f * c1 + 0.22f * c2;
    // Dark dust lanes.
    float dust = smoothstep(0.05f, 0.35f, fbm3(d[0] * 6.0f, d[1] * 6.0f, d[2] * 6.0f, 4, 0.5f, 34)) * band;
    for (int k = 0; k < 3; ++k) rgb[k] *= 1.0f - 0.6f * dust;
    // Star sizes are set so each point spreads over about a pixel and a half at this face size.
    float s = stars(d, 90.0f, 41, 25.0f) + 0.6f * stars(d, 220.0f, 42, 5.0f) + 0.3f * stars(d, 400.0f, 43, 1.5f);
    float tintSeed = noise3(d[0] * 40.0f, d[1] * 40.0f, d[2] * 40.0f, 44);
    rgb[0] += s * (0.9f + 0.2f * tintSeed);
    rgb[1] += s * 0.92f;
    rgb[2] += s * (1.0f - 0.2f * tintSeed);
    // A ringed planet low over the horizon.
    float pc[3] = {0.6f, 0.75f, 0.28f};
    normalise(pc);
    float cosA = dot3(d, pc);
    float r = 0.16f;
    float ang = std::acos(clampf(cosA, -1.0f, 1.0f));
    if (ang < r + 0.02f) {
        float q = ang / r;
        float cover = clampf((r - ang) / 0.004f, 0.0f, 1.0f);
        float lat = fbm3(d[0] * 30.0f, d[1] * 30.0f, d[2] * 4.0f, 3, 0.5f, 45);
        float light[3] = {-0.5f, 0.2f, 0.85f};
        normalise(light);
        // Fake a sphere normal from the offset to the planet centre.
        float off[3] = {d[0] - pc[0] * cosA, d[1] - pc[1] * cosA, d[2] - pc[2] * cosA};
        float z = std::sqrt(clampf(1.0f - q * q, 0.0f, 1.0f));
        float nrm[3] = {off[0] / r + pc[0] * z, off[1] / r + pc[1] * z, off[2] / r + pc[2] * z};
        normalise(nrm);
        float lit = clampf(dot3(nrm, light), 0.0f, 1.0f);
        float pr = (0.55f + 0.25f * lat) * lit + 0.02f, pg = (0.35f + 0.15f * lat) * lit + 0.015f, pb = (0.45f + 0.1f * lat) * lit + 0.03f;
        float atm = std::exp(-(1.0f - q) * 12.0f) * 0.5f * (0.3f + lit);
        pr += atm * 0.4f;
        pg += atm * 0.5f;
        pb += atm;
        rgb[0] = mixf(rgb[0], pr, cover);
        rgb[1] = mixf(rgb[1], pg, cover);
        rgb[2] = mixf(rgb[2], pb, cover);
    }
}

void daySky(const float* d, float* rgb) {
    float sun[3] = {0.45f, 0.55f, 0.5f};
    normalise(sun);
    float el = d[2];
    float up = clampf(el, 0.0f, 1.0f);
    // Zenith blue to pale horizon haze.
    float hz = std::pow(1.0f - up, 4.0f);
    rgb[0] = mixf(0.16f, 0.72f, hz);
    rgb[1] = mixf(0.36f, 0.84f, hz);
    rgb[2] = mixf(0.78f, 0.95f, hz);
    if (el < 0.0f) {
        // Below the horizon: distant hazy ground fading into the mist.
        float g = smoothstep(0.0f, -0.25f, el);
        rgb[0] = mixf(rgb[0], 0.34f, g);
        rgb[1] = mixf(rgb[1], 0.42f, g);
        rgb[2] = mixf(rgb[2], 0.36f, g);
    }
    float cs = dot3(d, sun);
    float glow = std::pow(clampf(cs, 0.0f, 1.0f), 12.0f) * 0.35f + std::pow(clampf(cs, 0.0f, 1.0f), 300.0f) * 0.8f;
    float disk = smoothstep(0.9993f, 0.9996f, cs);
    rgb[0] += glow * 1.0f + disk;
    rgb[1] += glow * 0.9f + disk;
    rgb[2] += glow * 0.7f + disk;
    if (el > 0.005f) {
        // Clouds on a flat layer above: project the direction onto it so they shrink towards the horizon.
        float px = d[0] / el, py = d[1] / el;
        float k = 0.35f;
        float cl = fbm2(px * k, py * k, 0, 6, 0.55f, 51) + 0.25f * fbm2(px * k * 3.0f, py * k * 3.0f, 0, 3, 0.5f, 52);
        float cover = smoothstep(0.02f, 0.45f, cl) * smoothstep(0.02f, 0.2f, el);
        float thick = smoothstep(0.1f, 0.7f, cl);
        float litc = 0.85f + 0.15f * clampf(cs, 0.0f, 1.0f);
        float cr = mixf(0.98f, 0.72f, thick * 0.6f) * litc, cg = mixf(0.98f, 0.75f, thick * 0.6f) * litc,
              cb = mixf(1.0f, 0.82f, thick * 0.6f) * litc;
        float haze = std::pow(1.0f - up, 6.0f);
        cr = mixf(cr, rgb[0], haze);
        cg = mixf(cg, rgb[1], haze);
        cb = mixf(cb, rgb[2], haze);
        rgb[0] = mixf(rgb[0], cr, cover * 0.9f);
        rgb[1] = mixf(rgb[1], cg, cover * 0.9f);
        rgb[2] = mixf(rgb[2], cb, cover * 0.9f);
    }
}

}  // namespace

void skyFacePoint(int face, float s, float t, float* out) {
    // Bilinear over the corners: corner 0 is (1,1), 1 is (1,0), 2 is (0,1), 3 is (0,0).
    for (int k = 0; k < 3; ++k) {
        float a = kFace[face][3][k] * (1.0f - t) + kFace[face][2][k] * t;  // s = 0 side
        float b = kFace[face][1][k] * (1.0f - t) + kFace[face][0][k] * t;  // s = 1 side
        out[k] = a * (1.0f - s) + b * s;
    }
}

Image makeSkyFace(int number) {
    int face = (number - 1) % 6;
    bool space = number <= 6;
    Image img(kSkySize, kSkySize);
    for (int y = 0; y < kSkySize; ++y)
        for (int x = 0; x < kSkySize; ++x) {
            // Edge pixels sit exactly on the cube's edges, so neighbouring faces share them.
            float s = x / static_cast<float>(kSkySize - 1), t = y / static_cast<float>(kSkySize - 1);
            float d[3];
            skyFacePoint(face, s, t, d);
            normalise(d);
            float rgb[3];
            if (space) spaceSky(d, rgb);
            else daySky(d, rgb);
            float* p = img.at(x, y);
            p[0] = rgb[0];
            p[1] = rgb[1];
            p[2] = rgb[2];
            p[3] = 1.0f;
        }
    return img;
}
