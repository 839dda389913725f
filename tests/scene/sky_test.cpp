#include <GL/glew.h>
#include <gtest/gtest.h>

#include "render/matrix_stack.h"
#include "render/shader.h"
#include "scene/sky.h"
#include "support/gl_test.h"

// Six one-texel faces of different colours around the eye: looking along each axis shows its own face,
// filling the whole square view out to its corners.
TEST(SkyBox, EachDirectionShowsItsOwnFaceOverTheWholeView) {
    ASSERT_TRUE(ensureGlContext());
    Shader shader("..\\shader\\texm");
    ASSERT_TRUE(shader.valid);
    const unsigned char colours[6][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
    GLuint textures[6];
    glGenTextures(6, textures);
    for (int face = 0; face < 6; ++face) {
        glBindTexture(GL_TEXTURE_2D, textures[face]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, colours[face]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    }
    GLuint vertexArray = 0, vertexBuffer = 0;
    createSkyGeometry(&vertexArray, &vertexBuffer);
    MatrixStack projection;
    projection.perspective(90.0f, 1.0f, 0.1f, 10.0f);
    // Turns that bring +x, -y, -x, +y, +z (the top) and -z in front of the eye, in face order.
    const float turns[6][4] = {{90, 0, 1, 0}, {90, 1, 0, 0}, {-90, 0, 1, 0}, {-90, 1, 0, 0}, {180, 1, 0, 0}, {0, 1, 0, 0}};
    glViewport(0, 0, 64, 64);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    for (int face = 0; face < 6; ++face) {
        MatrixStack rotation;
        rotation.rotate(turns[face][0], turns[face][1], turns[face][2], turns[face][3]);
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawSkyBox(&shader, textures, vertexArray, vertexBuffer, &projection, &rotation);
        for (int corner = 0; corner < 5; ++corner) {
            const int x = corner == 4 ? 32 : 1 + 61 * (corner % 2), y = corner == 4 ? 32 : 1 + 61 * (corner / 2);
            unsigned char p[4] = {0, 0, 0, 0};
            glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
            EXPECT_TRUE(p[0] == colours[face][0] && p[1] == colours[face][1] && p[2] == colours[face][2])
                << "face " << face << " at " << x << "," << y << ": " << (int)p[0] << "," << (int)p[1] << "," << (int)p[2];
        }
    }
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glUseProgram(0);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glDeleteTextures(6, textures);
    glDeleteBuffers(1, &vertexBuffer);
    glDeleteVertexArrays(1, &vertexArray);
}
