#ifndef GELMARCH_TESTS_APP_MATCH_FIXTURE_H
#define GELMARCH_TESTS_APP_MATCH_FIXTURE_H

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/command_panel.h"
#include "app/game_loop.h"
#include "app/globals.h"
#include "app/world.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "render/control.h"
#include "scene/terrain.h"
#include "support/gl_test.h"

// A 64-cell match with one enemy (asked for none: the first always plays), its command panel and frame
// loop in the 640 x 480 test window, shared by a suite (a World is slow to build). Each test starts with
// idle Blobs, nothing selected, the start camera; its sounds are open.
class MatchTest : public GlTest {
protected:
    static void TearDownTestSuite();
    void SetUp() override;
    Unit* worker(int player, int i = 0);  // worker i (0..2) of a player
    // Draws a frame of the match and reads back the RGBA of a window rectangle (from the bottom-left).
    std::vector<unsigned char> drawAndRead(int x, int y, int w, int h);

    static World* world;
    static GameLoop* loop;
};

// SDL events as the player's devices send them; (x, y) in SDL pixels, y from the top.
SDL_Event motionEvent(int x, int y, int dx = 0, int dy = 0);
SDL_Event buttonEvent(bool down, int button, int x, int y);
SDL_Event keyEvent(bool down, SDLKey symbol);

#endif
