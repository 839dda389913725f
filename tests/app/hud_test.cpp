// What the HUD tells the player: rounded counters, the pulsing game-over colour, and on a drawn frame
// the life bar, the win message and the hover box.
#include "app/hud.h"
#include "game/crystal.h"
#include "match_fixture.h"
#include "render/frustum.h"

TEST(HudTexts, CountersRoundAsThePlayerSeesThemAndGameOverPulses) {
    EXPECT_EQ("Life: 38 / 50", lifeText(37.2f, 50));  // rounded up: a living unit never shows 0
    EXPECT_EQ("\x1e  100", crystalCounterText(100.9f));  // crystals are counted whole, truncated
    EXPECT_EQ("Amount: 2499", crystalAmountText(2499.7f));
    std::string title, line;
    EXPECT_FALSE(gameOverTexts(0, title, line));
    EXPECT_TRUE(gameOverTexts(2, title, line) && title == "YOU WIN !!!");
    // 31 * sin(1.57) = 30.99..., truncated to 30; 31 * sin(4.71) = -30.99... gives -30.
    EXPECT_TRUE(gameOverColour(1, 157) == 0xFF0000EEu && gameOverColour(2, 471) == 0x00FF00B2u);
    // Not over the minimap corner (220 x 220) nor the panel strip (190 high).
    EXPECT_TRUE(!lifeBarShown(219, 219) && lifeBarShown(220, 200) && !lifeBarShown(500, 189) && lifeBarShown(500, 190));
}

TEST_F(MatchTest, HudShowsTheLifeBarWinMessageAndHoverBoxWhereThePlayerLooks) {
    Unit* u = worker(0);
    float life = u->life;
    u->life = life / 4.0f;
    drawAndRead(0, 0, 1, 1);
    int sx = 0, sy = 0, size = 0;
    world->frustum->toScreen(u->position[0], u->position[1], u->position[2] + 1.0f, sx, sy, size, 640, 480);
    ASSERT_TRUE(lifeBarShown(sx, sy) && size > 20) << sx << "," << sy << " size " << size;
    // A row through the bar: one eighth in lies inside the remaining quarter, the middle in the loss.
    std::vector<unsigned char> row = drawAndRead(sx - size / 2, sy + 2, size, 1);
    u->life = life;
    const unsigned char* left = &row[(size / 8) * 4];
    const unsigned char* right = &row[(size / 2) * 4];
    EXPECT_TRUE(left[1] > 200 && left[0] < 100 && right[0] > right[1]);
    gMouseX = gMouseY = 20;  // out of the way of the win message, green over the middle
    std::vector<unsigned char> before = drawAndRead(120, 215, 400, 60);  // around the window centre
    world->unitManager->gameResult = 2;
    std::vector<unsigned char> won = drawAndRead(120, 215, 400, 60);
    world->unitManager->gameResult = 0;
    int greener = 0;
    for (size_t i = 0; i < won.size(); i += 4) {
        greener += (won[i + 1] > 180 && won[i] < 90 && won[i + 2] < 90) -
                   (before[i + 1] > 180 && before[i] < 90 && before[i + 2] < 90);
    }
    EXPECT_GT(greener, 300);
    // A crystal under the pointer gets its box even in the fog, 10 pixels up and right of the pointer tip.
    Crystal* far = 0;
    for (Crystal* c : world->unitManager->crystals) {
        far = c->position[0] > 40.0f && c->amount > 0.0f ? c : far;
    }
    ASSERT_NE(nullptr, far);
    world->update(1);
    EXPECT_TRUE(far->hidden);
    gMouseX = 400;
    gMouseY = 180;
    gPickPoint[0] = gPickPoint[1] = gPickPoint[2] = -50.0f;
    std::vector<unsigned char> without = drawAndRead(445, 318, 90, 1);
    std::copy(far->position, far->position + 3, gPickPoint);
    std::vector<unsigned char> with = drawAndRead(445, 318, 90, 1);
    int changed = 0;
    for (size_t i = 1; i < with.size(); i += 4) {
        changed += with[i] != without[i];
    }
    EXPECT_GT(changed, 45);
}
