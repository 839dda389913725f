#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "terrain_fixture.h"

// The outer ring folds in onto the second, which is jittered off the grid by at most a quarter; inner
// vertices sit on the grid at their height.
TEST_F(TerrainTest, OuterRingFoldsInAndSecondRingIsJittered) {
    fill([](int x, int y) { return (float)x + 100.0f * (float)y; });
    std::vector<float> positions(65 * 65 * 3);
    terrain->buildPositions(positions.data());
    auto p = [&](int x, int y, int axis) { return positions[(x + y * 65) * 3 + axis]; };
    for (int k = 0; k <= 64; ++k) {
        ASSERT_TRUE(p(0, k, 0) == 2.0f && p(64, k, 0) == 62.0f && p(k, 0, 1) == 2.0f && p(k, 64, 1) == 62.0f) << k;
        ASSERT_NEAR(1.0f - 0.000025f, p(1, k, 0), 0.25001f);
        ASSERT_NEAR(63.0f - 0.000025f, p(63, k, 0), 0.25001f);
        ASSERT_NEAR(1.0f - 0.000025f, p(k, 1, 1), 0.25001f);
        ASSERT_NEAR(63.0f - 0.000025f, p(k, 63, 1), 0.25001f);
    }
    EXPECT_TRUE(p(17, 40, 0) == 17.0f && p(17, 40, 1) == 40.0f && p(17, 40, 2) == 4017.0f);
    EXPECT_EQ(6464.0f, p(64, 64, 2)) << "the folded corner keeps its own height";
}

TEST_F(TerrainTest, StripIndicesPerChunkOnBothMapSizes) {
    Terrain large(128, 0);
    ASSERT_EQ(8704, terrain->indexCount());
    ASSERT_EQ(34816, large.indexCount());
    std::vector<unsigned int> small(8704), big(34816);
    terrain->buildIndices(small.data());
    large.buildIndices(big.data());
    // Strip r of chunk (X, Y) starts at (Y * C + X) * 544 + r * 34 with vertex (16X, 16Y + r + 1), then
    // (16X, 16Y + r), and zigzags along x to 16X + 16.
    const unsigned int smallCases[][2] = {{0, 65},   {1, 0},          {2, 66},           {32, 81},
                                          {33, 16},  {34, 2 * 65},    {544, 16 + 65},    {4 * 544 + 1, 16 * 65},
                                          {8703, 64 + 63 * 65}};
    const unsigned int bigCases[][2] = {{0, 129}, {544, 16 + 129}, {8 * 544, 17 * 129}, {63 * 544, 112 + 113 * 129},
                                        {34815, 128 + 127 * 129}};
    for (const auto& c : smallCases) EXPECT_EQ(c[1], small[c[0]]) << "64 map, index " << c[0];
    for (const auto& c : bigCases) EXPECT_EQ(c[1], big[c[0]]) << "128 map, index " << c[0];
}

TEST_F(TerrainTest, NormalsPointDownOnLevelGroundWithHalvedZOnSlopes) {
    std::vector<float> normals(65 * 65 * 3);
    auto expectNormal = [&](int x, int y, float nx, float ny, float nz) {
        const float* n = &normals[(x + y * 65) * 3];
        EXPECT_TRUE(std::fabs(nx - n[0]) + std::fabs(ny - n[1]) + std::fabs(nz - n[2]) < 3e-5f) << x << "," << y;
    };
    fill([](int, int) { return 3.0f; });
    terrain->buildNormals(normals.data());
    expectNormal(30, 30, 0.0f, 0.0f, -1.0f);
    expectNormal(64, 64, 0.0f, 0.0f, -1.0f);

    // h = x: each pair adds (1, 0, -1); eight pairs with z halved give (8, 0, -4), i.e. (2, 0, -1) / sqrt 5,
    // also on the edge where only some pairs exist.
    fill([](int x, int) { return (float)x; });
    terrain->buildNormals(normals.data());
    float s = 1.0f / sqrtf(5.0f);
    expectNormal(20, 33, 2.0f * s, 0.0f, -s);
    expectNormal(20, 0, 2.0f * s, 0.0f, -s);

    // At corner (0, 0) only the pairs (1,0)-(1,1) and (1,1)-(0,1) exist. With h(0, 1) = 1 they give
    // (0, 0, -1) and (0, 1, 1) x (1, 1, 0) = (-1, 1, -1); sum (-1, 1, -2), z halved: (-1, 1, -1) / sqrt 3.
    fill([](int x, int y) { return x == 0 && y == 1 ? 1.0f : 0.0f; });
    terrain->buildNormals(normals.data());
    s = 1.0f / sqrtf(3.0f);
    expectNormal(0, 0, -s, s, -s);
    expectNormal(64, 64, 0.0f, 0.0f, -1.0f);
}
