#include <utility>
#include <vector>

#include "render/control.h"
#include "render_fixture.h"

namespace {

// A line along a rectangle's edge lands on the pixel on one side of it or the other.
::testing::AssertionResult edgeIs(int x0, int y0, int x1, int y1, int r, int g, int b) {
    return pixelIs(x0, y0, r, g, b) ? ::testing::AssertionSuccess() : pixelIs(x1, y1, r, g, b);
}

std::vector<int> gFired;
void recordClick(Control* control) { gFired.push_back(control->id); }

class CanvasTest : public Render2DTest {
protected:
    void TearDown() override {
        for (Control* c : owned) delete c;
        gFired.clear();
        Render2DTest::TearDown();
    }
    // A control in the canvas, owned by the test, that records its id when clicked.
    Control* add(int kind, float x, float y, float w, float h) {
        Control* c = new Control(kind, x, y, w, h);
        c->id = (int)owned.size();
        c->callback = recordClick;
        owned.push_back(c);
        canvas->addControl(c);
        return c;
    }
    // A fresh frame; the last one left the canvas's 2D pass.
    void drawAll() {
        clear(0.0f, 0.0f, 0.0f);
        canvas->begin2D();
        canvas->drawControls(&projection);
    }
    std::vector<Control*> owned;
};

}  // namespace

TEST_F(CanvasTest, BeginAndEndSwitchBetweenThe2DAnd3DStates) {
    EXPECT_TRUE(glIsEnabled(GL_BLEND) && !glIsEnabled(GL_DEPTH_TEST) && !glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ((GLint)canvas->plainShader->program, currentProgram());
    canvas->end2D();
    EXPECT_TRUE(!glIsEnabled(GL_BLEND) && glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(0, currentProgram());
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
    clear(0.0f, 0.0f, 0.0f);
    canvas->plainShader->bind();
    canvas->drawInterface(&projection);
    EXPECT_EQ((GLint)canvas->plainShader->program, currentProgram());
    EXPECT_EQ(std::make_pair(10, 250), atlasAt(10, 250)) << "left piece: 280 x 280 from (0, 0) at the corner";
    EXPECT_EQ(std::make_pair(502, 230), atlasAt(630, 230)) << "right piece: 240 x 240 from (272, 0) at x = 400";
    EXPECT_EQ(std::make_pair(60, 505), atlasAt(300, 160)) << "middle strip: from (0, 440) at (240, 95)";
    EXPECT_TRUE(pixelIs(320, 50, 0, 8, 0) && pixelIs(320, 180, 0, 0, 0)) << "dark backing 0x000800 under the middle";
}

// Hover marks every button under the point, edges included (disabled command buttons too); a click runs
// every callback under it in list order. Tooltips and unknown kinds ignore the mouse.
TEST_F(CanvasTest, HoverAndClickReachEveryButtonUnderThePoint) {
    Control* a = add(1, 0.0f, 0.0f, 100.0f, 100.0f);
    EXPECT_TRUE(a->state == 0 && a->enabled == 1 && a->tooltip == nullptr);
    Control* b = add(3, 50.0f, 50.0f, 100.0f, 100.0f);
    b->enabled = 0;
    add(4, 0.0f, 0.0f, 60.0f, 60.0f);
    Control* tip = add(2, 0.0f, 0.0f, 200.0f, 200.0f);
    Control* other = add(6, 0.0f, 0.0f, 200.0f, 200.0f);
    add(1, 0.0f, 0.0f, 300.0f, 300.0f)->callback = nullptr;
    tip->state = other->state = 5;
    // (x, y, hovering, a, b), each a's or b's edge or corner
    const float moves[][5] = {{75, 75, 1, 1, 1}, {100, 100, 1, 1, 1}, {100.01f, 150, 1, 0, 1}, {350, 10, 0, 0, 0}};
    for (const auto& m : moves) {
        EXPECT_EQ(m[2] != 0, canvas->mouseMove(m[0], m[1])) << m[0] << "," << m[1];
        EXPECT_TRUE(a->state == (int)m[3] && b->state == (int)m[4]) << m[0] << "," << m[1];
    }
    EXPECT_TRUE(tip->state == 5 && other->state == 5);
    EXPECT_TRUE(canvas->mouseClick(55.0f, 55.0f));
    EXPECT_EQ(std::vector<int>({0, 1, 2}), gFired);
    gFired.clear();
    EXPECT_TRUE(canvas->mouseClick(100.0f, 150.0f)) << "b's top-left corner";
    EXPECT_EQ(std::vector<int>({1}), gFired);
    // Only the control without a callback (and the tooltip) lies here: no click, though it hovers.
    EXPECT_FALSE(canvas->mouseClick(250.0f, 250.0f));
    EXPECT_TRUE(canvas->mouseMove(250.0f, 250.0f));
}

// Texts are in 0xDFFFDF over the scratch font's (255, cell, 0): (223, cell, 0) where opaque.
TEST_F(CanvasTest, PlainButtonShowsItsStateColourCaptionAndTooltip) {
    Control* button = add(1, 20.0f, 20.0f, 100.0f, 40.0f);
    button->caption = "11";
    Control tip(2, 300.0f, 400.0f, 200.0f, 35.0f);
    tip.description = "1";
    tip.caption = "A";
    tip.note = "11";
    button->tooltip = &tip;
    drawAll();
    // Normal fill; "11" at size 16 is 13 wide: centred at 70 from 63.5, 7 below the middle (y = 33), shadow
    // from 65.5; no tooltip while not hovered.
    expectPixels({{25, 25, 0, 163, 0}, {64, 40, 223, 17, 0}, {400, 410, 0, 0, 0}, {62, 40, 0, 163, 0},
                  {64, 32, 0, 163, 0}});
    canvas->mouseMove(30.0f, 30.0f);
    drawAll();
    // The hovered fill, and the tooltip's background is a normal button box. Description regular 14 at (304, 402);
    // caption bold 16 at (304, 418); note "11" (13 wide) right-aligned 4 inside the right edge, from 483.
    expectPixels({{25, 25, 0, 230, 0}, {400, 410, 0, 163, 0}, {304, 405, 223, 17, 0}, {304, 425, 223, 161, 0},
                  {483, 425, 223, 17, 0}, {482, 425, 0, 163, 0}});
}

TEST_F(CanvasTest, PicturesComeFromTheAtlasByKindStateAndEnabled) {
    Control* command = add(3, 200.0f, 100.0f, 50.0f, 50.0f);
    Control* action = add(4, 300.0f, 300.0f, 150.0f, 40.0f);
    Control* option = add(5, 100.0f, 300.0f, 130.0f, 30.0f);
    add(2, 500.0f, 20.0f, 100.0f, 100.0f)->caption = "1";
    command->caption = "11";
    // The atlas texel 10 pixels in from each picture's corner. Command: at (x - 4, y - 4) from
    // (state * 60 - 4, 342 - enabled * 60); action: at (x - 10, y - 12) from (335, 279 + state * 70);
    // option: at (x - 10, y - 12) from (153, 281 + state * 70).
    // The command caption "11" (size 32, 26 wide) is centred at 225 from x = 212, 15 below the middle;
    // column 212 is left of its shadow, over atlas red 12 + 60 * state. Disabled, its alpha is 0x8F (0.561).
    const struct {
        int state, enabled;
        std::pair<int, int> command, action, option;
        int captionRed;
    } cases[] = {
        {0, 1, {6, 292}, {345, 289}, {163, 291}, 223},
        {1, 1, {66, 292}, {345, 359}, {163, 361}, 223},
        {0, 0, {6, 352}, {345, 289}, {163, 291}, 130},  // 223 * 0.561 + 12 * 0.439
    };
    for (const auto& c : cases) {
        command->state = action->state = option->state = c.state;
        command->enabled = c.enabled;
        drawAll();
        EXPECT_TRUE(c.command == atlasAt(206, 106) && c.action == atlasAt(300, 298)) << c.state << c.enabled;
        EXPECT_EQ(c.option, atlasAt(100, 298));
        EXPECT_NEAR(c.captionRed, readPixel(212, 120).r, 1);
        EXPECT_TRUE(pixelIs(550, 70, 0, 0, 0)) << "a tooltip in the list is not drawn by itself";
    }
}
