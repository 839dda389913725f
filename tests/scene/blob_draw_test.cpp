#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "blob_fixture.h"

namespace {

// Counts the triangles the draws between begin and end produce.
class TriangleCounter {
public:
    TriangleCounter() : query(0) {
        glGenQueries(1, &query);
        glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    }
    ~TriangleCounter() { glDeleteQueries(1, &query); }
    GLuint finish() {
        glEndQuery(GL_PRIMITIVES_GENERATED);
        GLuint count = 0;
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
        return count;
    }

private:
    GLuint query;
};

void expectMatrixColumns(const float* expected, const float* actual) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(expected[i], actual[i], 1e-4f) << "element " << i;
    }
}

}  // namespace

// With the camera at the origin looking down -z and near plane 1, a blob at z = -11 is 10 in front of it.
TEST_F(BlobTest, DrawSendsItsUnitTransformAndSettings) {
    mesh->transparent = false;
    ASSERT_NEAR(10.0f, frustum.distance(0.5f, -0.25f, -11.0f, kPlaneNear), 1e-4f);
    mesh->draw(0.5f, -0.25f, -11.0f, 1.0f, 2.0f, 0.12f, 3, 5, 777, &projection, &modelview, &frustum);

    // translated to z + (2 - 1) / 2 and scaled by 1, 1, 2
    const float placed[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 0, 0.5f, -0.25f, -10.5f, 1};
    float m[16];
    uniformMat4("modelview", m);
    expectMatrixColumns(placed, m);
    uniformMat4("projection", m);
    expectMatrixColumns(projection.current.m, m);

    float tint[4];
    uniformVec4("tint", tint);
    EXPECT_FLOAT_EQ(1.0f, tint[0]);
    EXPECT_FLOAT_EQ(0.0f, tint[1]);
    EXPECT_FLOAT_EQ(0.2f, tint[2]);
    EXPECT_FLOAT_EQ(1.0f, tint[3]);
    EXPECT_EQ(777, uniformInt("time"));
    EXPECT_EQ(3, uniformInt("model"));
    EXPECT_FLOAT_EQ(0.12f, uniformFloat("vertfactor"));
    EXPECT_FLOAT_EQ(0.0f, uniformFloat("mixfactor"));
    // size 2 at distance 10: ratio 5, 5^0.95 = 4.61, so n = 27
    EXPECT_FLOAT_EQ(27.0f, uniformFloat("resolution"));
    EXPECT_FLOAT_EQ(0.5f, uniformFloat("x"));
    EXPECT_FLOAT_EQ(-0.25f, uniformFloat("y"));
    EXPECT_FLOAT_EQ(-11.0f, uniformFloat("z"));
    EXPECT_FLOAT_EQ(2.0f, uniformFloat("zfactor"));

    // the caller's matrix is as it was
    EXPECT_EQ(0, modelview.depth);
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    expectMatrixColumns(identity, modelview.current.m);
}

TEST_F(BlobTest, DrawAfterAMorphNoLongerBlends) {
    mesh->drawMorph(0.0f, 0.0f, -11.0f, 1.0f, 1.0f, 2.0f, 2.0f, 0, 4, 1, 0, &projection, &modelview, 0.6f, &frustum);
    EXPECT_FLOAT_EQ(0.6f, uniformFloat("mixfactor"));
    mesh->draw(0.0f, 0.0f, -11.0f, 1.0f, 1.0f, 0.03f, 2, 80, 0, &projection, &modelview, &frustum);
    EXPECT_FLOAT_EQ(0.0f, uniformFloat("mixfactor"));
    float tint[4];
    uniformVec4("tint", tint);
    EXPECT_FLOAT_EQ(1.0f, tint[0]);
    EXPECT_FLOAT_EQ(0.0f, tint[1]);
    EXPECT_FLOAT_EQ(1.0f, tint[2]);
    EXPECT_FLOAT_EQ(0.72f, tint[3]);
}

// A Blob (1 x 0.5) turning into a 2 x 3 body: size and height move with the mix, while the grid and
// zfactor stay with the first shape.
TEST_F(BlobTest, MorphInterpolatesSizeButKeepsTheFirstShapesDetail) {
    float m[16];
    mesh->drawMorph(0.0f, 0.0f, -11.0f, 1.0f, 0.5f, 2.0f, 3.0f, 0, 4, 2, 5, &projection, &modelview, 0.25f,
                    &frustum);
    // W = 0.75 + 0.5 = 1.25, H = 0.375 + 0.75 = 1.125, lifted by (H - 1) / 2 = 0.0625
    const float quarter[16] = {1.25f, 0, 0, 0, 0, 1.25f, 0, 0, 0, 0, 1.125f, 0, 0, 0, -10.9375f, 1};
    uniformMat4("modelview", m);
    expectMatrixColumns(quarter, m);
    EXPECT_EQ(0, uniformInt("model"));
    EXPECT_EQ(4, uniformInt("model2"));
    EXPECT_EQ(5, uniformInt("time"));
    EXPECT_FLOAT_EQ(0.25f, uniformFloat("mixfactor"));
    EXPECT_FLOAT_EQ(0.03f, uniformFloat("vertfactor"));
    EXPECT_FLOAT_EQ(0.5f, uniformFloat("zfactor"));
    // first shape's size 1 at distance 10: n = 23
    EXPECT_FLOAT_EQ(23.0f, uniformFloat("resolution"));
    float tint[4];
    uniformVec4("tint", tint);
    EXPECT_FLOAT_EQ(0.0f, tint[0]);
    EXPECT_FLOAT_EQ(0.0f, tint[1]);
    EXPECT_FLOAT_EQ(1.0f, tint[2]);
    EXPECT_FLOAT_EQ(1.0f, tint[3]);

    mesh->drawMorph(0.0f, 0.0f, -11.0f, 1.0f, 0.5f, 2.0f, 3.0f, 0, 4, 2, 5, &projection, &modelview, 1.0f,
                    &frustum);
    const float done[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 3, 0, 0, 0, -10.0f, 1};
    uniformMat4("modelview", m);
    expectMatrixColumns(done, m);
    EXPECT_FLOAT_EQ(1.0f, uniformFloat("mixfactor"));
    EXPECT_FLOAT_EQ(0.5f, uniformFloat("zfactor"));
    EXPECT_FLOAT_EQ(23.0f, uniformFloat("resolution"));

    mesh->drawMorph(0.0f, 0.0f, -11.0f, 1.0f, 0.5f, 2.0f, 3.0f, 0, 4, 7, 5, &projection, &modelview, 0.0f,
                    &frustum);
    const float start[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0.5f, 0, 0, 0, -11.25f, 1};
    uniformMat4("modelview", m);
    expectMatrixColumns(start, m);
    EXPECT_FLOAT_EQ(0.0f, uniformFloat("mixfactor"));
    // an unknown player is green
    uniformVec4("tint", tint);
    EXPECT_FLOAT_EQ(0.0f, tint[0]);
    EXPECT_FLOAT_EQ(1.0f, tint[1]);
}

// A dying blob at x = pi/2, y = 0 tips over about the x axis by fade * 110 degrees.
TEST_F(BlobTest, DyingTiltsFadesAndTints) {
    float m[16];
    mesh->drawDying(1.5707964f, 0.0f, -11.0f, 0.5f, 0.8f, 1.5f, 0.03f, 2, 6, 9, &projection, &modelview, &frustum);
    // 55 degrees: cos 0.573576, sin 0.819152; columns scaled by 0.8, 0.8, 1.5; lifted by 0.25
    const float tilted[16] = {0.8f, 0, 0, 0, 0, 0.458861f, 0.655322f, 0, 0, -1.228728f, 0.860364f, 0,
                              1.5707964f, 0, -10.75f, 1};
    uniformMat4("modelview", m);
    expectMatrixColumns(tilted, m);
    float tint[4];
    uniformVec4("tint", tint);
    EXPECT_FLOAT_EQ(0.1f, tint[0]);
    EXPECT_FLOAT_EQ(0.0f, tint[1]);
    EXPECT_FLOAT_EQ(1.0f, tint[2]);
    EXPECT_FLOAT_EQ(0.5f, tint[3]);
    EXPECT_EQ(2, uniformInt("model"));
    EXPECT_FLOAT_EQ(0.0f, uniformFloat("mixfactor"));
    EXPECT_FLOAT_EQ(0.03f, uniformFloat("vertfactor"));
    EXPECT_FLOAT_EQ(1.875f, uniformFloat("zfactor"));
    // size 1.5 at distance 10: ratio 6.67, 6.67^0.95 = 6.06, so n = 25
    EXPECT_FLOAT_EQ(25.0f, uniformFloat("resolution"));

    // fade 0: upright and invisible
    mesh->drawDying(1.5707964f, 0.0f, -11.0f, 0.0f, 0.8f, 1.5f, 0.03f, 2, 8, 9, &projection, &modelview, &frustum);
    const float upright[16] = {0.8f, 0, 0, 0, 0, 0.8f, 0, 0, 0, 0, 1.5f, 0, 1.5707964f, 0, -10.75f, 1};
    uniformMat4("modelview", m);
    expectMatrixColumns(upright, m);
    uniformVec4("tint", tint);
    EXPECT_FLOAT_EQ(1.0f, tint[0]);
    EXPECT_FLOAT_EQ(0.0f, tint[1]);
    EXPECT_FLOAT_EQ(1.0f, tint[2]);
    EXPECT_FLOAT_EQ(0.0f, tint[3]);
}

// n = 23 here: n - 1 strips of 2n triangles each, drawn twice when transparent.
TEST_F(BlobTest, TransparentBlobsDrawEveryStripTwice) {
    const GLuint onePass = 22 * 46;
    for (int transparent = 0; transparent < 2; ++transparent) {
        mesh->transparent = transparent == 1;
        GLuint expected = transparent ? 2 * onePass : onePass;
        {
            TriangleCounter counter;
            mesh->draw(0.0f, 0.0f, -11.0f, 1.0f, 1.0f, 0.03f, 0, 0, 0, &projection, &modelview, &frustum);
            EXPECT_EQ(expected, counter.finish()) << "draw, transparent " << transparent;
        }
        {
            TriangleCounter counter;
            mesh->drawDying(0.0f, 0.0f, -11.0f, 0.5f, 1.0f, 1.0f, 0.03f, 0, 0, 0, &projection, &modelview,
                            &frustum);
            EXPECT_EQ(expected, counter.finish()) << "drawDying, transparent " << transparent;
        }
        {
            TriangleCounter counter;
            mesh->drawMorph(0.0f, 0.0f, -11.0f, 1.0f, 1.0f, 3.0f, 3.0f, 0, 1, 0, 0, &projection, &modelview, 0.5f,
                            &frustum);
            EXPECT_EQ(expected, counter.finish()) << "drawMorph, transparent " << transparent;
        }
    }
    // far away: the coarsest grid, n = 8
    mesh->transparent = false;
    TriangleCounter counter;
    mesh->draw(0.0f, 0.0f, -60.0f, 1.0f, 1.0f, 0.03f, 0, 0, 0, &projection, &modelview, &frustum);
    EXPECT_EQ(7u * 16u, counter.finish());
}

namespace {

struct GlState {
    GLboolean blend;
    GLint depthFunc;
    GLint frontFace;
    GLboolean depthMask;
    GLint blendSource;
    GLint blendDestination;
    GLint program;
    GLint vertexArray;
};

GlState readState() {
    GlState s;
    s.blend = glIsEnabled(GL_BLEND);
    glGetIntegerv(GL_DEPTH_FUNC, &s.depthFunc);
    glGetIntegerv(GL_FRONT_FACE, &s.frontFace);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &s.depthMask);
    glGetIntegerv(GL_BLEND_SRC_RGB, &s.blendSource);
    glGetIntegerv(GL_BLEND_DST_RGB, &s.blendDestination);
    glGetIntegerv(GL_CURRENT_PROGRAM, &s.program);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &s.vertexArray);
    return s;
}

void expectRestored(const GlState& s, const char* what) {
    EXPECT_EQ(GL_FALSE, s.blend) << what;
    EXPECT_EQ(GL_LESS, s.depthFunc) << what;
    EXPECT_EQ(GL_CCW, s.frontFace) << what;
    EXPECT_EQ(GL_TRUE, s.depthMask) << what;
    EXPECT_EQ(0, s.program) << what;
    EXPECT_EQ(0, s.vertexArray) << what;
}

}  // namespace

// Every draw hands back the 3D pass state; only drawMorph and drawDying leave their blend function set,
// and only when they blended.
TEST_F(BlobTest, DrawsRestoreTheStateOfThe3dPass) {
    for (int transparent = 0; transparent < 2; ++transparent) {
        mesh->transparent = transparent == 1;
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        mesh->draw(0.0f, 0.0f, -11.0f, 1.0f, 1.0f, 0.03f, 0, 80, 0, &projection, &modelview, &frustum);
        GlState s = readState();
        expectRestored(s, "draw");
        EXPECT_EQ(GL_SRC_ALPHA, s.blendSource);
        EXPECT_EQ(GL_ONE, s.blendDestination);

        glBlendFunc(GL_ONE, GL_ONE);
        mesh->drawDying(0.0f, 0.0f, -11.0f, 0.5f, 1.0f, 1.0f, 0.03f, 0, 0, 0, &projection, &modelview, &frustum);
        s = readState();
        expectRestored(s, "drawDying");
        EXPECT_EQ(transparent ? GL_SRC_ALPHA : GL_ONE, s.blendSource);
        EXPECT_EQ(transparent ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE, s.blendDestination);

        glBlendFunc(GL_ONE, GL_ONE);
        mesh->drawMorph(0.0f, 0.0f, -11.0f, 1.0f, 1.0f, 2.0f, 2.0f, 0, 1, 0, 0, &projection, &modelview, 0.5f,
                        &frustum);
        s = readState();
        expectRestored(s, "drawMorph");
        EXPECT_EQ(transparent ? GL_SRC_ALPHA : GL_ONE, s.blendSource);
        EXPECT_EQ(transparent ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE, s.blendDestination);
    }
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(BlobTest, MissingShaderFilesAreReportedAndNothingIsDrawn) {
    char here[4096];
    ASSERT_TRUE(getcwd(here, sizeof(here)) != 0);
    ASSERT_EQ(0, chdir("/"));
    testing::internal::CaptureStderr();
    BlobMesh* blind = new BlobMesh();
    std::string errors = testing::internal::GetCapturedStderr();
    ASSERT_EQ(0, chdir(here));
    EXPECT_NE(std::string::npos, errors.find("Vertex shader file ..\\shader\\blob.vert does not exist."))
        << errors;
    EXPECT_FALSE(blind->shader->valid);
    {
        TriangleCounter counter;
        blind->draw(0.0f, 0.0f, -11.0f, 1.0f, 1.0f, 0.03f, 0, 0, 0, &projection, &modelview, &frustum);
        blind->drawMorph(0.0f, 0.0f, -11.0f, 1.0f, 1.0f, 2.0f, 2.0f, 0, 1, 0, 0, &projection, &modelview, 0.5f,
                         &frustum);
        blind->drawDying(0.0f, 0.0f, -11.0f, 0.5f, 1.0f, 1.0f, 0.03f, 0, 0, 0, &projection, &modelview, &frustum);
        EXPECT_EQ(0u, counter.finish());
    }
    expectRestored(readState(), "without a shader");
    delete blind;
}
