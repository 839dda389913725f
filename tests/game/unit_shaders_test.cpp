#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstdio>
#include <vector>

#include "game/unit_manager.h"
#include "render/shader.h"
#include "render/texture.h"
#include "simulation_fixture.h"
#include "support/png_snapshot.h"

namespace {

// Draws a window-filling quad through each of the manager's three marker shaders with identity matrices
// and reads the result back: the programs must accept the attribute and uniform names the drawing uses.
class UnitShaders : public SimulationTest {
protected:
    void SetUp() override {
        SimulationTest::SetUp();
        glGetIntegerv(GL_VIEWPORT, viewport);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glGenVertexArrays(1, &vao);
        glBindVertexArray(vao);
        glGenBuffers(2, buffers);
    }
    void TearDown() override {
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glDeleteBuffers(2, buffers);
        glBindVertexArray(0);
        glDeleteVertexArrays(1, &vao);
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        SimulationTest::TearDown();
    }

    // Full-window strip; texcoord (0, 0) at the bottom-left.
    void drawQuad(Shader* shader, float r, float g, float b, float a, bool textured) {
        const float vertices[12] = {-1, -1, 0, 1, -1, 0, -1, 1, 0, 1, 1, 0};
        const float texcoords[8] = {0, 0, 1, 0, 0, 1, 1, 1};
        const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        shader->bind();
        GLint vertex = shader->attribute("vertex");
        ASSERT_GE(vertex, 0);
        glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
        glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices, GL_STREAM_DRAW);
        glEnableVertexAttribArray(vertex);
        glVertexAttribPointer(vertex, 3, GL_FLOAT, GL_FALSE, 0, 0);
        GLint texcoord = -1;
        if (textured) {
            texcoord = shader->attribute("texcoord");
            ASSERT_GE(texcoord, 0);
            glBindBuffer(GL_ARRAY_BUFFER, buffers[1]);
            glBufferData(GL_ARRAY_BUFFER, sizeof texcoords, texcoords, GL_STREAM_DRAW);
            glEnableVertexAttribArray(texcoord);
            glVertexAttribPointer(texcoord, 2, GL_FLOAT, GL_FALSE, 0, 0);
        }
        glUniformMatrix4fv(shader->uniform("projection"), 1, GL_FALSE, identity);
        glUniformMatrix4fv(shader->uniform("modelview"), 1, GL_FALSE, identity);
        glUniform4f(shader->uniform("tint"), r, g, b, a);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        glDisableVertexAttribArray(vertex);
        if (texcoord >= 0) {
            glDisableVertexAttribArray(texcoord);
        }
        Shader::unbind();
    }

    void pixel(int x, int y, unsigned char* rgba) { glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba); }

    GLint viewport[4];
    GLuint vao;
    GLuint buffers[2];
};

TEST_F(UnitShaders, MonocolorFillsWithTheTint) {
    drawQuad(manager->monocolorShader, 1.0f, 0.0f, 0.0f, 0.65f, false);
    unsigned char rgba[4];
    pixel(viewport[2] / 2, viewport[3] / 2, rgba);
    EXPECT_EQ(255, rgba[0]);
    EXPECT_EQ(0, rgba[1]);
    EXPECT_EQ(0, rgba[2]);
}

TEST_F(UnitShaders, RingImageBrightnessBecomesCoverageOfTheTint) {
    ASSERT_NE(0u, manager->selectionTexture) << "run the asset generator first";
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, manager->selectionTexture);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawQuad(manager->textureShader, 0.0f, 1.0f, 0.0f, 1.0f, true);
    saveFramebufferPng("/work/main/out/unit_shader_ring.png", 0, 0, viewport[2], viewport[3]);
    // Along the middle row: green only, bright somewhere (the ring), dark at the centre (its hole).
    int w = viewport[2];
    std::vector<unsigned char> row(w * 4);
    glReadPixels(0, viewport[3] / 2, w, 1, GL_RGBA, GL_UNSIGNED_BYTE, &row[0]);
    int brightest = 0;
    for (int x = 0; x < w; ++x) {
        EXPECT_EQ(0, row[x * 4]) << x;
        EXPECT_EQ(0, row[x * 4 + 2]) << x;
        if (row[x * 4 + 1] > brightest) brightest = row[x * 4 + 1];
    }
    EXPECT_GT(brightest, 160);
    EXPECT_LT(row[(w / 2) * 4 + 1], 40);
}

TEST_F(UnitShaders, EffectAtlasIsTintedAndScaledByItsAlpha) {
    ASSERT_NE(0u, manager->fxTexture) << "run the asset generator first";
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, manager->fxTexture);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // additive, as the effects are drawn
    drawQuad(manager->texture2Shader, 1.0f, 0.0f, 1.0f, 1.0f, true);
    saveFramebufferPng("/work/main/out/unit_shader_fx.png", 0, 0, viewport[2], viewport[3]);
    int w = viewport[2];
    int h = viewport[3];
    std::vector<unsigned char> all(w * h * 4);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, &all[0]);
    int lit = 0;
    for (int i = 0; i < w * h; ++i) {
        EXPECT_EQ(0, all[i * 4 + 1]) << "green must be tinted away";
        if (all[i * 4 + 1] != 0) break;
        if (all[i * 4] > 32) ++lit;
    }
    EXPECT_GT(lit, 0);
    // Tint alpha 0 adds nothing.
    glClear(GL_COLOR_BUFFER_BIT);
    drawQuad(manager->texture2Shader, 1.0f, 1.0f, 1.0f, 0.0f, true);
    unsigned char rgba[4];
    pixel(w / 2, h / 2, rgba);
    EXPECT_EQ(0, rgba[0] + rgba[1] + rgba[2]);
}

TEST_F(UnitShaders, SelectionRingTakesTheAnisotropyLevel) {
    manager->setAnisotropy(2.0f);
    GLfloat level = 0.0f;
    glBindTexture(GL_TEXTURE_2D, manager->selectionTexture);
    glGetTexParameterfv(GL_TEXTURE_2D, 0x84FE, &level);
    EXPECT_FLOAT_EQ(2.0f, level);
}

}  // namespace
