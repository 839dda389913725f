// A new player's two oddities: an enemy dot in the fog for a frame, wireframe picks far off the map.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/camera.h"
#include "app/game_loop.h"
#include "app/globals.h"
#include "app/world.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "match_fixture.h"
#include "scene/terrain.h"

class NewPlayerTest : public MatchTest {
protected:
    void drawFrame() {
        glViewport(0, 0, 640, 480);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        world->draw(false);
    }
    // Pixels of the enemy's (player 1, red) dot colour on the minimap's quarter around the enemy corner.
    int redDotPixels() {
        std::vector<unsigned char> p(100 * 100 * 4);
        glReadPixels(110, 110, 100, 100, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        int n = 0;
        for (size_t i = 0; i < p.size(); i += 4) {
            n += p[i] > 200 && p[i + 1] < 60 && p[i + 2] < 60;
        }
        return n;
    }
};

TEST_F(NewPlayerTest, MinimapNeverShowsAUnitInTheFogNotEvenOneJustSplitOff) {
    UnitManager* m = world->unitManager;
    Unit* parent = worker(1);  // the enemy corner, (50, 50), far out of the human's sight
    parent->state = kSplit;
    parent->progress = 1.0f;
    size_t before = m->units.size();
    world->update(1);  // the split completes in this update
    ASSERT_EQ(before + 1, m->units.size());
    Unit* child = m->units.back();
    drawFrame();
    EXPECT_EQ(0, redDotPixels()) << "a unit in the fog shows on the minimap";
    // Without fog the same corner shows its four red dots (4 x 4 pixels each, overlapping): the measure sees them.
    world->terrain->fogDisabled = true;
    world->update(1);
    drawFrame();
    world->terrain->fogDisabled = false;
    EXPECT_GE(redDotPixels(), 32);
    m->units.pop_back();
    delete child;
}

TEST_F(NewPlayerTest, PickBetweenWireframeLinesFindsTheGroundTheFilledViewShows) {
    world->update(1);
    // A row of pointer positions across the view above the panel, picked filled and then in wireframe.
    float filled[40][3], lines[40][3];
    for (int pass = 0; pass < 2; ++pass) {
        world->wireframe = pass == 1;
        drawFrame();
        for (int i = 0; i < 40; ++i) {
            gMouseX = 8 + i * 16;
            gMouseY = 120;
            loop->pick();
            std::copy(gPickPoint, gPickPoint + 3, pass == 0 ? filled[i] : lines[i]);
        }
    }
    world->wireframe = false;
    int offMap = 0, agree = 0;
    for (int i = 0; i < 40; ++i) {
        offMap += !(lines[i][0] > 0.0f && lines[i][0] < 64.0f && lines[i][1] > 0.0f && lines[i][1] < 64.0f);
        agree += fabsf(lines[i][0] - filled[i][0]) < 0.1f && fabsf(lines[i][1] - filled[i][1]) < 0.1f &&
                 fabsf(lines[i][2] - filled[i][2]) < 0.1f;
    }
    EXPECT_EQ(0, offMap) << "picks far off the map, e.g. " << lines[0][0] << " / " << lines[0][1];
    EXPECT_GE(agree, 36) << "units and crystals may stand between the two picks, not the ground";
    // Lines high above the ground, off each side of the map, and one straight down onto it.
    const float cases[6][2][3] = {{{10, 10, 40}, {60, 50, 45}}, {{-30, 10, 40}, {-5, 60, -40}},
                                  {{10, -30, 40}, {60, -5, -40}}, {{94, 10, 40}, {70, 60, -40}},
                                  {{10, 94, 40}, {60, 70, -40}}, {{20, 30, 40}, {20, 30, -40}}};
    for (int i = 0; i < 6; ++i) {
        float hit[3] = {7.0f, 7.0f, 7.0f};
        EXPECT_EQ(i == 5, groundAlongLine(*world->terrain, cases[i][0], cases[i][1], hit)) << "line " << i;
        EXPECT_NEAR(i == 5 ? world->terrain->height(20.0f, 30.0f) : 7.0f, hit[2], 0.01f) << "line " << i;
    }
}
