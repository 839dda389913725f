#include <gtest/gtest.h>

#include "terrain_fixture.h"

TEST_F(TerrainTest, HeightInterpolatesInsideAndClampsToColumnsAndRowsOneToSizeMinusOne) {
    // On the plane h = x + 100 y bilinear interpolation is exact, so each query reads off its clamped point.
    fill([](int x, int y) { return (float)x + 100.0f * (float)y; });
    const float cases[][3] = {{2.5f, 3.25f, 327.5f},    {40.75f, 12.1f, 1250.75f}, {62.5f, 10.0f, 1062.5f},
                              {0.5f, 7.0f, 701.0f},     {1.0f, 7.0f, 701.0f},      {-3.0f, -20.0f, 101.0f},
                              {5.0f, 0.99f, 105.0f},    {63.0f, 10.0f, 1063.0f},   {63.7f, 10.0f, 1063.0f},
                              {500.0f, 10.0f, 1063.0f}, {20.0f, 64.0f, 6320.0f},   {99.0f, 101.0f, 6363.0f}};
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(c[2], terrain->height(c[0], c[1])) << c[0] << "," << c[1];
    }
    // At a vertex inside 1 .. size - 2 the stored value comes back exactly.
    h(10, 20) = 1.2345678f;
    h(62, 62) = 3.3333333f;
    EXPECT_EQ(1.2345678f, terrain->height(10.0f, 20.0f));
    EXPECT_EQ(3.3333333f, terrain->height(62.0f, 62.0f));
}

TEST_F(TerrainTest, MaxHeightAroundTakesTheHighestOfFiveSamples) {
    fill([](int x, int y) { return x == 11 && y == 10 ? 2.0f : (x == 10 && y == 11 ? -5.0f : 0.0f); });
    // Only the sample half a cell east sees the bump, at half its height; the pit north pulls nothing down.
    EXPECT_FLOAT_EQ(1.0f, terrain->maxHeightAround(10.0f, 10.0f, 0.5f));
    EXPECT_FLOAT_EQ(2.0f, terrain->maxHeightAround(10.0f, 10.0f, 1.0f));
    EXPECT_FLOAT_EQ(1.0f, terrain->maxHeightAround(12.0f, 10.0f, 0.5f));
    // Radius 0 is the height at the point: a quarter of the bump plus a quarter of the pit.
    EXPECT_FLOAT_EQ(-0.75f, terrain->maxHeightAround(10.5f, 10.5f, 0.0f));
}
