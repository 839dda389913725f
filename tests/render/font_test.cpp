#include <GL/glew.h>

#include <string>

#include "render/font.h"
#include "render_fixture.h"

namespace {

// The scratch font image colours each cell (255, index, 0): red marks glyph pixels, green names the cell.
class FontTest : public Render2DTest {
protected:
    void SetUp() override {
        Render2DTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        scratch.writeFontImage();
        font = new Font();
        font->begin2D();
    }
    void TearDown() override {
        if (font) {
            font->end2D();
            delete font;
        }
        Render2DTest::TearDown();
    }
    bool lit(int x, int y) { return readPixel(x, y).r > 0; }
    int cell(int x, int y) { return readPixel(x, y).g; }

    Font* font = nullptr;
};

}  // namespace

TEST(FontGlyphs, IndexOfEachCharacterClass) {
    EXPECT_EQ(0, Font::glyphIndex(' ', false));
    EXPECT_EQ(17, Font::glyphIndex('1', false));
    EXPECT_EQ(33, Font::glyphIndex('A', false));
    EXPECT_EQ(95, Font::glyphIndex(127, false));
    EXPECT_EQ(96, Font::glyphIndex(0, false));
    EXPECT_EQ(105, Font::glyphIndex('\t', false));
    EXPECT_EQ(127, Font::glyphIndex(31, false));
    EXPECT_EQ(145, Font::glyphIndex('1', true));
    EXPECT_EQ(233, Font::glyphIndex('\t', true));
    EXPECT_EQ(-1, Font::glyphIndex(200, false));
    EXPECT_EQ(-1, Font::glyphIndex(128, true));
}

TEST_F(FontTest, TextWidthSumsTheAdvancesAtTheSize) {
    EXPECT_EQ(0.0f, font->textWidth("", 32.0f, false));
    EXPECT_EQ(13.0f, font->textWidth("1", 32.0f, false));
    EXPECT_EQ(6.5f, font->textWidth("1", 16.0f, false));
    EXPECT_EQ(14.0f, font->textWidth("1", 32.0f, true));
    EXPECT_EQ(7.0f, font->textWidth(" ", 32.0f, false));
    // H 17 + e 13 + l 6 + l 6 + o 14 = 56 units.
    EXPECT_EQ(28.0f, font->textWidth("Hello", 16.0f, false));
    // A tab is a full-cell icon; in bold its cell carries its own 30.
    EXPECT_EQ(32.0f, font->textWidth("\t", 32.0f, false));
    EXPECT_EQ(30.0f, font->textWidth("\t", 32.0f, true));
    // '1' 13 + '#' 14 = 27 units: 13.5 pixels at size 16.
    EXPECT_EQ(13.5f, font->textWidth("1#", 16.0f, false));
    // Bytes above 127 have no glyph and no advance.
    EXPECT_EQ(13.0f, font->textWidth("1\xC8", 32.0f, false));
}

TEST_F(FontTest, LeftAlignedTextStartsAtTheBottomLeftOfTheFirstCell) {
    font->drawText("1", 100.0f, 100.0f, 32.0f, 0xFFFFFFFF, false, 0, &projection);
    // A glyph quad is 31 units wide and 32 high.
    EXPECT_TRUE(lit(100, 100));
    EXPECT_TRUE(lit(130, 131));
    EXPECT_FALSE(lit(99, 110));
    EXPECT_FALSE(lit(131, 110));
    EXPECT_FALSE(lit(110, 99));
    EXPECT_FALSE(lit(110, 132));
}

TEST_F(FontTest, CentredAndRightAlignedTextShiftByTheWidth) {
    // "11" is 26 wide: centred at 300 it starts at 287 and its second quad ends at 287 + 13 + 31.
    font->drawText("11", 300.0f, 100.0f, 32.0f, 0xFFFFFFFF, false, 1, &projection);
    EXPECT_FALSE(lit(286, 110));
    EXPECT_TRUE(lit(287, 110));
    EXPECT_TRUE(lit(330, 110));
    EXPECT_FALSE(lit(331, 110));
    // "1" is 13 wide: right-aligned at 500 it starts at 487.
    font->drawText("1", 500.0f, 200.0f, 32.0f, 0xFFFFFFFF, false, 2, &projection);
    EXPECT_FALSE(lit(486, 210));
    EXPECT_TRUE(lit(487, 210));
    EXPECT_TRUE(lit(517, 210));
    EXPECT_FALSE(lit(518, 210));
}

TEST_F(FontTest, CentringUsesTheWidthTruncatedToWholePixels) {
    // "1#" at size 16 is 13.5 wide; truncated, the offset is 6.5 (not 6.75), so from x = 100.125 the line
    // starts at 93.625 and the pixel centred at 93.5 stays dark.
    font->drawText("1#", 100.125f, 300.0f, 16.0f, 0xFFFFFFFF, false, 1, &projection);
    EXPECT_FALSE(lit(93, 305));
    EXPECT_TRUE(lit(94, 305));
    // '#' starts 6.5 pixels on and is 15.5 wide: it ends at 115.625.
    EXPECT_TRUE(lit(115, 305));
    EXPECT_FALSE(lit(116, 305));
    // Size 16 is 16 pixels high.
    EXPECT_TRUE(lit(100, 315));
    EXPECT_FALSE(lit(100, 316));
}

TEST_F(FontTest, EachCharacterDrawsItsOwnCellAndAdvancesByItsWidth) {
    // Later glyphs overlap earlier ones (quads are wider than advances), so the pixel where the second
    // glyph begins shows the second cell.
    font->drawText("1A", 100.0f, 100.0f, 32.0f, 0xFFFFFFFF, false, 0, &projection);
    EXPECT_EQ(17, cell(105, 116));
    EXPECT_EQ(17, cell(112, 116));
    EXPECT_EQ(33, cell(113, 116));
    // Bold: cells 145 and 161, and the bold '1' advances 14.
    font->drawText("1A", 100.0f, 200.0f, 32.0f, 0xFFFFFFFF, true, 0, &projection);
    EXPECT_EQ(145, cell(105, 216));
    EXPECT_EQ(145, cell(113, 216));
    EXPECT_EQ(161, cell(114, 216));
    // A tab is the icon in cell 105 and advances a whole cell, leaving a gap after its 31-unit quad.
    font->drawText("\tA", 300.0f, 100.0f, 32.0f, 0xFFFFFFFF, false, 0, &projection);
    EXPECT_EQ(105, cell(305, 116));
    EXPECT_FALSE(lit(331, 116));
    EXPECT_EQ(33, cell(332, 116));
    // Bold tab: cell 233, 30 units.
    font->drawText("\tA", 300.0f, 200.0f, 32.0f, 0xFFFFFFFF, true, 0, &projection);
    EXPECT_EQ(233, cell(305, 216));
    EXPECT_EQ(233, cell(329, 216));
    EXPECT_EQ(161, cell(330, 216));
    // Bytes above 127 are skipped: 'A' follows '1' directly.
    font->drawText("1\xC8" "A", 100.0f, 300.0f, 32.0f, 0xFFFFFFFF, false, 0, &projection);
    EXPECT_EQ(33, cell(113, 316));
}

TEST_F(FontTest, TintColoursAndBlendsTheGlyph) {
    // Glyph (255, 17, 0) times tint (128, 255, 0) / 255, opaque.
    font->drawText("1", 100.0f, 100.0f, 32.0f, 0x80FF00FF, false, 0, &projection);
    Pixel p = readPixel(110, 116);
    EXPECT_NEAR(128, p.r, 1);
    EXPECT_NEAR(17, p.g, 1);
    EXPECT_EQ(0, p.b);
    // Alpha 0x80 over black halves red.
    font->drawText("1", 300.0f, 100.0f, 32.0f, 0xFFFFFF80, false, 0, &projection);
    EXPECT_NEAR(128, readPixel(310, 116).r, 1);
}

TEST_F(FontTest, DarkImagePixelsAreTransparent) {
    // An image with black (uncovered) left halves in every cell: only the right half of a glyph shows.
    std::vector<unsigned char> rgb(512 * 512 * 3, 0);
    for (int row = 0; row < 512; ++row) {
        for (int col = 0; col < 512; ++col) {
            if (col % 32 >= 16) {
                unsigned char* p = &rgb[(row * 512 + col) * 3];
                p[0] = p[1] = p[2] = 255;
            }
        }
    }
    ASSERT_TRUE(writeBmp24(scratch.path("textures/font/font.bmp"), 512, 512, rgb.data()));
    delete font;
    font = new Font();
    clear(0.0f, 0.0f, 1.0f);
    font->drawText("1", 100.0f, 100.0f, 32.0f, 0xFF0000FF, false, 0, &projection);
    Pixel uncovered = readPixel(105, 116);
    EXPECT_EQ(0, uncovered.r);
    EXPECT_EQ(255, uncovered.b) << "the background must show through uncovered glyph pixels";
    Pixel covered = readPixel(125, 116);
    EXPECT_EQ(255, covered.r);
    EXPECT_EQ(0, covered.b);
}

TEST_F(FontTest, ShadowIsBlackAtThreeQuartersAlphaTwoPixelsRightAndDown) {
    clear(1.0f, 1.0f, 1.0f);
    // Opaque text: shadow alpha 255 * 3 / 4 = 191, so white under shadow alone becomes 255 - 191 = 64.
    font->drawTextShadowed("1", 100.0f, 100.0f, 32.0f, 0xFFFFFFFF, false, 0, &projection);
    EXPECT_NEAR(64, readPixel(110, 99).r, 1);
    EXPECT_NEAR(64, readPixel(110, 99).g, 1);
    EXPECT_NEAR(64, readPixel(131, 110).b, 1);
    EXPECT_NEAR(64, readPixel(132, 98).r, 1);
    EXPECT_EQ(255, readPixel(133, 110).r) << "shadow wider than 2 pixels";
    EXPECT_EQ(255, readPixel(110, 97).r) << "shadow lower than 2 pixels";
    EXPECT_EQ(255, readPixel(101, 99).g) << "shadow starts 2 pixels right";
    Pixel text = readPixel(110, 116);
    EXPECT_EQ(255, text.r);
    EXPECT_NEAR(17, text.g, 1);
    // Alpha 0x80: shadow alpha 0x60, so 255 - 96 = 159 under the shadow alone.
    font->drawTextShadowed("1", 300.0f, 100.0f, 32.0f, 0xFFFFFF80, false, 0, &projection);
    EXPECT_NEAR(159, readPixel(310, 99).r, 1);
}

TEST_F(FontTest, TextDrawingLeavesNoProgramBound) {
    Shader other("..\\shader\\plain");
    other.bind();
    font->drawText("abc", 10.0f, 10.0f, 16.0f, 0xFFFFFFFF, false, 0, &projection);
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(0, program);
    font->end2D();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    font->begin2D();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

TEST(FontMissingAssets, ReportsThemAndDrawsNothingWithoutGlErrors) {
    ASSERT_TRUE(ensureGlContext());
    takeGlError();
    ScratchDir empty(false);
    empty.enter();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    Font* font = new Font();
    std::string out = testing::internal::GetCapturedStdout();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ("Vertex shader file ..\\shader\\font.vert does not exist.\n", err);
    EXPECT_EQ(0u, out.find("Error: Couldn't open .\\textures\\font\\font.bmp: ")) << out;
    EXPECT_EQ(13.0f, font->textWidth("1", 32.0f, false)) << "the widths do not depend on the image";
    MatrixStack projection;
    projection.ortho(0.0f, 640.0f, 0.0f, 480.0f, 1.0f, -1.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    font->begin2D();
    font->drawTextShadowed("Hello", 100.0f, 100.0f, 32.0f, 0xFFFFFFFF, false, 1, &projection);
    font->end2D();
    EXPECT_EQ(GL_NO_ERROR, takeGlError());
    EXPECT_EQ(0, readPixel(100, 110).r);
    delete font;
    EXPECT_EQ(GL_NO_ERROR, takeGlError());
    empty.leave();
}
