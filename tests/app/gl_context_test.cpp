// The game's GL context and its error reporting.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>

#include "render/gl_error.h"
#include "support/gl_test.h"

// The game draws with core-profile shaders only; anything less than a forward-compatible 3.2 core
// context would let legacy calls slip through unnoticed.
TEST_F(GlTest, WindowHoldsForwardCompatibleCoreContext) {
    GLint major = 0, minor = 0, flags = 0, profile = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    glGetIntegerv(GL_CONTEXT_FLAGS, &flags);
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    EXPECT_TRUE(major > 3 || (major == 3 && minor >= 2)) << major << "." << minor;
    EXPECT_TRUE((flags & GL_CONTEXT_FLAG_FORWARD_COMPATIBLE_BIT) && (profile & GL_CONTEXT_CORE_PROFILE_BIT));
}

TEST_F(GlTest, CheckGlErrorNamesEachErrorOnce) {
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    struct Case {
        void (*provoke)(GLuint);
        const char* message;
    } cases[] = {
        {[](GLuint) {}, ""},
        {[](GLuint) { glEnable(0x7FFF); }, "GL: enum argument out of range.\n"},  // not a capability
        {[](GLuint) {}, ""},  // the flag was read once and cleared
        {[](GLuint) { glLineWidth(-1.0f); }, "GL: Numeric argument out of range.\n"},
        {[](GLuint) { glBindVertexArray(0x7FFFFF); }, "GL: Operation illegal in current state.\n"},
        {[](GLuint f) {  // no attachments: incomplete
             glBindFramebuffer(GL_FRAMEBUFFER, f);
             glClear(GL_COLOR_BUFFER_BIT);
             glBindFramebuffer(GL_FRAMEBUFFER, 0);
         },
         "GL: Framebuffer object is not complete.\n"},
    };
    for (const Case& c : cases) {
        c.provoke(framebuffer);
        testing::internal::CaptureStderr();
        checkGlError();
        EXPECT_EQ(c.message, testing::internal::GetCapturedStderr());
    }
    glDeleteFramebuffers(1, &framebuffer);
}
