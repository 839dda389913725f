// The frame loop's mouse and keyboard handling on a real match: picking what is under the pointer,
// click, shift-click and box selection, right-click and panel orders, control groups, leaving and resizing.
#include <gtest/gtest.h>

#include <cmath>

#include "app/command_panel.h"
#include "app/game_loop.h"
#include "app/globals.h"
#include "app/world.h"
#include "game/crystal.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "match_fixture.h"
#include "render/control.h"
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
    void click(int button, int x, int y) {
        loop->handleEvent(buttonEvent(true, button, x, y));
        loop->handleEvent(buttonEvent(false, button, x, y));
    }
    void TearDown() override {
        for (Unit* u : world->unitManager->units) {
            u->type = kBlob;
            u->state = kIdle;
            u->target = 0;
        }
        MatchTest::TearDown();
    }
};

TEST_F(GameLoopTest, PickFindsTheGroundUnderThePointer) {
    loop->frame();
    float ground[3] = {20.0f, 18.0f, world->terrain->height(20.0f, 18.0f)};
    int x = 0, y = 0;
    sdlPosition(ground, x, y);
    pointAt(x, y);
    EXPECT_NEAR(20.0f, gPickPoint[0], 0.15f);
    EXPECT_NEAR(18.0f, gPickPoint[1], 0.15f);
    EXPECT_NEAR(ground[2], gPickPoint[2], 0.15f);
}

TEST_F(GameLoopTest, ClickSelectsTheWorkerUnderThePointerAndShiftAddsAnother) {
    loop->frame();
    Unit* first = ownWorker(0);
    Unit* third = ownWorker(2);
    int x = 0, y = 0;
    sdlPosition(first->position, x, y);
    pointAt(x, y);
    click(SDL_BUTTON_LEFT, x, y);
    ASSERT_EQ(1u, world->unitManager->selection.size());
    EXPECT_EQ(first, world->unitManager->selection[0]);
    EXPECT_FALSE(loop->selecting);
    EXPECT_EQ(1, gCommandButtons[1]->enabled);  // the panel follows the selection

    sdlPosition(third->position, x, y);
    pointAt(x, y);
    loop->handleEvent(keyEvent(true, SDLK_LSHIFT));
    click(SDL_BUTTON_LEFT, x, y);
    loop->handleEvent(keyEvent(false, SDLK_LSHIFT));
    ASSERT_EQ(2u, world->unitManager->selection.size());
    EXPECT_EQ(third, world->unitManager->selection[1]);

    // A click on empty ground leaves the selection as it is.
    pointAt(600, 60);
    click(SDL_BUTTON_LEFT, 600, 60);
    EXPECT_EQ(2u, world->unitManager->selection.size());
}

TEST_F(GameLoopTest, DraggingABoxSelectsTheWorkersInsideIt) {
    loop->frame();
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    sdlPosition(ownWorker(0)->position, x0, y0);
    sdlPosition(ownWorker(2)->position, x1, y1);
    // Corners a little outside the outer two workers (the second lies between them).
    int left = (x0 < x1 ? x0 : x1) - 40, right = (x0 < x1 ? x1 : x0) + 40;
    int top = (y0 < y1 ? y0 : y1) - 40, bottom = (y0 < y1 ? y1 : y0) + 40;
    pointAt(left, top);
    loop->handleEvent(buttonEvent(true, SDL_BUTTON_LEFT, left, top));
    EXPECT_TRUE(loop->selecting);
    EXPECT_EQ(left, gDragStartX);
    EXPECT_EQ(480 - top, gDragStartY);
    float cameraX = world->cameraX;
    pointAt(right, bottom);
    EXPECT_FLOAT_EQ(cameraX, world->cameraX);  // no edge scrolling while dragging
    loop->handleEvent(buttonEvent(false, SDL_BUTTON_LEFT, right, bottom));
    EXPECT_FALSE(loop->selecting);
    EXPECT_EQ(3u, world->unitManager->selection.size());
}

TEST_F(GameLoopTest, RightClickOnTheGroundMovesTheSelection) {
    Unit* u = ownWorker(1);
    world->unitManager->selection.push_back(u);
    gCommandMode = 2;  // a right click also drops a pending command
    gPickPoint[0] = 22.0f;
    gPickPoint[1] = 12.0f;
    gPickPoint[2] = world->terrain->height(22.0f, 12.0f);
    click(SDL_BUTTON_RIGHT, 300, 200);
    EXPECT_EQ(0, gCommandMode);
    EXPECT_EQ(kMove, u->state);
    EXPECT_NEAR(22.0f, u->destination[0], 1e-4f);
    EXPECT_NEAR(12.0f, u->destination[1], 1e-4f);
}

TEST_F(GameLoopTest, AttackModeClickOnAUnitAttacksItAndOnGroundAttackMoves) {
    Unit* fighter = ownWorker(0);
    fighter->type = kMuffin;
    Unit* enemy = enemyWorker(0);
    enemy->hidden = false;
    world->unitManager->selection.push_back(fighter);
    rebuildCommandPanel();
    loop->handleEvent(keyEvent(true, SDLK_a));
    EXPECT_EQ(2, gCommandMode);
    for (int i = 0; i < 3; ++i) {
        gPickPoint[i] = enemy->position[i];
    }
    click(SDL_BUTTON_LEFT, 300, 200);
    EXPECT_EQ(0, gCommandMode);
    EXPECT_EQ(kAttack, fighter->state);
    EXPECT_EQ(enemy, fighter->target);

    loop->handleEvent(keyEvent(true, SDLK_a));
    gPickPoint[0] = 30.0f;
    gPickPoint[1] = 25.0f;
    gPickPoint[2] = world->terrain->height(30.0f, 25.0f);
    click(SDL_BUTTON_LEFT, 300, 200);
    EXPECT_EQ(kAttackMove, fighter->state);
}

TEST_F(GameLoopTest, MineModeSendsTheWorkerToTheNearestCrystal) {
    Unit* worker = ownWorker(0);
    world->unitManager->selection.push_back(worker);
    Crystal* nearest = world->unitManager->nearestCrystal(15.0f, 15.0f, 0.0f);
    ASSERT_NE(nullptr, nearest);
    loop->handleEvent(keyEvent(true, SDLK_d));
    gPickPoint[0] = 15.0f;
    gPickPoint[1] = 15.0f;
    gPickPoint[2] = 0.0f;
    click(SDL_BUTTON_LEFT, 300, 200);
    EXPECT_EQ(0, gCommandMode);
    EXPECT_EQ(kMine, worker->state);
    EXPECT_EQ(nearest, worker->crystal);
}

TEST_F(GameLoopTest, CtrlDigitStoresAGroupAndTheDigitAloneRecallsIt) {
    UnitManager* m = world->unitManager;
    m->selection.push_back(ownWorker(0));
    m->selection.push_back(ownWorker(2));
    loop->handleEvent(keyEvent(true, SDLK_RCTRL));
    loop->handleEvent(keyEvent(true, SDLK_3));
    loop->handleEvent(keyEvent(false, SDLK_RCTRL));
    EXPECT_EQ(2u, m->groups[2].size());
    m->selection.clear();
    rebuildCommandPanel();
    loop->handleEvent(keyEvent(true, SDLK_3));
    ASSERT_EQ(2u, m->selection.size());
    EXPECT_EQ(ownWorker(2), m->selection[1]);
    EXPECT_EQ(1, gCommandButtons[0]->enabled);  // the panel was rebuilt for the recalled group
    m->groups[2].clear();
}

TEST_F(GameLoopTest, EscapeOrClosingEndsTheMatchAndResizingKeepsThePanel) {
    loop->handleEvent(keyEvent(true, SDLK_ESCAPE));
    EXPECT_TRUE(loop->quit);
    loop->quit = false;
    SDL_Event close;
    close.type = SDL_QUIT;
    loop->handleEvent(close);
    EXPECT_TRUE(loop->quit);
    loop->quit = false;

    SDL_Event resize;
    resize.type = SDL_VIDEORESIZE;
    resize.resize.w = 800;
    resize.resize.h = 600;
    loop->handleEvent(resize);
    EXPECT_EQ(800, gScreenWidth);
    EXPECT_EQ(600, gScreenHeight);
    EXPECT_FLOAT_EQ(460.0f, gCommandButtons[0]->x);
    EXPECT_FLOAT_EQ(130.0f, gCommandButtons[0]->y);
    glViewport(0, 0, 640, 480);
}

TEST_F(GameLoopTest, EventsQueuedWithSdlAreHandledByTheNextFrame) {
    SDL_Event e = keyEvent(true, SDLK_F2);
    ASSERT_EQ(0, SDL_PushEvent(&e));
    bool before = world->showInfo;
    loop->frame();
    EXPECT_NE(before, world->showInfo);
    world->showInfo = before;
}
