// A new player's two oddities: an enemy dot in the fog for a frame, wireframe picks far off the map.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

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

TEST_F(NewPlayerTest, MinimapShowsNoUnitTheFogCoversOnlyOneBornThereForItsFirstFrame) {
    UnitManager* m = world->unitManager;
    Unit* parent = worker(1);  // the enemy corner, (50, 50), far out of the human's sight
    world->update(1);
    drawFrame();
    EXPECT_EQ(0, redDotPixels()) << "a unit in the fog shows on the minimap";
    // A split that completes in the fog: the child is born after this frame's fog pass, with its fog flag
    // still clear, so its dot shows for that one frame (the red dot seen in play) and never again.
    parent->state = kSplit;
    parent->progress = 1.0f;
    size_t before = m->units.size();
    world->update(1);
    ASSERT_EQ(before + 1, m->units.size());
    Unit* child = m->units.back();
    drawFrame();
    EXPECT_GT(redDotPixels(), 0);
    world->update(1);
    drawFrame();
    EXPECT_EQ(0, redDotPixels()) << "the child still shows after the next fog pass";
    // Without fog the same corner shows its dots: the measure sees them.
    world->terrain->fogDisabled = true;
    world->update(1);
    drawFrame();
    world->terrain->fogDisabled = false;
    EXPECT_GE(redDotPixels(), 32);
    m->units.pop_back();
    delete child;
}

TEST_F(NewPlayerTest, WireframePicksBetweenLinesSendNoOrderOffTheMap) {
    UnitManager* m = world->unitManager;
    Unit* blob = worker(0);
    m->selection.push_back(blob);
    world->update(1);
    world->wireframe = true;
    drawFrame();
    world->wireframe = false;
    // The pointer between the lines reads the cleared depth: the pick is the far plane, off the map.
    int offMap = 0;
    for (int i = 0; i < 40; ++i) {
        gMouseX = 8 + i * 16;
        gMouseY = 120;
        loop->pick();
        bool outside = gPickPoint[0] < 0.0f || gPickPoint[1] < 0.0f || gPickPoint[0] > 64.0f ||
                       gPickPoint[1] > 64.0f || fabsf(gPickPoint[2]) > 16.0f;
        if (!outside) {
            continue;
        }
        ++offMap;
        m->commandAt(gPickPoint);
        EXPECT_EQ(kIdle, blob->state) << "a right click sent the Blob to " << gPickPoint[0] << " / "
                                      << gPickPoint[1] << " / " << gPickPoint[2];
    }
    EXPECT_GT(offMap, 0) << "no pick between the lines: the test sees nothing";
    m->selection.clear();
}
