#include "support/gl_test.h"

#include <GL/glew.h>

#include <cstdlib>

#include "app/window.h"

bool ensureGlContext() {
    static bool ok = (setenv("SDL_AUDIODRIVER", "dummy", 0), (new Window(640, 480, false))->isOk());
    return ok;
}

// Drains the GL error queue and returns the first error seen (GL_NO_ERROR when none).
static GLenum takeGlError() {
    GLenum first = glGetError();
    for (int i = 0; i < 32 && glGetError() != GL_NO_ERROR; ++i) continue;
    return first;
}

void GlTest::SetUp() {
    ASSERT_TRUE(ensureGlContext()) << "no OpenGL 3.2 context (is Xvfb running?)";
    takeGlError();
}

void GlTest::TearDown() {
    EXPECT_EQ(GL_NO_ERROR, takeGlError()) << "the test left a GL error behind";
}
