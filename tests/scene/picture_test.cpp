// Rendered frames read back and measured: the ground, the fog, the blob bodies, the sky, the menu headings.
#include <GL/glew.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/main_menu.h"
#include "game/unit_template.h"
#include "render/font.h"
#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "render/shader.h"
#include "render/texture.h"
#include "scene/blob_mesh.h"
#include "scene/sky.h"
#include "scene/terrain.h"
#include "support/gl_test.h"
#include "support/png_snapshot.h"

namespace {

const int kSize = 128;
const float kDegrees = 3.14159265f / 180.0f;
const float kGameFov = 2.0f * atanf(tanf(22.5f * kDegrees) * kSize / 768.0f) / kDegrees;

// The fine detail of the difference d of two kSize x kSize pictures: mean |d - 3 x 3 mean of d|.
double fineDetail(const std::vector<double>& a, const std::vector<double>& b) {
    auto d = [&](int i) { return a[i] - b[i]; };
    double sum = 0.0;
    for (int i = kSize + 1; i < kSize * (kSize - 1) - 1; ++i) {
        double mean = 0.0;
        for (int k = 0; k < 9; ++k) mean += d(i + (k / 3 - 1) * kSize + k % 3 - 1) / 9.0;
        sum += i % kSize > 0 && i % kSize < kSize - 1 ? std::fabs(d(i) - mean) : 0.0;
    }
    return sum / ((kSize - 2) * (kSize - 2));
}

// Pixels covered in depth picture a and not b or back, with no edge of b within `reach` pixels (across and
// down): where a's outline strayed from b's.
int strayPixels(const std::vector<float>& a, const std::vector<float>& b, int reach) {
    int stray = 0, side = 2 * reach + 1;
    for (int i = 0; i < kSize * kSize; ++i) {
        bool inside = b[i] < 1.0f, near = false;
        for (int k = 0; inside != (a[i] < 1.0f) && k < side * side; ++k) {
            int x = i % kSize + k % side - reach, y = i / kSize + k / side - reach;
            near = near || (x >= 0 && y >= 0 && x < kSize && y < kSize && (b[y * kSize + x] < 1.0f) != inside);
        }
        stray += inside != (a[i] < 1.0f) && !near;
    }
    return stray;
}

}  // namespace

// Pictures kSize x kSize unless a test asks for another size, drawn offscreen in the 3D pass state.
class PictureTest : public GlTest {
protected:
    OffscreenTarget target;
    MatrixStack modelview{4}, projection;
    Frustum frustum;

    void SetUp() override {
        GlTest::SetUp();
        ASSERT_TRUE(target.make(kSize, kSize));
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
    }
    void TearDown() override {
        target.release();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        GlTest::TearDown();
    }
    // A camera `distance` from a point, `turn` degrees about x; by default the game's (40 degrees down, and
    // kSize pixels see what a 1024 x 768 window's do).
    void gameCamera(float x, float y, float z, float distance, float turn = -40.0f, float fov = kGameFov) {
        projection.perspective(fov, 1.0f, 0.1f, 250.0f);
        modelview.loadIdentity();
        modelview.translate(0.0f, 0.0f, -distance);
        modelview.rotate(turn, 1.0f, 0.0f, 0.0f);
        modelview.translate(-x, -y, -z);
        frustum.extract(projection, modelview);
    }
    // A new frame; the viewport is set again, since building a terrain leaves the minimap's.
    void clear() {
        glViewport(0, 0, kSize, kSize);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    // The frame's brightness, or its depth, pixel by pixel from the bottom row up.
    std::vector<double> brightness(int width = kSize, int height = kSize) {
        std::vector<unsigned char> rgba(width * height * 4);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        std::vector<double> out(width * height);
        for (int i = 0; i < width * height; ++i) {
            out[i] = 0.299 * rgba[i * 4] + 0.587 * rgba[i * 4 + 1] + 0.114 * rgba[i * 4 + 2];
        }
        return out;
    }
    std::vector<float> depths(int width = kSize, int height = kSize) {
        std::vector<float> depth(width * height);
        glReadPixels(0, 0, width, height, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
        return depth;
    }
};

// The normal maps carry the grass blades and the cracks in the rock: from the opening camera, brought in
// to distance 10, flat normal maps in their place change the picture pixel by pixel, not in broad patches.
TEST_F(PictureTest, TheNormalMapsShapeTheLightOfEachPixel) {
    const unsigned char up[4] = {128, 128, 255, 255};
    GLuint flat = createBlankTexture(1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, up);
    for (int tileSet = 0; tileSet < 2; ++tileSet) {
        Terrain terrain(64, tileSet);  // with the fog clear, as built
        gameCamera(15.0f, 15.0f, terrain.height(15.0f, 15.0f), 10.0f);
        GLuint others[4] = {flat, flat, flat, flat};  // swapped in after the first pass, back after the second
        std::vector<double> seen[2];
        for (int pass = 0; pass < 2; ++pass) {
            clear();
            terrain.draw(&modelview, &projection, &frustum);
            seen[pass] = brightness();
            std::swap_ranges(others, others + 4, terrain.normalTextures);
        }
        EXPECT_GT(fineDetail(seen[0], seen[1]), tileSet == 0 ? 1.0 : 0.3) << "tile set " << tileSet;
    }
    glDeleteTextures(1, &flat);
}

// Seen from straight above, ground well inside a unit's revealed disc shows at its full brightness, and
// ground well outside it (not too dark to measure) at 0.3 to 0.4 of that: greyed, under drifting cloud shade.
TEST_F(PictureTest, FogDimsTheGroundAwayFromTheUnits) {
    Terrain terrain(64, 0);
    const float x0 = 3.0f, y0 = 6.0f, span = 24.0f, ux = 12.0f, uy = 18.0f;  // a unit
    projection.ortho(x0, x0 + span, y0, y0 + span, 100.0f, -100.0f);
    frustum.extract(projection, modelview);
    std::vector<double> seen[2];
    for (int fogged = 0; fogged < 2; ++fogged) {
        terrain.fogDisabled = fogged == 0;
        terrain.resetFog();
        terrain.revealFog(ux, uy);
        clear();
        terrain.draw(&modelview, &projection, &frustum);
        seen[fogged] = brightness();
    }
    int wrong = 0, measured = 0;
    for (int i = 0; i < kSize * kSize; ++i) {
        float d = hypotf(x0 + (i % kSize + 0.5f) * span / kSize - ux, y0 + (i / kSize + 0.5f) * span / kSize - uy);
        double lit = seen[0][i], dim = seen[1][i];
        bool hidden = d > 10.5f && lit > 40.0;
        wrong += (d < 4.5f && std::fabs(dim - lit) > 1.5) + (hidden && std::fabs(dim - 0.35 * lit) > 0.05 * lit + 1.5);
        measured += hidden;
    }
    EXPECT_EQ(0, wrong);
    EXPECT_GT(measured, 3000);
}

// No body lets the background through at any grid size the level of detail picks (by distance; n = 32 would
// put the body's centre on the near plane), seen from eight ways between the axes, from above and below in
// turn: a ray that meets only the inside of the far wall (covered with back faces drawn, the row above,
// not without) went through a hole. The middle of each view shows the same wall either way; drawn inside out,
// it would show the far wall once back faces are culled, and the two-pass drawing (far side first) goes wrong.
TEST_F(PictureTest, EveryBlobShapeIsClosedAndFacesOutwardAtEveryGridSize) {
    const int width = 8 * kSize;
    target.release();
    ASSERT_TRUE(target.make(width, 2 * kSize));
    BlobMesh mesh;
    mesh.transparent = false;  // one pass is enough for the depth
    for (int n = 8; n <= 31; ++n) {
        float ratio = powf(n == 31 ? 0.95f : 31.5f - n, 1.0f / 0.95f);
        ASSERT_EQ(n - 8, mesh.levelOfDetail(ratio));
        projection.perspective(2.0f * asinf(0.75f / (0.1f + ratio)) / kDegrees, 1.0f, 0.1f, 100.0f);
        for (int model = 0; model < 8; ++model) {
            glViewport(0, 0, width, 2 * kSize);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            for (int tile = 0; tile < 16; ++tile) {
                glViewport(tile % 8 * kSize, tile / 8 * kSize, kSize, kSize);
                modelview.loadIdentity();
                modelview.translate(0.0f, 0.0f, -0.1f - ratio);
                modelview.rotate(tile % 2 ? -125.0f : -55.0f, 1.0f, 0.0f, 0.0f);
                modelview.rotate(22.5f + 45.0f * (tile % 8), 0.0f, 0.0f, 1.0f);
                frustum.extract(projection, modelview);
                (tile < 8 ? glEnable : glDisable)(GL_CULL_FACE);
                mesh.draw(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.03f, model, 0, 0, &projection, &modelview, &frustum);
            }
            std::vector<float> depth = depths(width, 2 * kSize);
            int holes = 0;
            for (int i = width * (kSize + 1) + 1; i < width * (2 * kSize - 1) - 1; ++i) {
                // a pixel beside the open background (uncovered either way) is the outline's rounding
                float far = std::max({depth[i], depth[i - 1], depth[i + 1], depth[i - width], depth[i + width]});
                holes += depth[i - width * kSize] >= 1.0f && far < 1.0f;
            }
            EXPECT_EQ(0, holes) << "shape " << model << ", n " << n;
            for (int tile = 0; tile < 8; ++tile) {
                const float* middle = &depth[width * kSize / 2 + tile * kSize + kSize / 2];
                EXPECT_TRUE(middle[0] < 1.0f && middle[0] < middle[width * kSize] + 1e-6f) << "shape " << model;
            }
        }
    }
}

// At the default zoom, every morph of the unit tree starts as its first shape, pixel for pixel, is neither
// shape half-way, and its last frame has the outline of the second shape drawn after it, give or take the
// pixels of a different grid size.
TEST_F(PictureTest, MorphsRunFromTheFirstShapeToTheSecond) {
    BlobMesh mesh;
    std::vector<UnitTemplate*> types;
    createUnitTemplates(types);
    gameCamera(0.0f, 0.0f, 0.0f, 14.5f);
    int morphs = 0;
    for (UnitTemplate* from : types) {
        for (int next : from->morphTargets) {
            if (next < 0) continue;
            const UnitTemplate* to = types[next];
            std::vector<float> mixed[3];  // at mix 0, 0.5 and 1
            for (int k = 0; k < 3; ++k) {
                clear();
                mesh.drawMorph(0.0f, 0.0f, 0.0f, from->size, from->heightScale, to->size, to->heightScale, from->shape,
                               to->shape, 0, 0, &projection, &modelview, k * 0.5f, &frustum);
                mixed[k] = depths();
            }
            std::vector<float> alone[2];  // the two shapes drawn on their own
            for (int k = 0; k < 2; ++k) {
                const UnitTemplate* type = k ? to : from;
                clear();
                mesh.draw(0.0f, 0.0f, 0.0f, type->size, type->heightScale, 0.03f, type->shape, 0, 0, &projection,
                          &modelview, &frustum);
                alone[k] = depths();
            }
            std::string morph = from->name + " into " + to->name;
            EXPECT_TRUE(mixed[0] == alone[0] && mixed[1] != alone[0] && mixed[1] != alone[1]) << morph;
            EXPECT_EQ(0, strayPixels(mixed[2], alone[1], 4)) << morph;
            ++morphs;
        }
    }
    EXPECT_EQ(8, morphs);
    for (UnitTemplate* type : types) delete type;
}

// Over white, a transparent red blob seen from above lets some white through its middle; an opaque one does
// not.
TEST_F(PictureTest, TransparentBlobsShowWhatIsBehindThem) {
    BlobMesh mesh;
    gameCamera(0.0f, 0.0f, 0.0f, 3.0f, 0.0f, 40.0f);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);  // the game's, which a plain draw blends with
    int green[2];
    for (int transparent = 0; transparent < 2; ++transparent) {
        clear();
        mesh.transparent = transparent == 1;
        mesh.draw(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.03f, 5, 1, 0, &projection, &modelview, &frustum);
        // a 7 x 7 patch up and right of the middle, away from the highlight
        unsigned char patch[49 * 4];
        glReadPixels(kSize / 2 + 8, kSize / 2 + 8, 7, 7, GL_RGBA, GL_UNSIGNED_BYTE, patch);
        int sum = 0;
        for (int i = 0; i < 49; ++i) {
            EXPECT_GT(patch[i * 4], patch[i * 4 + 2]) << "the body is red";
            sum += patch[i * 4 + 1];
        }
        green[transparent] = sum / 49;
    }
    glBlendFunc(GL_ONE, GL_ZERO);
    glDisable(GL_BLEND);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_LT(green[0], 60);
    // a third or more through each of the two walls lets over a tenth of the white through
    EXPECT_GT(green[1], green[0] + 25);
}

// What "tint" each draw sends. draw: the player of code mod 4, red and blue lifted by 0.2 above 3, magenta
// with alpha (code - 8) percent above 7. drawDying: lifted by 0.1, alpha = fade, magenta only for 8.
// drawMorph: the player colour, green for unknown players.
TEST_F(PictureTest, BlobTintsFollowTheColourCodes) {
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
    BlobMesh mesh;
    mesh.transparent = false;
    gameCamera(0.0f, 0.0f, 0.0f, 14.5f);
    for (const auto& c : cases) {
        if (c.variant == kDraw) {
            mesh.draw(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.03f, 0, c.code, 0, &projection, &modelview, &frustum);
        } else if (c.variant == kDying) {
            mesh.drawDying(0.0f, 0.0f, 0.0f, c.fade, 1.0f, 1.0f, 0.03f, 0, c.code, 0, &projection, &modelview,
                           &frustum);
        } else {
            mesh.drawMorph(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0, 1, c.code, 0, &projection, &modelview, 0.5f,
                           &frustum);
        }
        float tint[4];
        glGetUniformfv(mesh.shader->program, mesh.shader->uniform("tint"), tint);
        for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(c.tint[i], tint[i]) << c.variant << " code " << c.code;
    }
}

// Each sky face, looked at straight on, shows its image upright and unmirrored: quadrants red, green / blue,
// grey from the top left, the grey telling the faces apart. The images (PNG content under the game's names,
// rows from the bottom) go into a folder of their own.
TEST_F(PictureTest, EachSkyFaceShowsItsImageUprightAndUnmirrored) {
    auto colour = [](int face, int q, int c) { return q == 3 ? 30 + 40 * face : q == c ? 255 : 0; };
    char folder[] = "/tmp/gelmarch_skyXXXXXX", here[4096];
    ASSERT_TRUE(mkdtemp(folder) && getcwd(here, sizeof here));
    std::string skybox = std::string(folder) + "/textures/skybox/";
    ASSERT_EQ(0, system(("mkdir -p " + skybox).c_str()));
    for (int face = 0; face < 6; ++face) {
        std::vector<unsigned char> image(16 * 16 * 4, 255);
        for (int i = 0; i < 16 * 16 * 4; ++i) image[i] = i % 4 == 3 ? 255 : colour(face, (i / 64 < 8) * 2 + (i / 4 % 16 >= 8), i % 4);
        ASSERT_TRUE(writePngBottomUp(skybox + std::to_string(face + 1) + ".bmp", 16, 16, image));
    }
    Shader shader("..\\shader\\texm");
    GLuint textures[6], vertexArray = 0, vertexBuffer = 0;
    ASSERT_EQ(0, chdir(folder));
    loadSkyTextures(1, textures);
    ASSERT_EQ(0, chdir(here));
    EXPECT_EQ(0, system(("rm -r " + std::string(folder)).c_str()));
    createSkyGeometry(&vertexArray, &vertexBuffer);
    projection.perspective(90.0f, 1.0f, 0.1f, 10.0f);  // a face fills the view out to its corners
    for (int face = 0; face < 6; ++face) {
        // sides: level, turned to face +x, -y, -x, +y; the top: up, facing +y; the bottom: down, facing -y
        modelview.loadIdentity();
        modelview.rotate(face < 4 ? -90.0f : 180.0f, face < 4, face == 4, face == 5);
        modelview.rotate(face < 4 ? 90.0f * (face + 1) : 0.0f, 0.0f, 0.0f, 1.0f);
        clear();
        drawSkyBox(&shader, textures, vertexArray, vertexBuffer, &projection, &modelview);
        const int inset[4][2] = {{32, 32}, {2, 2}, {2, 58}, {58, 2}};  // middle, corner, edges short of the middles
        for (int k = 0; k < 16; ++k) {  // quadrants top left, top right, bottom left, bottom right
            const int q = k % 4, x = inset[k / 4][0], y = inset[k / 4][1];
            unsigned char seen[4];
            glReadPixels(q % 2 ? kSize - x : x, q < 2 ? kSize - y : y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, seen);
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(colour(face, q, c), seen[c], 8) << "face " << face << " at " << q;
        }
    }
    glDeleteTextures(6, textures);
    glDeleteBuffers(1, &vertexBuffer);
    glDeleteVertexArrays(1, &vertexArray);
    Shader::unbind();
}

// The menu's four headings are plain white text: drawn over the menu without the font (and so without button
// captions) they only lighten it; a shadow would darken the pixels below and right of each letter.
TEST_F(PictureTest, TheMenuHeadingsCastNoShadow) {
    target.release();
    ASSERT_TRUE(target.make(640, 480));
    gScreenWidth = 640;
    gScreenHeight = 480;
    Font font, *saved = gFont;
    MainMenu menu;
    std::vector<double> frame[2];
    for (int headings = 0; headings < 2; ++headings) {
        gFont = headings ? &font : 0;
        menu.draw();
        frame[headings] = brightness(640, 480);
    }
    gFont = saved;
    int lighter = 0, darker = 0;
    // rows from just below the lower headings' baseline, above the button captions, to above the headings
    for (int i = 111 * 640; i < 150 * 640; ++i) {
        lighter += frame[1][i] - frame[0][i] > 40.0;
        darker += frame[1][i] - frame[0][i] < -12.0;
    }
    EXPECT_GT(lighter, 400) << "the headings are missing";
    EXPECT_EQ(0, darker);
}
