#include <GL/glew.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "scene/terrain.h"
#include "support/gl_test.h"

// A freshly generated 64 map under a live GL context; tests that need known heights overwrite them.
class TerrainTest : public GlTest {
protected:
    Terrain* terrain = 0;

    void SetUp() override {
        GlTest::SetUp();
        if (!HasFatalFailure()) terrain = new Terrain(64, 0);
    }
    void TearDown() override {
        delete terrain;
        GlTest::TearDown();
    }
    float& h(int x, int y) { return terrain->heights[x + y * 65]; }
    unsigned char& fog(int x, int y) { return terrain->fogMap[(y * 64 + x) * 4 + 3]; }
    template <typename F>
    void fill(F f) {
        for (int i = 0; i < 65 * 65; ++i) terrain->heights[i] = f(i % 65, i / 65);
    }
};

namespace {

// Byte of channel c for texel (s, r) of a 64 map's weight image.
int weight(const std::vector<unsigned char>& image, int s, int r, int c) {
    return image[r * 12 * 64 + s * 3 + c];
}

// A side x side 24-bit BMP whose blue byte at pixel (x, y), top row first, is (x + 4y) % 256: every value
// 0..255 appears on a 65 image, 0 at (0, 0) and 255 at (63, 48).
std::string writeModifier(int side) {
    std::string path = "/tmp/gelmarch_terrain_" + std::to_string(getpid()) + "_" + std::to_string(side) + ".bmp";
    SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE, side, side, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    for (int i = 0; i < side * side; ++i) {
        unsigned char* p = (unsigned char*)image->pixels + i / side * image->pitch + i % side * 3;
        p[0] = (unsigned char)((i % side + 4 * (i / side)) % 256);
        p[1] = 77;
        p[2] = 200;
    }
    SDL_SaveBMP(image, path.c_str());
    SDL_FreeSurface(image);
    return path;
}

// Draws a 64 map from straight above into a 64 x 64 corner cleared to magenta, culling against an
// orthographic frustum over x = left..right; one character per probed pixel: 'o' background, '#' ground.
std::string drawAndProbe(Terrain* terrain, float left, float right, std::vector<std::pair<int, int>> probes) {
    MatrixStack modelview, projection, cull;
    projection.ortho(0.0f, 64.0f, 0.0f, 64.0f, 100.0f, -100.0f);
    cull.ortho(left, right, 0.0f, 64.0f, 100.0f, -100.0f);
    Frustum frustum;
    frustum.extract(cull, modelview);
    glViewport(0, 0, 64, 64);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    terrain->draw(&modelview, &projection, &frustum);
    std::vector<unsigned char> pixels(64 * 64 * 4);
    glReadPixels(0, 0, 64, 64, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    std::string result;
    for (const auto& probe : probes) {
        const unsigned char* p = &pixels[(probe.second * 64 + probe.first) * 4];
        result += p[0] == 255 && p[1] == 0 && p[2] == 255 ? 'o' : '#';
    }
    return result;
}

}  // namespace

TEST_F(TerrainTest, HeightInterpolatesInsideAndClampsToColumnsAndRowsOneToSizeMinusOne) {
    // On the plane h = x + 100 y bilinear interpolation is exact, so each query reads off its clamped point.
    fill([](int x, int y) { return (float)x + 100.0f * (float)y; });
    const float cases[][3] = {{2.5f, 3.25f, 327.5f},    {40.75f, 12.1f, 1250.75f}, {62.5f, 10.0f, 1062.5f},
                              {0.5f, 7.0f, 701.0f},     {1.0f, 7.0f, 701.0f},      {-3.0f, -20.0f, 101.0f},
                              {5.0f, 0.99f, 105.0f},    {63.0f, 10.0f, 1063.0f},   {63.7f, 10.0f, 1063.0f},
                              {500.0f, 10.0f, 1063.0f}, {20.0f, 64.0f, 6320.0f},   {99.0f, 101.0f, 6363.0f}};
    for (const auto& c : cases) EXPECT_FLOAT_EQ(c[2], terrain->height(c[0], c[1])) << c[0] << "," << c[1];
    // At a vertex inside 1 .. size - 2 the stored value comes back exactly.
    h(10, 20) = 1.2345678f;
    h(62, 62) = 3.3333333f;
    EXPECT_EQ(1.2345678f, terrain->height(10.0f, 20.0f));
    EXPECT_EQ(3.3333333f, terrain->height(62.0f, 62.0f));
}

TEST_F(TerrainTest, MaxHeightAroundTakesTheHighestOfFiveSamples) {
    fill([](int x, int y) { return x == 11 && y == 10 ? 2.0f : (x == 10 && y == 11 ? -5.0f : 0.0f); });
    // Only the sample half a cell east sees the bump, at half its height; the pit north pulls nothing down.
    EXPECT_FLOAT_EQ(1.0f, terrain->maxHeightAround(10.0f, 10.0f, 0.5f));
    EXPECT_FLOAT_EQ(2.0f, terrain->maxHeightAround(10.0f, 10.0f, 1.0f));
    EXPECT_FLOAT_EQ(1.0f, terrain->maxHeightAround(12.0f, 10.0f, 0.5f));
    // Radius 0 is the height at the point: a quarter of the bump plus a quarter of the pit.
    EXPECT_FLOAT_EQ(-0.75f, terrain->maxHeightAround(10.5f, 10.5f, 0.0f));
}

// The outer ring folds in onto the second, which is jittered off the grid by at most a quarter; inner
// vertices sit on the grid at their height.
TEST_F(TerrainTest, OuterRingFoldsInAndSecondRingIsJittered) {
    fill([](int x, int y) { return (float)x + 100.0f * (float)y; });
    std::vector<float> positions(65 * 65 * 3);
    terrain->buildPositions(positions.data());
    auto p = [&](int x, int y, int axis) { return positions[(x + y * 65) * 3 + axis]; };
    for (int k = 0; k <= 64; ++k) {
        ASSERT_TRUE(p(0, k, 0) == 2.0f && p(64, k, 0) == 62.0f && p(k, 0, 1) == 2.0f && p(k, 64, 1) == 62.0f) << k;
        ASSERT_NEAR(1.0f - 0.000025f, p(1, k, 0), 0.25001f);
        ASSERT_NEAR(63.0f - 0.000025f, p(63, k, 0), 0.25001f);
        ASSERT_NEAR(1.0f - 0.000025f, p(k, 1, 1), 0.25001f);
        ASSERT_NEAR(63.0f - 0.000025f, p(k, 63, 1), 0.25001f);
    }
    EXPECT_TRUE(p(17, 40, 0) == 17.0f && p(17, 40, 1) == 40.0f && p(17, 40, 2) == 4017.0f);
    EXPECT_EQ(6464.0f, p(64, 64, 2)) << "the folded corner keeps its own height";
}

TEST_F(TerrainTest, StripIndicesPerChunkOnBothMapSizes) {
    Terrain large(128, 0);
    ASSERT_EQ(8704, terrain->indexCount());
    ASSERT_EQ(34816, large.indexCount());
    std::vector<unsigned int> small(8704), big(34816);
    terrain->buildIndices(small.data());
    large.buildIndices(big.data());
    // Strip r of chunk (X, Y) starts at (Y * C + X) * 544 + r * 34 with vertex (16X, 16Y + r + 1), then
    // (16X, 16Y + r), and zigzags along x to 16X + 16.
    const unsigned int smallCases[][2] = {{0, 65},   {1, 0},          {2, 66},           {32, 81},
                                          {33, 16},  {34, 2 * 65},    {544, 16 + 65},    {4 * 544 + 1, 16 * 65},
                                          {8703, 64 + 63 * 65}};
    const unsigned int bigCases[][2] = {{0, 129}, {544, 16 + 129}, {8 * 544, 17 * 129}, {63 * 544, 112 + 113 * 129},
                                        {34815, 128 + 127 * 129}};
    for (const auto& c : smallCases) EXPECT_EQ(c[1], small[c[0]]) << "64 map, index " << c[0];
    for (const auto& c : bigCases) EXPECT_EQ(c[1], big[c[0]]) << "128 map, index " << c[0];
}

TEST_F(TerrainTest, NormalsPointDownOnLevelGroundWithHalvedZOnSlopes) {
    std::vector<float> normals(65 * 65 * 3);
    auto expectNormal = [&](int x, int y, float nx, float ny, float nz) {
        const float* n = &normals[(x + y * 65) * 3];
        EXPECT_TRUE(std::fabs(nx - n[0]) + std::fabs(ny - n[1]) + std::fabs(nz - n[2]) < 3e-5f) << x << "," << y;
    };
    fill([](int, int) { return 3.0f; });
    terrain->buildNormals(normals.data());
    expectNormal(30, 30, 0.0f, 0.0f, -1.0f);
    expectNormal(64, 64, 0.0f, 0.0f, -1.0f);
    // h = x: each pair adds (1, 0, -1); eight pairs with z halved give (8, 0, -4), i.e. (2, 0, -1) / sqrt 5,
    // also on the edge where only some pairs exist.
    fill([](int x, int) { return (float)x; });
    terrain->buildNormals(normals.data());
    float s = 1.0f / sqrtf(5.0f);
    expectNormal(20, 33, 2.0f * s, 0.0f, -s);
    expectNormal(20, 0, 2.0f * s, 0.0f, -s);
    // At corner (0, 0) only the pairs (1,0)-(1,1) and (1,1)-(0,1) exist. With h(0, 1) = 1 they give
    // (0, 0, -1) and (0, 1, 1) x (1, 1, 0) = (-1, 1, -1); sum (-1, 1, -2), z halved: (-1, 1, -1) / sqrt 3.
    fill([](int x, int y) { return x == 0 && y == 1 ? 1.0f : 0.0f; });
    terrain->buildNormals(normals.data());
    s = 1.0f / sqrtf(3.0f);
    expectNormal(0, 0, -s, s, -s);
    expectNormal(64, 64, 0.0f, 0.0f, -1.0f);
}

TEST_F(TerrainTest, SlopeRulesOverTheRandomBaseTypes) {
    // A peak of 2 at (30, 30), and 20 isolated pits of depth 1 on row 10 (D = -8, a rise of only 1).
    fill([](int x, int y) {
        return x == 30 && y == 30 ? 2.0f : (y == 10 && x >= 5 && (x - 5) % 3 == 0 ? -1.0f : 0.0f);
    });
    std::vector<signed char> types(65 * 65);
    terrain->classifyTiles(0, types.data());
    int variation = 0, hollows = 0;
    for (int i = 0; i < 65 * 65; ++i) {
        int x = i % 65, y = i / 65;
        // The peak is a crest and each of its neighbours sees a rise of 2 > 1.25; a pit's rim looks down
        // into it (D = +1 > 0.3), another crest.
        bool steep = std::abs(x - 30) <= 1 && std::abs(y - 30) <= 1;
        bool pit = y == 10 && x >= 5 && (x - 5) % 3 == 0;
        bool rim = !pit && std::abs(y - 10) <= 1 && x >= 4 && x <= 63;
        ASSERT_TRUE(steep || rim ? types[i] == 0 : pit ? types[i] != 0 : types[i] >= 2) << x << "," << y;
        hollows += pit && types[i] == 1;
        variation += !steep && !rim && !pit && types[i] == 2;
    }
    // Four hollows in five and one of the 4036 level vertices in three on average.
    EXPECT_GE(hollows, 10);
    EXPECT_NEAR(4036 / 3, variation, 300);
}

TEST_F(TerrainTest, AsteroidStripesFollowTheSinesAndTheBorderBandWinsOverSlopes) {
    fill([](int, int) { return -4.0f; });
    std::vector<signed char> types(65 * 65);
    terrain->classifyTiles(1, types.data());
    // Index 670 (20, 10): sin(670/11 + 10) = 0.975 >= 0.5, sin(134 + 20/7.4) = -0.999 <= 0.5: stays 3.
    // Index 660 (10, 10): 0.827 but 0.986 > 0.5: 2. Index 661 (11, 10): 0.373 < 0.5: 2. Index 792 (12, 12):
    // 0.514 and 0.198: 3.
    EXPECT_TRUE(types[670] == 3 && types[660] == 2 && types[661] == 2 && types[792] == 3);
    // Ridges on every other column make every vertex steep: type 0 except the five-wide border band.
    fill([](int x, int) { return (x % 2) * 5.0f - 8.0f; });
    terrain->classifyTiles(1, types.data());
    for (int y = 0; y <= 64; ++y) {
        for (int x = 0; x <= 64; ++x) {
            bool band = x < 5 || x > 59 || y < 5 || y > 59;
            ASSERT_EQ(band ? 2 : 0, types[x + y * 65]) << x << "," << y;
        }
    }
}

TEST_F(TerrainTest, WeightImageChannelsCarryTypesOneToThree) {
    std::vector<unsigned char> image(256 * 256 * 3, 99);
    // All type 3: the texel next to any corner is exactly 255 in blue (t = 0.839, 0.196, 0.196, 0: no jitter,
    // sum above 1); the centre texels take three jitters of at most 0.2 off 1.388, never below 0.78.
    std::vector<signed char> types(65 * 65, 3);
    terrain->buildWeightImage(types.data(), image.data());
    for (int r = 0; r < 256; ++r) {
        for (int s = 0; s < 256; ++s) {
            bool nearCorner = (s % 4 == 0 || s % 4 == 3) && (r % 4 == 0 || r % 4 == 3);
            ASSERT_GE(weight(image, s, r, 2), nearCorner ? 255 : 198) << s << "," << r;
            ASSERT_EQ(0, weight(image, s, r, 0) + weight(image, s, r, 1)) << s << "," << r;
        }
    }
    // A single type-1 vertex (1, 1) on type 0 ground (which has no channel).
    types.assign(65 * 65, 0);
    types[66] = 1;  // vertex (1, 1)
    terrain->buildWeightImage(types.data(), image.data());
    // Texel (3, 3) lies 0.1768 from the vertex: t = 1 - 0.1768 / 1.1 = 0.8393, byte 214. Texel (7, 4):
    // distance 0.8839, t = 0.1965, byte 50.
    EXPECT_TRUE(weight(image, 3, 3, 0) == 214 && weight(image, 7, 4, 0) == 50);
    // Texel (5, 4): t = 0.6406 lies in the jitter band, within 0.2 of byte 163.
    EXPECT_NEAR(163, weight(image, 5, 4, 0), 52);
    // Cells that do not touch the vertex, and the other channels, stay 0.
    EXPECT_EQ(0, weight(image, 8, 4, 0) + weight(image, 8, 8, 0) + weight(image, 4, 4, 1) + weight(image, 4, 4, 2));
}

TEST(TerrainSmoothing, ForwardSweepThenBackwardSweep) {
    // A raised far corner: forward only changes (1, 1) to 4; backward gives (2, 2) = (16 + 0 + 0 + 4) / 4,
    // (2, 1) = (1, 2) = (1, 1) = 1. Row 0 and column 0 stay 0.
    // Then values on row 0 and column 0 only. Forward: (0, 0) = 3, (1, 0) = (0, 1) = 2, (1, 1) = 0; it never
    // writes (2, 0) or (0, 2), and backward never writes row 0 or column 0. Backward: (2, 2) = 0,
    // (2, 1) = (0 + 0 + 4 + 2) / 4 = 1.5, (1, 2) = 1.5, (1, 1) = (0 + 2 + 2 + 3) / 4 = 1.75.
    float grids[2][9] = {{0, 0, 0, 0, 0, 0, 0, 0, 16}, {4, 4, 4, 4, 0, 0, 4, 0, 0}};
    const float expected[2][9] = {{0, 0, 0, 0, 1, 1, 0, 1, 5}, {3, 2, 4, 2, 1.75f, 1.5f, 4, 1.5f, 0}};
    for (int g = 0; g < 2; ++g) {
        Terrain::smoothPass(grids[g], 2);
        for (int i = 0; i < 9; ++i) EXPECT_FLOAT_EQ(expected[g][i], grids[g][i]) << g << " vertex " << i;
    }
}

// From the corners, a subdivision gives every other vertex a height (none from an unset one) but the done ones.
TEST(TerrainGeneration, SubdivisionSetsEveryVertexButTheCornersAndTheDoneOnes) {
    const int w = 17, kept = 5 + 3 * w;
    std::vector<float> heights(w * w, NAN);
    std::vector<unsigned char> done(w * w, 0);
    for (int corner : {0, 16, 16 * w, 16 * w + 16}) heights[corner] = 1.0f;
    heights[kept] = 7.0f;
    done[kept] = 1;
    Terrain::subdivide(heights.data(), done.data(), 16, 8, 8, 8, 1.0f, 0.7f);
    for (int i = 0; i < w * w; ++i) {
        bool corner = (i % w == 0 || i % w == 16) && (i / w == 0 || i / w == 16);
        ASSERT_TRUE(std::isfinite(heights[i]) && done[i] == !corner) << i % w << "," << i / w;
    }
    EXPECT_EQ(7.0f, heights[kept]);
}

TEST_F(TerrainTest, ModifierImageAddsForGrasslandsReplacesForTheAsteroidAndMustFitTheMap) {
    EXPECT_STREQ(".\\textures\\terrain\\modifier64_6.bmp", Terrain::modifierPath(64, 1, 2));
    EXPECT_STREQ(".\\textures\\terrain\\modifier128_4.bmp", Terrain::modifierPath(96, 1, 0));
    EXPECT_STREQ(".\\textures\\terrain\\modifier128_2.bmp", Terrain::modifierPath(128, 0, 1));

    std::string path = writeModifier(65);
    fill([](int, int) { return 1.0f; });
    ASSERT_TRUE(terrain->applyModifierImage(path.c_str(), 0));
    EXPECT_TRUE(h(0, 0) == 1.0f && h(3, 5) == 1.0f + 23.0f / 32.0f && h(64, 64) == 3.0f);  // blue 320 % 256 = 64

    fill([](int, int) { return 50.0f; });
    ASSERT_TRUE(terrain->applyModifierImage(path.c_str(), 1));
    EXPECT_FLOAT_EQ(23.0f / 32.0f - 8.0f, h(3, 5));
    EXPECT_TRUE(*std::min_element(terrain->heights, terrain->heights + 65 * 65) == -8.0f &&
                *std::max_element(terrain->heights, terrain->heights + 65 * 65) == -0.03125f);
    unlink(path.c_str());
    // The 128 image on a 64 map would read past its rows: one line, heights untouched. (A missing image
    // is covered with the missing assets.)
    path = writeModifier(129);
    fill([](int, int) { return 2.5f; });
    testing::internal::CaptureStdout();
    EXPECT_FALSE(terrain->applyModifierImage(path.c_str(), 1));
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(1, std::count(output.begin(), output.end(), '\n'));
    EXPECT_NE(std::string::npos, output.find("65x65")) << output;
    EXPECT_EQ(2.5f, h(3, 5));
    unlink(path.c_str());
}

TEST_F(TerrainTest, RevealClearsADiscOfSevenWithASoftEdgeAndOnlyLightens) {
    terrain->resetFog();
    terrain->revealFog(10.2f, 10.2f);
    // Texel (2, 10): centre (2.5, 10.5), distance 7.706: trunc(0.706 * 128) = 90. Texel (17, 10): distance
    // 7.306, 39; (18, 10): 8.305, beyond the edge. (1, 10) lies outside the 17 x 17 window (2..18); (3, 13)
    // at distance 7.469 gets 59.
    const int texels[6][3] = {{10, 10, 0}, {2, 10, 90}, {17, 10, 39}, {18, 10, 128}, {1, 10, 128}, {3, 13, 59}};
    for (const auto& t : texels) EXPECT_EQ(t[2], fog(t[0], t[1])) << t[0] << "," << t[1];
    // A second unit whose soft edge crosses texel (17, 10) (distance 7.406, 51) leaves the lighter 39.
    terrain->revealFog(24.9f, 10.2f);
    EXPECT_TRUE(fog(17, 10) == 39 && fog(18, 10) == 0);
    // At the map corner the window is cut to the map: texel (5, 58) at distance 7.284 gets 36.
    terrain->revealFog(0.3f, 63.6f);
    EXPECT_TRUE(fog(0, 63) == 0 && fog(5, 58) == 36 && fog(10, 50) == 128);
}

TEST_F(TerrainTest, VisibleBelowAlpha64AtTheNearestTexel) {
    terrain->resetFog();
    fog(30, 20) = 63;
    fog(31, 20) = 64;
    // 30.4 reads texel 30, 30.5 texel 31.
    EXPECT_TRUE(terrain->isVisible(30.0f, 20.0f) && terrain->isVisible(30.4f, 19.6f));
    EXPECT_FALSE(terrain->isVisible(31.0f, 20.0f) || terrain->isVisible(30.5f, 20.0f));
}

TEST_F(TerrainTest, DrawUploadsTheFogAndCullsWholeChunks) {
    fill([](int, int) { return 0.0f; });
    terrain->resetFog();
    terrain->revealFog(32.0f, 32.0f);
    // Culled against x 0..16: chunk columns 0 and 1 (centres 8 and 24, radius 13.92) are drawn, columns
    // 2 and 3 (centres 40 and 56) are not.
    EXPECT_EQ("##oo", drawAndProbe(terrain, 0.0f, 16.0f, {{10, 30}, {30, 30}, {40, 30}, {55, 10}}));
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(GL_TEXTURE9, active);
    std::vector<unsigned char> texels(64 * 64 * 4);
    glBindTexture(GL_TEXTURE_2D, terrain->fogTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glActiveTexture(GL_TEXTURE0);
    EXPECT_TRUE(texels[(32 * 64 + 32) * 4 + 3] == 0 && texels[(5 * 64 + 5) * 4 + 3] == 128) << "the fog uploaded";
    // A frustum far off to the side culls everything; without culling every strip is drawn whatever the
    // frustum, inside the rim folded in to 2 and 62.
    EXPECT_EQ("o", drawAndProbe(terrain, 500.0f, 600.0f, {{30, 30}}));
    terrain->frustumCulling = false;
    EXPECT_EQ("##oo", drawAndProbe(terrain, 500.0f, 600.0f, {{10, 30}, {55, 10}, {0, 30}, {63, 30}}));
}
