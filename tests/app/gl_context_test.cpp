// The game draws with core-profile shaders only: a context below forward-compatible 3.2 core would let
// legacy calls slip through unnoticed.
#include <GL/glew.h>

#include "support/gl_test.h"

TEST_F(GlTest, WindowHoldsForwardCompatibleCoreContext) {
    GLint major = 0, minor = 0, flags = 0, profile = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    glGetIntegerv(GL_CONTEXT_FLAGS, &flags);
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    EXPECT_TRUE(major > 3 || (major == 3 && minor >= 2)) << major << "." << minor;
    EXPECT_TRUE((flags & GL_CONTEXT_FLAG_FORWARD_COMPATIBLE_BIT) && (profile & GL_CONTEXT_CORE_PROFILE_BIT));
}
