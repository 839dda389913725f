#include <vector>

#include "render/control.h"
#include "render_fixture.h"

namespace {

std::vector<int> gFired;
void recordClick(Control* control) { gFired.push_back(control->id); }

class ControlTest : public Render2DTest {
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

// Hover marks every button under the point, edges included (disabled command buttons too); a click runs
// every callback under it in list order. Tooltips and unknown kinds ignore the mouse.
TEST_F(ControlTest, HoverAndClickReachEveryButtonUnderThePoint) {
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
    owned[2]->state = 1;
    EXPECT_TRUE(canvas->mouseClick(55.0f, 55.0f));
    EXPECT_EQ(std::vector<int>({0, 1, 2}), gFired);
    EXPECT_EQ(1, owned[2]->state) << "a click leaves the hover state alone";
    gFired.clear();
    EXPECT_TRUE(canvas->mouseClick(100.0f, 150.0f)) << "b's top-left corner";
    EXPECT_EQ(std::vector<int>({1}), gFired);
    // Only the control without a callback (and the tooltip) lies here: no click, though it hovers.
    EXPECT_FALSE(canvas->mouseClick(250.0f, 250.0f));
    EXPECT_TRUE(canvas->mouseMove(250.0f, 250.0f));
}

// Texts are in 0xDFFFDF over the scratch font's (255, cell, 0): (223, cell, 0) where opaque.
TEST_F(ControlTest, PlainButtonShowsItsStateColourCaptionAndTooltip) {
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
    // The hovered fill, and the tooltip's background is a normal button box. Description regular 14 at
    // (304, 402); caption bold 16 at (304, 418); note "11" (13 wide) right-aligned 4 inside the right edge,
    // from 483.
    expectPixels({{25, 25, 0, 230, 0}, {400, 410, 0, 163, 0}, {304, 405, 223, 17, 0}, {304, 425, 223, 161, 0},
                  {483, 425, 223, 17, 0}, {482, 425, 0, 163, 0}});
}

TEST_F(ControlTest, PicturesComeFromTheAtlasByKindStateAndEnabled) {
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
