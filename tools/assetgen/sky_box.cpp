#include "sky_box.h"

#include "noise.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

// Scales a 3-vector to unit length (it must not be zero).
void normalise(float* v) {
    float l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    v[0] /= l;
    v[1] /= l;
    v[2] /= l;
}

float dot3(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The nebula behind the stars: two coloured clouds of warped noise, strongest along a band across the sky.
void nebula(const float* d, float* rgb) {
    float band = std::exp(-std::pow(d[0] * 0.5f + d[1] * 0.3f - d[2] * 0.8f, 2.0f) * 3.0f);
    float w = fbm3(d[0] * 2.0f, d[1] * 2.0f, d[2] * 2.0f, 3, 0.5f, 31);
    float n1 = fbm3(d[0] * 3.0f + w, d[1] * 3.0f - w, d[2] * 3.0f, 5, 0.55f, 32);
    float n2 = fbm3(d[0] * 5.0f - w, d[1] * 5.0f, d[2] * 5.0f + w, 4, 0.55f, 33);
    float c1 = clampf(n1 * 1.6f + 0.1f, 0.0f, 1.0f) * band;
    float c2 = clampf(n2 * 1.8f, 0.0f, 1.0f) * (0.4f + 0.6f * band);
    rgb[0] = 0.010f + 0.42f * c1 * c1 + 0.05f * c2;
    rgb[1] = 0.008f + 0.07f * c1 + 0.20f * c2 * c2;
    rgb[2] = 0.030f + 0.45f * c1 + 0.26f * c2;
    // Dark dust lanes.
    float dust = smoothstep(0.05f, 0.35f, fbm3(d[0] * 6.0f, d[1] * 6.0f, d[2] * 6.0f, 3, 0.5f, 34)) * band;
    for (int k = 0; k < 3; ++k) rgb[k] *= 1.0f - 0.6f * dust;
}

// A ringless gas giant low over the horizon, lit from one side; leaves rgb alone away from it.
void planet(const float* d, float* rgb) {
    float pc[3] = {0.6f, 0.75f, 0.28f};
    normalise(pc);
    float cosA = dot3(d, pc);
    const float r = 0.16f;
    if (cosA < std::cos(r + 0.02f)) return;
    float ang = std::acos(clampf(cosA, -1.0f, 1.0f));
    float q = ang / r;
    float cover = clampf((r - ang) / 0.004f, 0.0f, 1.0f);
    float lat = fbm3(d[0] * 30.0f, d[1] * 30.0f, d[2] * 4.0f, 3, 0.5f, 45);
    float light[3] = {-0.5f, 0.2f, 0.85f};
    normalise(light);
    float off[3] = {d[0] - pc[0] * cosA, d[1] - pc[1] * cosA, d[2] - pc[2] * cosA};
    float z = std::sqrt(clampf(1.0f - q * q, 0.0f, 1.0f));
    float nrm[3] = {off[0] / r + pc[0] * z, off[1] / r + pc[1] * z, off[2] / r + pc[2] * z};
    normalise(nrm);
    float lit = clampf(dot3(nrm, light), 0.0f, 1.0f);
    float pr = (0.55f + 0.25f * lat) * lit + 0.02f, pg = (0.35f + 0.15f * lat) * lit + 0.015f,
          pb = (0.45f + 0.1f * lat) * lit + 0.03f;
    float atm = std::exp(-(1.0f - q) * 12.0f) * 0.5f * (0.3f + lit);
    pr += atm * 0.4f;
    pg += atm * 0.5f;
    pb += atm;
    rgb[0] = mixf(rgb[0], pr, cover);
    rgb[1] = mixf(rgb[1], pg, cover);
    rgb[2] = mixf(rgb[2], pb, cover);
}

// Where the direction d meets face `face`, as texture coordinates; false if it points away from it.
bool faceCoords(int face, const float* d, float* s, float* t) {
    const float* c3 = kFace[face][3];
    float sAxis[3], tAxis[3], normal[3];
    for (int k = 0; k < 3; ++k) {
        sAxis[k] = kFace[face][1][k] - c3[k];
        tAxis[k] = kFace[face][2][k] - c3[k];
        normal[k] = c3[k] + 0.5f * (sAxis[k] + tAxis[k]);  // the face centre, 0.5 along one axis
    }
    float dn = dot3(d, normal);
    if (dn <= 0.05f) return false;
    float k = 0.25f / dn;
    float p[3] = {d[0] * k - c3[0], d[1] * k - c3[1], d[2] * k - c3[2]};
    *s = dot3(p, sAxis);
    *t = dot3(p, tAxis);
    return true;
}

// Stars splatted as small gaussians measured on the sphere, so a star on an edge lands on both faces alike.
void addStars(Image& img, int face) {
    Rng rng(4242);
    const int count = 9000;
    const float n1 = static_cast<float>(kSkySize - 1);
    const float sigma = 0.0024f;
    for (int i = 0; i < count; ++i) {
        float z = rng.range(-1.0f, 1.0f), a = rng.range(0.0f, 6.2831853f);
        float rr = std::sqrt(1.0f - z * z);
        float d[3] = {rr * std::cos(a), rr * std::sin(a), z};
        float m = rng.unit();
        // Most stars faint, a few bright ones.
        float m4 = m * m * m * m;
        float mag = 0.04f + 1.4f * m4 * m4;
        float warm = rng.range(-1.0f, 1.0f);
        float size = sigma * (1.0f + 0.8f * m * m);
        float s, t;
        if (!faceCoords(face, d, &s, &t)) continue;
        if (s < -0.03f || s > 1.03f || t < -0.03f || t > 1.03f) continue;
        int cx = static_cast<int>(std::floor(s * n1 + 0.5f)), cy = static_cast<int>(std::floor(t * n1 + 0.5f));
        // Pixels near the cube's corners cover less sky, so the star spans more of them there.
        for (int y = cy - 9; y <= cy + 9; ++y)
            for (int x = cx - 9; x <= cx + 9; ++x) {
                if (x < 0 || y < 0 || x >= kSkySize || y >= kSkySize) continue;
                float p[3];
                skyFacePoint(face, x / n1, y / n1, p);
                normalise(p);
                float dx = p[0] - d[0], dy = p[1] - d[1], dz = p[2] - d[2];
                float g = mag * std::exp(-(dx * dx + dy * dy + dz * dz) / (2.0f * size * size));
                if (g < 0.002f) continue;
                float* px = img.at(x, y);
                px[0] += g * (0.9f + 0.12f * warm);
                px[1] += g * 0.92f;
                px[2] += g * (0.95f - 0.12f * warm);
            }
    }
}

// Daylight sky in direction d: blue zenith, hazy horizon with hills, sun and clouds.
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
    // Two ranges of distant hills along the horizon, the far one lost in haze. Their outline is a
    // function of the compass direction, taken through its cosine and sine so it closes all the way round.
    // Far above the horizon nothing shows them, and far below the ground colour has covered them.
    if (el < 0.16f && el > -0.36f) {
        float horiz = std::sqrt(d[0] * d[0] + d[1] * d[1]) + 1e-6f;
        float cx = d[0] / horiz, cy = d[1] / horiz;
        float farTop = 0.03f + 0.11f * smoothstep(-0.4f, 0.6f, fbm2(cx * 2.5f + 7.0f, cy * 2.5f, 0, 5, 0.5f, 53));
        float nearTop = 0.01f + 0.06f * smoothstep(-0.5f, 0.6f, fbm2(cx * 4.0f, cy * 4.0f + 3.0f, 0, 5, 0.5f, 54));
        float aa = 0.004f;
        float farCover = clampf((farTop - el) / aa, 0.0f, 1.0f);
        float nearCover = clampf((nearTop - el) / aa, 0.0f, 1.0f);
        float farFade = smoothstep(farTop, farTop - 0.05f, el);
        rgb[0] = mixf(rgb[0], mixf(0.56f, 0.46f, farFade), farCover);
        rgb[1] = mixf(rgb[1], mixf(0.68f, 0.60f, farFade), farCover);
        rgb[2] = mixf(rgb[2], mixf(0.78f, 0.66f, farFade), farCover);
        // Woods and fields on the near hills: patches in direction and height, not stripes.
        float shadeNear = 0.8f + 0.25f * fbm2(cx * 25.0f + el * 60.0f, cy * 25.0f - el * 60.0f, 0, 3, 0.5f, 55);
        rgb[0] = mixf(rgb[0], 0.30f * shadeNear, nearCover);
        rgb[1] = mixf(rgb[1], 0.44f * shadeNear, nearCover);
        rgb[2] = mixf(rgb[2], 0.40f * shadeNear, nearCover);
        if (el < 0.0f) {
            // Below the horizon: the plain, darkening and greening towards the ground under the camera.
            float g = smoothstep(0.0f, -0.35f, el);
            rgb[0] = mixf(rgb[0], 0.20f, g);
            rgb[1] = mixf(rgb[1], 0.33f, g);
            rgb[2] = mixf(rgb[2], 0.16f, g);
        }
    } else if (el <= -0.36f) {
        rgb[0] = 0.20f;
        rgb[1] = 0.33f;
        rgb[2] = 0.16f;
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
    const float n1 = static_cast<float>(kSkySize - 1);
    // The soft nebula is evaluated on a half-size grid whose edge samples also sit on the cube's edges,
    // then interpolated; everything sharp is evaluated per pixel.
    const int g = kSkySize / 2 + 1;
    std::vector<float> grid;
    if (space) {
        grid.resize(static_cast<size_t>(g) * g * 3);
        for (int y = 0; y < g; ++y)
            for (int x = 0; x < g; ++x) {
                float d[3];
                skyFacePoint(face, x / static_cast<float>(g - 1), y / static_cast<float>(g - 1), d);
                normalise(d);
                nebula(d, &grid[(static_cast<size_t>(y) * g + x) * 3]);
            }
    }
    for (int y = 0; y < kSkySize; ++y)
        for (int x = 0; x < kSkySize; ++x) {
            // Edge pixels sit exactly on the cube's edges, so neighbouring faces share them.
            float s = x / n1, t = y / n1;
            float d[3];
            skyFacePoint(face, s, t, d);
            normalise(d);
            float rgb[3];
            if (space) {
                float gx = s * (g - 1), gy = t * (g - 1);
                int x0 = std::min(static_cast<int>(gx), g - 2), y0 = std::min(static_cast<int>(gy), g - 2);
                float fx = gx - x0, fy = gy - y0;
                for (int k = 0; k < 3; ++k) {
                    float a = grid[(static_cast<size_t>(y0) * g + x0) * 3 + k] * (1.0f - fx) + grid[(static_cast<size_t>(y0) * g + x0 + 1) * 3 + k] * fx;
                    float b = grid[(static_cast<size_t>(y0 + 1) * g + x0) * 3 + k] * (1.0f - fx) + grid[(static_cast<size_t>(y0 + 1) * g + x0 + 1) * 3 + k] * fx;
                    rgb[k] = a * (1.0f - fy) + b * fy;
                }
            } else {
                daySky(d, rgb);
            }
            float* p = img.at(x, y);
            p[0] = rgb[0];
            p[1] = rgb[1];
            p[2] = rgb[2];
            p[3] = 1.0f;
        }
    if (space) {
        addStars(img, face);
        for (int y = 0; y < kSkySize; ++y)
            for (int x = 0; x < kSkySize; ++x) {
                float d[3];
                skyFacePoint(face, x / n1, y / n1, d);
                normalise(d);
                planet(d, img.at(x, y));
            }
    }
    return img;
}
