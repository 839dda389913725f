#ifndef GELMARCH_TESTS_GL_TEST_H
#define GELMARCH_TESTS_GL_TEST_H

#include <gtest/gtest.h>

// Opens the game's own Window once per test process (the first caller pays) and reports whether its
// OpenGL 3.2 context is current. Tests run under Xvfb; the window stays until the process ends.
bool ensureGlContext();

// Base for tests that draw or touch GL objects: fails the test at once without a context, and checks
// that the test body left no GL error behind.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

#endif
