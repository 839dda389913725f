#include "support/gl_test.h"

#include <GL/glew.h>
#include <SDL.h>

#include <cstdlib>

#include "app/window.h"

bool ensureGlContext() {
    static Window* window = 0;
    static bool ok = false;
    if (!window) {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        window = new Window(640, 480, false);
        ok = window->isOk();
    }
    return ok;
}

unsigned int takeGlError() {
    GLenum first = glGetError();
    for (int i = 0; i < 32 && glGetError() != GL_NO_ERROR; ++i) {
    }
    return first;
}

void GlTest::SetUp() {
    ASSERT_TRUE(ensureGlContext()) << "no OpenGL 3.2 context (is Xvfb running?)";
    takeGlError();
}

void GlTest::TearDown() {
    EXPECT_EQ(GL_NO_ERROR, takeGlError()) << "the test left a GL error behind";
}
