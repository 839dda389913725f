// The interface atlas and the title picture, checked where the game's drawing calls sample them.
#include "asset_image.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

// The rectangle a drawInterfacePart(texX, texY, w, h) call samples: columns texX.., rows from the top
// 512 - texY - h .. 512 - texY, because the atlas is uploaded top row first and t = 1 - texY / 512.
struct Piece {
    int texX, texY, w, h;
    int column(int localX) const { return ((texX + localX) % 512 + 512) % 512; }
    // localY counts from the piece's bottom edge, as window y does.
    int row(int localY) const { return 512 - texY - 1 - localY; }
};

class InterfaceAtlas : public ::testing::Test {
protected:
    static void SetUpTestSuite() { atlas = new AssetImage(loadAssetImage(".\\textures\\other\\interface.png")); }
    static void TearDownTestSuite() { delete atlas; }
    void SetUp() override { ASSERT_TRUE(atlas->loaded); }
    int alphaIn(const Piece& p, int x, int y) const { return atlas->alpha(p.column(x), p.row(y)); }
    double brightnessIn(const Piece& p, int x0, int y0, int w, int h) const {
        double sum = 0.0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) {
                const unsigned char* c = atlas->at(p.column(x), p.row(y));
                sum += (c[0] + c[1] + c[2]) / 3.0;
            }
        return sum / (w * h);
    }
    static AssetImage* atlas;
};

AssetImage* InterfaceAtlas::atlas = nullptr;

const Piece kHudLeft = {0, 0, 280, 280};
const Piece kHudRight = {272, 0, 240, 240};
const Piece kStrip = {0, 440, 512, 72};
const Piece kPointer = {116, 282, 38, 44};

TEST_F(InterfaceAtlas, IsA512SquareImageWithAlpha) {
    EXPECT_EQ(512, atlas->width);
    EXPECT_EQ(512, atlas->height);
    EXPECT_EQ(32, atlas->bitsPerPixel);
}

TEST_F(InterfaceAtlas, HudCornerPiecesAreSolidOverTheirPanelsAndClearAboveThem) {
    // Left piece at window (0, 0): its dark panel is 230 x 230, then the console's top edge at y = 130.
    EXPECT_EQ(255, alphaIn(kHudLeft, 100, 100));
    EXPECT_EQ(255, alphaIn(kHudLeft, 5, 225));
    EXPECT_EQ(255, alphaIn(kHudLeft, 245, 60));
    EXPECT_EQ(0, alphaIn(kHudLeft, 262, 262));
    EXPECT_EQ(0, alphaIn(kHudLeft, 270, 200));
    // Right piece at window (W - 240, 0): its panel starts 40 pixels in and is 200 high.
    EXPECT_EQ(255, alphaIn(kHudRight, 120, 60));
    EXPECT_EQ(255, alphaIn(kHudRight, 235, 190));
    EXPECT_EQ(255, alphaIn(kHudRight, 30, 60));
    // Where a piece would only repeat the strip drawn under it (window y 95..167 away from the rounded
    // joins), it stays clear, so nothing is drawn twice; below the strip it covers the flat panel again.
    EXPECT_EQ(0, alphaIn(kHudLeft, 265, 128));
    EXPECT_EQ(0, alphaIn(kHudLeft, 265, 100));
    EXPECT_EQ(255, alphaIn(kHudLeft, 265, 60));
    EXPECT_EQ(0, alphaIn(kHudRight, 5, 128));
    EXPECT_EQ(255, alphaIn(kHudRight, 5, 60));
    EXPECT_EQ(0, alphaIn(kHudRight, 10, 220));
    EXPECT_EQ(0, alphaIn(kHudRight, 20, 180));
}

TEST_F(InterfaceAtlas, StripCoversTheConsoleTopAndWrapsWithoutASeam) {
    // Drawn at window y 95..167: solid below the console edge at y 130, clear well above it.
    for (int x = 0; x < 512; x += 37) {
        EXPECT_EQ(255, alphaIn(kStrip, x, 5)) << x;
        EXPECT_EQ(255, alphaIn(kStrip, x, 25)) << x;
        EXPECT_EQ(0, alphaIn(kStrip, x, 60)) << x;
    }
    // Stretched across wide windows it repeats: its first and last columns must continue each other.
    for (int y = 0; y < 72; ++y) {
        const unsigned char* a = atlas->at(0, kStrip.row(y));
        const unsigned char* b = atlas->at(511, kStrip.row(y));
        for (int k = 0; k < 4; ++k) EXPECT_LE(std::abs(a[k] - b[k]), 20) << "row " << y << " channel " << k;
    }
}

// One atlas pixel drawn over another with the game's blending (source alpha, one minus source alpha).
std::vector<int> over(const unsigned char* top, const unsigned char* under) {
    double a = top[3] / 255.0;
    std::vector<int> out(3);
    for (int k = 0; k < 3; ++k) out[k] = static_cast<int>(top[k] * a + under[k] * under[3] / 255.0 * (1.0 - a) + 0.5);
    return out;
}

TEST_F(InterfaceAtlas, CornerPiecesAddNothingOverTheStripBesideTheirRoundedJoins) {
    // The strip (window x 240 on) lies under the left piece's columns 240..279 and under the right piece's
    // first 40 columns. Past the rounded joins a piece must leave the strip's look unchanged, or its soft
    // edge rows would be drawn twice.
    for (int wy = 95; wy < 167; ++wy) {
        for (int wx = 256; wx < 280; ++wx) {
            const unsigned char* strip = atlas->at(kStrip.column(wx - 240), kStrip.row(wy - 95));
            std::vector<int> both = over(atlas->at(kHudLeft.column(wx), kHudLeft.row(wy)), strip);
            std::vector<int> alone = over(strip, atlas->at(0, 0));
            for (int k = 0; k < 3; ++k) EXPECT_LE(std::abs(both[k] - alone[k]), 3) << "window " << wx << "," << wy;
        }
        // For window widths that are multiples of 16 the strip column under the right piece's column c
        // shows the same pattern as strip column c.
        for (int c = 0; c < 12; ++c) {
            const unsigned char* strip = atlas->at(kStrip.column(c), kStrip.row(wy - 95));
            std::vector<int> both = over(atlas->at(kHudRight.column(c), kHudRight.row(wy)), strip);
            std::vector<int> alone = over(strip, atlas->at(0, 0));
            for (int k = 0; k < 3; ++k) EXPECT_LE(std::abs(both[k] - alone[k]), 3) << "right column " << c << ", window y " << wy;
        }
    }
}

TEST_F(InterfaceAtlas, PointerTipSitsThreeRightAndSixDownWithClearSurroundings) {
    // The tip pixel (3, 6 from the top-left) and the body just inside it are drawn.
    int tipRow = 512 - 282 - 44 + 6;
    EXPECT_GT(atlas->alpha(116 + 3, tipRow + 1), 100);
    EXPECT_GT(atlas->alpha(116 + 5, tipRow + 8), 200);
    // Nothing above or left of the tip, and nothing along the piece's top, left and right edges.
    for (int x = 116; x < 116 + 38; ++x) EXPECT_EQ(0, atlas->alpha(x, tipRow - 6)) << "top row, column " << x;
    for (int y = tipRow - 6; y < tipRow - 6 + 44; ++y) {
        EXPECT_EQ(0, atlas->alpha(116, y)) << "left column, row " << y;
        EXPECT_EQ(0, atlas->alpha(116 + 37, y)) << "right column, row " << y;
    }
    for (int y = tipRow - 6; y < tipRow; ++y)
        for (int x = 116; x < 116 + 38; ++x) EXPECT_EQ(0, atlas->alpha(x, y)) << x << "," << y;
    // The pointer is an arrow, not a box: its far corner stays clear.
    EXPECT_EQ(0, atlas->alpha(116 + 34, tipRow + 3));
}

// Command buttons: 58 x 58 frames at texX = state * 60 - 4 and texY = 342 - enabled * 60.
Piece commandFrame(int enabled, int state) { return Piece{state * 60 - 4, 342 - enabled * 60, 58, 58}; }

TEST_F(InterfaceAtlas, CommandFramesShowHoverBrighterAndDisabledDimmer) {
    for (int enabled = 0; enabled < 2; ++enabled)
        for (int state = 0; state < 2; ++state) {
            Piece p = commandFrame(enabled, state);
            EXPECT_GT(alphaIn(p, 29, 29), 200) << enabled << state;
            EXPECT_GT(alphaIn(p, 2, 29), 200) << enabled << state;  // the frame, also in the wrapped columns
        }
    double normal = brightnessIn(commandFrame(1, 0), 0, 0, 58, 58);
    double hover = brightnessIn(commandFrame(1, 1), 0, 0, 58, 58);
    double disabled = brightnessIn(commandFrame(0, 0), 0, 0, 58, 58);
    double disabledHover = brightnessIn(commandFrame(0, 1), 0, 0, 58, 58);
    EXPECT_GT(hover, normal + 8.0);
    EXPECT_LT(disabled, normal - 5.0);
    EXPECT_LT(disabledHover, hover - 5.0);
    // The face behind the icon stays dark enough for the white caption to read.
    EXPECT_LT(brightnessIn(commandFrame(1, 1), 12, 12, 34, 34), 110.0);
}

TEST_F(InterfaceAtlas, MenuButtonsHaveABodyAtTheControlRectangleAndALighterHover) {
    // Action buttons 170 x 60 at texY 279 + state * 70, drawn 10 left and 12 below a 150 x 40 control.
    Piece action[2] = {{335, 279, 170, 60}, {335, 349, 170, 60}};
    // Option buttons 153 x 46 at texY 281 + state * 70 around a 125 x 25 control.
    Piece option[2] = {{153, 281, 153, 46}, {153, 351, 153, 46}};
    for (int s = 0; s < 2; ++s) {
        EXPECT_EQ(255, alphaIn(action[s], 10 + 75, 12 + 20));
        EXPECT_EQ(255, alphaIn(action[s], 12, 12 + 20));
        EXPECT_EQ(255, alphaIn(action[s], 10 + 75, 14));
        EXPECT_EQ(255, alphaIn(option[s], 10 + 62, 12 + 12));
        EXPECT_EQ(255, alphaIn(option[s], 12, 12 + 12));
        EXPECT_EQ(255, alphaIn(option[s], 10 + 62, 14));
        // The option button's first column lies inside the pointer's piece: it must stay clear.
        for (int y = 0; y < 46; ++y) EXPECT_EQ(0, alphaIn(option[s], 0, y)) << y;
    }
    EXPECT_GT(brightnessIn(action[1], 10, 12, 150, 40), brightnessIn(action[0], 10, 12, 150, 40) + 10.0);
    EXPECT_GT(brightnessIn(option[1], 10, 12, 125, 25), brightnessIn(option[0], 10, 12, 125, 25) + 10.0);
}

TEST(TitlePicture, IsASquareThatFadesAtItsBordersAndIsStoredBottomRowFirst) {
    AssetImage title = loadAssetImage(".\\textures\\other\\title.png");
    ASSERT_TRUE(title.loaded);
    EXPECT_EQ(title.width, title.height);
    EXPECT_GE(title.width, 512);
    EXPECT_EQ(32, title.bitsPerPixel);
    int n = title.width;
    EXPECT_EQ(0, title.alpha(0, 0));
    EXPECT_EQ(0, title.alpha(n - 1, n - 1));
    EXPECT_EQ(255, title.alpha(n / 2, n / 2));
    // The name is a line of bright green lettering across the upper part of the picture as shown, which
    // the bottom-first storage puts into the file's lower half: find the row with the most of it.
    int bestRow = -1, bestCount = 0;
    for (int y = 0; y < n; ++y) {
        int count = 0;
        for (int x = 0; x < n; ++x) {
            const unsigned char* p = title.at(x, y);
            if (p[1] > 150 && p[1] > p[0] + 60 && p[3] > 200) ++count;
        }
        if (count > bestCount) {
            bestCount = count;
            bestRow = y;
        }
    }
    EXPECT_GT(bestCount, n / 5);
    EXPECT_GT(bestRow, n / 2);
}

}  // namespace
