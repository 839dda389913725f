#include "screen_mockups.h"

#include "font_atlas.h"

#include <cmath>
#include <string>

namespace {

// A screen with the game's y-up window coordinates.
struct Screen {
    Image img;
    Screen(int w, int h) : img(w, h) {}
    int height() const { return img.height(); }
    void rect(float x, float y, float w, float h, unsigned int rgba) {
        float c[4] = {((rgba >> 24) & 0xFF) / 255.0f, ((rgba >> 16) & 0xFF) / 255.0f, ((rgba >> 8) & 0xFF) / 255.0f, (rgba & 0xFF) / 255.0f};
        for (int j = 0; j < static_cast<int>(h); ++j)
            for (int i = 0; i < static_cast<int>(w); ++i) img.blend(static_cast<int>(x) + i, height() - 1 - (static_cast<int>(y) + j), c, 1.0f);
    }
    // drawInterfacePart: one texel per pixel, wrapping like the atlas's repeat mode.
    void part(const Image& atlas, int x, int y, int w, int h, int texX, int texY) {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                int col = ((texX + i) % 512 + 512) % 512;
                int row = ((512 - texY - 1 - j) % 512 + 512) % 512;
                img.blend(x + i, height() - 1 - (y + j), atlas.at(col, row), 1.0f);
            }
    }
    // drawText with align 0, 1 or 2, after the game's width truncation.
    void text(const Image& font, const std::string& s, float x, float y, float size, const float* rgb, bool bold, int align) {
        float width = 0.0f;
        for (unsigned char c : s) width += kFontAdvances[(c >= 32 ? c - 32 : c + 96) + (bold ? 128 : 0)] * size / 32.0f;
        float offset = align == 1 ? static_cast<int>(width) / 2.0f : align == 2 ? static_cast<float>(static_cast<int>(width)) : 0.0f;
        drawAtlasText(img, font, s, x - offset, height() - y - size, size, bold, rgb);
    }
    void shadowedText(const Image& font, const std::string& s, float x, float y, float size, const float* rgb, bool bold, int align) {
        const float black[3] = {0.0f, 0.0f, 0.0f};
        text(font, s, x + 2, y - 2, size, black, bold, align);
        text(font, s, x, y, size, rgb, bold, align);
    }
};

const float kCaption[3] = {0xDF / 255.0f, 1.0f, 0xDF / 255.0f};

}  // namespace

Image mockGameConsole(const Image& atlas, const Image& font, const Image& ground) {
    const int W = 1024;
    Screen s(W, 300);
    // The world behind: the ground tile repeated.
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < W; ++x) {
            const float* g = ground.at(x % ground.width(), y % ground.height());
            float* p = s.img.at(x, y);
            for (int k = 0; k < 3; ++k) p[k] = g[k];
            p[3] = 1.0f;
        }
    s.rect(0, 0, 230, 230, 0x000800FF);
    s.rect(W - 200, 0, 200, 200, 0x000800FF);
    s.rect(230, 0, W - 430, 130, 0x000800FF);
    s.part(atlas, 240, 95, W - 440, 72, 0, 440);
    s.part(atlas, 0, 0, 280, 280, 0, 0);
    s.part(atlas, W - 240, 0, 240, 240, 272, 0);
    // A stand-in minimap.
    for (int y = 10; y < 210; ++y)
        for (int x = 10; x < 210; ++x) {
            float* p = s.img.at(x, 299 - y);
            p[0] = 0.2f + 0.1f * std::sin(x * 0.05f);
            p[1] = 0.45f + 0.1f * std::cos(y * 0.04f);
            p[2] = 0.15f;
        }
    // Command buttons: Stop hovered, Move and Split normal, Attack disabled and hovered, the rest disabled.
    const char captions[9] = {28, 29, 27, 24, 0, 14, 25, 0, 20};
    const int states[9] = {1, 0, 0, 1, 0, 0, 0, 0, 0};
    const int enabled[9] = {1, 1, 1, 0, 0, 1, 1, 0, 0};
    for (int i = 0; i < 9; ++i) {
        int x = W - 180 + (i % 3) * 60, y = 130 - (i / 3) * 60;
        s.part(atlas, x - 4, y - 4, 58, 58, states[i] * 60 - 4, 342 - enabled[i] * 60);
        if (captions[i]) {
            float c[3] = {kCaption[0], kCaption[1], kCaption[2]};
            if (!enabled[i])
                for (float& v : c) v *= 0x8F / 255.0f;  // the fainter caption of a disabled button
            s.shadowedText(font, std::string(1, captions[i]), x + 25.0f, y + 25.0f - 15.0f, 32.0f, c, false, 1);
        }
    }
    const float white[3] = {1.0f, 1.0f, 1.0f};
    s.shadowedText(font, std::string("\x1a") + " Blob", (W - 410) / 2.0f + 220, 70, 32, white, false, 1);
    s.shadowedText(font, "Life: 50 / 50", (W - 410) / 2.0f + 220, 45, 16, white, false, 1);
    s.shadowedText(font, "Stop (Q)", W - 300.0f, 222 + 18, 16, kCaption, true, 0);
    s.part(atlas, 700 - 3, 150 - 38, 38, 44, 116, 282);
    return s.img;
}

Image mockMainMenu(const Image& atlas, const Image& font, const Image& titleUpright) {
    const int W = 1024, H = 768;
    Screen s(W, H);
    s.img.fill(0.0f, 0.09f, 0.0f, 1.0f);
    Image title = titleUpright.resized(H, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < H; ++x) s.img.blend(W / 2 - H / 2 + x, y, title.at(x, y), 1.0f);
    struct Button { int kind; float x, y; const char* caption; int state; };
    const Button buttons[6] = {{4, W - 175.0f, 20, "Start Game!", 1}, {4, 20, 20, "Exit Game!", 0},
                               {5, W / 2 - 137.5f, 91, "2 Computers", 0}, {5, W / 2 - 287.5f, 80, "Small (64x64)", 1},
                               {5, W / 2 + 12.5f, 91, "Let me win, Daddy", 0}, {5, W / 2 + 162.5f, 80, "Rocky Grasslands", 0}};
    for (const Button& b : buttons) {
        if (b.kind == 4) s.part(atlas, static_cast<int>(b.x) - 10, static_cast<int>(b.y) - 12, 170, 60, 335, 279 + b.state * 70);
        else s.part(atlas, static_cast<int>(std::floor(b.x)) - 10, static_cast<int>(b.y) - 12, 153, 46, 153, 281 + b.state * 70);
    }
    for (const Button& b : buttons) {
        float w = b.kind == 4 ? 150.0f : 125.0f, h = b.kind == 4 ? 40.0f : 25.0f;
        s.shadowedText(font, b.caption, b.x + w / 2, b.y + h / 2 - 7, 16, kCaption, false, 1);
    }
    const float white[3] = {1.0f, 1.0f, 1.0f};
    s.text(font, "Number of Enemies", W / 2 - 75.0f, 125, 18, white, true, 1);
    s.text(font, "Map Size", W / 2 - 225.0f, 114, 18, white, true, 1);
    s.text(font, "Difficulty", W / 2 + 75.0f, 125, 18, white, true, 1);
    s.text(font, "Tile Set", W / 2 + 225.0f, 114, 18, white, true, 1);
    s.part(atlas, 600 - 3, 300 - 38, 38, 44, 116, 282);
    return s.img;
}
