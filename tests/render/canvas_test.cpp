#include <GL/glew.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/globals.h"
#include "render/canvas.h"
#include "render/font.h"
#include "render_fixture.h"

namespace {

class CanvasTest : public Render2DTest {
protected:
    void SetUp() override {
        Render2DTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        scratch.writeAtlas();
        canvas = new Canvas();
        canvas->begin2D();
    }
    void TearDown() override {
        if (canvas) {
            canvas->end2D();
            delete canvas;
        }
        Render2DTest::TearDown();
    }
    Canvas* canvas = nullptr;
};

// Channel within one step of a hand-worked value (8-bit rounding of blended colours).
::testing::AssertionResult near(int expected, int actual) {
    if (std::abs(expected - actual) <= 1) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "expected " << expected << ", got " << actual;
}

::testing::AssertionResult pixelIs(int x, int y, int r, int g, int b) {
    Pixel p = readPixel(x, y);
    if (std::abs(p.r - r) <= 1 && std::abs(p.g - g) <= 1 && std::abs(p.b - b) <= 1) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is (" << p.r << "," << p.g << ","
                                         << p.b << "), expected (" << r << "," << g << "," << b << ")";
}

// The atlas texel a drawn pixel shows, decoded from its colour.
void decodeAtlas(const Pixel& p, int* ax, int* ay) {
    *ax = p.r + ((p.b & 128) ? 256 : 0);
    *ay = p.g + ((p.b & 64) ? 256 : 0);
}

}  // namespace

TEST_F(CanvasTest, BeginAndEndSwitchTheStateOfTheTwoPasses) {
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ((GLint)canvas->plainShader->program, program);
    GLint source = 0;
    GLint destination = 0;
    glGetIntegerv(GL_BLEND_SRC_RGB, &source);
    glGetIntegerv(GL_BLEND_DST_RGB, &destination);
    EXPECT_EQ(GL_SRC_ALPHA, source);
    EXPECT_EQ(GL_ONE_MINUS_SRC_ALPHA, destination);
    canvas->end2D();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(0, program);
    canvas->begin2D();
}

TEST_F(CanvasTest, FilledRectangleCoversExactlyItsPixels) {
    canvas->drawRect(100.0f, 50.0f, 40.0f, 30.0f, 0x33CC66FF, false, &projection);
    EXPECT_TRUE(pixelIs(100, 50, 0x33, 0xCC, 0x66));
    EXPECT_TRUE(pixelIs(139, 79, 0x33, 0xCC, 0x66));
    EXPECT_TRUE(pixelIs(120, 65, 0x33, 0xCC, 0x66));
    EXPECT_TRUE(pixelIs(99, 60, 0, 0, 0));
    EXPECT_TRUE(pixelIs(140, 60, 0, 0, 0));
    EXPECT_TRUE(pixelIs(120, 49, 0, 0, 0));
    EXPECT_TRUE(pixelIs(120, 80, 0, 0, 0));
}

TEST_F(CanvasTest, AlphaByteBlendsOverWhatIsThere) {
    clear(1.0f, 1.0f, 1.0f);
    // 0x80 / 255 = 0.502: red over white gives (255, 127, 127).
    canvas->drawRect(10.0f, 10.0f, 20.0f, 20.0f, 0xFF000080, false, &projection);
    EXPECT_TRUE(pixelIs(20, 20, 255, 127, 127));
}

TEST_F(CanvasTest, NegativeSizeDrawsFromTheOtherSide) {
    canvas->drawRect(200.0f, 200.0f, -20.0f, -10.0f, 0xFFFFFFFF, false, &projection);
    EXPECT_TRUE(pixelIs(180, 190, 255, 255, 255));
    EXPECT_TRUE(pixelIs(199, 199, 255, 255, 255));
    EXPECT_TRUE(pixelIs(200, 195, 0, 0, 0));
    EXPECT_TRUE(pixelIs(179, 195, 0, 0, 0));
}

TEST_F(CanvasTest, OutlineLeavesTheInsideUntouched) {
    canvas->drawRect(100.0f, 100.0f, 60.0f, 40.0f, 0xFFFF00FF, true, &projection);
    EXPECT_TRUE(pixelIs(130, 120, 0, 0, 0));
    // Each side lands on the row or column next to its line.
    Pixel bottom0 = readPixel(130, 99);
    Pixel bottom1 = readPixel(130, 100);
    EXPECT_TRUE(bottom0.r == 255 || bottom1.r == 255) << "bottom edge missing";
    Pixel left0 = readPixel(99, 120);
    Pixel left1 = readPixel(100, 120);
    EXPECT_TRUE(left0.r == 255 || left1.r == 255) << "left edge missing";
    Pixel top0 = readPixel(130, 139);
    Pixel top1 = readPixel(130, 140);
    EXPECT_TRUE(top0.r == 255 || top1.r == 255) << "top edge missing";
}

TEST_F(CanvasTest, ButtonBoxColoursFollowTheState) {
    // Fill over black: green = (s * 0.1 + 0.8) * alpha (s * 0.2 + 0.8); the pressed fill's alpha 1.2
    // clamps to 1. Read inside, away from the outline.
    canvas->drawButtonBox(10.0f, 10.0f, 40.0f, 40.0f, 0, &projection);
    canvas->drawButtonBox(60.0f, 10.0f, 40.0f, 40.0f, 1, &projection);
    canvas->drawButtonBox(110.0f, 10.0f, 40.0f, 40.0f, 2, &projection);
    canvas->drawButtonBox(160.0f, 10.0f, 40.0f, 40.0f, -1, &projection);
    EXPECT_TRUE(pixelIs(30, 30, 0, 163, 0));       // 0.8 * 0.8 = 0.64
    EXPECT_TRUE(pixelIs(80, 30, 0, 230, 0));       // 0.9 * 1.0
    EXPECT_TRUE(pixelIs(130, 30, 179, 255, 179));  // (0.7, 1.0, 0.7) opaque
    EXPECT_TRUE(pixelIs(180, 30, 0, 107, 0));      // 0.7 * 0.6 = 0.42
    // The outline: opaque (0.3, s * 0.1 + 0.8, 0.3) on the box's edge.
    Pixel edge0 = readPixel(80, 9);
    Pixel edge1 = readPixel(80, 10);
    Pixel edge = edge0.r > edge1.r ? edge0 : edge1;
    EXPECT_TRUE(near(77, edge.r));
    EXPECT_TRUE(near(230, edge.g));
    EXPECT_TRUE(near(77, edge.b));
}

TEST_F(CanvasTest, FrameDrawsOnlyTheOutline) {
    canvas->drawFrame(300.0f, 300.0f, 50.0f, 50.0f, 0, &projection);
    EXPECT_TRUE(pixelIs(325, 325, 0, 0, 0));
    Pixel edge0 = readPixel(299, 325);
    Pixel edge1 = readPixel(300, 325);
    Pixel edge = edge0.g > edge1.g ? edge0 : edge1;
    EXPECT_TRUE(near(77, edge.r));
    EXPECT_TRUE(near(204, edge.g));
    EXPECT_TRUE(near(77, edge.b));
}

TEST_F(CanvasTest, MarkersAreFourPixelSquaresColouredByKind) {
    const int expected[8][3] = {
        {153, 255, 153}, {255, 26, 26}, {26, 26, 230}, {255, 255, 26},
        {128, 0, 153},   {26, 26, 26},  {26, 26, 26},  {26, 26, 26},
    };
    const int kinds[8] = {0, 1, 2, 3, 4, 5, 7, -1};
    for (int i = 0; i < 8; ++i) {
        float x = 20.0f + 20.0f * (float)i;
        canvas->drawMarker(x, 400.0f, kinds[i], &projection);
        int px = 20 + 20 * i;
        EXPECT_TRUE(pixelIs(px - 2, 398, expected[i][0], expected[i][1], expected[i][2])) << "kind " << kinds[i];
        EXPECT_TRUE(pixelIs(px + 1, 401, expected[i][0], expected[i][1], expected[i][2])) << "kind " << kinds[i];
        EXPECT_TRUE(pixelIs(px - 3, 400, 0, 0, 0)) << "kind " << kinds[i];
        EXPECT_TRUE(pixelIs(px + 2, 400, 0, 0, 0)) << "kind " << kinds[i];
        EXPECT_TRUE(pixelIs(px, 402, 0, 0, 0)) << "kind " << kinds[i];
        EXPECT_TRUE(pixelIs(px, 397, 0, 0, 0)) << "kind " << kinds[i];
    }
}

TEST_F(CanvasTest, DrawTextureMapsTheImagesTopRowToTheBottomEdge) {
    // Top-left red, top-right green, bottom-left blue, bottom-right white.
    const unsigned char rgba[16] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
    ASSERT_TRUE(writePngRgba(scratch.path("corners.png"), 2, 2, rgba));
    testing::internal::CaptureStdout();
    Texture texture = loadTexture(".\\corners.png");
    testing::internal::GetCapturedStdout();
    ASSERT_NE(0u, texture);
    // Nearest sampling shows the four texels as clean quarters. (Mesa's software sampler blends even a
    // magnified texture while anisotropy is above 1, so that goes to 1 here.)
    setFiltering(&texture, 1, false, false);
    setAnisotropy(&texture, 1, 1.0f);
    canvas->drawTexture(100.0f, 100.0f, 64.0f, 64.0f, &projection, texture);
    // t = 0 is the image's top row and lies along y, so the picture shows upside down.
    EXPECT_TRUE(pixelIs(104, 104, 255, 0, 0));
    EXPECT_TRUE(pixelIs(160, 104, 0, 255, 0));
    EXPECT_TRUE(pixelIs(104, 160, 0, 0, 255));
    EXPECT_TRUE(pixelIs(160, 160, 255, 255, 255));
    EXPECT_TRUE(pixelIs(99, 130, 0, 0, 0));
    EXPECT_TRUE(pixelIs(164, 130, 0, 0, 0));
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ((GLint)canvas->plainShader->program, program) << "drawTexture ends with the plain program";
    glDeleteTextures(1, &texture);
}

TEST_F(CanvasTest, InterfacePartShowsTheAtlasPieceUprightOneTexelPerPixel) {
    canvas->drawInterfacePart(50.0f, 60.0f, 100.0f, 80.0f, 20.0f, 300.0f, &projection);
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(0, program) << "drawInterfacePart ends with no program";
    const int probes[4][2] = {{0, 0}, {99, 0}, {0, 79}, {57, 33}};
    for (const auto& probe : probes) {
        int ax = -1;
        int ay = -1;
        decodeAtlas(readPixel(50 + probe[0], 60 + probe[1]), &ax, &ay);
        EXPECT_EQ(20 + probe[0], ax) << "probe " << probe[0] << "," << probe[1];
        EXPECT_EQ(300 + probe[1], ay) << "probe " << probe[0] << "," << probe[1];
    }
    EXPECT_TRUE(pixelIs(49, 100, 0, 0, 0));
    EXPECT_TRUE(pixelIs(150, 100, 0, 0, 0));
    EXPECT_TRUE(pixelIs(100, 140, 0, 0, 0));
}

TEST_F(CanvasTest, InterfacePartPastTheAtlasEdgeWrapsAround) {
    // 40 wide from texX 500: the last 28 columns come from the atlas's left edge.
    canvas->drawInterfacePart(10.0f, 10.0f, 40.0f, 20.0f, 500.0f, 0.0f, &projection);
    int ax = -1;
    int ay = -1;
    decodeAtlas(readPixel(10 + 20, 15), &ax, &ay);
    EXPECT_EQ(8, ax);
    EXPECT_EQ(5, ay);
}

TEST_F(CanvasTest, InterfaceBackgroundFollowsTheWindowWidth) {
    int savedWidth = gScreenWidth;
    gScreenWidth = 640;
    canvas->drawInterface(&projection);
    gScreenWidth = savedWidth;
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ((GLint)canvas->plainShader->program, program);
    int ax = -1;
    int ay = -1;
    // Left piece: 280 x 280 from (0, 0) of the atlas at the window's corner.
    decodeAtlas(readPixel(10, 250), &ax, &ay);
    EXPECT_EQ(10, ax);
    EXPECT_EQ(250, ay);
    // Right piece: 240 x 240 from (272, 0) at x = 640 - 240 = 400.
    decodeAtlas(readPixel(630, 230), &ax, &ay);
    EXPECT_EQ(272 + 230, ax);
    EXPECT_EQ(230, ay);
    // Middle strip: 200 x 72 from (0, 440) at (240, 95); the left piece covers it up to x = 280.
    decodeAtlas(readPixel(300, 160), &ax, &ay);
    EXPECT_EQ(60, ax);
    EXPECT_EQ(440 + 65, ay);
    // Above everything: untouched.
    EXPECT_TRUE(pixelIs(320, 300, 0, 0, 0));
}

TEST(CanvasMissingAssets, ReportsThemAndDrawsNothingWithoutGlErrors) {
    ASSERT_TRUE(ensureGlContext());
    takeGlError();
    ScratchDir empty(false);
    empty.enter();
    MatrixStack projection;
    projection.ortho(0.0f, 640.0f, 0.0f, 480.0f, 1.0f, -1.0f);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    Canvas* canvas = new Canvas();
    std::string out = testing::internal::GetCapturedStdout();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(
        "Vertex shader file ..\\shader\\plain.vert does not exist.\n"
        "Vertex shader file ..\\shader\\tex.vert does not exist.\n",
        err);
    EXPECT_EQ(0u, out.find("Error: Couldn't open .\\textures\\other\\interface.png: ")) << out;
    EXPECT_EQ(0u, canvas->interfaceTexture);

    glViewport(0, 0, 640, 480);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    canvas->begin2D();
    canvas->drawRect(0.0f, 0.0f, 640.0f, 480.0f, 0xFFFFFFFF, false, &projection);
    canvas->drawButtonBox(10.0f, 10.0f, 50.0f, 50.0f, 1, &projection);
    canvas->drawFrame(10.0f, 10.0f, 50.0f, 50.0f, 1, &projection);
    canvas->drawMarker(100.0f, 100.0f, 2, &projection);
    canvas->drawTexture(0.0f, 0.0f, 640.0f, 480.0f, &projection, 0);
    canvas->drawInterfacePart(0.0f, 0.0f, 640.0f, 480.0f, 0.0f, 0.0f, &projection);
    canvas->drawInterface(&projection);
    canvas->end2D();
    EXPECT_EQ(GL_NO_ERROR, takeGlError());
    Pixel p = readPixel(320, 240);
    EXPECT_EQ(0, p.r + p.g + p.b) << "nothing may reach the framebuffer";
    delete canvas;
    EXPECT_EQ(GL_NO_ERROR, takeGlError());
    empty.leave();
}
