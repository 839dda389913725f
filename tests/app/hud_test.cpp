// What the HUD tells the player: the unit texts, the crystal counter, the hover texts, the win and lose
// messages, where life bars may appear, and that the drawn layer leaves the GL state for the next frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/hud.h"
#include "app/world.h"
#include "game/crystal.h"
#include "render/frustum.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "match_fixture.h"

TEST(HudTexts, ShownUnitLinesAndCounters) {
    UnitTemplate blob;
    blob.name = "Blob";
    blob.iconGlyph = 26;
    EXPECT_EQ("\x1a Blob", unitTitleText(blob));
    EXPECT_EQ("Life: 38 / 50", lifeText(37.2f, 50));  // rounded up
    EXPECT_EQ("Life: 1 / 400", lifeText(0.01f, 400));
    EXPECT_EQ("", damageText(0));
    EXPECT_EQ("Damage: 18", damageText(18));
    const int states[5] = {kIdle, kSplit, kMorph, kMine, kAttack};
    const char* activities[5] = {"", "Splitting...", "Morphing...", "Mining crystals...", ""};
    Unit u;
    for (int i = 0; i < 5; ++i) {
        u.state = states[i];
        EXPECT_EQ(activities[i], activityText(u));
    }
    // Crystals are counted whole, truncated.
    EXPECT_EQ("\x1e  100", crystalCounterText(100.9f));
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
    const int points[6][3] = {{100, 100, 0}, {219, 219, 0}, {220, 200, 1},
                                {100, 220, 1}, {500, 189, 0}, {500, 190, 1}};
    for (const int* p : points) {
        EXPECT_EQ(p[2] == 1, lifeBarShown(p[0], p[1])) << p[0] << "," << p[1];
    }
}

class HudDrawTest : public MatchTest {
protected:
    // RGBA of a window rectangle.
    std::vector<unsigned char> pixels(int x, int y, int w, int h) {
        std::vector<unsigned char> rgba(w * h * 4);
        glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }
    void drawFrame() {
        glViewport(0, 0, 640, 480);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        world->draw(false);
    }
};

TEST_F(HudDrawTest, WireframeEndsBeforeTheTextsAndThe3DStateIsBack) {
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

TEST_F(HudDrawTest, LifeBarIsGreenForTheLifeLeftAndRedForTheLoss) {
    Unit* u = worker(0);
    float life = u->life;
    u->life = life / 4.0f;
    drawFrame();
    u->life = life;
    int sx = 0, sy = 0, size = 0;
    world->frustum->toScreen(u->position[0], u->position[1], u->position[2] + 1.0f, sx, sy, size, 640, 480);
    ASSERT_TRUE(lifeBarShown(sx, sy) && size > 20) << sx << "," << sy << " size " << size;
    // A row through the bar: one eighth in lies inside the remaining quarter, the middle in the loss.
    std::vector<unsigned char> row = pixels(sx - size / 2, sy + 2, size, 1);
    const unsigned char* left = &row[(size / 8) * 4];
    const unsigned char* right = &row[(size / 2) * 4];
    EXPECT_GT(left[1], 200);
    EXPECT_LT(left[0], 100);
    EXPECT_GT(right[0], right[1]);
}

TEST_F(HudDrawTest, WinMessageIsDrawnInGreenAcrossTheMiddle) {
    gMouseX = gMouseY = 20;
    // Pure green pixels in the band the two lines occupy, around the window centre (320, 240).
    auto greenInBand = [&] {
        std::vector<unsigned char> p = pixels(120, 215, 400, 60);
        int n = 0;
        for (size_t i = 0; i < p.size(); i += 4) {
            n += p[i + 1] > 180 && p[i] < 90 && p[i + 2] < 90;
        }
        return n;
    };
    drawFrame();
    int before = greenInBand();
    world->unitManager->gameResult = 2;
    drawFrame();
    world->unitManager->gameResult = 0;
    EXPECT_GT(greenInBand(), before + 300);
}

TEST_F(HudDrawTest, CrystalUnderThePointerGetsAHoverBoxEvenInTheFog) {
    Crystal* far = 0;
    for (Crystal* c : world->unitManager->crystals) {
        if (c->position[0] > 40.0f && c->amount > 0.0f) {
            far = c;
        }
    }
    ASSERT_NE(nullptr, far);
    world->update(1);
    EXPECT_TRUE(far->hidden);
    // The box sits 10 pixels up and right of the pointer tip: pointer at window (400, 300), a row inside it.
    gMouseX = 400;
    gMouseY = 180;
    gPickPoint[0] = gPickPoint[1] = gPickPoint[2] = -50.0f;
    drawFrame();
    std::vector<unsigned char> without = pixels(445, 318, 90, 1);
    std::copy(far->position, far->position + 3, gPickPoint);
    drawFrame();
    std::vector<unsigned char> with = pixels(445, 318, 90, 1);
    int changed = 0;
    for (int i = 1; i < 360; i += 4) {
        changed += with[i] != without[i];  // green channel
    }
    EXPECT_GT(changed, 45);
}
