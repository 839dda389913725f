#ifndef GELMARCH_TESTS_SCENE_TERRAIN_FIXTURE_H
#define GELMARCH_TESTS_SCENE_TERRAIN_FIXTURE_H

#include <cstdlib>

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

    // Every vertex to f(x, y).
    template <typename F>
    void fill(F f) {
        for (int y = 0; y <= 64; ++y) {
            for (int x = 0; x <= 64; ++x) {
                h(x, y) = f(x, y);
            }
        }
    }
};

// How many rand() calls followed srand(seed) before the one that returned next.
inline int randCallsBefore(unsigned seed, int next) {
    srand(seed);
    for (int n = 0; n < 100000; ++n) {
        if (rand() == next) {
            return n;
        }
    }
    return -1;
}

#endif
