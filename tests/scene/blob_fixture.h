#ifndef GELMARCH_TESTS_SCENE_BLOB_FIXTURE_H
#define GELMARCH_TESTS_SCENE_BLOB_FIXTURE_H

#include <GL/glew.h>

#include <string>

#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "render/shader.h"
#include "scene/blob_mesh.h"
#include "support/gl_test.h"

// A BlobMesh with a camera at the origin looking down -z (perspective, near plane 1), so a point at
// (x, y, -d) lies d - 1 in front of the near plane; and a small offscreen target for reading pixels back.
class BlobTest : public GlTest {
protected:
    BlobMesh* mesh;
    MatrixStack projection;
    MatrixStack modelview;
    Frustum frustum;
    GLuint framebuffer;
    GLuint colour;
    GLuint depth;
    GLint viewport[4];

    static const int kSize = 96;

    void SetUp() override {
        GlTest::SetUp();
        glGetIntegerv(GL_VIEWPORT, viewport);
        mesh = new BlobMesh();
        projection.perspective(40.0f, 1.0f, 1.0f, 100.0f);
        modelview.loadIdentity();
        frustum.extract(projection, modelview);
        framebuffer = colour = depth = 0;
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glDisable(GL_BLEND);
        glDepthFunc(GL_LESS);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }

    // Leaves the shared context as a fresh one would be for the next test.
    void TearDown() override {
        delete mesh;
        if (framebuffer != 0) {
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
            glDeleteFramebuffers(1, &framebuffer);
            glDeleteRenderbuffers(1, &colour);
            glDeleteRenderbuffers(1, &depth);
        }
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glDisable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ZERO);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glViewport(0, 0, viewport[2], viewport[3]);
        GlTest::TearDown();
    }

    // Renders into a kSize x kSize offscreen target cleared to the given colour from here on.
    void useOffscreen(float r, float g, float b) {
        if (framebuffer == 0) {
            glGenFramebuffers(1, &framebuffer);
            glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
            glGenRenderbuffers(1, &colour);
            glBindRenderbuffer(GL_RENDERBUFFER, colour);
            glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kSize, kSize);
            glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
            glGenRenderbuffers(1, &depth);
            glBindRenderbuffer(GL_RENDERBUFFER, depth);
            glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, kSize, kSize);
            glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
        }
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glViewport(0, 0, kSize, kSize);
        glClearColor(r, g, b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    // One RGBA pixel of the offscreen target.
    void pixel(int x, int y, unsigned char rgba[4]) {
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    }

    float depthAt(int x, int y) {
        float d = 0.0f;
        glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &d);
        return d;
    }

    float uniformFloat(const char* name) {
        float v = -12345.0f;
        glGetUniformfv(mesh->shader->program, mesh->shader->uniform(name), &v);
        return v;
    }

    int uniformInt(const char* name) {
        GLint v = -12345;
        glGetUniformiv(mesh->shader->program, mesh->shader->uniform(name), &v);
        return v;
    }

    void uniformVec4(const char* name, float v[4]) {
        glGetUniformfv(mesh->shader->program, mesh->shader->uniform(name), v);
    }

    void uniformMat4(const char* name, float m[16]) {
        glGetUniformfv(mesh->shader->program, mesh->shader->uniform(name), m);
    }
};

#endif
