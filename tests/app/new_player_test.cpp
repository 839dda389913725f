// A new player's two oddities: an enemy dot in the fog for a frame, wireframe frames picked far off the map.
#include "match_fixture.h"

class NewPlayerTest : public MatchTest {
protected:
    // Updates and draws a frame; counts the pixels of the enemy's red on the minimap quarter at its corner.
    int redDotPixels() {
        world->update(1);
        std::vector<unsigned char> p = drawAndRead(110, 110, 100, 100);
        int n = 0;
        for (size_t i = 0; i < p.size(); i += 4) {
            n += p[i] > 200 && p[i + 1] < 60 && p[i + 2] < 60;
        }
        return n;
    }
};

TEST_F(NewPlayerTest, MinimapShowsNoUnitTheFogCoversOnlyOneBornThereForItsFirstFrame) {
    UnitManager* m = world->unitManager;
    Unit* parent = worker(1);  // the enemy corner, far out of the human's sight
    EXPECT_EQ(0, redDotPixels());
    // A split that completes in the fog: the child is born after this frame's fog pass, with its fog flag
    // still clear, so its dot shows for that one frame and never again.
    parent->state = kSplit;
    parent->progress = 1.0f;
    size_t before = m->units.size();
    EXPECT_GT(redDotPixels(), 0);
    ASSERT_EQ(before + 1, m->units.size());
    EXPECT_EQ(0, redDotPixels());
    world->terrain->fogDisabled = true;  // without fog the measure sees the corner's dots
    EXPECT_GE(redDotPixels(), 32);
    world->terrain->fogDisabled = false;
    delete m->units.back();
    m->units.pop_back();
}

TEST_F(NewPlayerTest, WireframeFramesEndFilledAndPicksBetweenTheirLinesSendNoOrderOffTheMap) {
    UnitManager* m = world->unitManager;
    Unit* blob = worker(0);
    m->selection.push_back(blob);
    world->wireframe = true;
    redDotPixels();
    world->wireframe = false;
    // The HUD outlines its shapes in wireframe too, but the frame ends filled with the 3D state back.
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_TRUE(modes[0] == GL_FILL && glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_CULL_FACE) && !glIsEnabled(GL_BLEND));
    // The pointer between the lines reads the cleared depth: the pick is the far plane, off the map.
    int offMap = 0;
    for (gMouseX = 8, gMouseY = 120; gMouseX < 640; gMouseX += 16) {
        loop->pick();
        if (gPickPoint[0] < 0.0f || gPickPoint[1] < 0.0f || gPickPoint[0] > 64.0f || gPickPoint[1] > 64.0f ||
            fabsf(gPickPoint[2]) > 16.0f) {
            ++offMap;
            m->commandAt(gPickPoint);
            EXPECT_EQ(kIdle, blob->state) << gPickPoint[0] << " / " << gPickPoint[1] << " / " << gPickPoint[2];
        }
    }
    EXPECT_GT(offMap, 0);  // else the test sees nothing
}
