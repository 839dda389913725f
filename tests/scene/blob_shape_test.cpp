#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <GL/glew.h>

#include "blob_fixture.h"

namespace {

// How far in front of the camera a window depth lies, undoing the perspective projection's depth.
float eyeDistance(const MatrixStack& projection, float depth) {
    const float* p = projection.current.m;
    float ndc = depth * 2.0f - 1.0f;
    // ndc = (p10 * -e + p14) / e  =>  e = p14 / (ndc + p10)
    return p[14] / (ndc + p[10]);
}

const char* kShapeNames[8] = {"Blob", "Fly", "Drop", "Muffin", "Bomber", "Rotundus", "Pillow", "Slimy"};

// The blob program relinked to hand back every vertex it places, so a test can look at the surface the
// shader makes from a grid. Matrices are identity, so the points come back in model space.
class PointCapture {
public:
    explicit PointCapture(BlobMesh* mesh) : mesh(mesh), program(0) {
        program = glCreateProgram();
        glAttachShader(program, mesh->shader->vertexShader);
        glAttachShader(program, mesh->shader->fragmentShader);
        // keep the attribute where the mesh's vertex arrays expect it
        glBindAttribLocation(program, mesh->shader->attribute("vertex"), "vertex");
        const char* varyings[1] = {"gl_Position"};
        glTransformFeedbackVaryings(program, 1, varyings, GL_INTERLEAVED_ATTRIBS);
        glLinkProgram(program);
        GLint linked = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        ok = linked == GL_TRUE;
    }
    ~PointCapture() { glDeleteProgram(program); }

    // Every triangle corner of grid level `level` for the given shape, blend, time and wobble.
    std::vector<float> points(int level, int model, int model2, float mix, int time, float vertfactor) {
        int n = level + 8;
        int corners = (n - 1) * 2 * n * 3;
        GLuint buffer = 0;
        glGenBuffers(1, &buffer);
        glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, buffer);
        glBufferData(GL_TRANSFORM_FEEDBACK_BUFFER, corners * 16, 0, GL_STATIC_READ);
        glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, buffer);
        glUseProgram(program);
        const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        glUniformMatrix4fv(glGetUniformLocation(program, "modelview"), 1, GL_FALSE, identity);
        glUniformMatrix4fv(glGetUniformLocation(program, "projection"), 1, GL_FALSE, identity);
        glUniform1i(glGetUniformLocation(program, "time"), time);
        glUniform1i(glGetUniformLocation(program, "model"), model);
        glUniform1i(glGetUniformLocation(program, "model2"), model2);
        glUniform1f(glGetUniformLocation(program, "vertfactor"), vertfactor);
        glUniform1f(glGetUniformLocation(program, "mixfactor"), mix);
        glUniform1f(glGetUniformLocation(program, "resolution"), (float)n);
        glUniform1f(glGetUniformLocation(program, "x"), 3.0f);
        glUniform1f(glGetUniformLocation(program, "y"), 4.0f);
        glUniform1f(glGetUniformLocation(program, "z"), 0.5f);
        glUniform1f(glGetUniformLocation(program, "zfactor"), 1.0f);
        glBindVertexArray(mesh->vertexArrays[level]);
        glEnable(GL_RASTERIZER_DISCARD);
        glBeginTransformFeedback(GL_TRIANGLES);
        for (int k = 0; k < n - 1; ++k) {
            glDrawElements(GL_TRIANGLE_STRIP, 2 * n + 2, GL_UNSIGNED_INT, (const void*)(size_t)(k * (2 * n + 2) * 4));
        }
        glEndTransformFeedback();
        glDisable(GL_RASTERIZER_DISCARD);
        glBindVertexArray(0);
        glUseProgram(0);
        std::vector<float> out(corners * 4);
        glGetBufferSubData(GL_TRANSFORM_FEEDBACK_BUFFER, 0, corners * 16, out.data());
        glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, 0);
        glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, 0);
        glDeleteBuffers(1, &buffer);
        return out;
    }

    bool ok;

private:
    BlobMesh* mesh;
    GLuint program;
};

// True when every point is a real number within `limit` of the model's centre.
bool allPointsNear(const std::vector<float>& points, float limit, std::string& problem) {
    for (size_t i = 0; i < points.size(); i += 4) {
        for (int c = 0; c < 3; ++c) {
            float v = points[i + c];
            if (!(v >= -limit && v <= limit)) {
                problem = "corner " + std::to_string(i / 4) + " axis " + std::to_string(c) + " is " + std::to_string(v);
                return false;
            }
        }
    }
    return true;
}

}  // namespace

// The shader must turn every grid point into a real point of a unit-sized body: a NaN (say from the
// power of a float that came out a hair below zero at a pole) would tear a hole into the surface.
TEST_F(BlobTest, EveryShapeAndMorphPlacesEveryVertexNearTheBody) {
    PointCapture capture(mesh);
    ASSERT_TRUE(capture.ok);
    const int levels[2] = {0, 24};
    const int times[3] = {0, 1234, 987654};
    for (int model = 0; model < 8; ++model) {
        for (int l = 0; l < 2; ++l) {
            for (int t = 0; t < 3; ++t) {
                std::string problem;
                std::vector<float> points = capture.points(levels[l], model, 0, 0.0f, times[t], 0.12f);
                EXPECT_TRUE(allPointsNear(points, 1.0f, problem))
                    << kShapeNames[model] << " level " << levels[l] << " time " << times[t] << ": " << problem;
            }
        }
        // the crystal's strong, still wobble
        std::string problem;
        EXPECT_TRUE(allPointsNear(capture.points(10, model, 0, 0.0f, 0, 1.0f), 1.0f, problem))
            << kShapeNames[model] << " as a crystal: " << problem;
        for (int model2 = 0; model2 < 8; ++model2) {
            std::vector<float> points = capture.points(12, model, model2, 0.5f, 4321, 0.03f);
            EXPECT_TRUE(allPointsNear(points, 1.0f, problem))
                << kShapeNames[model] << " into " << kShapeNames[model2] << ": " << problem;
        }
    }
}

// Seen from both ends of each axis, every shape covers the middle of the view, and the wall seen from
// one end lies nearer to that end than the wall seen from the other: the surface is closed and its
// outside faces outward, which the two-pass drawing (far side first) relies on. Drawn inside out, each
// camera would see the far wall and the two distances would add up to more than the cameras' spacing.
TEST_F(BlobTest, EveryShapeIsAClosedSurfaceFacingOutward) {
    mesh->transparent = false;
    useOffscreen(0.0f, 0.0f, 0.0f);
    // pairs of opposite views: from +z and -z, from -y and +y, from +x and -x
    const float turns[6][4] = {
        {0.0f, 1.0f, 0.0f, 0.0f},  {180.0f, 1.0f, 0.0f, 0.0f}, {-90.0f, 1.0f, 0.0f, 0.0f},
        {90.0f, 1.0f, 0.0f, 0.0f}, {-90.0f, 0.0f, 1.0f, 0.0f}, {90.0f, 0.0f, 1.0f, 0.0f},
    };
    const char* axes[3] = {"z", "y", "x"};
    for (int model = 0; model < 8; ++model) {
        float seen[6];
        for (int view = 0; view < 6; ++view) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            modelview.loadIdentity();
            modelview.translate(0.0f, 0.0f, -4.0f);
            modelview.rotate(turns[view][0], turns[view][1], turns[view][2], turns[view][3]);
            frustum.extract(projection, modelview);
            mesh->draw(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.03f, model, 1, 0, &projection, &modelview, &frustum);
            float d = depthAt(kSize / 2, kSize / 2);
            EXPECT_LT(d, 1.0f) << kShapeNames[model] << " leaves a hole in view " << view;
            seen[view] = eyeDistance(projection, d);
        }
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_LT(seen[axis * 2] + seen[axis * 2 + 1], 8.0f)
                << kShapeNames[model] << " along " << axes[axis] << ": " << seen[axis * 2] << " + "
                << seen[axis * 2 + 1];
        }
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// The eight shapes have eight different outlines from the game's usual viewpoint (from the front, above).
TEST_F(BlobTest, TheEightShapesHaveDifferentOutlines) {
    mesh->transparent = false;
    useOffscreen(0.0f, 0.0f, 0.0f);
    modelview.loadIdentity();
    modelview.translate(0.0f, 0.0f, -3.2f);
    modelview.rotate(-60.0f, 1.0f, 0.0f, 0.0f);
    frustum.extract(projection, modelview);
    std::vector<std::vector<bool> > outlines;
    for (int model = 0; model < 8; ++model) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        mesh->draw(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.03f, model, 0, 0, &projection, &modelview, &frustum);
        std::vector<float> depths(kSize * kSize);
        glReadPixels(0, 0, kSize, kSize, GL_DEPTH_COMPONENT, GL_FLOAT, depths.data());
        std::vector<bool> covered(kSize * kSize);
        int count = 0;
        for (int i = 0; i < kSize * kSize; ++i) {
            covered[i] = depths[i] < 1.0f;
            count += covered[i];
        }
        EXPECT_GT(count, kSize * kSize / 40) << kShapeNames[model] << " is hardly there";
        outlines.push_back(covered);
    }
    for (int a = 0; a < 8; ++a) {
        for (int b = a + 1; b < 8; ++b) {
            int differing = 0;
            for (int i = 0; i < kSize * kSize; ++i) {
                differing += outlines[a][i] != outlines[b][i];
            }
            EXPECT_GT(differing, kSize * kSize / 100) << kShapeNames[a] << " looks like " << kShapeNames[b];
        }
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// A morph at mix 0 is the first shape and at mix 1 the second, pixel for pixel; half-way it is neither.
TEST_F(BlobTest, MorphEndsMatchThePlainShapes) {
    mesh->transparent = false;
    useOffscreen(0.0f, 0.0f, 0.0f);
    modelview.loadIdentity();
    modelview.translate(0.0f, 0.0f, -3.2f);
    modelview.rotate(-60.0f, 1.0f, 0.0f, 0.0f);
    frustum.extract(projection, modelview);
    const int pixels = kSize * kSize * 4;
    std::vector<unsigned char> image[5];
    // Muffin (3) into Fly (1) for player 3, both 1 x 1 so the transform stays the same
    for (int i = 0; i < 5; ++i) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (i == 0) {
            mesh->draw(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.03f, 3, 3, 400, &projection, &modelview, &frustum);
        } else if (i == 1) {
            mesh->draw(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.03f, 1, 3, 400, &projection, &modelview, &frustum);
        } else {
            float mix = (i - 2) * 0.5f;
            mesh->drawMorph(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 3, 1, 3, 400, &projection, &modelview, mix,
                            &frustum);
        }
        image[i].resize(pixels);
        glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, image[i].data());
    }
    EXPECT_TRUE(image[0] == image[2]) << "mix 0 differs from the muffin";
    EXPECT_TRUE(image[1] == image[4]) << "mix 1 differs from the fly";
    EXPECT_FALSE(image[3] == image[0]);
    EXPECT_FALSE(image[3] == image[1]);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// Over a white floor a transparent red blob lets some white through; an opaque one does not.
TEST_F(BlobTest, TransparentBlobsShowWhatIsBehindThem) {
    modelview.loadIdentity();
    modelview.translate(0.0f, 0.0f, -3.0f);
    frustum.extract(projection, modelview);
    int green[2];
    for (int transparent = 0; transparent < 2; ++transparent) {
        useOffscreen(1.0f, 1.0f, 1.0f);
        mesh->transparent = transparent == 1;
        mesh->draw(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.03f, 5, 1, 0, &projection, &modelview, &frustum);
        // average green over a small patch up and right of the middle, away from the highlight
        int sum = 0;
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                unsigned char rgba[4];
                pixel(kSize / 2 + 8 + dx, kSize / 2 + 8 + dy, rgba);
                EXPECT_GT(rgba[0], rgba[2]) << "the body is red";
                sum += rgba[1];
            }
        }
        green[transparent] = sum / 25;
    }
    EXPECT_LT(green[0], 60);
    // the middle of the body lets at least a third through per wall: two walls pass over a tenth of the white
    EXPECT_GT(green[1], green[0] + 25);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}
