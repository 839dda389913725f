#include <gtest/gtest.h>

#include "terrain_fixture.h"

namespace {

int fogAt(Terrain* terrain, int x, int y) {
    return terrain->fogMap[(y * 64 + x) * 4 + 3];
}

}  // namespace

TEST_F(TerrainTest, ResetFogsEveryTexelOrClearsThemAllWhileDisabled) {
    for (int pass = 0; pass < 3; ++pass) {
        // Starts all zero; reset then changes only the darkness byte: 128, or 0 while the fog is disabled.
        int alpha = pass == 1 ? 128 : 0;
        for (int i = 0; i < 64 * 64 * 4; ++i) {
            ASSERT_EQ(i % 4 == 3 ? alpha : 0, terrain->fogMap[i]) << "pass " << pass << ", byte " << i;
            ASSERT_EQ(alpha == 0, terrain->isVisible((float)(i / 4 % 64), (float)(i / 256)));
        }
        terrain->fogDisabled = pass == 1;
        terrain->resetFog();
    }
}

TEST_F(TerrainTest, RevealClearsADiscOfSevenWithASoftEdgeAndOnlyLightens) {
    terrain->resetFog();
    terrain->revealFog(10.2f, 10.2f);
    EXPECT_EQ(0, fogAt(terrain, 10, 10));
    // Texel (2, 10): centre (2.5, 10.5), distance 7.706: trunc(0.706 * 128) = 90.
    EXPECT_EQ(90, fogAt(terrain, 2, 10));
    // Texel (17, 10): distance 7.306, 39. Texel (18, 10): distance 8.305, beyond the edge.
    EXPECT_EQ(39, fogAt(terrain, 17, 10));
    EXPECT_EQ(128, fogAt(terrain, 18, 10));
    // Texel (1, 10) lies outside the 17 x 17 window (2..18); texel (3, 13) at distance 7.469 gets 59.
    EXPECT_EQ(128, fogAt(terrain, 1, 10));
    EXPECT_EQ(59, fogAt(terrain, 3, 13));

    // A second unit whose soft edge crosses texel (17, 10) (distance 7.406, 51) leaves the lighter 39.
    terrain->revealFog(24.9f, 10.2f);
    EXPECT_EQ(39, fogAt(terrain, 17, 10));
    EXPECT_EQ(0, fogAt(terrain, 18, 10));

    // At the map corner the window is cut to the map: texel (5, 58) at distance 7.284 gets 36.
    terrain->revealFog(0.3f, 63.6f);
    EXPECT_EQ(0, fogAt(terrain, 0, 63));
    EXPECT_EQ(36, fogAt(terrain, 5, 58));
    EXPECT_EQ(128, fogAt(terrain, 10, 50));
}

TEST_F(TerrainTest, VisibleBelowAlpha64AtTheNearestTexel) {
    terrain->resetFog();
    terrain->fogMap[(20 * 64 + 30) * 4 + 3] = 63;
    terrain->fogMap[(20 * 64 + 31) * 4 + 3] = 64;
    EXPECT_TRUE(terrain->isVisible(30.0f, 20.0f));
    EXPECT_FALSE(terrain->isVisible(31.0f, 20.0f));
    // 30.4 reads texel 30, 30.5 texel 31.
    EXPECT_TRUE(terrain->isVisible(30.4f, 19.6f));
    EXPECT_FALSE(terrain->isVisible(30.5f, 20.0f));
}
