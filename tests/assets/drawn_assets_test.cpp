// The art drawn by the game's own 2D layer: where the pointer's tip lands, where text stands on its
// baseline, and where the console's edge meets the flat panels under it.
#include <GL/glew.h>

#include "app/globals.h"
#include "render/canvas.h"
#include "render/font.h"
#include "render/matrix_stack.h"
#include "support/gl_test.h"

const int kW = 640, kH = 480;

// A 640 x 480 window cleared to pure blue, which nothing of the art is.
class DrawnAssets : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        glViewport(0, 0, kW, kH);
        glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        projection.ortho(0, kW, 0, kH, 1, -1);
    }
    // Whether the window pixel (y up) is still the background; `inkOnly`: whether red has come up in it.
    bool isBackground(int x, int y, bool inkOnly = false) {
        unsigned char p[4] = {0, 0, 0, 0};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return inkOnly ? p[0] <= 100 : p[0] == 0 && p[1] == 0 && p[2] == 255;
    }
    MatrixStack projection;
};

TEST_F(DrawnAssets, PointerTipLandsOnTheMousePosition) {
    const int mx = 200, my = 150;  // the pointer's position in window coordinates
    Canvas canvas;
    canvas.begin2D();
    canvas.drawInterfacePart(mx - 3, my - 38, 38, 44, 116, 282, &projection);
    canvas.end2D();
    // The arrow starts at the tip and runs down and to the right of it; nothing above the tip or left of
    // it, and the rest of the 38 x 44 piece is clear.
    EXPECT_FALSE(isBackground(mx, my - 1) || isBackground(mx + 1, my - 6) || isBackground(mx + 3, my - 20));
    EXPECT_TRUE(isBackground(mx, my + 2) && isBackground(mx - 2, my - 5));
    EXPECT_TRUE(isBackground(mx + 30, my + 4) && isBackground(mx + 33, my - 3));
}

TEST_F(DrawnAssets, TextStandsOnABaselineSevenUnitsAboveItsCellBottom) {
    Font font;
    font.begin2D();
    font.drawText("HHHH", 40, 100, 32, 0xFFFFFFFF, false, 0, &projection);
    font.drawText("xxxx", 40, 300, 64, 0xFFFFFFFF, false, 0, &projection);
    font.end2D();
    // At size 32 one unit is a pixel: ink from window row 107 up, none below it; capitals stand about 15
    // pixels tall, well inside the cell. At size 64 everything doubles: the baseline is 14 above the bottom.
    const int rows[7][3] = {{107, 160, 1}, {105, 160, 0}, {100, 160, 0}, {120, 160, 1}, {128, 160, 0},
                            {316, 300, 1}, {311, 300, 0}};
    for (const auto& r : rows) {
        bool ink = false;  // white text: red comes up somewhere in the row from x 40 on
        for (int x = 40; x < r[1]; ++x) ink = ink || !isBackground(x, r[0], true);
        EXPECT_EQ(r[2] == 1, ink) << "row " << r[0];
    }
}

TEST_F(DrawnAssets, ConsoleEdgeSitsOnTheFlatPanelsOfTheHud) {
    gScreenWidth = kW;
    Canvas canvas;
    canvas.begin2D();
    canvas.drawInterface(&projection);
    canvas.end2D();
    // Under the console everything is covered (the left block up to 230, the middle up to 130, the right
    // block up to 200); above the rims, past the few pixels of soft shadow, the world shows through.
    EXPECT_FALSE(isBackground(100, 200) || isBackground(320, 100) || isBackground(kW - 100, 180));
    EXPECT_TRUE(isBackground(100, 245) && isBackground(320, 145) && isBackground(kW - 100, 215));
    // The stretched strip runs across the whole middle without gaps.
    for (int x = 290; x < kW - 250; x += 7) EXPECT_FALSE(isBackground(x, 125)) << x;
}
