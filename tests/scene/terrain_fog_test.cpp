#include <gtest/gtest.h>

#include "terrain_fixture.h"

namespace {

int fogAt(Terrain* terrain, int x, int y) {
    return terrain->fogMap[(y * 64 + x) * 4 + 3];
}

}  // namespace

TEST_F(TerrainTest, RevealClearsADiscOfSevenWithASoftEdgeAndOnlyLightens) {
    terrain->resetFog();
    terrain->revealFog(10.2f, 10.2f);
    // Texel (2, 10): centre (2.5, 10.5), distance 7.706: trunc(0.706 * 128) = 90. Texel (17, 10): distance
    // 7.306, 39; (18, 10): 8.305, beyond the edge. (1, 10) lies outside the 17 x 17 window (2..18); (3, 13)
    // at distance 7.469 gets 59.
    const int texels[6][3] = {{10, 10, 0}, {2, 10, 90}, {17, 10, 39}, {18, 10, 128}, {1, 10, 128}, {3, 13, 59}};
    for (const auto& t : texels) EXPECT_EQ(t[2], fogAt(terrain, t[0], t[1])) << t[0] << "," << t[1];

    // A second unit whose soft edge crosses texel (17, 10) (distance 7.406, 51) leaves the lighter 39.
    terrain->revealFog(24.9f, 10.2f);
    EXPECT_TRUE(fogAt(terrain, 17, 10) == 39 && fogAt(terrain, 18, 10) == 0);

    // At the map corner the window is cut to the map: texel (5, 58) at distance 7.284 gets 36.
    terrain->revealFog(0.3f, 63.6f);
    EXPECT_TRUE(fogAt(terrain, 0, 63) == 0 && fogAt(terrain, 5, 58) == 36 && fogAt(terrain, 10, 50) == 128);
}

TEST_F(TerrainTest, VisibleBelowAlpha64AtTheNearestTexel) {
    terrain->resetFog();
    terrain->fogMap[(20 * 64 + 30) * 4 + 3] = 63;
    terrain->fogMap[(20 * 64 + 31) * 4 + 3] = 64;
    // 30.4 reads texel 30, 30.5 texel 31.
    EXPECT_TRUE(terrain->isVisible(30.0f, 20.0f) && terrain->isVisible(30.4f, 19.6f));
    EXPECT_FALSE(terrain->isVisible(31.0f, 20.0f) || terrain->isVisible(30.5f, 20.0f));
}
