#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "blob_fixture.h"

namespace {

const char* kShapeNames[8] = {"Blob", "Fly", "Drop", "Muffin", "Bomber", "Rotundus", "Pillow", "Slimy"};

// How far in front of the camera a window depth lies, undoing the perspective projection's depth:
// ndc = (p10 * -e + p14) / e.
float eyeDistance(const MatrixStack& projection, float depth) {
    return projection.current.m[14] / (depth * 2.0f - 1.0f + projection.current.m[10]);
}

}  // namespace

// The blob program relinked to hand back, through transform feedback, every triangle corner it places
// with identity matrices: each must be a real point within the unit-sized body, for every shape at
// both ends of the detail range, as a crystal, and half-way through every morph. A NaN (say from the
// power of a float a hair below zero at a pole) would tear a hole into the surface.
TEST_F(BlobTest, EveryShapeAndMorphPlacesEveryVertexNearTheBody) {
    GLuint program = glCreateProgram();
    glAttachShader(program, mesh->shader->vertexShader);
    glAttachShader(program, mesh->shader->fragmentShader);
    glBindAttribLocation(program, mesh->shader->attribute("vertex"), "vertex");
    const char* varyings[1] = {"gl_Position"};
    glTransformFeedbackVaryings(program, 1, varyings, GL_INTERLEAVED_ATTRIBS);
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    ASSERT_EQ(GL_TRUE, linked);
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, buffer);
    glUseProgram(program);
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    glUniformMatrix4fv(glGetUniformLocation(program, "modelview"), 1, GL_FALSE, identity);
    glUniformMatrix4fv(glGetUniformLocation(program, "projection"), 1, GL_FALSE, identity);
    glUniform1f(glGetUniformLocation(program, "zfactor"), 1.0f);
    glEnable(GL_RASTERIZER_DISCARD);

    // (level, time, vertfactor, mix): resting and busy units, a crystal, and a morph for model2 0..7
    const struct {
        int level, time;
        float vertfactor, mix;
    } looks[] = {{0, 0, 0.03f, 0.0f}, {24, 1234, 0.12f, 0.0f}, {24, 987654, 0.12f, 0.0f}, {10, 0, 1.0f, 0.0f},
                 {12, 4321, 0.03f, 0.5f}};
    for (int model = 0; model < 8; ++model) {
        for (const auto& look : looks) {
            for (int model2 = 0; model2 < (look.mix > 0.0f ? 8 : 1); ++model2) {
                int n = look.level + 8;
                int corners = (n - 1) * 2 * n * 3;
                glBufferData(GL_TRANSFORM_FEEDBACK_BUFFER, corners * 16, 0, GL_STATIC_READ);
                glUniform1i(glGetUniformLocation(program, "time"), look.time);
                glUniform1i(glGetUniformLocation(program, "model"), model);
                glUniform1i(glGetUniformLocation(program, "model2"), model2);
                glUniform1f(glGetUniformLocation(program, "vertfactor"), look.vertfactor);
                glUniform1f(glGetUniformLocation(program, "mixfactor"), look.mix);
                glUniform1f(glGetUniformLocation(program, "resolution"), (float)n);
                glBindVertexArray(mesh->vertexArrays[look.level]);
                glBeginTransformFeedback(GL_TRIANGLES);
                for (int k = 0; k < n - 1; ++k) {
                    const size_t offset = k * (2 * n + 2) * 4;
                    glDrawElements(GL_TRIANGLE_STRIP, 2 * n + 2, GL_UNSIGNED_INT, (const void*)offset);
                }
                glEndTransformFeedback();
                std::vector<float> points(corners * 4);
                glGetBufferSubData(GL_TRANSFORM_FEEDBACK_BUFFER, 0, corners * 16, points.data());
                int bad = 0;
                for (int i = 0; i < corners * 4; ++i) {
                    bad += (i % 4 != 3) && !(std::fabs(points[i]) <= 1.0f);
                }
                EXPECT_EQ(0, bad) << kShapeNames[model] << " level " << look.level << " time " << look.time
                                  << " vertfactor " << look.vertfactor << " into " << kShapeNames[model2];
            }
        }
    }
    glDisable(GL_RASTERIZER_DISCARD);
    glBindVertexArray(0);
    glUseProgram(0);
    glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, 0);
    glDeleteBuffers(1, &buffer);
    glDeleteProgram(program);
}

// Seen from both ends of each axis, every shape covers the middle of the view, and the wall seen from one
// end lies nearer to it than the wall seen from the other: the surface is closed and faces outward, which
// the two-pass drawing (far side first) relies on. Drawn inside out, each camera would see the far wall
// and the two distances would add up to more than the cameras' spacing of 8.
TEST_F(BlobTest, EveryShapeIsAClosedSurfaceFacingOutward) {
    mesh->transparent = false;
    // pairs of opposite views: from +z and -z, from -y and +y, from +x and -x
    const float turns[6][4] = {
        {0.0f, 1.0f, 0.0f, 0.0f},  {180.0f, 1.0f, 0.0f, 0.0f}, {-90.0f, 1.0f, 0.0f, 0.0f},
        {90.0f, 1.0f, 0.0f, 0.0f}, {-90.0f, 0.0f, 1.0f, 0.0f}, {90.0f, 0.0f, 1.0f, 0.0f},
    };
    for (int model = 0; model < 8; ++model) {
        float seen[6];
        for (int view = 0; view < 6; ++view) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            lookFrom(4.0f, turns[view][0], turns[view][1], turns[view][2], turns[view][3]);
            mesh->draw(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.03f, model, 1, 0, &projection, &modelview, &frustum);
            float d = 1.0f;
            glReadPixels(kSize / 2, kSize / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &d);
            EXPECT_LT(d, 1.0f) << kShapeNames[model] << " leaves a hole in view " << view;
            seen[view] = eyeDistance(projection, d);
        }
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_LT(seen[axis * 2] + seen[axis * 2 + 1], 8.0f) << kShapeNames[model] << " along axis " << axis;
        }
    }
}

// From the game's usual viewpoint (in front, above) the eight shapes have eight clearly different
// outlines of a fair size, and a morph is the first shape at mix 0, the second at mix 1, pixel for pixel,
// and neither half-way.
TEST_F(BlobTest, ShapesHaveTheirOwnOutlinesAndMorphsRunBetweenThem) {
    mesh->transparent = false;
    lookFrom(3.2f, -60.0f);
    std::vector<std::vector<bool> > outlines;
    for (int model = 0; model < 8; ++model) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        mesh->draw(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.03f, model, 0, 0, &projection, &modelview, &frustum);
        std::vector<float> depths(kSize * kSize);
        glReadPixels(0, 0, kSize, kSize, GL_DEPTH_COMPONENT, GL_FLOAT, depths.data());
        outlines.push_back(std::vector<bool>(kSize * kSize));
        int count = 0;
        for (int i = 0; i < kSize * kSize; ++i) {
            outlines.back()[i] = depths[i] < 1.0f;
            count += depths[i] < 1.0f;
        }
        EXPECT_GT(count, kSize * kSize / 40) << kShapeNames[model] << " is hardly there";
        for (int other = 0; other < model; ++other) {
            int differing = 0;
            for (int i = 0; i < kSize * kSize; ++i) {
                differing += outlines[other][i] != outlines[model][i];
            }
            EXPECT_GT(differing, kSize * kSize / 100) << kShapeNames[model] << " looks like " << kShapeNames[other];
        }
    }

    // Muffin (3) into Fly (1) for player 3, both 1 x 1 so the transform stays the same
    std::vector<unsigned char> image[5];
    for (int i = 0; i < 5; ++i) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (i < 2) {
            mesh->draw(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.03f, i == 0 ? 3 : 1, 3, 400, &projection, &modelview,
                       &frustum);
        } else {
            mesh->drawMorph(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 3, 1, 3, 400, &projection, &modelview,
                            (i - 2) * 0.5f, &frustum);
        }
        image[i].resize(kSize * kSize * 4);
        glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, image[i].data());
    }
    EXPECT_TRUE(image[0] == image[2]) << "mix 0 differs from the muffin";
    EXPECT_TRUE(image[1] == image[4]) << "mix 1 differs from the fly";
    EXPECT_FALSE(image[3] == image[0]);
    EXPECT_FALSE(image[3] == image[1]);
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
