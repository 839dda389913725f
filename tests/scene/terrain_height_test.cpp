#include <gtest/gtest.h>

#include "terrain_fixture.h"

TEST_F(TerrainTest, HeightInterpolatesBetweenVertices) {
    plane();
    EXPECT_FLOAT_EQ(2.5f + 325.0f, terrain->height(2.5f, 3.25f));
    EXPECT_FLOAT_EQ(40.75f + 1210.0f, terrain->height(40.75f, 12.1f));
}

TEST_F(TerrainTest, HeightClampsBelowColumnAndRowOne) {
    plane();
    // The first ring never contributes: 0.5 reads like 1.0, negative positions like 1.
    EXPECT_FLOAT_EQ(terrain->height(1.0f, 7.0f), terrain->height(0.5f, 7.0f));
    EXPECT_FLOAT_EQ(1.0f + 700.0f, terrain->height(0.5f, 7.0f));
    EXPECT_FLOAT_EQ(1.0f + 100.0f, terrain->height(-3.0f, -20.0f));
    EXPECT_FLOAT_EQ(5.0f + 100.0f, terrain->height(5.0f, 0.99f));
}

TEST_F(TerrainTest, HeightClampsFromColumnAndRowSizeMinusOne) {
    plane();
    // 63 is the last column that counts on a 64 map, whatever lies beyond.
    EXPECT_FLOAT_EQ(63.0f + 1000.0f, terrain->height(63.0f, 10.0f));
    EXPECT_FLOAT_EQ(63.0f + 1000.0f, terrain->height(63.7f, 10.0f));
    EXPECT_FLOAT_EQ(63.0f + 1000.0f, terrain->height(500.0f, 10.0f));
    EXPECT_FLOAT_EQ(20.0f + 6300.0f, terrain->height(20.0f, 64.0f));
    EXPECT_FLOAT_EQ(63.0f + 6300.0f, terrain->height(99.0f, -99.0f + 200.0f));
    // Just inside the last cell still interpolates.
    EXPECT_FLOAT_EQ(62.5f + 1000.0f, terrain->height(62.5f, 10.0f));
}

TEST_F(TerrainTest, HeightAtAVertexIsTheStoredValueExactly) {
    level(0.0f);
    h(10, 20) = 1.2345678f;
    h(1, 1) = -7.03125f;
    h(62, 62) = 3.3333333f;
    EXPECT_EQ(1.2345678f, terrain->height(10.0f, 20.0f));
    EXPECT_EQ(-7.03125f, terrain->height(1.0f, 1.0f));
    EXPECT_EQ(3.3333333f, terrain->height(62.0f, 62.0f));
    // Halfway to a level neighbour is half the value.
    EXPECT_FLOAT_EQ(1.2345678f / 2.0f, terrain->height(10.5f, 20.0f));
    EXPECT_FLOAT_EQ(1.2345678f / 4.0f, terrain->height(10.5f, 19.5f));
}

TEST_F(TerrainTest, MaxHeightAroundTakesTheHighestOfFiveSamples) {
    level(0.0f);
    h(11, 10) = 2.0f;
    // Only the sample half a cell east sees the bump, at half its height.
    EXPECT_FLOAT_EQ(1.0f, terrain->maxHeightAround(10.0f, 10.0f, 0.5f));
    EXPECT_FLOAT_EQ(2.0f, terrain->maxHeightAround(10.0f, 10.0f, 1.0f));
    // West of the bump: the sample at x + 0.5 lands half a cell short of it.
    EXPECT_FLOAT_EQ(1.0f, terrain->maxHeightAround(12.0f, 10.0f, 0.5f));
    // A pit does not pull the maximum down.
    h(10, 11) = -5.0f;
    EXPECT_FLOAT_EQ(1.0f, terrain->maxHeightAround(10.0f, 10.0f, 0.5f));
}

TEST_F(TerrainTest, MaxHeightAroundWithRadiusZeroIsTheHeight) {
    plane();
    EXPECT_FLOAT_EQ(terrain->height(17.3f, 30.6f), terrain->maxHeightAround(17.3f, 30.6f, 0.0f));
    level(-4.0f);
    EXPECT_FLOAT_EQ(-4.0f, terrain->maxHeightAround(0.0f, 64.0f, 0.0f));
}
