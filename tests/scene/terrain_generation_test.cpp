#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "terrain_fixture.h"

namespace {

// Writes a side x side 24-bit BMP whose blue byte at pixel (x, y) (top row first) is blue(x, y).
std::string writeModifier(const char* name, int side, int (*blue)(int, int)) {
    std::string path = std::string("/tmp/gelmarch_terrain_") + std::to_string(getpid()) + "_" + name + ".bmp";
    SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE, side, side, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    unsigned char* pixels = (unsigned char*)image->pixels;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            unsigned char* p = pixels + y * image->pitch + x * 3;
            p[0] = (unsigned char)blue(x, y);
            p[1] = 77;
            p[2] = 200;
        }
    }
    SDL_SaveBMP(image, path.c_str());
    SDL_FreeSurface(image);
    return path;
}

int diagonalBlue(int x, int y) {
    return (x + 2 * y) % 256;
}

int fullBlue(int, int) {
    return 255;
}

// How many rand() calls something made: replays the same seed and finds the value that came next.
int drawsBetween(unsigned seed, int expectedNext) {
    srand(seed);
    for (int n = 0; n < 100000; ++n) {
        if (rand() == expectedNext) {
            return n;
        }
    }
    return -1;
}

}  // namespace

TEST(TerrainSubdivide, EdgeMidpointsUseTheirEdgeAndTheCentreUsesTheMidpoints) {
    // A 2 x 2 cell grid with corners 0, 4, 8, 12 and no displacement.
    float heights[9] = {0, 0, 4, 0, 0, 0, 8, 0, 12};
    unsigned char done[9] = {0};
    Terrain::subdivide(heights, done, 2, 1, 1, 1, 0.0f, 0.7f);
    EXPECT_FLOAT_EQ(4.0f, heights[0 + 1 * 3]);   // (0, 1): between 0 and 8
    EXPECT_FLOAT_EQ(8.0f, heights[2 + 1 * 3]);   // (2, 1): between 4 and 12
    EXPECT_FLOAT_EQ(2.0f, heights[1 + 0 * 3]);   // (1, 0): between 0 and 4
    EXPECT_FLOAT_EQ(10.0f, heights[1 + 2 * 3]);  // (1, 2): between 8 and 12
    EXPECT_FLOAT_EQ(6.0f, heights[1 + 1 * 3]);   // centre: mean of the four midpoints
    EXPECT_EQ(0, done[0]);
    EXPECT_EQ(0, done[8]);
    EXPECT_EQ(1, done[4]);
}

TEST(TerrainSubdivide, APointAlreadySetKeepsItsHeightAndDrawsNothing) {
    float heights[9] = {0, 100, 4, 0, 0, 0, 8, 0, 12};
    unsigned char done[9] = {0, 1, 0, 0, 0, 0, 0, 0, 0};
    srand(99);
    // Amplitude 0: the jitters are still drawn but add nothing, so the result can be worked out.
    Terrain::subdivide(heights, done, 2, 1, 1, 1, 0.0f, 0.7f);
    int next = rand();
    EXPECT_FLOAT_EQ(100.0f, heights[1]);
    EXPECT_FLOAT_EQ((4.0f + 8.0f + 100.0f + 10.0f) / 4.0f, heights[4]);
    // Four points set, four jitters drawn.
    EXPECT_EQ(4, drawsBetween(99, next));
}

TEST(TerrainSubdivide, EveryVertexButTheCornersIsSetExactlyOnce) {
    const int n = 64;
    const int w = n + 1;
    std::vector<float> heights(w * w, 0.0f);
    std::vector<unsigned char> done(w * w, 0);
    srand(1234);
    Terrain::subdivide(heights.data(), done.data(), n, n / 2, n / 2, n / 2, 2.0f, 0.7f);
    int next = rand();
    int unset = 0;
    for (int i = 0; i < w * w; ++i) {
        unset += done[i] == 0;
    }
    EXPECT_EQ(4, unset);
    EXPECT_EQ(0, done[0]);
    EXPECT_EQ(0, done[n]);
    EXPECT_EQ(0, done[n * w]);
    EXPECT_EQ(0, done[n * w + n]);
    // One jitter per vertex set: 65 * 65 - 4.
    EXPECT_EQ(w * w - 4, drawsBetween(1234, next));
}

TEST(TerrainSmoothing, ForwardThenBackwardSweepOnAHandWorkedGrid) {
    // 2 x 2 cells, one raised far corner.
    float grid[9] = {0, 0, 0, 0, 0, 0, 0, 0, 16};
    Terrain::smoothPass(grid, 2);
    // Forward only changes (1,1) to 4; backward then gives (2,2) = (16+0+0+4)/4, (2,1) = (1,2) = 4/4
    // and (1,1) = 4/4. Row 0 and column 0 were 0 and stay 0.
    float expected[9] = {0, 0, 0, 0, 1, 1, 0, 1, 5};
    for (int i = 0; i < 9; ++i) {
        EXPECT_FLOAT_EQ(expected[i], grid[i]) << "vertex " << i % 3 << "," << i / 3;
    }
}

TEST(TerrainSmoothing, FarColumnAndRowOnlyChangeInTheBackwardSweep) {
    // Values only on row 0 and column 0: the forward sweep moves them inwards, the backward one never
    // writes row 0 or column 0, so (2,0) and (0,2) keep what they had.
    float grid[9] = {4, 4, 4, 4, 0, 0, 4, 0, 0};
    Terrain::smoothPass(grid, 2);
    EXPECT_FLOAT_EQ(4.0f, grid[2]);
    EXPECT_FLOAT_EQ(4.0f, grid[6]);
    // Forward: (0,0) = (4+4+4+0)/4 = 3, (0,1) = (4+0+4+0)/4 = 2, (1,0) = (4+4+0+0)/4 = 2, (1,1) = 0.
    EXPECT_FLOAT_EQ(3.0f, grid[0]);
    EXPECT_FLOAT_EQ(2.0f, grid[3]);
    EXPECT_FLOAT_EQ(2.0f, grid[1]);
    // Backward: (2,2) = 0, (2,1) = (0+0+4+2)/4 = 1.5, (1,2) = (0+4+0+2)/4 = 1.5,
    // (1,1) = (0+2+2+3)/4 = 1.75.
    EXPECT_FLOAT_EQ(0.0f, grid[8]);
    EXPECT_FLOAT_EQ(1.5f, grid[5]);
    EXPECT_FLOAT_EQ(1.5f, grid[7]);
    EXPECT_FLOAT_EQ(1.75f, grid[4]);
}

TEST_F(TerrainTest, GeneratedCornersKeepTheirJitterRange) {
    std::vector<float> heights(65 * 65, 99.0f);
    terrain->generateHeights(heights.data());
    // (64, 0) and (0, 64) are never touched by either sweep: still J * 2 / 10000 with J in -10001..9999.
    for (int index : {64, 64 * 65}) {
        EXPECT_GE(heights[index], -2.0002f);
        EXPECT_LE(heights[index], 1.9998f);
    }
    // Everything else was set and smoothed: nothing is left at the fill value, and with amplitudes
    // summing to under 6.5 no vertex strays further than that.
    for (float value : heights) {
        ASSERT_LT(value, 6.5f);
        ASSERT_GT(value, -6.5f);
    }
}

TEST_F(TerrainTest, ModifierPathsFollowSizeAndTileSet) {
    EXPECT_STREQ(".\\textures\\terrain\\modifier64_1.bmp", Terrain::modifierPath(64, 0, 0));
    EXPECT_STREQ(".\\textures\\terrain\\modifier64_3.bmp", Terrain::modifierPath(64, 0, 2));
    EXPECT_STREQ(".\\textures\\terrain\\modifier64_4.bmp", Terrain::modifierPath(64, 1, 0));
    EXPECT_STREQ(".\\textures\\terrain\\modifier128_2.bmp", Terrain::modifierPath(128, 0, 1));
    EXPECT_STREQ(".\\textures\\terrain\\modifier128_6.bmp", Terrain::modifierPath(128, 1, 2));
}

TEST_F(TerrainTest, ModifierAddsBlueOver32ForGrasslands) {
    std::string path = writeModifier("add", 65, diagonalBlue);
    level(1.0f);
    ASSERT_TRUE(terrain->applyModifierImage(path.c_str(), 0));
    EXPECT_FLOAT_EQ(1.0f, h(0, 0));
    // Pixel (3, 5) has blue 13: 1 + 13/32.
    EXPECT_FLOAT_EQ(1.40625f, h(3, 5));
    // Pixel (64, 64) has blue 192 (top row first, as the image is read): 1 + 6.
    EXPECT_FLOAT_EQ(7.0f, h(64, 64));
    // Pixel (10, 60): blue (10 + 120) = 130.
    EXPECT_FLOAT_EQ(1.0f + 130.0f / 32.0f, h(10, 60));
    unlink(path.c_str());
}

TEST_F(TerrainTest, ModifierReplacesHeightsForTheAsteroid) {
    std::string path = writeModifier("replace", 65, diagonalBlue);
    level(50.0f);
    ASSERT_TRUE(terrain->applyModifierImage(path.c_str(), 1));
    EXPECT_FLOAT_EQ(-8.0f, h(0, 0));
    EXPECT_FLOAT_EQ(13.0f / 32.0f - 8.0f, h(3, 5));
    EXPECT_FLOAT_EQ(-2.0f, h(64, 64));
    for (int y = 0; y <= 64; ++y) {
        for (int x = 0; x <= 64; ++x) {
            ASSERT_GE(h(x, y), -8.0f);
            ASSERT_LE(h(x, y), -0.03125f);
        }
    }
    unlink(path.c_str());

    std::string white = writeModifier("white", 65, fullBlue);
    ASSERT_TRUE(terrain->applyModifierImage(white.c_str(), 1));
    EXPECT_FLOAT_EQ(-0.03125f, h(33, 17));
    unlink(white.c_str());
}

TEST_F(TerrainTest, MissingOrWronglySizedModifierIsReportedAndSkipped) {
    level(2.5f);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(terrain->applyModifierImage(".\\textures\\terrain\\no_such_modifier.bmp", 1));
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, output.find("no_such_modifier.bmp"));
    EXPECT_EQ(1, (int)std::count(output.begin(), output.end(), '\n'));
    EXPECT_FLOAT_EQ(2.5f, h(20, 20));

    // The 128-map image on a 64 map would read past its rows.
    std::string path = writeModifier("large", 129, diagonalBlue);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(terrain->applyModifierImage(path.c_str(), 1));
    output = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, output.find("65x65"));
    EXPECT_EQ(1, (int)std::count(output.begin(), output.end(), '\n'));
    EXPECT_FLOAT_EQ(2.5f, h(20, 20));
    EXPECT_FLOAT_EQ(2.5f, h(64, 64));
    unlink(path.c_str());
}

TEST_F(TerrainTest, AsteroidMapsFromTheGameImagesStayBelowZero) {
    Terrain asteroid(64, 1);
    for (int i = 0; i < 65 * 65; ++i) {
        ASSERT_GE(asteroid.heights[i], -8.0f);
        ASSERT_LE(asteroid.heights[i], -0.03125f);
    }
}
