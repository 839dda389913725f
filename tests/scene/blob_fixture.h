#ifndef GELMARCH_TESTS_SCENE_BLOB_FIXTURE_H
#define GELMARCH_TESTS_SCENE_BLOB_FIXTURE_H

#include <GL/glew.h>

#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "render/shader.h"
#include "scene/blob_mesh.h"
#include "support/gl_test.h"

// A BlobMesh under a camera at the origin looking down -z (40 degrees, near plane 1) in the 3D pass state,
// drawing into the lower-left kSize x kSize pixels of the window.
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
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);  // the game's, which a plain draw blends with
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
    // Camera `distance` from the origin, turned by `turn` degrees about the axis (ax, ay, az).
    void lookFrom(float distance, float turn, float ax = 1.0f, float ay = 0.0f, float az = 0.0f) {
        modelview.loadIdentity();
        modelview.translate(0.0f, 0.0f, -distance);
        modelview.rotate(turn, ax, ay, az);
        frustum.extract(projection, modelview);
    }
};

#endif
