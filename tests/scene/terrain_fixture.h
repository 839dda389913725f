#ifndef GELMARCH_TESTS_SCENE_TERRAIN_FIXTURE_H
#define GELMARCH_TESTS_SCENE_TERRAIN_FIXTURE_H

#include "scene/terrain.h"
#include "support/gl_test.h"

// A freshly generated 64 map under a live GL context; tests that need known heights overwrite them.
class TerrainTest : public GlTest {
protected:
    Terrain* terrain = 0;

    void SetUp() override {
        GlTest::SetUp();
        if (!HasFatalFailure()) {
            terrain = new Terrain(64, 0);
        }
    }
    void TearDown() override {
        delete terrain;
        GlTest::TearDown();
    }

    float& h(int x, int y) { return terrain->heights[x + y * 65]; }

    template <typename F>
    void fill(F f) {
        for (int i = 0; i < 65 * 65; ++i) {
            terrain->heights[i] = f(i % 65, i / 65);
        }
    }
};

#endif
