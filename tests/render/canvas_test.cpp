#include <utility>

#include "render_fixture.h"

namespace {

typedef Render2DTest CanvasTest;

// A line along a rectangle's edge lands on the pixel on one side of it or the other.
::testing::AssertionResult edgeIs(int x0, int y0, int x1, int y1, int r, int g, int b) {
    return pixelIs(x0, y0, r, g, b) ? ::testing::AssertionSuccess() : pixelIs(x1, y1, r, g, b);
}

}  // namespace

// The blend function shows in every translucent colour the tests below measure.
TEST_F(CanvasTest, BeginAndEndSwitchBetweenThe2DAnd3DStates) {
    EXPECT_TRUE(glIsEnabled(GL_BLEND) && !glIsEnabled(GL_DEPTH_TEST) && !glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ((GLint)canvas->plainShader->program, currentProgram());
    canvas->end2D();
    EXPECT_TRUE(!glIsEnabled(GL_BLEND) && glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(0, currentProgram());
    canvas->begin2D();
}

// Alpha 0x80 blends half of the red over black; negative sizes draw from the other side; an outline leaves
// the inside alone.
TEST_F(CanvasTest, RectanglesCoverTheirPixelsInTheirColour) {
    canvas->drawRect(100.0f, 50.0f, 40.0f, 30.0f, 0x33CC66FF, false, &projection);
    canvas->drawRect(10.0f, 10.0f, 20.0f, 20.0f, 0xFF000080, false, &projection);
    canvas->drawRect(300.0f, 200.0f, -20.0f, -10.0f, 0xFFFFFFFF, false, &projection);
    canvas->drawRect(400.0f, 400.0f, 60.0f, 40.0f, 0xFFFF00FF, true, &projection);
    expectPixels({{100, 50, 0x33, 0xCC, 0x66}, {139, 79, 0x33, 0xCC, 0x66}, {99, 60, 0, 0, 0}, {140, 60, 0, 0, 0},
                  {120, 49, 0, 0, 0}, {120, 80, 0, 0, 0}, {20, 20, 128, 0, 0}, {280, 190, 255, 255, 255},
                  {299, 199, 255, 255, 255}, {300, 195, 0, 0, 0}, {279, 195, 0, 0, 0}, {430, 420, 0, 0, 0}});
    EXPECT_TRUE(edgeIs(430, 399, 430, 400, 255, 255, 0) && edgeIs(399, 420, 400, 420, 255, 255, 0));
}

TEST_F(CanvasTest, ButtonBoxFramesAndMarkersTakeTheirColoursFromStateAndKind) {
    // Fill over black: (r, s * 0.1 + 0.8, b) times alpha s * 0.2 + 0.8; the pressed alpha 1.2 clamps to 1.
    const int fills[4][4] = {{-1, 0, 107, 0}, {0, 0, 163, 0}, {1, 0, 230, 0}, {2, 179, 255, 179}};
    for (int i = 0; i < 4; ++i) {
        canvas->drawButtonBox(10.0f + 50.0f * (float)i, 10.0f, 40.0f, 40.0f, fills[i][0], &projection);
        EXPECT_TRUE(pixelIs(30 + 50 * i, 30, fills[i][1], fills[i][2], fills[i][3])) << "state " << fills[i][0];
    }
    // The outline of state 1, and a frame of state 0 alone: opaque (0.3, s * 0.1 + 0.8, 0.3).
    canvas->drawFrame(300.0f, 10.0f, 50.0f, 50.0f, 0, &projection);
    EXPECT_TRUE(edgeIs(130, 9, 130, 10, 77, 230, 77));
    EXPECT_TRUE(edgeIs(299, 35, 300, 35, 77, 204, 77) && pixelIs(325, 35, 0, 0, 0));
    // Markers: 4 x 4 squares from (x - 2, y - 2); kinds past 4 (and below 0) are dark grey.
    const int markers[8][4] = {{0, 153, 255, 153}, {1, 255, 26, 26}, {2, 26, 26, 230}, {3, 255, 255, 26},
                               {4, 128, 0, 153},   {5, 26, 26, 26},  {7, 26, 26, 26},  {-1, 26, 26, 26}};
    for (int i = 0; i < 8; ++i) {
        int x = 20 + 20 * i;
        const int* m = markers[i];
        canvas->drawMarker((float)x, 400.0f, m[0], &projection);
        expectPixels({{x - 2, 398, m[1], m[2], m[3]}, {x + 1, 401, m[1], m[2], m[3]}, {x - 3, 400, 0, 0, 0},
                      {x + 2, 400, 0, 0, 0}, {x, 397, 0, 0, 0}, {x, 402, 0, 0, 0}});
    }
}

TEST_F(CanvasTest, DrawTextureLaysTheImagesTopRowAlongTheBottomEdge) {
    // Top row red, green; bottom row blue, white (given bottom row first).
    ASSERT_TRUE(writePngBottomUp("corners.png", 2, 2,
                                 {0, 0, 255, 255, 255, 255, 255, 255, 255, 0, 0, 255, 0, 255, 0, 255}));
    Texture texture = loadTexture(".\\corners.png");
    // Nearest sampling shows clean quarters (Mesa blends magnified texels while anisotropy is above 1).
    setFiltering(&texture, 1, false, false);
    setAnisotropy(&texture, 1, 1.0f);
    canvas->drawTexture(100.0f, 100.0f, 64.0f, 64.0f, &projection, texture);
    expectPixels({{104, 104, 255, 0, 0}, {160, 104, 0, 255, 0}, {104, 160, 0, 0, 255}, {160, 160, 255, 255, 255},
                  {99, 130, 0, 0, 0}, {164, 130, 0, 0, 0}});
    EXPECT_EQ((GLint)canvas->plainShader->program, currentProgram()) << "drawTexture ends with the plain program";
    glDeleteTextures(1, &texture);
}

TEST_F(CanvasTest, InterfacePiecesShowTheAtlasUprightOneTexelPerPixel) {
    canvas->drawInterfacePart(50.0f, 60.0f, 100.0f, 80.0f, 20.0f, 300.0f, &projection);
    EXPECT_EQ(0, currentProgram()) << "drawInterfacePart ends with no program";
    const int corners[4][4] = {{50, 60, 20, 300}, {149, 60, 119, 300}, {50, 139, 20, 379}, {107, 93, 77, 333}};
    for (const auto& c : corners) EXPECT_EQ(std::make_pair(c[2], c[3]), atlasAt(c[0], c[1]));
    EXPECT_TRUE(pixelIs(49, 100, 0, 0, 0) && pixelIs(150, 100, 0, 0, 0) && pixelIs(100, 140, 0, 0, 0));
    // Past the atlas edge the texels repeat: 20 pixels on from texX 500 is atlas column 8.
    canvas->drawInterfacePart(200.0f, 10.0f, 40.0f, 20.0f, 500.0f, 0.0f, &projection);
    EXPECT_EQ(std::make_pair(8, 5), atlasAt(220, 15));

    // The game screen's background for a 640 wide window; its rectangles want the plain program bound.
    int savedWidth = gScreenWidth;
    gScreenWidth = 640;
    clear(0.0f, 0.0f, 0.0f);
    canvas->plainShader->bind();
    canvas->drawInterface(&projection);
    gScreenWidth = savedWidth;
    EXPECT_EQ((GLint)canvas->plainShader->program, currentProgram());
    EXPECT_EQ(std::make_pair(10, 250), atlasAt(10, 250)) << "left piece: 280 x 280 from (0, 0) at the corner";
    EXPECT_EQ(std::make_pair(502, 230), atlasAt(630, 230)) << "right piece: 240 x 240 from (272, 0) at x = 400";
    EXPECT_EQ(std::make_pair(60, 505), atlasAt(300, 160)) << "middle strip: from (0, 440) at (240, 95)";
    EXPECT_TRUE(pixelIs(320, 50, 0, 8, 0) && pixelIs(320, 300, 0, 0, 0)) << "dark backing 0x000800 under the middle";
}

