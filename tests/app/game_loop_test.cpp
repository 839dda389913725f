// The frame loop's mouse and keyboard handling on a real match: picking, selecting, orders, groups, leaving.
#include "match_fixture.h"
#include "render/font.h"
#include "render/frustum.h"

class GameLoopTest : public MatchTest {
protected:
    // Moves the pointer onto a world point of the last drawn frame and draws a frame, so the pick sees it.
    void pointAt(const float* p, int dx = 0, int dy = 0) {
        int x = 0, sy = 0, size = 0;
        world->frustum->toScreen(p[0], p[1], p[2], x, sy, size, gScreenWidth, gScreenHeight);
        loop->handleEvent(motionEvent(x + dx, gScreenHeight - sy + dy));
        loop->frame();
    }
    // A click at the pointer with the pick set to p.
    void click(int button, const float* p) {
        std::copy(p, p + 3, gPickPoint);
        loop->handleEvent(buttonEvent(true, button, 300, 200));
        loop->handleEvent(buttonEvent(false, button, 300, 200));
    }
};

TEST_F(GameLoopTest, ClickShiftClickAndABoxSelectWhatIsPickedAndCtrlDigitKeepsTheSelectionAsAGroup) {
    loop->frame();
    float ground[3] = {20.0f, 18.0f, world->terrain->height(20.0f, 18.0f)};
    pointAt(ground);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(ground[i], gPickPoint[i], 0.15f) << i;
    }
    UnitManager* m = world->unitManager;
    for (int i : {0, 2}) {  // the second click with shift held adds
        pointAt(worker(0, i)->position);
        loop->handleEvent(keyEvent(i > 0, SDLK_LSHIFT));
        loop->handleEvent(buttonEvent(true, SDL_BUTTON_LEFT, gMouseX, gMouseY));
        loop->handleEvent(buttonEvent(false, SDL_BUTTON_LEFT, gMouseX, gMouseY));
        ASSERT_EQ(i / 2 + 1u, m->selection.size());
        EXPECT_EQ(worker(0, i), m->selection.back());
    }
    EXPECT_EQ(1, gCommandButtons[1]->enabled);  // the panel follows the selection
    loop->handleEvent(keyEvent(false, SDLK_LSHIFT));
    // A box a little outside the outer two workers (they lie on a diagonal, the third between them).
    pointAt(worker(0, 0)->position, -40, 40);
    loop->handleEvent(buttonEvent(true, SDL_BUTTON_LEFT, gMouseX, gMouseY));
    pointAt(worker(0, 2)->position, 40, -40);
    loop->handleEvent(buttonEvent(false, SDL_BUTTON_LEFT, gMouseX, gMouseY));
    EXPECT_EQ(3u, m->selection.size());
    std::vector<Unit*> group = m->selection;
    loop->handleEvent(keyEvent(true, SDLK_RCTRL));
    loop->handleEvent(keyEvent(true, SDLK_3));
    loop->handleEvent(keyEvent(false, SDLK_RCTRL));
    m->selection.clear();
    rebuildCommandPanel();
    loop->handleEvent(keyEvent(true, SDLK_3));
    EXPECT_TRUE(m->selection == group && gCommandButtons[0]->enabled);  // the panel is rebuilt for it
    m->groups[2].clear();
}

TEST_F(GameLoopTest, RightClickMovesAndPanelModesAttackOrMineWhereTheNextClickLands) {
    UnitManager* m = world->unitManager;
    Unit* u = worker(0, 1);
    m->selection.push_back(u);
    gCommandMode = 2;  // a right click also drops a pending command
    const float ground[3] = {22.0f, 12.0f, 0.0f}, base[3] = {15.0f, 15.0f, 0.0f};
    click(SDL_BUTTON_RIGHT, ground);
    EXPECT_TRUE(gCommandMode == 0 && u->state == kMove);
    EXPECT_TRUE(std::fabs(u->destination[0] - 22.0f) < 1e-4f && std::fabs(u->destination[1] - 12.0f) < 1e-4f);
    loop->handleEvent(keyEvent(true, SDLK_d));  // mine the crystal nearest the click
    click(SDL_BUTTON_LEFT, base);
    EXPECT_TRUE(u->state == kMine && u->crystal == m->nearestCrystal(15.0f, 15.0f, 0.0f));
    u->type = kMuffin;  // attack the unit under the click, or attack-move to the ground
    Unit* enemy = worker(1);
    enemy->hidden = false;
    loop->handleEvent(keyEvent(true, SDLK_a));
    click(SDL_BUTTON_LEFT, enemy->position);
    EXPECT_TRUE(gCommandMode == 0 && u->state == kAttack && u->target == enemy);
    loop->handleEvent(keyEvent(true, SDLK_a));
    click(SDL_BUTTON_LEFT, ground);
    EXPECT_EQ(kAttackMove, u->state);
}

// Escape queued with SDL is handled in the match's first frame, which is still drawn and picked.
TEST(RunGame, EscapeEndsTheMatchAfterItsFrameAndLeavesNoPanelOrWorld) {
    ASSERT_TRUE(ensureGlContext());
    gFont = gFont ? gFont : new Font();
    gMapSize = 64;
    gNumEnemies = 1;
    gScreenWidth = 640;
    gScreenHeight = 480;
    gPickPoint[0] = -1000.0f;
    SDL_Event escape = keyEvent(true, SDLK_ESCAPE);
    ASSERT_EQ(0, SDL_PushEvent(&escape));
    runGame();
    EXPECT_NE(-1000.0f, gPickPoint[0]);
    EXPECT_TRUE(gWorld == 0 && gCommandButtons[0] == 0 && gCommandTooltips[8] == 0);
}
