#include "interface_art.h"

#include "noise.h"
#include "shapes.h"

#include <algorithm>
#include <cmath>

const AtlasPiece kHudLeft = {0, 0, 280, 280};
const AtlasPiece kHudRight = {272, 0, 240, 240};
const AtlasPiece kHudStrip = {0, 440, 512, 72};
const AtlasPiece kPointer = {116, 282, 38, 44};
const AtlasPiece kCommandFrame[2][2] = {{{-4, 342, 58, 58}, {56, 342, 58, 58}},
                                        {{-4, 282, 58, 58}, {56, 282, 58, 58}}};
const AtlasPiece kActionButton[2] = {{335, 279, 170, 60}, {335, 349, 170, 60}};
const AtlasPiece kOptionButton[2] = {{153, 281, 153, 46}, {153, 351, 153, 46}};

namespace {

// The top edge of the game's bottom console, in window pixels; the strip and both corner pieces meet on it.
const float kLedge = 130.0f;
const float kRim = 11.0f;

// Union of two distances with a rounded fillet of size k where they meet.
float smoothMin(float a, float b, float k) {
    float h = clampf(0.5f + 0.5f * (b - a) / k, 0.0f, 1.0f);
    return mixf(b, a, h) - k * h * (1.0f - h);
}

// A box given by its edges (no rounding), as a signed distance.
float sdEdges(float x, float y, float x0, float y0, float x1, float y1) {
    return sdRoundBox(x, y, (x0 + x1) * 0.5f, (y0 + y1) * 0.5f, (x1 - x0) * 0.5f, (y1 - y0) * 0.5f, 0.0f);
}

// Console silhouettes in window pixels of each piece (sx to the right, sy up from the window bottom).
// The game fills the panels with square-cornered flat rectangles first (left 230 x 230, right 200 x 200 at
// W - 200, the middle up to 130): the blocks reach 6 px past their edges so the rounded corners still
// cover the rectangles' corners.
float leftSilhouette(float sx, float sy) {
    float block = sdRoundBox(sx, sy, -382.0f, -382.0f, 618.0f, 618.0f, 18.0f);
    float band = sdEdges(sx, sy, -1000.0f, -1000.0f, 3000.0f, kLedge);
    return smoothMin(block, band, 14.0f);
}

// The right console: a 200-wide block 200 high and the band along the ledge.
float rightSilhouette(float sx, float sy) {
    float block = sdRoundBox(sx, sy, 634.0f, -397.0f, 600.0f, 603.0f, 18.0f);
    float band = sdEdges(sx, sy, -3000.0f, -1000.0f, 3000.0f, kLedge);
    return smoothMin(block, band, 14.0f);
}

float stripSilhouette(float, float sy) { return sy - kLedge; }

// The console's dark fill: almost the flat colour the game paints under it, lit a little towards the rim,
// with a fine pattern that repeats every 16 px so neighbouring pieces line up.
void consoleFill(float sx, float sy, float d, float* out) {
    int px = static_cast<int>(std::floor(sx)) & 15, py = static_cast<int>(std::floor(sy)) & 15;
    float pattern = ((px + py) % 8 == 0 || (px - py + 16) % 8 == 0) ? 1.0f : 0.0f;
    float lift = smoothstep(-36.0f, -kRim, d);
    float g = 0.031f + lift * (0.035f + 0.018f * pattern) + 0.006f * pattern;
    out[0] = g * 0.25f;
    out[1] = g;
    out[2] = g * 0.35f;
    out[3] = 1.0f;
}

// Colour of the console at window position (sx, sy) for a silhouette sdf: fill, bevelled metal rim with a
// green accent line, soft shadow outside.
template <typename Sdf>
void consolePixel(Sdf sdf, float sx, float sy, float* out) {
    float d = sdf(sx, sy);
    float gx = sdf(sx + 0.5f, sy) - sdf(sx - 0.5f, sy);
    float gy = sdf(sx, sy + 0.5f) - sdf(sx, sy - 0.5f);
    float gl = std::sqrt(gx * gx + gy * gy);
    if (gl > 1e-5f) {
        gx /= gl;
        gy /= gl;
    }
    if (d > 0.0f) {
        // Outside: only the anti-aliased fringe of curved edges. The pieces overlap each other and the
        // strip along the ledge, so anything half transparent there would be drawn twice and show.
        out[0] = 0.52f;
        out[1] = 0.62f;
        out[2] = 0.52f;
        out[3] = coverage(d);
        return;
    }
    consoleFill(sx, sy, d, out);
    if (d > -kRim - 1.0f) {
        // Across the rim t runs 0 (inner) .. 1 (outer); the bar's surface tilts with it.
        float t = clampf((d + kRim) / kRim, 0.0f, 1.0f);
        float tilt = (t - 0.5f) * 2.0f;
        float facing = gx * -0.45f + gy * 0.89f;  // light from the upper left
        float shade = 0.62f + 0.38f * tilt * facing + 0.25f * (1.0f - tilt * tilt);
        float brushed = 0.04f * noise2(sx * 0.5f, sy * 0.45f, 8, 17);  // repeats every 16 px across
        float r = (0.30f + brushed) * shade, g = (0.37f + brushed) * shade, b = (0.31f + brushed) * shade;
        // The inner groove darkens, the outer lip catches light.
        float groove = 1.0f - 0.6f * (1.0f - smoothstep(0.0f, 0.14f, t));
        float lip = smoothstep(0.8f, 0.95f, t) * (1.0f - smoothstep(0.95f, 1.0f, t)) * 0.35f;
        r = r * groove + lip;
        g = g * groove + lip;
        b = b * groove + lip;
        float rimCover = coverage(-(d + kRim));
        out[0] = mixf(out[0], r, rimCover);
        out[1] = mixf(out[1], g, rimCover);
        out[2] = mixf(out[2], b, rimCover);
    }
    // A thin green light line inside the rim.
    float line = std::exp(-((d + kRim + 4.0f) * (d + kRim + 4.0f)) / 1.3f);
    out[0] += 0.05f * line;
    out[1] += 0.45f * line;
    out[2] += 0.12f * line;
}

// Paints one HUD piece from a silhouette, with window x = originX at its first column.
void paintPiece(Image& img, const AtlasPiece& p, float (*sdf)(float, float), float originX) {
    for (int row = 0; row < p.h; ++row)
        for (int col = 0; col < p.w; ++col) {
            float sx = originX + col + 0.5f;
            float sy = (p.h - 1 - row) + 0.5f;
            float c[4];
            consolePixel(sdf, sx, sy, c);
            float* d = img.at((p.left() + col + 512) % 512, p.top() + row);
            for (int k = 0; k < 4; ++k) d[k] = c[k];
        }
}

// The strip's window y runs from 95 to 167; its rows map onto the same ledge as the corner pieces.
void paintStrip(Image& img) {
    for (int row = 0; row < kHudStrip.h; ++row)
        for (int col = 0; col < 512; ++col) {
            float sx = col + 0.5f;
            float sy = 95.0f + (kHudStrip.h - 1 - row) + 0.5f;
            float c[4];
            consolePixel(stripSilhouette, sx, sy, c);
            float* d = img.at(col, kHudStrip.top() + row);
            for (int k = 0; k < 4; ++k) d[k] = c[k];
        }
}

// The recessed well around the minimap (window 10..210 on both axes) in the left piece.
void paintMinimapWell(Image& img) {
    const AtlasPiece& p = kHudLeft;
    for (int row = 0; row < p.h; ++row)
        for (int col = 0; col < 240; ++col) {
            float sx = col + 0.5f, sy = (p.h - 1 - row) + 0.5f;
            float d = sdEdges(sx, sy, 10.0f, 10.0f, 210.0f, 210.0f);
            if (d < 0.0f || d > 6.0f) continue;
            float gx = sdEdges(sx + 0.5f, sy, 10, 10, 210, 210) - sdEdges(sx - 0.5f, sy, 10, 10, 210, 210);
            float gy = sdEdges(sx, sy + 0.5f, 10, 10, 210, 210) - sdEdges(sx, sy - 0.5f, 10, 10, 210, 210);
            // A sunken bevel: lit where it faces away from the light.
            float facing = -(gx * -0.45f + gy * 0.89f);
            float shade = 0.22f + 0.16f * facing;
            float* px = img.at(col, p.top() + row);
            float k = coverage(d - 5.5f);
            px[0] = mixf(px[0], shade * 0.8f, k);
            px[1] = mixf(px[1], shade, k);
            px[2] = mixf(px[2], shade * 0.82f, k);
            px[3] = 1.0f;
        }
}

// A 58 x 58 command button: metal frame around a dark glass face; hover lights it, disabled dims it.
void paintCommandFrame(Image& img, const AtlasPiece& p, bool enabled, int state) {
    for (int row = 0; row < p.h; ++row)
        for (int col = 0; col < p.w; ++col) {
            float x = col + 0.5f, y = row + 0.5f;
            float d = sdRoundBox(x, y, 29.0f, 29.0f, 28.0f, 28.0f, 6.0f);
            float c[4] = {0, 0, 0, 0};
            if (d < 0.5f) {
                float cover = coverage(d);
                float t = clampf(-d / 5.0f, 0.0f, 1.0f);  // 0 at the outer edge, 1 where the face starts
                float gx = x - 29.0f, gy = y - 29.0f;
                float facing = (std::fabs(gx) > std::fabs(gy)) ? (gx < 0 ? 0.5f : -0.5f) : (gy < 0 ? 0.9f : -0.9f);
                float metal = 0.45f + 0.3f * facing * (1.0f - t);
                float r = 0.36f * metal * 2.0f, g = 0.44f * metal * 2.0f, b = 0.37f * metal * 2.0f;
                if (d < -5.0f) {
                    // The face: dark green glass with a gloss over its upper half.
                    float v = clampf((y - 4.0f) / 50.0f, 0.0f, 1.0f);
                    r = 0.02f + 0.03f * (1.0f - v);
                    g = 0.09f + 0.16f * (1.0f - v);
                    b = 0.04f + 0.05f * (1.0f - v);
                    float gloss = (y < 27.0f) ? 0.10f * (1.0f - smoothstep(8.0f, 27.0f, y)) : 0.0f;
                    r += gloss;
                    g += gloss * 1.2f;
                    b += gloss;
                    float inner = smoothstep(-9.0f, -5.0f, d);
                    r *= 1.0f - 0.5f * inner;
                    g *= 1.0f - 0.5f * inner;
                    b *= 1.0f - 0.5f * inner;
                }
                if (state == 1) {
                    // Hover: a green glow along the frame and a brighter face.
                    float glow = std::exp(-((d + 5.0f) * (d + 5.0f)) / 3.0f);
                    r = r * 1.15f + 0.10f * glow;
                    g = g * 1.35f + 0.65f * glow + 0.05f;
                    b = b * 1.15f + 0.18f * glow;
                }
                if (!enabled) {
                    float l = (r * 0.3f + g * 0.59f + b * 0.11f) * 0.55f;
                    r = l;
                    g = l * 1.05f;
                    b = l;
                }
                c[0] = r;
                c[1] = g;
                c[2] = b;
                c[3] = cover * (enabled ? 1.0f : 0.9f);
            }
            float* px = img.at((p.left() + col + 512) % 512, p.top() + row);
            for (int k = 0; k < 4; ++k) px[k] = c[k];
        }
}

// A menu button plate: the control's own rectangle (margin from the piece's left and bottom edges as the
// game offsets it), a bevelled rounded plate, and a soft shadow down and to the right.
void paintMenuButton(Image& img, const AtlasPiece& p, float bodyW, float bodyH, int state, bool large) {
    float left = 10.0f, top = p.h - 12.0f - bodyH;
    float cx = left + bodyW * 0.5f, cy = top + bodyH * 0.5f;
    float radius = large ? 10.0f : 7.0f;
    for (int row = 0; row < p.h; ++row)
        for (int col = 1; col < p.w; ++col) {
            float x = col + 0.5f, y = row + 0.5f;
            float d = sdRoundBox(x, y, cx, cy, bodyW * 0.5f, bodyH * 0.5f, radius);
            float sd = sdRoundBox(x, y, cx + 3.0f, cy + 4.0f, bodyW * 0.5f, bodyH * 0.5f, radius);
            float c[4] = {0.0f, 0.0f, 0.0f, 0.45f * (1.0f - smoothstep(-3.0f, 4.0f, sd))};
            if (d < 0.5f) {
                float v = clampf((y - top) / bodyH, 0.0f, 1.0f);
                float base = large ? 0.34f : 0.24f;
                float r = 0.05f + 0.06f * (1.0f - v), g = base * (1.15f - 0.6f * v), b = 0.07f + 0.05f * (1.0f - v);
                // Glass gloss over the upper half, fading out smoothly.
                float gloss = 0.16f * (1.0f - smoothstep(0.0f, 0.55f, v));
                r += gloss;
                g += gloss;
                b += gloss;
                // Rim: lit along the top edge, shaded along the bottom, blending round the ends.
                float rim = 1.0f - smoothstep(-3.0f, -1.0f, d);
                float edgeLight = mixf(0.55f, 0.12f, smoothstep(0.25f, 0.75f, v));
                r = mixf(0.45f * edgeLight + 0.1f, r, rim);
                g = mixf(0.75f * edgeLight + 0.12f, g, rim);
                b = mixf(0.45f * edgeLight + 0.1f, b, rim);
                if (state == 1) {
                    float glow = 1.0f - smoothstep(0.0f, 0.9f, v);
                    r = r * 1.1f + 0.08f;
                    g = g * 1.25f + 0.20f * glow + 0.06f;
                    b = b * 1.1f + 0.06f;
                    float ring = std::exp(-((d + 1.5f) * (d + 1.5f)) / 2.0f);
                    r += 0.25f * ring;
                    g += 0.6f * ring;
                    b += 0.25f * ring;
                }
                float cover = coverage(d);
                c[0] = r;
                c[1] = g;
                c[2] = b;
                c[3] = mixf(c[3], 1.0f, cover);
            }
            float* px = img.at(p.left() + col, p.top() + row);
            for (int k = 0; k < 4; ++k) px[k] = c[k];
        }
}

// The mouse pointer: an arrow whose tip sits 3 px from the piece's left and 6 px below its top.
void paintPointer(Image& img) {
    const float tipX = 3.0f, tipY = 6.0f;
    float arrow[14] = {tipX, tipY, tipX, tipY + 30.0f, tipX + 7.5f, tipY + 23.5f, tipX + 13.5f, tipY + 35.0f,
                       tipX + 19.0f, tipY + 32.5f, tipX + 13.0f, tipY + 21.5f, tipX + 23.5f, tipY + 21.5f};
    for (int row = 0; row < kPointer.h; ++row)
        for (int col = 0; col < kPointer.w - 1; ++col) {
            float s = 0.0f, r = 0.0f, g = 0.0f, b = 0.0f, shadow = 0.0f;
            // 4 x 4 supersampling keeps the long thin edges clean.
            for (int j = 0; j < 4; ++j)
                for (int i = 0; i < 4; ++i) {
                    float x = col + (i + 0.5f) / 4.0f, y = row + (j + 0.5f) / 4.0f;
                    float d = sdPolygon(x, y, arrow, 7);
                    float ds = sdPolygon(x - 1.5f, y - 2.0f, arrow, 7);
                    if (d < 0.0f) {
                        s += 1.0f;
                        if (d > -1.6f) {
                            r += 0.05f;
                            g += 0.25f;
                            b += 0.06f;
                        } else {
                            float v = clampf((y - tipY) / 30.0f, 0.0f, 1.0f);
                            r += 0.80f - 0.35f * v;
                            g += 1.00f - 0.15f * v;
                            b += 0.80f - 0.40f * v;
                        }
                    } else if (ds < 1.0f) {
                        shadow += 1.0f;
                    }
                }
            float* px = img.at(kPointer.left() + col, kPointer.top() + row);
            float a = s / 16.0f, sh = 0.4f * shadow / 16.0f;
            if (s > 0.0f) {
                px[0] = r / s;
                px[1] = g / s;
                px[2] = b / s;
            } else {
                px[0] = px[1] = px[2] = 0.0f;
            }
            px[3] = a + sh * (1.0f - a);
        }
}

// Clears the pixels of a corner piece's columns [from, to) that show exactly what the strip shows at the
// same window position (rows of window y 95..167). stripShift is the strip column under the piece's
// column 0, modulo the strip's 16-column pattern.
void clearWhereStripRepeats(Image& img, const AtlasPiece& p, int from, int to, int stripShift) {
    for (int wy = 95; wy < 95 + kHudStrip.h; ++wy)
        for (int col = from; col < to; ++col) {
            float* px = img.at((p.left() + col) % 512, p.top() + p.h - 1 - wy);
            const float* strip = img.at((col - stripShift + 512) % 512, kHudStrip.top() + kHudStrip.h - 1 - (wy - 95));
            float diff = 0.0f;
            for (int k = 0; k < 4; ++k) diff = std::max(diff, std::fabs(px[k] - strip[k]));
            if (diff < 0.01f) px[3] = 0.0f;
        }
}

// Makes a piece fully transparent (the pointer sits in an unused button slot).
void clearPiece(Image& img, const AtlasPiece& p) {
    for (int row = 0; row < p.h; ++row)
        for (int col = 0; col < p.w; ++col) {
            float* px = img.at((p.left() + col + 512) % 512, p.top() + row);
            px[0] = px[1] = px[2] = px[3] = 0.0f;
        }
}

}  // namespace

Image makeInterfaceAtlas() {
    Image img(512, 512);
    img.fill(0.0f, 0.0f, 0.0f, 0.0f);
    paintStrip(img);
    // The right piece first: the left one overlaps its first columns with the very same ledge.
    paintPiece(img, kHudRight, rightSilhouette, 0.0f);
    paintPiece(img, kHudLeft, leftSilhouette, 0.0f);
    // Along the ledge the strip is drawn under both corner pieces. Where a piece would only repeat the
    // strip, it stays clear: the edge's soft rows would otherwise be drawn twice and show as a brighter
    // streak. Only the rounded joins, which differ from the strip, are kept.
    clearWhereStripRepeats(img, kHudLeft, 240, 280, 240);
    clearWhereStripRepeats(img, kHudRight, 0, 40, 0);
    paintMinimapWell(img);
    // The strip's top row wraps onto the bottom row under linear filtering: keep that row clear (the
    // flat panels the game draws first lie under it anyway).
    for (int x = 0; x < 512; ++x) img.at(x, 511)[3] = 0.0f;
    for (int enabled = 0; enabled < 2; ++enabled)
        for (int state = 0; state < 2; ++state) paintCommandFrame(img, kCommandFrame[enabled][state], enabled == 1, state);
    clearPiece(img, kPointer);
    paintPointer(img);
    for (int state = 0; state < 2; ++state) {
        paintMenuButton(img, kActionButton[state], 150.0f, 40.0f, state, true);
        paintMenuButton(img, kOptionButton[state], 125.0f, 25.0f, state, false);
    }
    return img;
}
