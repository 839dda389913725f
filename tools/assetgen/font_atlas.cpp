#include "font_atlas.h"

#include "icons.h"
#include "noise.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>


namespace {

const int kCell = 32;
const int kBaseline = 25;       // rows from the cell top; 7 px of room below for descenders
const float kPixelSize = 21.0f; // em size that makes DejaVu's advances match the table best
const float kRightLimit = 30.5f; // the game's glyph quad samples just under 31 px of the cell

// Writes the brightness v into the cell pixel, keeping the brighter of old and new.
void putInk(Image& img, int x, int y, float v) {
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return;
    float* p = img.at(x, y);
    float m = std::max(p[0], clampf(v, 0.0f, 1.0f));
    p[0] = p[1] = p[2] = m;
}

// Renders one character of the face into cell `index`, centred in the table's advance.
void renderGlyph(FT_Face face, Image& img, int code, int index) {
    float advance = kFontAdvances[index];
    FT_Set_Transform(face, nullptr, nullptr);
    if (FT_Load_Char(face, code, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT)) return;
    FT_Glyph_Metrics& m = face->glyph->metrics;
    float natural = m.horiAdvance / 64.0f;
    float inkLeft = m.horiBearingX / 64.0f;
    float inkWidth = m.width / 64.0f;
    if (inkWidth <= 0.0f) return;
    // Stretch or narrow each glyph a little towards its advance, so the table's wide letters do not stand
    // apart and narrow ones do not collide; then keep the ink inside the room the cell offers.
    float scale = clampf(advance / natural, 0.85f, 1.12f);
    float room = std::min(advance + 1.0f, kRightLimit);
    if (inkWidth * scale > room) scale = std::max(room / inkWidth, 0.78f);
    float origin = (advance - natural * scale) * 0.5f;
    float left = origin + inkLeft * scale;
    if (left < 0.5f) origin += 0.5f - left;
    float right = origin + (inkLeft + inkWidth) * scale;
    if (right > kRightLimit) origin -= right - kRightLimit;
    FT_Matrix matrix = {static_cast<FT_Fixed>(scale * 65536.0f), 0, 0, 0x10000};
    FT_Vector delta = {static_cast<FT_Pos>(std::floor(origin * 64.0f + 0.5f)), 0};
    FT_Set_Transform(face, &matrix, &delta);
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP)) return;
    FT_Bitmap& bm = face->glyph->bitmap;
    int cx = (index % 16) * kCell + face->glyph->bitmap_left;
    int cy = (index / 16) * kCell + kBaseline - face->glyph->bitmap_top;
    int cellX = (index % 16) * kCell, cellY = (index / 16) * kCell;
    for (unsigned int r = 0; r < bm.rows; ++r)
        for (unsigned int c = 0; c < bm.width; ++c) {
            int x = cx + static_cast<int>(c), y = cy + static_cast<int>(r);
            if (x < cellX || x >= cellX + 31 || y < cellY || y >= cellY + kCell) continue;
            putInk(img, x, y, bm.buffer[r * bm.pitch + c] / 255.0f);
        }
}

// Renders the command and unit pictures with 4 x 4 supersampling for clean diagonals.
void renderIcon(Image& img, int code, int index, bool bold) {
    int cellX = (index % 16) * kCell, cellY = (index / 16) * kCell;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < 31; ++x) {
            float sum = 0.0f;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    sum += iconInk(code, x + (sx + 0.5f) / 4.0f, y + (sy + 0.5f) / 4.0f, bold);
            putInk(img, cellX + x, cellY + y, sum / 16.0f);
        }
}

}  // namespace

Image makeFontAtlas(std::string* error) {
    Image img(512, 512);
    img.fill(0.0f, 0.0f, 0.0f, 1.0f);
    FT_Library lib;
    if (FT_Init_FreeType(&lib)) {
        if (error) *error = "FreeType could not start";
        return Image();
    }
    const char* files[2] = {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                            "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"};
    for (int half = 0; half < 2; ++half) {
        FT_Face face;
        if (FT_New_Face(lib, files[half], 0, &face)) {
            if (error) *error = std::string("cannot open font ") + files[half];
            FT_Done_FreeType(lib);
            return Image();
        }
        FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(kPixelSize * 64.0f), 72, 72);
        for (int code = 33; code < 127; ++code) renderGlyph(face, img, code, code - 32 + half * 128);
        for (int code = 0; code < 32; ++code)
            if (hasIcon(code)) renderIcon(img, code, code + 96 + half * 128, half == 1);
        FT_Done_Face(face);
    }
    FT_Done_FreeType(lib);
    return img;
}

void drawAtlasText(Image& target, const Image& atlas, const std::string& text, float x, float y, float size,
                   bool bold, const float* rgb) {
    float scale = size / 32.0f;
    float pen = x;
    for (unsigned char ch : text) {
        int index = ch >= 32 ? ch - 32 : ch + 96;
        if (ch >= 128) continue;
        if (bold) index += 128;
        int cellX = (index % 16) * kCell, cellY = (index / 16) * kCell;
        int w = static_cast<int>(std::ceil(31 * scale)), h = static_cast<int>(std::ceil(32 * scale));
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                // Bilinear sample of the cell, as the game's texture filter would do.
                float u = (i + 0.5f) / scale - 0.5f, v = (j + 0.5f) / scale - 0.5f;
                int u0 = static_cast<int>(std::floor(u)), v0 = static_cast<int>(std::floor(v));
                float fu = u - u0, fv = v - v0;
                float s = 0.0f;
                for (int b = 0; b < 2; ++b)
                    for (int a = 0; a < 2; ++a) {
                        int sx = std::min(std::max(u0 + a, 0), 30), sy = std::min(std::max(v0 + b, 0), 31);
                        float wgt = (a ? fu : 1.0f - fu) * (b ? fv : 1.0f - fv);
                        s += wgt * atlas.at(cellX + sx, cellY + sy)[0];
                    }
                float rgba[4] = {rgb[0], rgb[1], rgb[2], 1.0f};
                target.blend(static_cast<int>(pen) + i, static_cast<int>(y) + j, rgba, s);
            }
        pen += kFontAdvances[index] * scale;
    }
}
