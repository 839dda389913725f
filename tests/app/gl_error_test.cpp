#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>

#include "render/gl_error.h"
#include "support/gl_test.h"

namespace {

std::string checkAndCapture() {
    testing::internal::CaptureStderr();
    checkGlError();
    return testing::internal::GetCapturedStderr();
}

}  // namespace

TEST_F(GlTest, CheckGlErrorNamesEachErrorOnce) {
    EXPECT_EQ("", checkAndCapture());

    glEnable(0x7FFF);  // not a capability
    EXPECT_EQ("GL: enum argument out of range.\n", checkAndCapture());
    EXPECT_EQ("", checkAndCapture()) << "the flag was read once and cleared";

    glLineWidth(-1.0f);
    EXPECT_EQ("GL: Numeric argument out of range.\n", checkAndCapture());

    glBindVertexArray(0x7FFFFF);  // never generated
    EXPECT_EQ("GL: Operation illegal in current state.\n", checkAndCapture());

    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);  // no attachments: incomplete
    glClear(GL_COLOR_BUFFER_BIT);
    std::string incomplete = checkAndCapture();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    EXPECT_EQ("GL: Framebuffer object is not complete.\n", incomplete);
}
