#ifndef GELMARCH_TESTS_SCENE_TERRAIN_FIXTURE_H
#define GELMARCH_TESTS_SCENE_TERRAIN_FIXTURE_H

#include "scene/terrain.h"
#include "support/gl_test.h"

// A freshly generated map under a live GL context. Tests that need known heights overwrite them.
class TerrainTest : public GlTest {
protected:
    Terrain* terrain = 0;

    void SetUp() override {
        GlTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        terrain = new Terrain(64, 0);
    }
    void TearDown() override {
        delete terrain;
        GlTest::TearDown();
    }

    float& h(int x, int y) { return terrain->heights[x + y * (terrain->size + 1)]; }

    // A plane h = x + 100 y: bilinear interpolation reproduces it exactly, so clamped and unclamped
    // queries can be worked out by hand.
    void plane() {
        for (int y = 0; y <= terrain->size; ++y) {
            for (int x = 0; x <= terrain->size; ++x) {
                h(x, y) = (float)x + 100.0f * (float)y;
            }
        }
    }

    // Every vertex to the same height.
    void level(float value) {
        for (int y = 0; y <= terrain->size; ++y) {
            for (int x = 0; x <= terrain->size; ++x) {
                h(x, y) = value;
            }
        }
    }
};

#endif
