#include <gtest/gtest.h>

#include <vector>

#include "blob_fixture.h"

// 32 - ratio^0.95, truncated, kept in 8..32, less 8: close blobs get the finest grid, far ones and those
// behind the camera the coarsest.
TEST_F(BlobTest, LevelOfDetailFollowsDistanceOverSize) {
    // 2^0.95 = 1.93 -> 30.07; 10^0.95 = 8.91 -> 23.09; 27^0.95 = 22.90 -> 9.10; past 27.13 the grid
    // bottoms out
    const struct {
        float ratio;
        int level;
    } cases[] = {{0.0f, 24}, {1.0f, 23}, {2.0f, 22}, {10.0f, 15}, {27.0f, 1},
                 {27.2f, 0}, {500.0f, 0}, {1.0e30f, 0}, {-0.5f, 0}, {-30.0f, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.level, mesh->levelOfDetail(c.ratio)) << "ratio " << c.ratio;
    }
}

// Level L has n = L + 8: n x (n + 1) vertices holding (column, row), element k * (n + 1) + j; and n - 1
// strips of 2n + 2 indices zig-zagging from row k + 1 to row k.
TEST_F(BlobTest, GridsHoldColumnAndRowNumbersAndStripIndices) {
    const struct {
        int level, vertices, indices;
        int element[2][3];    // element, column, row
        GLuint strip[4][2];   // position, index
    } grids[2] = {
        {0, 72, 126, {{10, 1, 1}, {71, 8, 7}}, {{1, 0}, {18, 18}, {19, 9}, {125, 62}}},
        {24, 1056, 2046, {{34, 1, 1}, {1055, 32, 31}}, {{0, 33}, {1980, 1023}, {1981, 990}, {2045, 1022}}},
    };
    for (const auto& g : grids) {
        GLint size = 0;
        std::vector<float> grid(g.vertices * 2);
        glBindBuffer(GL_ARRAY_BUFFER, mesh->vertexBuffers[g.level]);
        glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
        ASSERT_EQ(g.vertices * 8, size) << "level " << g.level;
        glGetBufferSubData(GL_ARRAY_BUFFER, 0, size, grid.data());
        for (const auto& e : g.element) {
            EXPECT_EQ((float)e[1], grid[e[0] * 2]) << "level " << g.level << " element " << e[0];
            EXPECT_EQ((float)e[2], grid[e[0] * 2 + 1]) << "level " << g.level << " element " << e[0];
        }

        std::vector<GLuint> strips(g.indices);
        glBindVertexArray(mesh->vertexArrays[g.level]);
        glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
        ASSERT_EQ(g.indices * 4, size) << "level " << g.level;
        glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, size, strips.data());
        for (const auto& s : g.strip) {
            EXPECT_EQ(s[1], strips[s[0]]) << "level " << g.level << " index " << s[0];
        }
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}
