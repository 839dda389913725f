// What the HUD tells the player: the unit texts, the crystal counter, the hover texts, the win and lose
// messages, where life bars may appear, and that the drawn layer leaves the GL state for the next frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/globals.h"
#include "app/hud.h"
#include "app/world.h"
#include "game/crystal.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "match_fixture.h"

TEST(HudTexts, ShownUnitLines) {
    UnitTemplate blob;
    blob.name = "Blob";
    blob.iconGlyph = 26;
    EXPECT_EQ("\x1a Blob", unitTitleText(blob));
    EXPECT_EQ("Life: 38 / 50", lifeText(37.2f, 50));  // rounded up
    EXPECT_EQ("Life: 1 / 400", lifeText(0.01f, 400));
    EXPECT_EQ("Life: 120 / 120", lifeText(120.0f, 120));
    EXPECT_EQ("", damageText(0));
    EXPECT_EQ("Damage: 18", damageText(18));

    Unit u;
    EXPECT_EQ("", activityText(u));
    u.state = kSplit;
    EXPECT_EQ("Splitting...", activityText(u));
    u.state = kMorph;
    EXPECT_EQ("Morphing...", activityText(u));
    u.state = kMine;
    EXPECT_EQ("Mining crystals...", activityText(u));
    u.state = kAttack;
    EXPECT_EQ("", activityText(u));
}

TEST(HudTexts, CountersTruncateToWholeCrystals) {
    EXPECT_EQ("\x1e  100", crystalCounterText(100.9f));
    EXPECT_EQ("\x1e  0", crystalCounterText(0.4f));
    EXPECT_EQ("Amount: 2499", crystalAmountText(2499.7f));
    const float p[3] = {12.5f, 3.25f, -1.0f};
    EXPECT_EQ("Mouse pointer @ 12.5 / 3.25 / -1", pickPointText(p));
}

TEST(HudTexts, GameOverMessagesPulseInTheirColour) {
    std::string title, line;
    EXPECT_FALSE(gameOverTexts(0, title, line));
    ASSERT_TRUE(gameOverTexts(1, title, line));
    EXPECT_EQ("YOU LOSE !!!", title);
    EXPECT_EQ("All your forces have been destroyed. Press ESC to leave.", line);
    ASSERT_TRUE(gameOverTexts(2, title, line));
    EXPECT_EQ("YOU WIN !!!", title);
    EXPECT_EQ("Congratulations! All your enemies are dead. Press ESC to exit.", line);

    EXPECT_EQ(0xFF0000D0u, gameOverColour(1, 0));
    // 31 * sin(1.57) = 30.99..., truncated to 30; 31 * sin(4.71) = -30.99... gives -30.
    EXPECT_EQ(0xFF0000EEu, gameOverColour(1, 157));
    EXPECT_EQ(0x00FF00B2u, gameOverColour(2, 471));
}

TEST(HudTexts, LifeBarsStayOffTheMinimapCornerAndThePanel) {
    EXPECT_FALSE(lifeBarShown(100, 100));  // minimap corner
    EXPECT_FALSE(lifeBarShown(219, 219));
    EXPECT_TRUE(lifeBarShown(220, 200));
    EXPECT_TRUE(lifeBarShown(100, 220));
    EXPECT_FALSE(lifeBarShown(500, 189));  // bottom panel
    EXPECT_TRUE(lifeBarShown(500, 190));
}

class HudDrawTest : public MatchTest {
protected:
    // Pixels in a window rectangle that are clearly of one colour channel.
    int countBright(int x, int y, int w, int h, int channel) {
        std::vector<unsigned char> rgba(w * h * 4);
        glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        int n = 0;
        for (int i = 0; i < w * h; ++i) {
            const unsigned char* p = &rgba[i * 4];
            int others = (p[0] + p[1] + p[2] - p[channel]) / 2;
            n += p[channel] > 180 && others < 90;
        }
        return n;
    }
    void drawFrame() {
        glViewport(0, 0, 640, 480);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        world->draw(false);
    }
};

TEST_F(HudDrawTest, WireframeCoversTheHudShapesButEndsBeforeTheTexts) {
    world->wireframe = true;
    drawFrame();
    world->wireframe = false;
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(GL_FILL, modes[0]);
    // The 3D state is back for the next frame.
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(HudDrawTest, WinMessageIsDrawnInGreenAcrossTheMiddle) {
    gMouseX = 20;
    gMouseY = 20;
    UnitManager* m = world->unitManager;
    // The band the two lines occupy, around the window centre (320, 240).
    drawFrame();
    int before = countBright(120, 215, 400, 60, 1);
    m->gameResult = 2;
    drawFrame();
    int after = countBright(120, 215, 400, 60, 1);
    m->gameResult = 0;
    EXPECT_GT(after, before + 300);
}

TEST_F(HudDrawTest, CrystalUnderThePointerGetsAHoverBoxEvenInTheFog) {
    UnitManager* m = world->unitManager;
    Crystal* far = 0;
    for (Crystal* c : m->crystals) {
        if (c->position[0] > 40.0f && c->amount > 0.0f) {
            far = c;
        }
    }
    ASSERT_NE(nullptr, far);
    world->update(1);
    EXPECT_TRUE(far->hidden);
    // The box sits 10 pixels up and right of the pointer tip: pointer at window (400, 300).
    gMouseX = 400;
    gMouseY = 180;
    gPickPoint[0] = gPickPoint[1] = gPickPoint[2] = -50.0f;
    drawFrame();
    std::vector<unsigned char> without(90 * 4);
    glReadPixels(445, 318, 90, 1, GL_RGBA, GL_UNSIGNED_BYTE, without.data());
    for (int i = 0; i < 3; ++i) {
        gPickPoint[i] = far->position[i];
    }
    drawFrame();
    std::vector<unsigned char> with(90 * 4);
    glReadPixels(445, 318, 90, 1, GL_RGBA, GL_UNSIGNED_BYTE, with.data());
    int changed = 0;
    for (int i = 0; i < 90; ++i) {
        changed += with[i * 4 + 1] != without[i * 4 + 1];
    }
    EXPECT_GT(changed, 45);
}
