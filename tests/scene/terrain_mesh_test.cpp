#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "terrain_fixture.h"

namespace {

void expectNormal(const std::vector<float>& normals, int vertex, float x, float y, float z) {
    EXPECT_NEAR(x, normals[vertex * 3 + 0], 1e-5f) << "vertex " << vertex;
    EXPECT_NEAR(y, normals[vertex * 3 + 1], 1e-5f) << "vertex " << vertex;
    EXPECT_NEAR(z, normals[vertex * 3 + 2], 1e-5f) << "vertex " << vertex;
}

}  // namespace

TEST_F(TerrainTest, OuterRingFoldsInAndSecondRingIsJittered) {
    plane();
    std::vector<float> positions(65 * 65 * 3);
    srand(321);
    terrain->buildPositions(positions.data());
    int next = rand();
    for (int k = 0; k <= 64; ++k) {
        const float* left = &positions[(0 + k * 65) * 3];
        const float* right = &positions[(64 + k * 65) * 3];
        const float* bottom = &positions[(k + 0 * 65) * 3];
        const float* top = &positions[(k + 64 * 65) * 3];
        ASSERT_EQ(2.0f, left[0]);
        ASSERT_EQ(62.0f, right[0]);
        ASSERT_EQ(2.0f, bottom[1]);
        ASSERT_EQ(62.0f, top[1]);
        // Second ring: within a quarter cell (J * 0.25 / 10000, J in -10001..9999).
        ASSERT_GE(positions[(1 + k * 65) * 3], 1.0f - 0.250025f);
        ASSERT_LE(positions[(1 + k * 65) * 3], 1.0f + 0.249975f);
        ASSERT_GE(positions[(63 + k * 65) * 3], 63.0f - 0.250025f);
        ASSERT_LE(positions[(63 + k * 65) * 3], 63.0f + 0.249975f);
        ASSERT_GE(positions[(k + 1 * 65) * 3 + 1], 1.0f - 0.250025f);
        ASSERT_LE(positions[(k + 63 * 65) * 3 + 1], 63.0f + 0.249975f);
    }
    // Inner vertices sit on the grid, at their height.
    const float* inner = &positions[(17 + 40 * 65) * 3];
    EXPECT_EQ(17.0f, inner[0]);
    EXPECT_EQ(40.0f, inner[1]);
    EXPECT_EQ(17.0f + 4000.0f, inner[2]);
    EXPECT_EQ(2.0f, positions[(2 + 2 * 65) * 3]);
    // The folded corner keeps its own height.
    EXPECT_EQ(64.0f + 6400.0f, positions[(64 + 64 * 65) * 3 + 2]);
    // Two columns and two rows of 65 vertices: 260 jitters.
    srand(321);
    int draws = 0;
    while (rand() != next && draws < 100000) {
        ++draws;
    }
    EXPECT_EQ(260, draws);
}

TEST_F(TerrainTest, SmallMapStripIndices) {
    ASSERT_EQ(8704, terrain->indexCount());
    std::vector<unsigned int> indices(8704);
    terrain->buildIndices(indices.data());
    // Chunk (0, 0), strip 0 zigzags rows 1 and 0: 65, 0, 66, 1, ..., 81, 16.
    EXPECT_EQ(65u, indices[0]);
    EXPECT_EQ(0u, indices[1]);
    EXPECT_EQ(66u, indices[2]);
    EXPECT_EQ(1u, indices[3]);
    EXPECT_EQ(81u, indices[32]);
    EXPECT_EQ(16u, indices[33]);
    // Strip 1 starts at 34 with vertex (0, 2).
    EXPECT_EQ(130u, indices[34]);
    EXPECT_EQ(65u, indices[35]);
    // Chunk (1, 0) at 544 starts with vertex (16, 1); chunk (0, 1) at 4 * 544 with (0, 17).
    EXPECT_EQ(16u + 65u, indices[544]);
    EXPECT_EQ(16u, indices[545]);
    EXPECT_EQ(17u * 65u, indices[2176]);
    EXPECT_EQ(16u * 65u, indices[2177]);
    // The last index of all is vertex (64, 63).
    EXPECT_EQ(64u + 63u * 65u, indices[8703]);
    for (unsigned int index : indices) {
        ASSERT_LT(index, 65u * 65u);
    }
}

TEST_F(TerrainTest, LargeMapStripIndices) {
    Terrain large(128, 0);
    ASSERT_EQ(34816, large.indexCount());
    std::vector<unsigned int> indices(34816);
    large.buildIndices(indices.data());
    EXPECT_EQ(129u, indices[0]);
    EXPECT_EQ(0u, indices[1]);
    EXPECT_EQ(16u + 129u, indices[544]);
    // Eight chunks per row: chunk (0, 1) starts at 8 * 544.
    EXPECT_EQ(17u * 129u, indices[4352]);
    EXPECT_EQ(16u * 129u, indices[4353]);
    // Chunk (7, 7), the last, ends on vertex (128, 127).
    EXPECT_EQ(112u + 113u * 129u, indices[63 * 544]);
    EXPECT_EQ(128u + 127u * 129u, indices[34815]);
}

TEST_F(TerrainTest, LevelGroundNormalsPointDown) {
    level(3.0f);
    std::vector<float> normals(65 * 65 * 3);
    terrain->buildNormals(normals.data());
    expectNormal(normals, 30 + 30 * 65, 0.0f, 0.0f, -1.0f);
    expectNormal(normals, 0, 0.0f, 0.0f, -1.0f);
    expectNormal(normals, 64 + 64 * 65, 0.0f, 0.0f, -1.0f);
    expectNormal(normals, 64, 0.0f, 0.0f, -1.0f);
    expectNormal(normals, 12 * 65, 0.0f, 0.0f, -1.0f);
}

TEST_F(TerrainTest, NormalsOnARampHaveHalvedZ) {
    // h = x: each of the eight pairs adds (1, 0, -1); z halved gives (8, 0, -4) -> (2, 0, -1) / sqrt 5.
    for (int y = 0; y <= 64; ++y) {
        for (int x = 0; x <= 64; ++x) {
            h(x, y) = (float)x;
        }
    }
    std::vector<float> normals(65 * 65 * 3);
    terrain->buildNormals(normals.data());
    float s = 1.0f / sqrtf(5.0f);
    expectNormal(normals, 20 + 33 * 65, 2.0f * s, 0.0f, -s);
    // At a map edge fewer pairs exist but all agree on a plane.
    expectNormal(normals, 20, 2.0f * s, 0.0f, -s);
}

TEST_F(TerrainTest, CornerNormalUsesOnlyTheTwoPairsInsideTheMap) {
    level(0.0f);
    h(0, 1) = 1.0f;
    std::vector<float> normals(65 * 65 * 3);
    terrain->buildNormals(normals.data());
    // Pairs (1,0)-(1,1): (0, 0, -1); (1,1)-(0,1): (0,1,1) x (1,1,0) = (-1, 1, -1).
    // Sum (-1, 1, -2), z halved: (-1, 1, -1) / sqrt 3.
    float s = 1.0f / sqrtf(3.0f);
    expectNormal(normals, 0, -s, s, -s);
    // The far corner (64, 64) is untouched by the bump and stays level.
    expectNormal(normals, 64 + 64 * 65, 0.0f, 0.0f, -1.0f);
}
