#include <gtest/gtest.h>

#include <vector>

#include "blob_fixture.h"

namespace {

void expectTint(float r, float g, float b, float a, const float tint[4]) {
    EXPECT_FLOAT_EQ(r, tint[0]);
    EXPECT_FLOAT_EQ(g, tint[1]);
    EXPECT_FLOAT_EQ(b, tint[2]);
    EXPECT_FLOAT_EQ(a, tint[3]);
}

}  // namespace

// Close blobs get the finest grid, far ones the coarsest: 32 - ratio^0.95, truncated, kept in 8..32.
TEST_F(BlobTest, LevelOfDetailFollowsDistanceOverSize) {
    EXPECT_EQ(24, mesh->levelOfDetail(0.0f));
    EXPECT_EQ(23, mesh->levelOfDetail(1.0f));
    // 2^0.95 = 1.93 -> 30.07 -> n 30
    EXPECT_EQ(22, mesh->levelOfDetail(2.0f));
    // 10^0.95 = 8.91 -> 23.09 -> n 23
    EXPECT_EQ(15, mesh->levelOfDetail(10.0f));
    // 27^0.95 = 22.90 -> 9.10 -> n 9; past 27.13 the grid bottoms out at n 8
    EXPECT_EQ(1, mesh->levelOfDetail(27.0f));
    EXPECT_EQ(0, mesh->levelOfDetail(27.2f));
    EXPECT_EQ(0, mesh->levelOfDetail(500.0f));
    EXPECT_EQ(0, mesh->levelOfDetail(1.0e30f));
}

TEST_F(BlobTest, LevelOfDetailBehindTheCameraIsCoarsest) {
    EXPECT_EQ(0, mesh->levelOfDetail(-0.5f));
    EXPECT_EQ(0, mesh->levelOfDetail(-30.0f));
}

TEST(BlobTint, PlayerColoursWithFullAlpha) {
    float t[4];
    BlobMesh::playerTint(0, t);
    expectTint(0.0f, 1.0f, 0.0f, 1.0f, t);
    BlobMesh::playerTint(1, t);
    expectTint(1.0f, 0.0f, 0.0f, 1.0f, t);
    BlobMesh::playerTint(2, t);
    expectTint(0.0f, 0.0f, 1.0f, 1.0f, t);
    BlobMesh::playerTint(3, t);
    expectTint(1.0f, 1.0f, 0.0f, 1.0f, t);
    // anything else falls back to green
    BlobMesh::playerTint(4, t);
    expectTint(0.0f, 1.0f, 0.0f, 1.0f, t);
    BlobMesh::playerTint(-1, t);
    expectTint(0.0f, 1.0f, 0.0f, 1.0f, t);
}

TEST(BlobTint, DrawCodesLightenMiningUnitsAndMakeCrystalsMagenta) {
    float t[4];
    BlobMesh::codeTint(1, t);
    expectTint(1.0f, 0.0f, 0.0f, 1.0f, t);
    // mining player 0: red and blue lifted, green untouched
    BlobMesh::codeTint(4, t);
    expectTint(0.2f, 1.0f, 0.2f, 1.0f, t);
    // mining player 1: red already at 1 stays
    BlobMesh::codeTint(5, t);
    expectTint(1.0f, 0.0f, 0.2f, 1.0f, t);
    BlobMesh::codeTint(6, t);
    expectTint(0.2f, 0.0f, 1.0f, 1.0f, t);
    BlobMesh::codeTint(7, t);
    expectTint(1.0f, 1.0f, 0.2f, 1.0f, t);
    // crystals: magenta with alpha (code - 8) percent
    BlobMesh::codeTint(8, t);
    expectTint(1.0f, 0.0f, 1.0f, 0.0f, t);
    BlobMesh::codeTint(80, t);
    expectTint(1.0f, 0.0f, 1.0f, 0.72f, t);
    BlobMesh::codeTint(20, t);
    expectTint(1.0f, 0.0f, 1.0f, 0.12f, t);
    // a negative code is green
    BlobMesh::codeTint(-3, t);
    expectTint(0.0f, 1.0f, 0.0f, 1.0f, t);
}

TEST(BlobTint, DyingCodesFadeAndLightenLess) {
    float t[4];
    BlobMesh::dyingTint(2, 0.25f, t);
    expectTint(0.0f, 0.0f, 1.0f, 0.25f, t);
    BlobMesh::dyingTint(4, 0.5f, t);
    expectTint(0.1f, 1.0f, 0.1f, 0.5f, t);
    BlobMesh::dyingTint(5, 0.5f, t);
    expectTint(1.0f, 0.0f, 0.1f, 0.5f, t);
    BlobMesh::dyingTint(6, 0.75f, t);
    expectTint(0.1f, 0.0f, 1.0f, 0.75f, t);
    // only exactly 8 turns magenta; the alpha is still the fade
    BlobMesh::dyingTint(8, 0.6f, t);
    expectTint(1.0f, 0.0f, 1.0f, 0.6f, t);
    // 80 is just a lighter green here: 80 mod 4 is 0
    BlobMesh::dyingTint(80, 0.3f, t);
    expectTint(0.1f, 1.0f, 0.1f, 0.3f, t);
}

// Levels 0 and 24 hold n x (n + 1) vertices of (column, row) and n - 1 strips of 2n + 2 indices.
TEST_F(BlobTest, GridsHoldColumnAndRowNumbersAndStripIndices) {
    GLint size = 0;
    glBindBuffer(GL_ARRAY_BUFFER, mesh->vertexBuffers[0]);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    EXPECT_EQ(72 * 8, size);
    std::vector<float> grid(72 * 2);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, 72 * 8, grid.data());
    // element 10 = row 1 * 9 + column 1; element 71 = row 7, column 8
    EXPECT_EQ(1.0f, grid[20]);
    EXPECT_EQ(1.0f, grid[21]);
    EXPECT_EQ(8.0f, grid[142]);
    EXPECT_EQ(7.0f, grid[143]);

    glBindBuffer(GL_ARRAY_BUFFER, mesh->vertexBuffers[24]);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    EXPECT_EQ(1056 * 8, size);
    std::vector<float> fine(1056 * 2);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, 1056 * 8, fine.data());
    // element 1055 = row 31, column 32
    EXPECT_EQ(32.0f, fine[2110]);
    EXPECT_EQ(31.0f, fine[2111]);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    glBindVertexArray(mesh->vertexArrays[0]);
    glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    EXPECT_EQ(126 * 4, size);
    std::vector<GLuint> strips(126);
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, 126 * 4, strips.data());
    // strip 0 zig-zags between rows 1 and 0, strip 1 (from index 18) between rows 2 and 1
    EXPECT_EQ(9u, strips[0]);
    EXPECT_EQ(0u, strips[1]);
    EXPECT_EQ(10u, strips[2]);
    EXPECT_EQ(1u, strips[3]);
    EXPECT_EQ(17u, strips[16]);
    EXPECT_EQ(8u, strips[17]);
    EXPECT_EQ(18u, strips[18]);
    EXPECT_EQ(9u, strips[19]);
    // the last strip ends on row 6, column 8
    EXPECT_EQ(71u, strips[124]);
    EXPECT_EQ(62u, strips[125]);

    glBindVertexArray(mesh->vertexArrays[24]);
    glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    EXPECT_EQ(2046 * 4, size);
    std::vector<GLuint> fineStrips(2046);
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, 2046 * 4, fineStrips.data());
    EXPECT_EQ(33u, fineStrips[0]);
    EXPECT_EQ(0u, fineStrips[1]);
    // strip 30 starts at 30 * 66 = 1980 with row 31 column 0 = 1023, then row 30 = 990
    EXPECT_EQ(1023u, fineStrips[1980]);
    EXPECT_EQ(990u, fineStrips[1981]);
    EXPECT_EQ(1055u, fineStrips[2044]);
    EXPECT_EQ(1022u, fineStrips[2045]);
    glBindVertexArray(0);
}

// Each level's vertex array remembers its own index buffer and the enabled "vertex" attribute.
TEST_F(BlobTest, EveryLevelIsReadyToDrawFromItsVertexArray) {
    ASSERT_TRUE(mesh->shader->valid);
    GLint vertex = mesh->shader->attribute("vertex");
    ASSERT_GE(vertex, 0);
    for (int level = 0; level < kBlobLevels; ++level) {
        glBindVertexArray(mesh->vertexArrays[level]);
        GLint bound = 0;
        glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &bound);
        EXPECT_EQ((GLint)mesh->indexBuffers[level], bound) << "level " << level;
        GLint enabled = 0;
        GLint components = 0;
        GLint source = 0;
        glGetVertexAttribiv(vertex, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        glGetVertexAttribiv(vertex, GL_VERTEX_ATTRIB_ARRAY_SIZE, &components);
        glGetVertexAttribiv(vertex, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &source);
        EXPECT_EQ(GL_TRUE, enabled) << "level " << level;
        EXPECT_EQ(2, components);
        EXPECT_EQ((GLint)mesh->vertexBuffers[level], source) << "level " << level;
    }
    glBindVertexArray(0);
    // construction leaves nothing bound behind
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(0, program);
}

TEST_F(BlobTest, DestructorReleasesEveryGlObject) {
    BlobMesh* other = new BlobMesh();
    GLuint arrays[kBlobLevels];
    GLuint buffers[kBlobLevels];
    GLuint indices[kBlobLevels];
    for (int level = 0; level < kBlobLevels; ++level) {
        arrays[level] = other->vertexArrays[level];
        buffers[level] = other->vertexBuffers[level];
        indices[level] = other->indexBuffers[level];
    }
    GLuint program = other->shader->program;
    EXPECT_TRUE(glIsProgram(program));
    delete other;
    for (int level = 0; level < kBlobLevels; ++level) {
        EXPECT_FALSE(glIsVertexArray(arrays[level]));
        EXPECT_FALSE(glIsBuffer(buffers[level]));
        EXPECT_FALSE(glIsBuffer(indices[level]));
    }
    EXPECT_FALSE(glIsProgram(program));
}
