// The frame loop's mouse and keyboard handling on a real match: picking what is under the pointer,
// click, shift-click and box selection, right-click and panel orders, control groups, leaving and resizing.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/command_panel.h"
#include "app/game_loop.h"
#include "app/globals.h"
#include "app/world.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "match_fixture.h"
#include "render/control.h"
#include "render/font.h"
#include "render/frustum.h"
#include "scene/terrain.h"

class GameLoopTest : public MatchTest {
protected:
    // SDL position of a world point in the view of the last drawn frame.
    void sdlPosition(const float* p, int& x, int& y) {
        int sy = 0, size = 0;
        world->frustum->toScreen(p[0], p[1], p[2], x, sy, size, gScreenWidth, gScreenHeight);
        y = gScreenHeight - sy;
    }
    // Moves the pointer and draws a frame, so the pick sees what is under it.
    void pointAt(int x, int y) {
        loop->handleEvent(motionEvent(x, y));
        loop->frame();
    }
    void click(int button, int x = 300, int y = 200) {
        loop->handleEvent(buttonEvent(true, button, x, y));
        loop->handleEvent(buttonEvent(false, button, x, y));
    }
    void aimAt(const float* p) {
        std::copy(p, p + 3, gPickPoint);
    }
};

TEST_F(GameLoopTest, ClickShiftClickAndABoxSelectWhatIsPickedUnderThePointer) {
    loop->frame();
    float ground[3] = {20.0f, 18.0f, world->terrain->height(20.0f, 18.0f)};
    int x = 0, y = 0;
    sdlPosition(ground, x, y);
    pointAt(x, y);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(ground[i], gPickPoint[i], 0.15f) << i;
    }
    UnitManager* m = world->unitManager;
    for (int i : {0, 2}) {  // the second click with shift held adds
        sdlPosition(worker(0, i)->position, x, y);
        pointAt(x, y);
        loop->handleEvent(keyEvent(i > 0, SDLK_LSHIFT));
        click(SDL_BUTTON_LEFT, x, y);
        ASSERT_EQ(i / 2 + 1u, m->selection.size());
        EXPECT_EQ(worker(0, i), m->selection.back());
    }
    EXPECT_EQ(1, gCommandButtons[1]->enabled);  // the panel follows the selection
    loop->handleEvent(keyEvent(false, SDLK_LSHIFT));

    // Corners a little outside the outer two workers (the second lies between them).
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    sdlPosition(worker(0, 0)->position, x0, y0);
    sdlPosition(worker(0, 2)->position, x1, y1);
    pointAt(std::min(x0, x1) - 40, std::min(y0, y1) - 40);
    loop->handleEvent(buttonEvent(true, SDL_BUTTON_LEFT, gMouseX, gMouseY));
    EXPECT_TRUE(loop->selecting && 480 - gMouseY == gDragStartY);
    pointAt(std::max(x0, x1) + 40, std::max(y0, y1) + 40);
    loop->handleEvent(buttonEvent(false, SDL_BUTTON_LEFT, gMouseX, gMouseY));
    EXPECT_FALSE(loop->selecting);
    EXPECT_EQ(3u, m->selection.size());
}

TEST_F(GameLoopTest, RightClickMovesAndPanelModesAttackOrMineWhereTheNextClickLands) {
    UnitManager* m = world->unitManager;
    Unit* u = worker(0, 1);
    m->selection.push_back(u);
    gCommandMode = 2;  // a right click also drops a pending command
    const float ground[3] = {22.0f, 12.0f, 0.0f};
    aimAt(ground);
    click(SDL_BUTTON_RIGHT);
    EXPECT_EQ(0, gCommandMode);
    EXPECT_EQ(kMove, u->state);
    EXPECT_NEAR(22.0f, u->destination[0], 1e-4f);
    EXPECT_NEAR(12.0f, u->destination[1], 1e-4f);

    // Mine: the crystal nearest the click.
    const float base[3] = {15.0f, 15.0f, 0.0f};
    loop->handleEvent(keyEvent(true, SDLK_d));
    aimAt(base);
    click(SDL_BUTTON_LEFT);
    EXPECT_EQ(kMine, u->state);
    EXPECT_EQ(m->nearestCrystal(15.0f, 15.0f, 0.0f), u->crystal);

    // Attack: the unit under the click, or attack-move to the ground.
    u->type = kMuffin;
    Unit* enemy = worker(1);
    enemy->hidden = false;
    loop->handleEvent(keyEvent(true, SDLK_a));
    aimAt(enemy->position);
    click(SDL_BUTTON_LEFT);
    EXPECT_EQ(0, gCommandMode);
    EXPECT_EQ(kAttack, u->state);
    EXPECT_EQ(enemy, u->target);
    loop->handleEvent(keyEvent(true, SDLK_a));
    aimAt(ground);
    click(SDL_BUTTON_LEFT);
    EXPECT_EQ(kAttackMove, u->state);
}

TEST_F(GameLoopTest, CtrlDigitStoresAGroupAndTheDigitAloneRecallsIt) {
    UnitManager* m = world->unitManager;
    m->selection.push_back(worker(0, 0));
    m->selection.push_back(worker(0, 2));
    loop->handleEvent(keyEvent(true, SDLK_RCTRL));
    loop->handleEvent(keyEvent(true, SDLK_3));
    loop->handleEvent(keyEvent(false, SDLK_RCTRL));
    EXPECT_EQ(2u, m->groups[2].size());
    m->selection.clear();
    rebuildCommandPanel();
    loop->handleEvent(keyEvent(true, SDLK_3));
    ASSERT_EQ(2u, m->selection.size());
    EXPECT_EQ(worker(0, 2), m->selection[1]);
    EXPECT_EQ(1, gCommandButtons[0]->enabled);  // rebuilt for the recalled group
    m->groups[2].clear();
}

TEST_F(GameLoopTest, ClosingEndsResizingKeepsThePanelAndFramesAreCountedOnceASecond) {
    SDL_Event event = SDL_Event();
    event.type = SDL_QUIT;
    loop->handleEvent(event);
    EXPECT_TRUE(loop->quit);
    event.type = SDL_VIDEORESIZE;
    event.resize.w = 800;
    event.resize.h = 600;
    loop->handleEvent(event);
    EXPECT_TRUE(gScreenWidth == 800 && gScreenHeight == 600);
    EXPECT_FLOAT_EQ(460.0f, gCommandButtons[0]->x);
    glViewport(0, 0, 640, 480);
    gFps = -1;
    for (unsigned int start = SDL_GetTicks(); gFps < 0 && SDL_GetTicks() - start < 5000u;) {
        loop->frame();
    }
    EXPECT_GE(gFps, 1);  // the count of the second that just ended, taken in a frame after it
}

// The whole match from the menu's settings: Escape queued with SDL is handled in the first frame, which is
// still drawn and picked.
TEST(RunGame, EscapeEndsTheMatchAfterItsFrameAndLeavesNoPanelOrWorld) {
    ASSERT_TRUE(ensureGlContext());
    if (!gFont) {
        gFont = new Font();
    }
    gMapSize = 64;
    gNumEnemies = 1;
    gScreenWidth = 640;
    gScreenHeight = 480;
    gMouseX = 320;
    gMouseY = 240;
    gPickPoint[0] = -1000.0f;
    SDL_Event escape = keyEvent(true, SDLK_ESCAPE);
    ASSERT_EQ(0, SDL_PushEvent(&escape));
    runGame();
    EXPECT_NE(-1000.0f, gPickPoint[0]);
    EXPECT_TRUE(gWorld == 0);
    EXPECT_TRUE(gCommandButtons[0] == 0 && gCommandTooltips[8] == 0);
}
