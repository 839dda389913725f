#include <gtest/gtest.h>

#include <vector>

#include "blob_fixture.h"

namespace {

// How far in front of the camera a window depth lies, undoing the perspective projection's depth:
// ndc = (p10 * -e + p14) / e.
float eyeDistance(const MatrixStack& projection, float depth) {
    return projection.current.m[14] / (depth * 2.0f - 1.0f + projection.current.m[10]);
}

}  // namespace

// Seen from both ends of each axis, every shape covers the middle of the view, and the wall seen from one
// end lies nearer to it than the wall seen from the other: the surface is closed and faces outward, which
// the two-pass drawing (far side first) relies on. Drawn inside out, each camera would see the far wall
// and the two distances would add up to more than the cameras' spacing of 8.
TEST_F(BlobTest, EveryShapeIsAClosedSurfaceFacingOutward) {
    mesh->transparent = false;
    // pairs of opposite views: from +z and -z, from -y and +y, from +x and -x
    const float turns[6][4] = {{0, 1, 0, 0}, {180, 1, 0, 0}, {-90, 1, 0, 0}, {90, 1, 0, 0}, {-90, 0, 1, 0}, {90, 0, 1, 0}};
    for (int model = 0; model < 8; ++model) {
        float seen[6];
        for (int view = 0; view < 6; ++view) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            lookFrom(4.0f, turns[view][0], turns[view][1], turns[view][2], turns[view][3]);
            mesh->draw(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.03f, model, 1, 0, &projection, &modelview, &frustum);
            float d = 1.0f;
            glReadPixels(kSize / 2, kSize / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &d);
            EXPECT_LT(d, 1.0f) << "shape " << model << " leaves a hole in view " << view;
            seen[view] = eyeDistance(projection, d);
        }
        for (int axis = 0; axis < 3; ++axis) EXPECT_LT(seen[axis * 2] + seen[axis * 2 + 1], 8.0f) << model << " axis " << axis;
    }
}

// From the game's usual viewpoint (in front, above) a morph is the first shape at mix 0 and the second at
// mix 1, pixel for pixel, and neither half-way.
TEST_F(BlobTest, MorphsRunFromTheFirstShapeToTheSecond) {
    mesh->transparent = false;
    lookFrom(3.2f, -60.0f);
    // Muffin (3) into Fly (1) for player 3, both 1 x 1 so the transform stays the same
    std::vector<unsigned char> image[5];
    for (int i = 0; i < 5; ++i) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (i < 2) {
            mesh->draw(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.03f, i == 0 ? 3 : 1, 3, 400, &projection, &modelview, &frustum);
        } else {
            mesh->drawMorph(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 3, 1, 3, 400, &projection, &modelview,
                            (i - 2) * 0.5f, &frustum);
        }
        image[i].resize(kSize * kSize * 4);
        glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, image[i].data());
    }
    EXPECT_TRUE(image[0] != image[1] && image[0] == image[2] && image[1] == image[4]) << "mix 0 the muffin, 1 the fly";
    EXPECT_TRUE(image[3] != image[0] && image[3] != image[1]);
}

// Over white, a transparent red blob lets some white through its middle; an opaque one does not.
TEST_F(BlobTest, TransparentBlobsShowWhatIsBehindThem) {
    lookFrom(3.0f, 0.0f);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    int green[2];
    for (int transparent = 0; transparent < 2; ++transparent) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        mesh->transparent = transparent == 1;
        mesh->draw(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.03f, 5, 1, 0, &projection, &modelview, &frustum);
        // a 5 x 5 patch up and right of the middle, away from the highlight
        unsigned char patch[25 * 4];
        glReadPixels(kSize / 2 + 6, kSize / 2 + 6, 5, 5, GL_RGBA, GL_UNSIGNED_BYTE, patch);
        int sum = 0;
        for (int i = 0; i < 25; ++i) {
            EXPECT_GT(patch[i * 4], patch[i * 4 + 2]) << "the body is red";
            sum += patch[i * 4 + 1];
        }
        green[transparent] = sum / 25;
    }
    EXPECT_LT(green[0], 60);
    // a third or more through each of the two walls lets over a tenth of the white through
    EXPECT_GT(green[1], green[0] + 25);
}

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
            mesh->drawDying(0.0f, 0.0f, -11.0f, c.fade, 1.0f, 1.0f, 0.03f, 0, c.code, 0, &projection, &modelview, &frustum);
        } else {
            mesh->drawMorph(0.0f, 0.0f, -11.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0, 1, c.code, 0, &projection, &modelview, 0.5f,
                            &frustum);
        }
        float tint[4];
        glGetUniformfv(mesh->shader->program, mesh->shader->uniform("tint"), tint);
        for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(c.tint[i], tint[i]) << c.variant << " code " << c.code << " channel " << i;
    }
}
