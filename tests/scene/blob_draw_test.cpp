#include <gtest/gtest.h>

#include "blob_fixture.h"

namespace {

void expectValues(const float* expected, const float* actual, int count, const char* what) {
    for (int i = 0; i < count; ++i) {
        EXPECT_NEAR(expected[i], actual[i], 1e-4f) << what << " element " << i;
    }
}

}  // namespace

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
        if (c.variant == kDraw) {
            mesh->draw(0.0f, 0.0f, -11.0f, 1.0f, 1.0f, 0.03f, 0, c.code, 0, &projection, &modelview, &frustum);
        } else if (c.variant == kDying) {
            mesh->drawDying(0.0f, 0.0f, -11.0f, c.fade, 1.0f, 1.0f, 0.03f, 0, c.code, 0, &projection, &modelview,
                            &frustum);
        } else {
            mesh->drawMorph(0.0f, 0.0f, -11.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0, 1, c.code, 0, &projection, &modelview,
                            0.5f, &frustum);
        }
        float tint[4];
        uniform("tint", tint);
        for (int i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(c.tint[i], tint[i]) << "variant " << c.variant << " code " << c.code << " channel " << i;
        }
    }
}

// What each draw sends: the body placed at z + (H - 1) / 2 and scaled by (W, W, H), turned over about x
// by fade * 110 degrees while dying, sized by the mix while morphing (whose grid and zfactor stay with the
// first shape), with the caller's matrix left as it was. draw and drawDying leave "model2" as the last
// morph set it (7). Grid n: size / distance ratio r, n = trunc(32 - r^0.95).
TEST_F(BlobTest, EachDrawSendsItsTransformAndSettings) {
    const float x = 1.5707964f;
    const struct {
        int variant;
        float m[16];
        int model, model2, time;
        float vertfactor, mix, zfactor, resolution;
    } cases[] = {
        // size 2 at distance 10: 5^0.95 = 4.61, n = 27
        {0, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 0, 0.5f, -0.25f, -10.5f, 1}, 3, 7, 777, 0.12f, 0, 2, 27},
        // 55 degrees: cos 0.573576, sin 0.819152; columns scaled by 0.8, 0.8, 1.5; lifted by 0.25; n = 25
        {1, {0.8f, 0, 0, 0, 0, 0.458861f, 0.655322f, 0, 0, -1.228728f, 0.860364f, 0, x, 0, -10.75f, 1}, 2, 7, 9,
         0.12f, 0, 1.875f, 25},
        {2, {0.8f, 0, 0, 0, 0, 0.8f, 0, 0, 0, 0, 1.5f, 0, x, 0, -10.75f, 1}, 2, 7, 9, 0.03f, 0, 1.875f, 25},
        // 1 x 0.5 into 2 x 3 at mix 0, 0.25 (0.75 + 0.5, 0.375 + 0.75, lifted by 0.0625) and 1; n = 23
        {3, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0.5f, 0, 0, 0, -11.25f, 1}, 2, 6, 5, 0.03f, 0, 0.5f, 23},
        {4, {1.25f, 0, 0, 0, 0, 1.25f, 0, 0, 0, 0, 1.125f, 0, 0, 0, -10.9375f, 1}, 2, 6, 5, 0.03f, 0.25f, 0.5f, 23},
        {5, {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 3, 0, 0, 0, -10, 1}, 2, 6, 5, 0.03f, 1, 0.5f, 23},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.variant);
        mesh->drawMorph(0.0f, 0.0f, -11.0f, 1.0f, 1.0f, 2.0f, 2.0f, 0, 7, 1, 0, &projection, &modelview, 0.6f, &frustum);
        if (c.variant == 0) {
            mesh->draw(0.5f, -0.25f, -11.0f, 1.0f, 2.0f, 0.12f, 3, 5, 777, &projection, &modelview, &frustum);
        } else if (c.variant < 3) {
            mesh->drawDying(x, 0.0f, -11.0f, c.variant == 1 ? 0.5f : 0.0f, 0.8f, 1.5f, c.vertfactor, 2, 6, 9,
                            &projection, &modelview, &frustum);
        } else {
            mesh->drawMorph(0.0f, 0.0f, -11.0f, 1.0f, 0.5f, 2.0f, 3.0f, 2, 6, 2, 5, &projection, &modelview, c.mix,
                            &frustum);
        }
        float m[16];
        uniform("modelview", m);
        expectValues(c.m, m, 16, "modelview");
        uniform("projection", m);
        expectValues(projection.current.m, m, 16, "projection");
        EXPECT_TRUE(uniformInt("model") == c.model && uniformInt("model2") == c.model2 && uniformInt("time") == c.time);
        const float settings[4] = {c.vertfactor, c.mix, c.zfactor, c.resolution};
        const char* names[4] = {"vertfactor", "mixfactor", "zfactor", "resolution"};
        for (int i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(settings[i], uniformFloat(names[i])) << names[i];
        }
        EXPECT_EQ(0, modelview.depth);
        expectValues(MatrixStack().current.m, modelview.current.m, 16, "caller's modelview");
    }
    const float where[3] = {0.5f, -0.25f, -11.0f};  // draw also sends its position
    mesh->draw(where[0], where[1], where[2], 1.0f, 2.0f, 0.12f, 3, 5, 777, &projection, &modelview, &frustum);
    EXPECT_TRUE(uniformFloat("x") == where[0] && uniformFloat("y") == where[1] && uniformFloat("z") == where[2]);
}

// n - 1 strips of 2n triangles, twice when transparent (n = 23 here, 8 far away); every draw hands back
// the 3D pass state, and only drawDying and drawMorph leave their blend function, when they blended.
TEST_F(BlobTest, EachPassDrawsEveryStripAndTheStateIsRestored) {
    for (int transparent = 0; transparent < 2; ++transparent) {
        mesh->transparent = transparent == 1;
        const GLuint expected = (transparent ? 2 : 1) * 22 * 46;
        const GLenum blendSource = transparent ? GL_SRC_ALPHA : GL_ONE;
        const GLenum blendDestination = transparent ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE;
        for (int variant = 0; variant < 3; ++variant) {
            glBlendFunc(GL_ONE, GL_ONE);
            GLuint triangles = trianglesDrawnBy([&] {
                if (variant == 0) {
                    mesh->draw(0.0f, 0.0f, -11.0f, 1.0f, 1.0f, 0.03f, 0, 0, 0, &projection, &modelview, &frustum);
                } else if (variant == 1) {
                    mesh->drawDying(0.0f, 0.0f, -11.0f, 0.5f, 1.0f, 1.0f, 0.03f, 0, 0, 0, &projection, &modelview,
                                    &frustum);
                } else {
                    mesh->drawMorph(0.0f, 0.0f, -11.0f, 1.0f, 1.0f, 3.0f, 3.0f, 0, 1, 0, 0, &projection, &modelview,
                                    0.5f, &frustum);
                }
            });
            const char* names[3] = {"draw", "drawDying", "drawMorph"};
            EXPECT_EQ(expected, triangles) << names[variant] << ", transparent " << transparent;
            expect3dPassState(names[variant]);
            GLint source = 0;
            GLint destination = 0;
            glGetIntegerv(GL_BLEND_SRC_RGB, &source);
            glGetIntegerv(GL_BLEND_DST_RGB, &destination);
            EXPECT_EQ(variant == 0 ? GL_ONE : blendSource, (GLenum)source) << names[variant];
            EXPECT_EQ(variant == 0 ? GL_ONE : blendDestination, (GLenum)destination) << names[variant];
        }
    }
    mesh->transparent = false;
    EXPECT_EQ(7u * 16u, trianglesDrawnBy([&] {
        mesh->draw(0.0f, 0.0f, -60.0f, 1.0f, 1.0f, 0.03f, 0, 0, 0, &projection, &modelview, &frustum);
    }));
}
