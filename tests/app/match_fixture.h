#ifndef GELMARCH_TESTS_APP_MATCH_FIXTURE_H
#define GELMARCH_TESTS_APP_MATCH_FIXTURE_H

#include <SDL.h>

#include "support/gl_test.h"

class GameLoop;
class Unit;
class World;

// A 64-cell match with one enemy in the test window (640 x 480), its command panel and a frame loop, shared
// by the tests of one suite (building a World takes a while). Each test starts with an empty selection, no
// pending command, the camera at its start and the frame loop's flags cleared. gFont exists.
class MatchTest : public GlTest {
protected:
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // The human's first worker and the enemy's first worker.
    Unit* ownWorker(int i = 0);
    Unit* enemyWorker(int i = 0);

    static World* world;
    static GameLoop* loop;
};

// Hand-made SDL events as the player's devices send them; (x, y) in SDL pixels, y from the top.
SDL_Event motionEvent(int x, int y, int dx = 0, int dy = 0);
SDL_Event buttonEvent(bool down, int button, int x, int y);
SDL_Event keyEvent(bool down, SDLKey symbol);

#endif
