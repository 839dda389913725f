#include <string>

#include "render_fixture.h"

// The scratch font image colours every cell (255, index, 0): red marks glyph pixels, green names the cell.
typedef Render2DTest FontTest;

// Menus, buttons and tooltips are laid out by these widths. Every byte below 128 once sums all 128 advances
// of a half: control characters are full-cell icons, except the bold ones with their own widths.
TEST_F(FontTest, TextWidthSumsTheAdvancesAtTheSize) {
    std::string all(128, '\0');
    for (int c = 0; c < 128; ++c) all[c] = (char)c;
    const struct {
        std::string text;
        float size;
        bool bold;
        float width;
    } cases[] = {
        {"", 32, false, 0},           {"1", 16, false, 6.5f}, {"1", 32, true, 14},
        {"Hello", 16, false, 28},     // H 17 + e 13 + l 6 + l 6 + o 14 = 56 units
        {"1#\xC8", 16, false, 13.5f},  // 13 + 14 units; bytes above 127 have no glyph and no advance
        {all, 32, false, 2200},       {all, 32, true, 1985},
    };
    for (const auto& c : cases) EXPECT_EQ(c.width, font->textWidth(c.text, c.size, c.bold)) << c.size << c.bold;
}

TEST_F(FontTest, LinesAreAlignedByTheirTruncatedWidthAndEachGlyphDrawsItsCell) {
    // Left: the quad is 31 x 32 from (100, 100). Right: "1" is 13 wide and ends at 500, so it starts at 487.
    // "1#" at size 16 is 13.5 wide; the offset is 13 / 2 = 6.5, so from x = 100.125 the line starts at 93.625
    // and '#' (6.5 on, 15.5 wide) ends at 115.625. The cells are 16 pixels high.
    font->drawText("1", 100.0f, 100.0f, 32.0f, 0xFFFFFFFF, false, 0, &projection);
    font->drawText("1", 500.0f, 200.0f, 32.0f, 0xFFFFFFFF, false, 2, &projection);
    font->drawText("1#", 100.125f, 300.0f, 16.0f, 0xFFFFFFFF, false, 1, &projection);
    const int edges[][3] = {{100, 100, 1}, {130, 131, 1}, {99, 110, 0},  {131, 110, 0}, {110, 99, 0},  {110, 132, 0},
                            {487, 210, 1}, {517, 210, 1}, {486, 210, 0}, {518, 210, 0}, {94, 305, 1},  {115, 305, 1},
                            {100, 315, 1}, {93, 305, 0},  {116, 305, 0}, {100, 316, 0}};
    for (const auto& e : edges) EXPECT_EQ(e[2] != 0, readPixel(e[0], e[1]).r > 0) << e[0] << "," << e[1];
    EXPECT_EQ(0, currentProgram()) << "drawText leaves no program bound";
    // Quads are wider than advances, so where the next glyph begins its cell is on top. Bold '1' advances
    // 14; a tab is the icon in cell 105 advancing a whole cell; a byte above 127 is skipped.
    clear(0.0f, 0.0f, 0.0f);
    font->drawText("1A", 100.0f, 100.0f, 32.0f, 0xFFFFFFFF, false, 0, &projection);
    font->drawText("1A", 100.0f, 200.0f, 32.0f, 0xFFFFFFFF, true, 0, &projection);
    font->drawText("\tA", 300.0f, 100.0f, 32.0f, 0xFFFFFFFF, false, 0, &projection);
    font->drawText("1\xC8" "A", 300.0f, 300.0f, 32.0f, 0xFFFFFFFF, false, 0, &projection);
    const int cells[][3] = {{105, 116, 17}, {112, 116, 17}, {113, 116, 33}, {113, 216, 145}, {114, 216, 161},
                            {305, 116, 105}, {331, 116, 0},  {332, 116, 33}, {313, 316, 33}};
    for (const auto& c : cells) EXPECT_EQ(c[2], readPixel(c[0], c[1]).g) << c[0] << "," << c[1];
}

TEST_F(FontTest, TintColoursTheGlyphAndTheShadowLiesTwoPixelsRightAndDown) {
    writeFontImage(true);  // dark left halves let the background through
    delete font;
    gFont = font = new Font();
    clear(0.0f, 0.0f, 1.0f);
    // Glyph pixel (255, 17, 0) times tint (128, 255, 0) where the cell is lit, blue beside it; alpha 0x80
    // blends the white-tinted glyph half over the blue.
    font->drawText("1", 100.0f, 100.0f, 32.0f, 0x80FF00FF, false, 0, &projection);
    font->drawText("1", 300.0f, 100.0f, 32.0f, 0xFFFFFF80, false, 0, &projection);
    EXPECT_TRUE(pixelIs(125, 116, 128, 17, 0) && pixelIs(105, 116, 0, 0, 255) && pixelIs(325, 116, 128, 9, 127));
    // Shadow alpha 255 * 3 / 4 = 191 darkens white to 64; at alpha 0x80 it is 0x60, leaving 159; the text on top.
    clear(1.0f, 1.0f, 1.0f);
    font->drawTextShadowed("1", 100.0f, 100.0f, 32.0f, 0xFFFFFFFF, false, 0, &projection);
    font->drawTextShadowed("1", 300.0f, 100.0f, 32.0f, 0xFFFFFF80, false, 0, &projection);
    expectPixels({{122, 99, 64, 64, 64}, {132, 98, 64, 64, 64}, {322, 99, 159, 159, 159}, {133, 110, 255, 255, 255},
                  {122, 97, 255, 255, 255}, {110, 99, 255, 255, 255}, {125, 116, 255, 17, 0}});
}
