#include <GL/glew.h>

#include <string>
#include <vector>

#include "app/globals.h"
#include "render/canvas.h"
#include "render/control.h"
#include "render/font.h"
#include "render_fixture.h"

namespace {

std::vector<int> gFired;

void recordClick(Control* control) {
    gFired.push_back(control->id);
}

// A canvas with the scratch atlas and the scratch font as the global font.
class ControlTest : public Render2DTest {
protected:
    void SetUp() override {
        Render2DTest::SetUp();
        savedFont = gFont;
        if (HasFatalFailure()) {
            return;
        }
        scratch.writeAtlas();
        scratch.writeFontImage();
        gFont = new Font();
        canvas = new Canvas();
        gFired.clear();
    }
    void TearDown() override {
        if (canvas) {
            delete canvas;
            delete gFont;
        }
        gFont = savedFont;
        Render2DTest::TearDown();
    }
    // Adds a control that records its id when clicked.
    Control* add(int kind, float x, float y, float w, float h, int id) {
        Control* c = new Control(kind, x, y, w, h);
        c->id = id;
        c->callback = recordClick;
        owned.push_back(c);
        canvas->addControl(c);
        return c;
    }
    void drawAll() {
        canvas->begin2D();
        canvas->drawControls(&projection);
        canvas->end2D();
    }
    // The atlas texel under a drawn pixel.
    void atlasAt(int x, int y, int* ax, int* ay) {
        Pixel p = readPixel(x, y);
        *ax = p.r + ((p.b & 128) ? 256 : 0);
        *ay = p.g + ((p.b & 64) ? 256 : 0);
    }

    Font* savedFont = nullptr;
    Canvas* canvas = nullptr;
    std::vector<Control*> owned;

public:
    ~ControlTest() override {
        for (Control* c : owned) {
            delete c;
        }
    }
};

}  // namespace

TEST(ControlRecord, StartsEnabledNormalAndUnlinked) {
    Control c(4, 1.0f, 2.0f, 3.0f, 4.0f);
    EXPECT_EQ(4, c.kind);
    EXPECT_EQ(1.0f, c.x);
    EXPECT_EQ(2.0f, c.y);
    EXPECT_EQ(3.0f, c.w);
    EXPECT_EQ(4.0f, c.h);
    EXPECT_EQ("", c.caption);
    EXPECT_EQ("", c.description);
    EXPECT_EQ("", c.note);
    EXPECT_EQ(0, c.state);
    EXPECT_EQ(1, c.enabled);
    EXPECT_EQ(nullptr, c.callback);
    EXPECT_EQ(nullptr, c.tooltip);
}

TEST(ControlRecord, AllFourEdgesBelongToTheControl) {
    Control c(1, 10.0f, 20.0f, 30.0f, 40.0f);
    EXPECT_TRUE(c.hits(10.0f, 20.0f));
    EXPECT_TRUE(c.hits(40.0f, 60.0f));
    EXPECT_TRUE(c.hits(40.0f, 20.0f));
    EXPECT_TRUE(c.hits(10.0f, 60.0f));
    EXPECT_FALSE(c.hits(9.99f, 30.0f));
    EXPECT_FALSE(c.hits(40.01f, 30.0f));
    EXPECT_FALSE(c.hits(25.0f, 19.99f));
    EXPECT_FALSE(c.hits(25.0f, 60.01f));
}

TEST_F(ControlTest, HoverMarksEveryControlUnderThePointAndClearsTheRest) {
    Control* a = add(1, 0.0f, 0.0f, 100.0f, 100.0f, 0);
    Control* b = add(3, 50.0f, 50.0f, 100.0f, 100.0f, 1);
    Control* far = add(5, 300.0f, 300.0f, 10.0f, 10.0f, 2);
    EXPECT_TRUE(canvas->mouseMove(75.0f, 75.0f));
    EXPECT_EQ(1, a->state);
    EXPECT_EQ(1, b->state);
    EXPECT_EQ(0, far->state);
    // Exactly on a's top-right corner: still a's.
    EXPECT_TRUE(canvas->mouseMove(100.0f, 100.0f));
    EXPECT_EQ(1, a->state);
    EXPECT_TRUE(canvas->mouseMove(150.0f, 150.0f));
    EXPECT_EQ(0, a->state);
    EXPECT_EQ(1, b->state);
    EXPECT_FALSE(canvas->mouseMove(200.0f, 10.0f));
    EXPECT_EQ(0, a->state);
    EXPECT_EQ(0, b->state);
    EXPECT_EQ(0, far->state);
}

TEST_F(ControlTest, TooltipsAndUnknownKindsIgnoreTheMouse) {
    Control* tip = add(2, 0.0f, 0.0f, 100.0f, 100.0f, 7);
    Control* odd = add(6, 0.0f, 0.0f, 100.0f, 100.0f, 8);
    tip->state = 5;
    EXPECT_FALSE(canvas->mouseMove(50.0f, 50.0f));
    EXPECT_EQ(5, tip->state) << "mouseMove must leave other kinds alone";
    EXPECT_EQ(0, odd->state);
    EXPECT_FALSE(canvas->mouseClick(50.0f, 50.0f));
    EXPECT_TRUE(gFired.empty());
}

TEST_F(ControlTest, ClickRunsEveryCallbackUnderThePointInListOrder) {
    add(4, 0.0f, 0.0f, 100.0f, 100.0f, 10);
    add(1, 200.0f, 200.0f, 10.0f, 10.0f, 11);
    add(1, 50.0f, 50.0f, 100.0f, 100.0f, 12);
    Control* pressed = add(5, 0.0f, 0.0f, 60.0f, 60.0f, 13);
    EXPECT_TRUE(canvas->mouseClick(55.0f, 55.0f));
    ASSERT_EQ(3u, gFired.size());
    EXPECT_EQ(10, gFired[0]);
    EXPECT_EQ(12, gFired[1]);
    EXPECT_EQ(13, gFired[2]);
    EXPECT_EQ(0, pressed->state) << "a click does not change the hover state";
    gFired.clear();
    // The top edge of the 200,200 button.
    EXPECT_TRUE(canvas->mouseClick(205.0f, 210.0f));
    ASSERT_EQ(1u, gFired.size());
    EXPECT_EQ(11, gFired[0]);
    gFired.clear();
    EXPECT_FALSE(canvas->mouseClick(300.0f, 300.0f));
    EXPECT_TRUE(gFired.empty());
}

TEST_F(ControlTest, ControlWithoutCallbackHoversButDoesNotCountAsAClick) {
    Control* label = add(1, 0.0f, 0.0f, 50.0f, 50.0f, 0);
    label->callback = nullptr;
    EXPECT_TRUE(canvas->mouseMove(25.0f, 25.0f));
    EXPECT_EQ(1, label->state);
    EXPECT_FALSE(canvas->mouseClick(25.0f, 25.0f));
}

TEST_F(ControlTest, DisabledCommandButtonStillHoversAndFires) {
    Control* command = add(3, 10.0f, 10.0f, 50.0f, 50.0f, 4);
    command->enabled = 0;
    EXPECT_TRUE(canvas->mouseMove(60.0f, 60.0f));
    EXPECT_EQ(1, command->state);
    EXPECT_TRUE(canvas->mouseClick(60.0f, 60.0f));
    ASSERT_EQ(1u, gFired.size());
    EXPECT_EQ(4, gFired[0]);
}

TEST_F(ControlTest, TooltipFitsTheWiderOfItsTwoLines) {
    Control tip(2, 0.0f, 0.0f, 0.0f, 0.0f);
    // Title line: bold "A" 17 * 16 / 32 = 8.5, + 50, + note "11" 26 * 16 / 32 = 13: 71.5.
    // Description: "11" 26 * 14 / 32 = 11.375 + 10 = 21.375.
    tip.caption = "A";
    tip.note = "11";
    tip.description = "11";
    tip.fitTooltip();
    EXPECT_EQ(71.5f, tip.w);
    EXPECT_EQ(35.0f, tip.h);
    // A long description wins: ten '1's are 130 * 14 / 32 = 56.875, + 10.
    tip.description = "1111111111";
    tip.note = "";
    tip.caption = "";
    tip.fitTooltip();
    EXPECT_EQ(66.875f, tip.w);
    // Empty note: max(description + 10, caption + 50).
    tip.description = "1";
    tip.caption = "11";
    tip.fitTooltip();
    EXPECT_EQ(64.0f, tip.w);
}

TEST_F(ControlTest, PlainButtonShowsItsStateColourAndCentredCaption) {
    Control* normal = add(1, 20.0f, 20.0f, 100.0f, 40.0f, 0);
    Control* hovered = add(1, 20.0f, 100.0f, 100.0f, 40.0f, 1);
    normal->caption = "11";
    hovered->state = 1;
    drawAll();
    EXPECT_EQ(163, readPixel(25, 25).g);
    EXPECT_NEAR(230, readPixel(25, 105).g, 1);
    // "11" at size 16 is 13 wide: centred at 70 it starts at 63.5, 7 below the middle (y = 33).
    // Pixel 64 lies left of the shadow, so it shows the text colour 0xDFFFDF on cell 17 alone.
    Pixel text = readPixel(64, 40);
    EXPECT_NEAR(223, text.r, 1);
    EXPECT_NEAR(17, text.g, 1);
    EXPECT_EQ(0, readPixel(62, 40).r);
    EXPECT_EQ(0, readPixel(64, 32).r);
}

TEST_F(ControlTest, HoveredButtonDrawsItsTooltipBoxAndTexts) {
    Control* button = add(1, 20.0f, 20.0f, 100.0f, 40.0f, 0);
    Control tip(2, 300.0f, 400.0f, 200.0f, 35.0f);
    tip.description = "1";
    tip.caption = "A";
    tip.note = "11";
    button->tooltip = &tip;
    drawAll();
    EXPECT_EQ(0, readPixel(400, 410).g) << "no tooltip while not hovered";

    canvas->mouseMove(30.0f, 30.0f);
    drawAll();
    EXPECT_EQ(163, readPixel(400, 410).g) << "tooltip background is a normal button box";
    // Description, regular 14 at (304, 402); caption, bold 16 at (304, 418); note right-aligned at 496.
    Pixel description = readPixel(304, 405);
    EXPECT_NEAR(223, description.r, 1);
    EXPECT_NEAR(17, description.g, 1);
    Pixel caption = readPixel(304, 425);
    EXPECT_NEAR(223, caption.r, 1);
    EXPECT_NEAR(161, caption.g, 1);
    Pixel note = readPixel(483, 425);
    EXPECT_NEAR(223, note.r, 1);
    EXPECT_NEAR(17, note.g, 1);
    EXPECT_EQ(0, readPixel(482, 425).r) << "the note ends 4 pixels inside the right edge";
}

TEST_F(ControlTest, PicturesComeFromTheAtlasByKindStateAndEnabled) {
    Control* command = add(3, 200.0f, 100.0f, 50.0f, 50.0f, 0);
    Control* action = add(4, 300.0f, 300.0f, 150.0f, 40.0f, 1);
    Control* option = add(5, 100.0f, 300.0f, 130.0f, 30.0f, 2);
    Control* tip = add(2, 500.0f, 20.0f, 100.0f, 100.0f, 3);
    tip->caption = "1";
    int ax = 0;
    int ay = 0;
    drawAll();
    // Command button: at (x - 4, y - 4) from (state * 60 - 4, 342 - enabled * 60).
    atlasAt(206, 106, &ax, &ay);
    EXPECT_EQ(6, ax);
    EXPECT_EQ(292, ay);
    // Action button: at (x - 10, y - 12) from (335, 279 + state * 70).
    atlasAt(295, 293, &ax, &ay);
    EXPECT_EQ(340, ax);
    EXPECT_EQ(284, ay);
    // Option button: at (x - 10, y - 12) from (153, 281 + state * 70).
    atlasAt(95, 293, &ax, &ay);
    EXPECT_EQ(158, ax);
    EXPECT_EQ(286, ay);
    // A tooltip in the list is not drawn by itself.
    EXPECT_EQ(0, readPixel(550, 70).r);

    command->state = 1;
    action->state = 1;
    option->state = 1;
    clear(0.0f, 0.0f, 0.0f);
    drawAll();
    atlasAt(206, 106, &ax, &ay);
    EXPECT_EQ(66, ax);
    EXPECT_EQ(292, ay);
    atlasAt(295, 293, &ax, &ay);
    EXPECT_EQ(340, ax);
    EXPECT_EQ(354, ay);
    atlasAt(95, 293, &ax, &ay);
    EXPECT_EQ(158, ax);
    EXPECT_EQ(356, ay);

    command->state = 0;
    command->enabled = 0;
    clear(0.0f, 0.0f, 0.0f);
    drawAll();
    atlasAt(206, 106, &ax, &ay);
    EXPECT_EQ(6, ax);
    EXPECT_EQ(352, ay) << "a disabled command button comes from the row 60 higher";
}

TEST_F(ControlTest, DisabledCommandCaptionIsFainter) {
    Control* command = add(3, 200.0f, 100.0f, 50.0f, 50.0f, 0);
    command->caption = "11";
    // "11" at size 32 is 26 wide: centred at 225 it starts at 212, 15 below the middle (y = 110).
    // Column 212 lies left of the shadow; the atlas under it has red 12 (texel x = 212 - 196 - 4).
    drawAll();
    EXPECT_NEAR(223, readPixel(212, 120).r, 1);
    command->enabled = 0;
    clear(0.0f, 0.0f, 0.0f);
    drawAll();
    // Alpha 0x8F: 223 * 0.561 + 12 * 0.439 = 130.
    EXPECT_NEAR(130, readPixel(212, 120).r, 1);
}
