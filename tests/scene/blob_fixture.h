#ifndef GELMARCH_TESTS_SCENE_BLOB_FIXTURE_H
#define GELMARCH_TESTS_SCENE_BLOB_FIXTURE_H

#include <GL/glew.h>

#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "render/shader.h"
#include "scene/blob_mesh.h"
#include "support/gl_test.h"

// A BlobMesh under a camera at the origin looking down -z (40 degrees, near plane 1), so a point at
// (x, y, -d) lies d - 1 in front of the near plane; the 3D pass state, drawing into the lower-left
// kSize x kSize pixels of the window.
class BlobTest : public GlTest {
protected:
    static const int kSize = 96;
    BlobMesh* mesh;
    MatrixStack projection;
    MatrixStack modelview;
    Frustum frustum;
    GLint viewport[4];

    void SetUp() override {
        GlTest::SetUp();
        glGetIntegerv(GL_VIEWPORT, viewport);
        glViewport(0, 0, kSize, kSize);
        mesh = new BlobMesh();
        projection.perspective(40.0f, 1.0f, 1.0f, 100.0f);
        lookFrom(0.0f, 0.0f);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glDisable(GL_BLEND);
        glDepthFunc(GL_LESS);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }

    // Hands the shared context back as a fresh one would be.
    void TearDown() override {
        delete mesh;
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glBlendFunc(GL_ONE, GL_ZERO);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
        GlTest::TearDown();
    }

    // Camera `distance` from the origin, turned by `turn` degrees about the axis (ax, ay, az); 0 keeps the
    // camera at the origin.
    void lookFrom(float distance, float turn, float ax = 1.0f, float ay = 0.0f, float az = 0.0f) {
        modelview.loadIdentity();
        modelview.translate(0.0f, 0.0f, -distance);
        modelview.rotate(turn, ax, ay, az);
        frustum.extract(projection, modelview);
    }

    // Current values of a float uniform (up to 16 of them) and of an int uniform of the blob program.
    void uniform(const char* name, float* values) {
        glGetUniformfv(mesh->shader->program, mesh->shader->uniform(name), values);
    }
    int uniformInt(const char* name) {
        GLint v = -12345;
        glGetUniformiv(mesh->shader->program, mesh->shader->uniform(name), &v);
        return v;
    }
    float uniformFloat(const char* name) {
        float v = -12345.0f;
        uniform(name, &v);
        return v;
    }

    // Triangles that `drawing` makes the GL draw.
    template <class Drawing>
    GLuint trianglesDrawnBy(Drawing drawing) {
        GLuint query = 0;
        GLuint count = 0;
        glGenQueries(1, &query);
        glBeginQuery(GL_PRIMITIVES_GENERATED, query);
        drawing();
        glEndQuery(GL_PRIMITIVES_GENERATED);
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
        glDeleteQueries(1, &query);
        return count;
    }

    // The 3D pass state every draw hands back: blending off, depth test LESS with writes, counter-clockwise
    // front faces, no program and no vertex array bound.
    void expect3dPassState(const char* after) {
        const GLenum names[6] = {GL_BLEND, GL_DEPTH_FUNC, GL_DEPTH_WRITEMASK,
                                 GL_FRONT_FACE, GL_CURRENT_PROGRAM, GL_VERTEX_ARRAY_BINDING};
        const GLint expected[6] = {GL_FALSE, GL_LESS, GL_TRUE, GL_CCW, 0, 0};
        for (int i = 0; i < 6; ++i) {
            GLint seen = -1;
            glGetIntegerv(names[i], &seen);
            EXPECT_EQ(expected[i], seen) << after << ", state 0x" << std::hex << names[i];
        }
    }
};

#endif
