#include <string>

#include "app/globals.h"
#include "render_fixture.h"

namespace {

// The scratch font image colours every cell (255, index, 0): red marks glyph pixels, green names the cell.
class FontTest : public Render2DTest {
protected:
    bool lit(int x, int y) { return readPixel(x, y).r > 0; }
    int cell(int x, int y) { return readPixel(x, y).g; }
    void draw(const std::string& text, float x, float y, float size, bool bold, int align) {
        font->drawText(text, x, y, size, 0xFFFFFFFF, bold, align, &projection);
    }
};

}  // namespace

TEST_F(FontTest, TextWidthSumsTheAdvancesAtTheSize) {
    const struct {
        const char* text;
        float size;
        bool bold;
        float width;
    } cases[] = {
        {"", 32.0f, false, 0.0f},
        {"1", 32.0f, false, 13.0f},
        {"1", 16.0f, false, 6.5f},
        {"1", 32.0f, true, 14.0f},
        {"Hello", 16.0f, false, 28.0f},  // H 17 + e 13 + l 6 + l 6 + o 14 = 56 units
        {"\t", 32.0f, false, 32.0f},     // control characters are full-cell icons...
        {"\t", 32.0f, true, 30.0f},      // ...except the bold ones with their own widths
        {"1#", 16.0f, false, 13.5f},     // 13 + 14 units
        {"1\xC8", 32.0f, false, 13.0f},  // bytes above 127 have no glyph and no advance
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.width, font->textWidth(c.text, c.size, c.bold)) << "'" << c.text << "' " << c.size << c.bold;
    }
}

TEST_F(FontTest, AlignmentPlacesTheLineByItsTruncatedWidth) {
    // Left: the quad is 31 x 32 from (100, 100).
    draw("1", 100.0f, 100.0f, 32.0f, false, 0);
    EXPECT_TRUE(lit(100, 100) && lit(130, 131));
    EXPECT_FALSE(lit(99, 110) || lit(131, 110) || lit(110, 99) || lit(110, 132));
    // Centred: "11" is 26 wide, so it starts at 300 - 13 and its second quad ends at 287 + 13 + 31.
    draw("11", 300.0f, 200.0f, 32.0f, false, 1);
    EXPECT_TRUE(lit(287, 210) && lit(330, 210));
    EXPECT_FALSE(lit(286, 210) || lit(331, 210));
    // Right: "1" is 13 wide and ends at 500, so it starts at 487.
    draw("1", 500.0f, 200.0f, 32.0f, false, 2);
    EXPECT_TRUE(lit(487, 210) && lit(517, 210));
    EXPECT_FALSE(lit(486, 210) || lit(518, 210));
    // "1#" at size 16 is 13.5 wide; the offset is 13 / 2 = 6.5, not 6.75, so from x = 100.125 the line starts
    // at 93.625 and '#' (6.5 on, 15.5 wide) ends at 115.625. The cells are 16 pixels high.
    draw("1#", 100.125f, 300.0f, 16.0f, false, 1);
    EXPECT_TRUE(lit(94, 305) && lit(115, 305) && lit(100, 315));
    EXPECT_FALSE(lit(93, 305) || lit(116, 305) || lit(100, 316));
    EXPECT_EQ(0, currentProgram()) << "drawText leaves no program bound";
}

TEST_F(FontTest, EachCharacterDrawsItsOwnCellAndAdvancesByItsWidth) {
    // Quads are wider than advances, so where the next glyph begins its cell is on top.
    draw("1A", 100.0f, 100.0f, 32.0f, false, 0);
    EXPECT_EQ(17, cell(105, 116));
    EXPECT_EQ(17, cell(112, 116));
    EXPECT_EQ(33, cell(113, 116));
    // Bold: cells 145 and 161, and the bold '1' advances 14.
    draw("1A", 100.0f, 200.0f, 32.0f, true, 0);
    EXPECT_EQ(145, cell(113, 216));
    EXPECT_EQ(161, cell(114, 216));
    // A tab is the icon in cell 105 and advances a whole cell, leaving a gap after its 31-unit quad.
    draw("\tA", 300.0f, 100.0f, 32.0f, false, 0);
    EXPECT_EQ(105, cell(305, 116));
    EXPECT_FALSE(lit(331, 116));
    EXPECT_EQ(33, cell(332, 116));
    // A byte above 127 is skipped: 'A' follows '1' directly.
    draw("1\xC8" "A", 100.0f, 300.0f, 32.0f, false, 0);
    EXPECT_EQ(33, cell(113, 316));
}

TEST_F(FontTest, TintColoursTheGlyphAndDarkImagePixelsLetTheBackgroundThrough) {
    writeFontImage(true);
    delete font;
    gFont = font = new Font();
    clear(0.0f, 0.0f, 1.0f);
    // Glyph pixel (255, 17, 0) times tint (128, 255, 0): (128, 17, 0) where the cell is lit, blue beside it.
    font->drawText("1", 100.0f, 100.0f, 32.0f, 0x80FF00FF, false, 0, &projection);
    EXPECT_TRUE(pixelIs(125, 116, 128, 17, 0));
    EXPECT_TRUE(pixelIs(105, 116, 0, 0, 255));
    // Alpha 0x80 (0.502) blends the white-tinted glyph (255, 17, 0) half over the blue.
    font->drawText("1", 300.0f, 100.0f, 32.0f, 0xFFFFFF80, false, 0, &projection);
    EXPECT_TRUE(pixelIs(325, 116, 128, 9, 127));
}

TEST_F(FontTest, ShadowIsBlackAtThreeQuartersAlphaTwoPixelsRightAndDown) {
    clear(1.0f, 1.0f, 1.0f);
    // Shadow alpha 255 * 3 / 4 = 191 darkens white to 64 where only the shadow lies.
    font->drawTextShadowed("1", 100.0f, 100.0f, 32.0f, 0xFFFFFFFF, false, 0, &projection);
    EXPECT_TRUE(pixelIs(110, 99, 64, 64, 64) && pixelIs(131, 110, 64, 64, 64) && pixelIs(132, 98, 64, 64, 64));
    EXPECT_TRUE(pixelIs(133, 110, 255, 255, 255) && pixelIs(110, 97, 255, 255, 255));
    EXPECT_TRUE(pixelIs(101, 99, 255, 255, 255)) << "the shadow starts 2 pixels right";
    EXPECT_TRUE(pixelIs(110, 116, 255, 17, 0)) << "the text lies on top";
    // Alpha 0x80: shadow alpha 0x60 = 96 leaves 159.
    font->drawTextShadowed("1", 300.0f, 100.0f, 32.0f, 0xFFFFFF80, false, 0, &projection);
    EXPECT_TRUE(pixelIs(310, 99, 159, 159, 159));
}
