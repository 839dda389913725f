#include <gtest/gtest.h>

#include "terrain_fixture.h"

namespace {

int fogAt(Terrain* terrain, int x, int y) {
    return terrain->fogMap[(y * terrain->size + x) * 4 + 3];
}

}  // namespace

TEST_F(TerrainTest, FogStartsClearAndResetFogsEveryTexel) {
    for (int i = 0; i < 64 * 64 * 4; ++i) {
        ASSERT_EQ(0, terrain->fogMap[i]);
    }
    terrain->resetFog();
    for (int i = 0; i < 64 * 64; ++i) {
        ASSERT_EQ(128, terrain->fogMap[i * 4 + 3]);
        // Only the darkness changes.
        ASSERT_EQ(0, terrain->fogMap[i * 4 + 0]);
        ASSERT_EQ(0, terrain->fogMap[i * 4 + 1]);
        ASSERT_EQ(0, terrain->fogMap[i * 4 + 2]);
    }
}

TEST_F(TerrainTest, RevealClearsADiscWithASoftEdge) {
    terrain->resetFog();
    terrain->revealFog(10.2f, 10.2f);
    EXPECT_EQ(0, fogAt(terrain, 10, 10));
    // Texel (2, 10): centre (2.5, 10.5), distance 7.706: trunc(0.706 * 128) = 90.
    EXPECT_EQ(90, fogAt(terrain, 2, 10));
    // Texel (17, 10): distance 7.306: trunc(0.306 * 128) = 39.
    EXPECT_EQ(39, fogAt(terrain, 17, 10));
    // Texel (18, 10): distance 8.305, beyond the edge.
    EXPECT_EQ(128, fogAt(terrain, 18, 10));
    // Texel (1, 10) lies outside the 17 x 17 window (2..18).
    EXPECT_EQ(128, fogAt(terrain, 1, 10));
    // Texel (15, 15): distance sqrt(4.8^2 + 4.8^2) = 6.79: clear.
    EXPECT_EQ(0, fogAt(terrain, 14, 14));
    EXPECT_EQ(128, fogAt(terrain, 30, 30));
}

TEST_F(TerrainTest, RevealOnlyLightens) {
    terrain->resetFog();
    terrain->revealFog(10.2f, 10.2f);
    // A second unit whose soft edge crosses the first one's disc does not darken it.
    terrain->revealFog(24.9f, 10.2f);
    EXPECT_EQ(0, fogAt(terrain, 10, 10));
    // Texel (17, 10): 39 from the first unit, 51 from the second (distance 7.406): the lighter stays.
    EXPECT_EQ(39, fogAt(terrain, 17, 10));
    // Texel (18, 10): beyond the first unit's edge, well inside the second's disc.
    EXPECT_EQ(0, fogAt(terrain, 18, 10));
    // Texel (2, 10) is outside the second window (17..33): still 90.
    EXPECT_EQ(90, fogAt(terrain, 2, 10));
    // Texel (3, 13): distance sqrt(6.7^2 + 3.3^2) = 7.469 from the first: 59.
    EXPECT_EQ(59, fogAt(terrain, 3, 13));
}

TEST_F(TerrainTest, RevealAtTheMapEdgeStaysInsideTheMap) {
    terrain->resetFog();
    terrain->revealFog(0.3f, 63.6f);
    EXPECT_EQ(0, fogAt(terrain, 0, 63));
    EXPECT_EQ(0, fogAt(terrain, 4, 59));
    // Texel (5, 58): distance sqrt(5.2^2 + 5.1^2) = 7.284: 36.
    EXPECT_EQ(36, fogAt(terrain, 5, 58));
    EXPECT_EQ(128, fogAt(terrain, 10, 50));
}

TEST_F(TerrainTest, VisibleBelowAlpha64) {
    terrain->resetFog();
    terrain->fogMap[(20 * 64 + 30) * 4 + 3] = 63;
    terrain->fogMap[(20 * 64 + 31) * 4 + 3] = 64;
    EXPECT_TRUE(terrain->isVisible(30.0f, 20.0f));
    EXPECT_FALSE(terrain->isVisible(31.0f, 20.0f));
    // Positions round to the nearest texel index: 30.4 reads texel 30, 30.5 texel 31.
    EXPECT_TRUE(terrain->isVisible(30.4f, 19.6f));
    EXPECT_FALSE(terrain->isVisible(30.5f, 20.0f));
    EXPECT_FALSE(terrain->isVisible(40.0f, 40.0f));
}

TEST_F(TerrainTest, DisabledFogLeavesEverythingVisible) {
    terrain->fogDisabled = true;
    terrain->resetFog();
    for (int i = 0; i < 64 * 64; ++i) {
        ASSERT_EQ(0, terrain->fogMap[i * 4 + 3]);
    }
    terrain->revealFog(32.0f, 32.0f);
    for (int y = 0; y < 64; y += 3) {
        for (int x = 0; x < 64; x += 3) {
            ASSERT_TRUE(terrain->isVisible((float)x, (float)y)) << x << "," << y;
        }
    }
    // Switching it back fogs the next frame again.
    terrain->fogDisabled = false;
    terrain->resetFog();
    EXPECT_FALSE(terrain->isVisible(5.0f, 5.0f));
}
