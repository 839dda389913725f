// The art drawn by the game's own 2D layer: where the pointer's tip lands, where text stands on its
// baseline, and where the console's edge meets the flat panels under it.
#include "support/gl_test.h"

#include "app/globals.h"
#include "render/canvas.h"
#include "render/font.h"
#include "render/matrix_stack.h"

#include <GL/glew.h>

#include <vector>

namespace {

const int kW = 640, kH = 480;

class DrawnAssets : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        glViewport(0, 0, kW, kH);
        glClearColor(0.0f, 0.0f, 1.0f, 1.0f);  // pure blue: nothing of the art is
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        projection.ortho(0, kW, 0, kH, 1, -1);
    }
    // RGB of a window pixel (y up).
    std::vector<int> pixel(int x, int y) {
        unsigned char p[4] = {0, 0, 0, 0};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }
    bool isBackground(int x, int y) {
        std::vector<int> p = pixel(x, y);
        return p[0] == 0 && p[1] == 0 && p[2] == 255;
    }
    // White text over the blue background: ink is where red has come up.
    bool hasInkInRow(int y, int x0, int x1) {
        for (int x = x0; x < x1; ++x)
            if (pixel(x, y)[0] > 100) return true;
        return false;
    }
    MatrixStack projection;
};

TEST_F(DrawnAssets, PointerTipLandsOnTheMousePosition) {
    const int mx = 200, my = 150;  // the pointer's position in window coordinates
    Canvas canvas;
    canvas.begin2D();
    canvas.drawInterfacePart(mx - 3, my - 38, 38, 44, 116, 282, &projection);
    canvas.end2D();
    // The arrow starts at the tip and runs down and to the right of it.
    EXPECT_FALSE(isBackground(mx, my - 1));
    EXPECT_FALSE(isBackground(mx + 1, my - 6));
    EXPECT_FALSE(isBackground(mx + 3, my - 20));
    // Nothing above the tip or left of it, and the rest of the 38 x 44 piece is clear.
    EXPECT_TRUE(isBackground(mx, my + 2));
    EXPECT_TRUE(isBackground(mx - 2, my - 5));
    EXPECT_TRUE(isBackground(mx + 30, my + 4));
    EXPECT_TRUE(isBackground(mx + 33, my - 3));
}

TEST_F(DrawnAssets, TextStandsOnABaselineSevenUnitsAboveItsCellBottom) {
    Font font;
    font.begin2D();
    font.drawText("HHHH", 40, 100, 32, 0xFFFFFFFF, false, 0, &projection);
    font.drawText("xxxx", 40, 300, 64, 0xFFFFFFFF, false, 0, &projection);
    font.end2D();
    // At size 32 one unit is a pixel: ink from window row 107 up, none below it.
    EXPECT_TRUE(hasInkInRow(107, 40, 160));
    EXPECT_FALSE(hasInkInRow(105, 40, 160));
    EXPECT_FALSE(hasInkInRow(100, 40, 160));
    // Capitals stand about 15 pixels tall and stay well inside the cell.
    EXPECT_TRUE(hasInkInRow(120, 40, 160));
    EXPECT_FALSE(hasInkInRow(128, 40, 160));
    // At size 64 everything doubles: the baseline is 14 pixels above the cell's bottom.
    EXPECT_TRUE(hasInkInRow(316, 40, 300));
    EXPECT_FALSE(hasInkInRow(311, 40, 300));
}

TEST_F(DrawnAssets, ConsoleEdgeSitsOnTheFlatPanelsOfTheHud) {
    int savedWidth = gScreenWidth;
    gScreenWidth = kW;
    Canvas canvas;
    canvas.begin2D();
    canvas.drawInterface(&projection);
    canvas.end2D();
    gScreenWidth = savedWidth;
    // Under the console everything is covered: the left block up to 230, the middle up to 130, the
    // right block up to 200.
    EXPECT_FALSE(isBackground(100, 200));
    EXPECT_FALSE(isBackground(320, 100));
    EXPECT_FALSE(isBackground(kW - 100, 180));
    // Above the rims the world shows through (past the few pixels of soft shadow).
    EXPECT_TRUE(isBackground(100, 245));
    EXPECT_TRUE(isBackground(320, 145));
    EXPECT_TRUE(isBackground(kW - 100, 215));
    // The stretched strip runs across the whole middle without gaps.
    for (int x = 290; x < kW - 250; x += 7) EXPECT_FALSE(isBackground(x, 125)) << x;
}

}  // namespace
