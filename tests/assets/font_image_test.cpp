// The font image: cell layout, baseline, fit to the advance table, and the command pictures.
#include "asset_image.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const char* kFontPath = ".\\textures\\font\\font.bmp";

// Ink of one cell as the game samples it: brightness 0..1 per pixel.
struct Cell {
    const AssetImage* img;
    int index;
    float ink(int x, int y) const { return img->at((index % 16) * 32 + x, (index / 16) * 32 + y)[0] / 255.0f; }
    float total() const {
        float s = 0.0f;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) s += ink(x, y);
        return s;
    }
    // First and last column / row where some pixel is at least half covered; -1 when there is none.
    int firstColumn() const {
        for (int x = 0; x < 32; ++x)
            for (int y = 0; y < 32; ++y)
                if (ink(x, y) >= 0.5f) return x;
        return -1;
    }
    int lastColumn() const {
        for (int x = 31; x >= 0; --x)
            for (int y = 0; y < 32; ++y)
                if (ink(x, y) >= 0.5f) return x;
        return -1;
    }
    int firstRow() const {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (ink(x, y) >= 0.5f) return y;
        return -1;
    }
    int lastRow() const {
        for (int y = 31; y >= 0; --y)
            for (int x = 0; x < 32; ++x)
                if (ink(x, y) >= 0.5f) return y;
        return -1;
    }
};

class FontImage : public ::testing::Test {
protected:
    static void SetUpTestSuite() { font = new AssetImage(loadAssetImage(kFontPath)); }
    static void TearDownTestSuite() { delete font; }
    void SetUp() override { ASSERT_TRUE(font->loaded) << "missing " << kFontPath; }
    Cell regular(char c) const { return Cell{font, c - 32}; }
    Cell bold(char c) const { return Cell{font, c - 32 + 128}; }
    Cell control(int code, bool isBold) const { return Cell{font, code + 96 + (isBold ? 128 : 0)}; }
    static AssetImage* font;
};

AssetImage* FontImage::font = nullptr;

TEST_F(FontImage, IsA512SquareGreyBitmapOf24Bits) {
    EXPECT_EQ(512, font->width);
    EXPECT_EQ(512, font->height);
    EXPECT_EQ(24, font->bitsPerPixel);
    // White on black: brightness is coverage, so every pixel is a grey.
    for (int y = 0; y < 512; y += 3)
        for (int x = 0; x < 512; x += 3) {
            const unsigned char* p = font->at(x, y);
            ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << "colour at " << x << "," << y;
        }
}

TEST_F(FontImage, SpaceDeleteAndUnusedControlCodesAreEmpty) {
    EXPECT_EQ(0.0f, regular(' ').total());
    EXPECT_EQ(0.0f, bold(' ').total());
    EXPECT_EQ(0.0f, (Cell{font, 95}).total());   // code 127
    EXPECT_EQ(0.0f, (Cell{font, 223}).total());  // code 127, bold
    // Tab and the other control codes without a picture draw nothing.
    for (int code : {0, 1, 9, 10, 13, 15, 16}) {
        EXPECT_EQ(0.0f, control(code, false).total()) << "code " << code;
        EXPECT_EQ(0.0f, control(code, true).total()) << "bold code " << code;
    }
}

TEST_F(FontImage, EveryPrintableCharacterHasInkInBothWeights) {
    for (char c = '!'; c <= '~'; ++c) {
        EXPECT_GT(regular(c).total(), 3.0f) << "regular " << c;
        EXPECT_GT(bold(c).total(), 3.0f) << "bold " << c;
    }
}

TEST_F(FontImage, BoldLettersCarryMoreInkThanRegularOnes) {
    for (char c : std::string("AEHMWaemw0148")) EXPECT_GT(bold(c).total(), regular(c).total() * 1.15f) << c;
}

TEST_F(FontImage, GlyphsStandOnOneBaselineSevenPixelsAboveTheCellBottom) {
    // Flat-bottomed glyphs end on row 24; the baseline is the line between rows 24 and 25.
    for (char c : std::string("HExzn1L")) {
        EXPECT_EQ(24, regular(c).lastRow()) << c;
        EXPECT_EQ(24, bold(c).lastRow()) << "bold " << c;
    }
    // Descenders go below it but stay inside the cell.
    for (char c : std::string("gjpqy")) {
        EXPECT_GT(regular(c).lastRow(), 27) << c;
        EXPECT_LE(regular(c).lastRow(), 31) << c;
    }
}

TEST_F(FontImage, CapitalsAndDigitsShareTheirHeight) {
    int top = regular('H').firstRow();
    EXPECT_GT(top, 4);
    EXPECT_LT(top, 13);
    for (char c : std::string("EFTLIZ")) EXPECT_EQ(top, regular(c).firstRow()) << c;
    EXPECT_EQ(regular('1').firstRow(), regular('4').firstRow());
    EXPECT_EQ(regular('1').firstRow(), regular('7').firstRow());
    // x-height letters start clearly lower than capitals.
    EXPECT_GT(regular('x').firstRow(), top + 3);
}

TEST_F(FontImage, InkStaysWithinEachGlyphsAdvance) {
    // Advances from the game's table, in pixels of the 32-pixel cell: i 6, l 6, m 21, W 22, 1 13, bold W 24.
    struct Case { int index; int advance; };
    const Case cases[] = {{'i' - 32, 6}, {'l' - 32, 6}, {'m' - 32, 21}, {'W' - 32, 22}, {'1' - 32, 13},
                          {'.' - 32, 5}, {'W' - 32 + 128, 24}, {'i' - 32 + 128, 7}, {'M' - 32, 22}};
    for (const Case& c : cases) {
        Cell cell{font, c.index};
        EXPECT_GE(cell.firstColumn(), 0) << c.index;
        EXPECT_LE(cell.lastColumn(), c.advance) << "index " << c.index;
        // Centred in its advance: the margins on both sides differ by at most three pixels.
        int left = cell.firstColumn(), right = c.advance - 1 - cell.lastColumn();
        EXPECT_LE(std::abs(left - right), 3) << "index " << c.index;
    }
    // The game's quad samples just under 31 columns: the last column of every cell stays black.
    for (int i = 0; i < 256; ++i)
        for (int y = 0; y < 32; ++y) ASSERT_EQ(0.0f, (Cell{font, i}).ink(31, y)) << "cell " << i;
}

TEST_F(FontImage, CommandAndUnitCodesHoldDistinctCentredPictures) {
    const int codes[] = {14, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31};
    for (bool isBold : {false, true})
        for (int code : codes) {
            Cell cell = control(code, isBold);
            // A picture fills a good part of the cell, unlike a thin character.
            EXPECT_GT(cell.total(), 80.0f) << "code " << code;
            int mid = (cell.firstColumn() + cell.lastColumn()) / 2;
            EXPECT_GE(mid, 13) << "code " << code;
            EXPECT_LE(mid, 18) << "code " << code;
        }
    for (int a : codes)
        for (int b : codes) {
            if (a >= b) continue;
            float diff = 0.0f;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) diff += std::abs(control(a, false).ink(x, y) - control(b, false).ink(x, y));
            EXPECT_GT(diff, 40.0f) << "codes " << a << " and " << b << " look alike";
        }
    // The bold pictures are drawn heavier.
    for (int code : codes) EXPECT_GT(control(code, true).total(), control(code, false).total()) << code;
}

}  // namespace
