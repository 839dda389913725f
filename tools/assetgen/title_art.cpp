#include "title_art.h"

#include "noise.h"
#include "shapes.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Mask {
    int w, h;
    std::vector<float> v;
    Mask(int width, int height) : w(width), h(height), v(static_cast<size_t>(width) * height, 0.0f) {}
    float get(int x, int y) const {
        if (x < 0 || y < 0 || x >= w || y >= h) return 0.0f;
        return v[static_cast<size_t>(y) * w + x];
    }
    float& at(int x, int y) { return v[static_cast<size_t>(y) * w + x]; }
};

// Renders a line of text centred on (cx, baseline) into the mask. Returns false if the face is missing.
bool renderText(Mask& m, const char* fontFile, const char* text, float pixelSize, float cx, float baseline, float squeeze) {
    FT_Library lib;
    if (FT_Init_FreeType(&lib)) return false;
    FT_Face face;
    if (FT_New_Face(lib, fontFile, 0, &face)) {
        FT_Done_FreeType(lib);
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
    float width = 0.0f;
    for (const char* c = text; *c; ++c) {
        FT_Load_Char(face, static_cast<unsigned char>(*c), FT_LOAD_DEFAULT);
        width += face->glyph->advance.x / 64.0f * squeeze;
    }
    float pen = cx - width * 0.5f;
    for (const char* c = text; *c; ++c) {
        FT_Matrix matrix = {static_cast<FT_Fixed>(squeeze * 65536.0f), 0, 0, 0x10000};
        FT_Vector delta = {static_cast<FT_Pos>((pen - std::floor(pen)) * 64.0f), 0};
        FT_Set_Transform(face, &matrix, &delta);
        if (FT_Load_Char(face, static_cast<unsigned char>(*c), FT_LOAD_RENDER | FT_LOAD_NO_HINTING)) continue;
        FT_Bitmap& bm = face->glyph->bitmap;
        int ox = static_cast<int>(std::floor(pen)) + face->glyph->bitmap_left;
        int oy = static_cast<int>(baseline) - face->glyph->bitmap_top;
        for (unsigned int r = 0; r < bm.rows; ++r)
            for (unsigned int col = 0; col < bm.width; ++col) {
                int x = ox + static_cast<int>(col), y = oy + static_cast<int>(r);
                if (x < 0 || y < 0 || x >= m.w || y >= m.h) continue;
                m.at(x, y) = std::max(m.at(x, y), bm.buffer[r * bm.pitch + col] / 255.0f);
            }
        pen += face->glyph->advance.x / 64.0f;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    return true;
}

// Separable box blur of radius r.
Mask boxBlur(const Mask& in, int r) {
    Mask tmp(in.w, in.h), out(in.w, in.h);
    for (int y = 0; y < in.h; ++y)
        for (int x = 0; x < in.w; ++x) {
            float s = 0.0f;
            for (int k = -r; k <= r; ++k) s += in.get(x + k, y);
            tmp.at(x, y) = s / (2 * r + 1);
        }
    for (int y = 0; y < in.h; ++y)
        for (int x = 0; x < in.w; ++x) {
            float s = 0.0f;
            for (int k = -r; k <= r; ++k) s += tmp.get(x, y + k);
            out.at(x, y) = s / (2 * r + 1);
        }
    return out;
}

// Grows the mask by a disc of radius r (soft maximum over the disc).
Mask dilate(const Mask& in, float r, int x0, int y0, int x1, int y1) {
    Mask out(in.w, in.h);
    int ir = static_cast<int>(std::ceil(r));
    for (int y = std::max(0, y0); y < std::min(in.h, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(in.w, x1); ++x) {
            float best = in.get(x, y);
            for (int j = -ir; j <= ir && best < 1.0f; ++j)
                for (int i = -ir; i <= ir; ++i) {
                    float d = std::sqrt(static_cast<float>(i * i + j * j));
                    if (d > r + 1.0f) continue;
                    float w = clampf(r + 0.5f - d, 0.0f, 1.0f);
                    best = std::max(best, in.get(x + i, y + j) * w);
                }
            out.at(x, y) = best;
        }
    return out;
}

}  // namespace

// A glossy blob creature standing on the ground at (cx, base), radius r, in colour col.
void paintBlob(Image& img, float cx, float base, float r, const float* col) {
    int x0 = static_cast<int>(cx - r * 1.3f), x1 = static_cast<int>(cx + r * 1.3f);
    int y0 = static_cast<int>(base - r * 2.0f), y1 = static_cast<int>(base + r * 0.4f);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            float shadow = sdEllipse(px, py, cx + r * 0.15f, base, r * 1.2f, r * 0.22f);
            float sh = coverage(shadow / 3.0f) * 0.5f;
            float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
            img.blend(x, y, black, sh);
            float d = std::max(sdEllipse(px, py, cx, base - r * 0.75f, r, r * 0.95f), py - base);
            float c = coverage(d);
            if (c <= 0.0f) continue;
            float nx = (px - cx) / r, ny = (py - (base - r * 0.75f)) / r;
            float nz = std::sqrt(clampf(1.0f - nx * nx - ny * ny, 0.0f, 1.0f));
            float diffuse = clampf(-0.4f * nx - 0.55f * ny + 0.75f * nz, 0.0f, 1.0f);
            float shine = std::pow(clampf(-0.3f * nx - 0.5f * ny + 0.81f * nz, 0.0f, 1.0f), 30.0f);
            float rim = std::pow(1.0f - nz, 3.0f) * 0.5f;
            float rgb[4] = {col[0] * (0.25f + 0.8f * diffuse) + shine + rim * col[0],
                            col[1] * (0.25f + 0.8f * diffuse) + shine + rim * col[1],
                            col[2] * (0.25f + 0.8f * diffuse) + shine + rim * col[2], 1.0f};
            // Eyes.
            float eyeY = base - r * 0.95f;
            float e = std::min(sdCircle(px, py, cx - r * 0.3f, eyeY, r * 0.17f), sdCircle(px, py, cx + r * 0.25f, eyeY, r * 0.17f));
            float pupil = std::min(sdCircle(px, py, cx - r * 0.25f, eyeY + r * 0.04f, r * 0.08f),
                                   sdCircle(px, py, cx + r * 0.3f, eyeY + r * 0.04f, r * 0.08f));
            float ec = coverage(e), pc = coverage(pupil);
            for (int k = 0; k < 3; ++k) rgb[k] = mixf(mixf(rgb[k], 0.95f, ec), 0.02f, pc);
            img.blend(x, y, rgb, c * 0.97f);
        }
}

Image makeTitlePicture(int size, std::string* error) {
    Image img(size, size);
    float s = size / 1024.0f;
    // Night sky to horizon glow, with stars.
    Rng rng(1234);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float v = y / static_cast<float>(size);
            float horizon = std::exp(-std::pow((v - 0.62f) / 0.12f, 2.0f));
            float* p = img.at(x, y);
            p[0] = 0.01f + 0.10f * horizon;
            p[1] = 0.05f + 0.22f * horizon + 0.05f * (1.0f - v);
            p[2] = 0.05f + 0.10f * horizon + 0.06f * (1.0f - v);
            float u = x / static_cast<float>(size);
            float cloud = 0.5f + 0.5f * fbm2(u * 6.0f, v * 10.0f, 0, 5, 0.5f, 77);
            p[1] += 0.05f * cloud * (1.0f - v);
            p[2] += 0.03f * cloud * (1.0f - v);
            // Fade out towards the borders into the menu's own green.
            float dx = std::fabs(u - 0.5f) * 2.0f, dy = std::fabs(v - 0.5f) * 2.0f;
            float edge = std::max(dx, dy * 0.9f);
            p[3] = 1.0f - smoothstep(0.7f, 0.99f, std::pow(dx * dx * dx * dx + dy * dy * dy * dy, 0.25f) * 0.5f + edge * 0.5f);
        }
    for (int i = 0; i < 500; ++i) {
        float x = rng.range(0.0f, size), y = rng.range(0.0f, size * 0.6f);
        float b = rng.unit();
        float star[4] = {0.9f, 1.0f, 0.9f, 1.0f};
        float r = (0.6f + 1.2f * b * b) * s;
        paintShape(img, static_cast<int>(x - 3), static_cast<int>(y - 3), static_cast<int>(x + 4), static_cast<int>(y + 4), star,
                   [&](float px, float py) { return sdCircle(px, py, x, y, r) + (1.0f - b) * 0.5f; });
    }
    // Two ranges of hills: far and bluish, near and dark green.
    for (int layer = 0; layer < 2; ++layer)
        for (int x = 0; x < size; ++x) {
            float u = x / static_cast<float>(size);
            float top = layer == 0 ? 0.60f + 0.06f * fbm2(u * 4.0f, 0.3f, 0, 4, 0.5f, 80)
                                   : 0.70f + 0.07f * fbm2(u * 3.0f, 0.7f, 0, 4, 0.5f, 81) - 0.05f * std::sin(u * 3.14159f);
            for (int y = 0; y < size; ++y) {
                float v = (y + 0.5f) / size;
                float c = clampf((v - top) * size + 0.5f, 0.0f, 1.0f);
                if (c <= 0.0f) continue;
                float depth = clampf((v - top) * 3.0f, 0.0f, 1.0f);
                float col[4];
                if (layer == 0) {
                    col[0] = 0.03f; col[1] = 0.12f - 0.04f * depth; col[2] = 0.10f; col[3] = 1.0f;
                } else {
                    float g = 0.5f + 0.5f * fbm2(u * 40.0f, v * 40.0f, 0, 3, 0.5f, 82);
                    col[0] = 0.02f + 0.02f * g; col[1] = 0.16f - 0.12f * depth + 0.03f * g; col[2] = 0.03f; col[3] = 1.0f;
                    // Rim light from the horizon along the crest.
                    float crest = std::exp(-(v - top) * size / (6.0f * s));
                    col[1] += 0.2f * crest;
                    col[0] += 0.06f * crest;
                }
                float* p = img.at(x, y);
                float a = p[3];
                img.blend(x, y, col, c);
                p[3] = a;  // the hills keep the border fade
            }
        }
    // The four players' blobs on the near hills.
    const float green[3] = {0.2f, 0.9f, 0.25f}, red[3] = {0.95f, 0.18f, 0.12f}, blue[3] = {0.2f, 0.35f, 1.0f},
                yellow[3] = {0.9f, 0.85f, 0.15f};
    struct Placed { float x, r; const float* col; };
    Placed blobs[4] = {{0.30f, 62.0f, green}, {0.74f, 48.0f, red}, {0.53f, 36.0f, blue}, {0.14f, 30.0f, yellow}};
    for (const Placed& b : blobs) {
        float u = b.x;
        float top = 0.70f + 0.07f * fbm2(u * 3.0f, 0.7f, 0, 4, 0.5f, 81) - 0.05f * std::sin(u * 3.14159f);
        std::vector<float> keep(static_cast<size_t>(size) * size);
        for (int i = 0; i < size * size; ++i) keep[i] = img.at(i % size, i / size)[3];
        paintBlob(img, u * size, top * size + 10.0f * s, b.r * s, b.col);
        for (int i = 0; i < size * size; ++i) img.at(i % size, i / size)[3] = keep[i];
    }
    // The name in glossy slime with a dark outline and a few drips.
    Mask text(size, size);
    if (!renderText(text, "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", "GELMARCH", 178.0f * s, size * 0.5f,
                    size * 0.36f, 0.92f)) {
        if (error) *error = "cannot open DejaVuSans-Bold.ttf for the title";
        return Image();
    }
    // Slime running off the bottoms of the letters: thin necks swelling into drops.
    Rng drips(99);
    int baseline = static_cast<int>(size * 0.36f);
    std::vector<int> candidates;
    for (int x = 0; x < size; ++x)
        if (text.get(x, baseline - 2) > 0.9f && text.get(x - 6, baseline - 2) > 0.9f && text.get(x + 6, baseline - 2) > 0.9f) candidates.push_back(x);
    std::vector<float> placed;
    for (int i = 0; i < 60 && placed.size() < 9 && !candidates.empty(); ++i) {
        float x = static_cast<float>(candidates[drips.below(static_cast<int>(candidates.size()))]);
        bool crowded = false;
        for (float p : placed) crowded = crowded || std::fabs(p - x) < 50.0f * s;
        if (crowded) continue;
        placed.push_back(x);
        float len = drips.range(18.0f, 55.0f) * s, r = drips.range(8.0f, 12.0f) * s;
        float y0 = baseline - 4.0f;
        int ext = static_cast<int>(r) + 3;
        for (int py = static_cast<int>(y0); py < static_cast<int>(y0 + len + r + 3); ++py)
            for (int px = static_cast<int>(x) - ext; px <= static_cast<int>(x) + ext; ++px) {
                float t = clampf((py + 0.5f - y0) / len, 0.0f, 1.0f);
                float neck = r * (0.95f - 0.45f * std::sin(t * 3.14159f * 0.8f));
                float d = std::min(std::fabs(px + 0.5f - x) - neck, sdCircle(px + 0.5f, py + 0.5f, x, y0 + len, r));
                if (py + 0.5f > y0 + len) d = sdCircle(px + 0.5f, py + 0.5f, x, y0 + len, r);
                if (px >= 0 && py >= 0 && px < size && py < size) text.at(px, py) = std::max(text.at(px, py), coverage(d));
            }
    }
    int tx0 = static_cast<int>(size * 0.05f), tx1 = static_cast<int>(size * 0.95f);
    int ty0 = static_cast<int>(size * 0.16f), ty1 = static_cast<int>(size * 0.48f);
    Mask outline = dilate(text, 7.0f * s, tx0, ty0, tx1, ty1);
    Mask glowMask = boxBlur(boxBlur(outline, static_cast<int>(10 * s)), static_cast<int>(10 * s));
    Mask bump = boxBlur(text, std::max(1, static_cast<int>(4 * s)));
    for (int y = ty0 - 40; y < ty1 + 40; ++y)
        for (int x = 0; x < size; ++x) {
            if (y < 0 || y >= size) continue;
            float* p = img.at(x, y);
            float glow = glowMask.get(x, y) * 0.7f;
            float gc[4] = {0.2f, 0.9f, 0.3f, 1.0f};
            img.blend(x, y, gc, glow * 0.45f);
            float ol[4] = {0.0f, 0.06f, 0.01f, 1.0f};
            img.blend(x, y, ol, outline.get(x, y));
            float t = text.get(x, y);
            if (t > 0.0f) {
                float nx = bump.get(x + 1, y) - bump.get(x - 1, y), ny = bump.get(x, y + 1) - bump.get(x, y - 1);
                float light = clampf(0.6f - 2.5f * (-0.5f * nx - 0.8f * ny), 0.0f, 1.4f);
                float v = clampf((y - size * 0.22f) / (size * 0.16f), 0.0f, 0.7f);  // drips keep the lower letters' green
                float slime[4] = {(0.35f - 0.25f * v) * light, (1.0f - 0.45f * v) * light, (0.25f - 0.15f * v) * light, 1.0f};
                float gloss = std::pow(clampf(1.0f - std::fabs(v - 0.15f) * 5.0f, 0.0f, 1.0f), 2.0f) * 0.45f;
                for (int k = 0; k < 3; ++k) slime[k] += gloss;
                img.blend(x, y, slime, t);
            }
            p[3] = std::max(p[3], std::max(outline.get(x, y), glow * 0.45f));
        }
    return img;
}
