#include <gtest/gtest.h>

#include "blob_fixture.h"

// What "tint" each draw sends. draw: the player of code mod 4, red and blue lifted by 0.2 above 3, magenta
// with alpha (code - 8) percent above 7. drawDying: lifted by 0.1, alpha = fade, magenta only for 8.
// drawMorph: the player colour, green for unknown players.
TEST_F(BlobTest, TintsFollowTheColourCodes) {
    enum { kDraw, kDying, kMorph };
    const struct {
        int variant, code;
        float fade, tint[4];
    } cases[] = {
        {kDraw, 1, 0, {1, 0, 0, 1}},         {kDraw, 4, 0, {0.2f, 1, 0.2f, 1}},  {kDraw, 5, 0, {1, 0, 0.2f, 1}},
        {kDraw, 6, 0, {0.2f, 0, 1, 1}},      {kDraw, 7, 0, {1, 1, 0.2f, 1}},     {kDraw, 8, 0, {1, 0, 1, 0}},
        {kDraw, 20, 0, {1, 0, 1, 0.12f}},    {kDraw, 80, 0, {1, 0, 1, 0.72f}},   {kDraw, -3, 0, {0, 1, 0, 1}},
        {kDying, 2, 0.25f, {0, 0, 1, 0.25f}}, {kDying, 4, 0.5f, {0.1f, 1, 0.1f, 0.5f}},
        {kDying, 5, 0.5f, {1, 0, 0.1f, 0.5f}}, {kDying, 6, 0.75f, {0.1f, 0, 1, 0.75f}},
        {kDying, 8, 0.6f, {1, 0, 1, 0.6f}},   {kDying, 80, 0.3f, {0.1f, 1, 0.1f, 0.3f}},
        {kMorph, 1, 0, {1, 0, 0, 1}},         {kMorph, 3, 0, {1, 1, 0, 1}},       {kMorph, 4, 0, {0, 1, 0, 1}},
        {kMorph, -1, 0, {0, 1, 0, 1}},
    };
    for (const auto& c : cases) {
        drawVariant(c.variant, c.code, c.fade);
        float tint[4];
        glGetUniformfv(mesh->shader->program, mesh->shader->uniform("tint"), tint);
        for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(c.tint[i], tint[i]) << c.variant << " code " << c.code << " channel " << i;
    }
}

// n - 1 strips of 2n triangles, twice when transparent (n = 23 here, 8 far away); every draw hands back
// the 3D pass state, and only drawDying and drawMorph leave their blend function, when they blended.
TEST_F(BlobTest, EachPassDrawsEveryStripAndTheStateIsRestored) {
    for (int transparent = 0; transparent < 2; ++transparent) {
        mesh->transparent = transparent == 1;
        for (int variant = 0; variant < 3; ++variant) {
            glBlendFunc(GL_ONE, GL_ONE);
            EXPECT_EQ((transparent ? 2u : 1u) * 22 * 46, trianglesDrawnBy([&] { drawVariant(variant, 0, 0.5f); }))
                << variant << ", transparent " << transparent;
            const GLenum names[8] = {GL_BLEND, GL_DEPTH_FUNC, GL_DEPTH_WRITEMASK, GL_FRONT_FACE, GL_CURRENT_PROGRAM,
                                     GL_VERTEX_ARRAY_BINDING, GL_BLEND_SRC_RGB, GL_BLEND_DST_RGB};
            const bool blended = transparent && variant > 0;
            const GLint expected[8] = {GL_FALSE, GL_LESS, GL_TRUE, GL_CCW, 0, 0, blended ? GL_SRC_ALPHA : GL_ONE,
                                       blended ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE};
            for (int i = 0; i < 8; ++i) {
                GLint seen = -1;
                glGetIntegerv(names[i], &seen);
                EXPECT_EQ(expected[i], seen) << variant << ", state 0x" << std::hex << names[i];
            }
        }
    }
    mesh->transparent = false;
    EXPECT_EQ(7u * 16u, trianglesDrawnBy([&] {
        mesh->draw(0.0f, 0.0f, -60.0f, 1.0f, 1.0f, 0.03f, 0, 0, 0, &projection, &modelview, &frustum);
    }));
}
