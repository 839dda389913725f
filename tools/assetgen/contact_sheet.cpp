#include "contact_sheet.h"

#include "font_atlas.h"

#include <algorithm>

namespace {

const int kSheetWidth = 2048;
const int kThumb = 240;
const int kCellW = 256;
const int kCellH = 276;

// Grey checks behind a thumbnail, so transparent parts show as such.
void checkerboard(Image& img, int x0, int y0, int w, int h) {
    for (int y = y0; y < y0 + h && y < img.height(); ++y)
        for (int x = x0; x < x0 + w && x < img.width(); ++x) {
            float v = (((x - x0) / 8 + (y - y0) / 8) % 2) ? 0.16f : 0.22f;
            float* p = img.at(x, y);
            p[0] = p[1] = p[2] = v;
            p[3] = 1.0f;
        }
}

// Composites src over dst with its top-left corner at (x0, y0).
void paste(Image& dst, const Image& src, int x0, int y0) {
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) dst.blend(x0 + x, y0 + y, src.at(x, y), 1.0f);
}

}  // namespace

Image makeContactSheet(const std::vector<std::pair<std::string, Image>>& thumbs, const Image& font) {
    int perRow = kSheetWidth / kCellW;
    int rows = (static_cast<int>(thumbs.size()) + perRow - 1) / perRow;
    int fontTop = rows * kCellH + 20;
    int height = fontTop + 512 + 40;
    Image sheet(kSheetWidth, height);
    sheet.fill(0.05f, 0.07f, 0.05f, 1.0f);
    const float white[3] = {0.9f, 1.0f, 0.9f};
    const float green[3] = {0.5f, 1.0f, 0.5f};
    const float magenta[3] = {0.88f, 0.0f, 1.0f};
    for (size_t i = 0; i < thumbs.size(); ++i) {
        int cx = static_cast<int>(i % perRow) * kCellW + 8, cy = static_cast<int>(i / perRow) * kCellH + 8;
        const Image& t = thumbs[i].second;
        checkerboard(sheet, cx, cy, kThumb, kThumb);
        float scale = std::min(static_cast<float>(kThumb) / t.width(), static_cast<float>(kThumb) / t.height());
        int w = std::max(1, static_cast<int>(t.width() * scale)), h = std::max(1, static_cast<int>(t.height() * scale));
        // Small pictures are enlarged by repeating pixels so each one stays visible.
        Image fitted(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const float* s = t.at(std::min(t.width() - 1, static_cast<int>(x / scale)), std::min(t.height() - 1, static_cast<int>(y / scale)));
                float* d = fitted.at(x, y);
                for (int k = 0; k < 4; ++k) d[k] = s[k];
            }
        if (t.width() > kThumb || t.height() > kThumb) fitted = t.resized(w, h);
        paste(sheet, fitted, cx, cy);
        drawAtlasText(sheet, font, thumbs[i].first, static_cast<float>(cx), static_cast<float>(cy + kThumb + 2), 16.0f, false, white);
    }
    // The font image as it is, then text set with the game's advance table.
    paste(sheet, font, 8, fontTop);
    int tx = 540, ty = fontTop;
    drawAtlasText(sheet, font, "Gelmarch - The quick brown fox jumps over the lazy dog.", tx, ty, 32.0f, false, white);
    drawAtlasText(sheet, font, "Gelmarch - The quick brown fox jumps over the lazy dog.", tx, ty + 36, 32.0f, true, white);
    drawAtlasText(sheet, font, "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 0123456789", tx, ty + 76, 20.0f, false, white);
    drawAtlasText(sheet, font, "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 0123456789", tx, ty + 100, 20.0f, true, white);
    drawAtlasText(sheet, font, "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~  Life: 50 / 50  Damage: 14  Info (F2)", tx, ty + 126, 16.0f, false, white);
    drawAtlasText(sheet, font, "Morph to Monsterpillow (Z)", tx, ty + 150, 16.0f, true, white);
    drawAtlasText(sheet, font, std::string("\x1f 30  \x1e") + "150", tx + 260, ty + 150, 16.0f, false, white);
    drawAtlasText(sheet, font, std::string("\x1e  100"), tx + 400, ty + 150, 16.0f, false, magenta);
    const char icons[] = {28, 29, 27, 24, 14, 26, 25, 23, 22, 21, 20, 19, 17, 18, 30, 31, 0};
    drawAtlasText(sheet, font, icons, tx, ty + 180, 32.0f, false, green);
    drawAtlasText(sheet, font, icons, tx, ty + 220, 32.0f, true, green);
    drawAtlasText(sheet, font, "Stop Move Split Attack Mine | Blob Muffin Drop Rotundus Monsterpillow Tower Fly Bomber Slimy | crystal time",
                  tx, ty + 256, 14.0f, false, white);
    const char big[] = {26, ' ', 'B', 'l', 'o', 'b', 0};
    drawAtlasText(sheet, font, big, tx, ty + 280, 64.0f, false, white);
    drawAtlasText(sheet, font, "YOU WIN !!!", tx, ty + 350, 32.0f, true, green);
    drawAtlasText(sheet, font, "Congratulations! All your enemies are dead. Press ESC to exit.", tx, ty + 390, 20.0f, false, green);
    drawAtlasText(sheet, font, "Let me win, Daddy   Get it rollin'   Burn in Hell!   Small (64x64)   Large (128x128)", tx, ty + 420, 16.0f, false, white);
    return sheet;
}
