#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "terrain_fixture.h"

namespace {

// A side x side 24-bit BMP whose blue byte at pixel (x, y), top row first, is (x + 4y) % 256: every value
// 0..255 appears on a 65 image, 0 at (0, 0) and 255 at (63, 48).
std::string writeModifier(int side) {
    std::string path = "/tmp/gelmarch_terrain_" + std::to_string(getpid()) + "_" + std::to_string(side) + ".bmp";
    SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE, side, side, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            unsigned char* p = (unsigned char*)image->pixels + y * image->pitch + x * 3;
            p[0] = (unsigned char)((x + 4 * y) % 256);
            p[1] = 77;
            p[2] = 200;
        }
    }
    SDL_SaveBMP(image, path.c_str());
    SDL_FreeSurface(image);
    return path;
}

}  // namespace

TEST(TerrainSubdivide, EachUnsetPointGetsItsMeanPlusOneJitter) {
    // A 2 x 2 cell grid with corners 0, 4, 8, 12, where (0, 1) was already set by an earlier square.
    float heights[9] = {0, 0, 4, 100, 0, 0, 8, 0, 12};
    unsigned char done[9] = {0, 0, 0, 1};
    srand(99);
    Terrain::subdivide(heights, done, 2, 1, 1, 1, 0.5f, 0.7f);
    int next = rand();
    srand(99);
    float j[4];
    for (float& v : j) {
        v = nextJitter(0.5f);
    }
    EXPECT_FLOAT_EQ(100.0f, heights[3]);        // (0, 1): kept, no number drawn
    EXPECT_FLOAT_EQ(8.0f + j[0], heights[5]);   // (2, 1): between 4 and 12
    EXPECT_FLOAT_EQ(2.0f + j[1], heights[1]);   // (1, 0): between 0 and 4
    EXPECT_FLOAT_EQ(10.0f + j[2], heights[7]);  // (1, 2): between 8 and 12
    EXPECT_FLOAT_EQ((100.0f + 8.0f + j[0] + 2.0f + j[1] + 10.0f + j[2]) / 4.0f + j[3], heights[4]);
    EXPECT_EQ(4, randCallsBefore(99, next));

    // Only the quadrant centres of a 4 x 4 grid unset: they draw in quadrant order (1, 1), (3, 1), (3, 3),
    // (1, 3), at the next level's amplitude 0.7.
    float grid[25] = {0};
    unsigned char gridDone[25];
    std::fill(gridDone, gridDone + 25, 1);
    const int centres[4] = {1 + 1 * 5, 3 + 1 * 5, 3 + 3 * 5, 1 + 3 * 5};
    for (int c : centres) {
        gridDone[c] = 0;
    }
    srand(5);
    Terrain::subdivide(grid, gridDone, 4, 2, 2, 2, 1.0f, 0.7f);
    srand(5);
    for (int c : centres) {
        EXPECT_FLOAT_EQ(nextJitter(0.7f), grid[c]) << c;
    }

    // On a 64 map every vertex but the four corners is set exactly once, one jitter each.
    std::vector<float> map(65 * 65, 0.0f);
    std::vector<unsigned char> mapDone(65 * 65, 0);
    srand(1234);
    Terrain::subdivide(map.data(), mapDone.data(), 64, 32, 32, 32, 2.0f, 0.7f);
    next = rand();
    EXPECT_EQ(65 * 65 - 4, std::count(mapDone.begin(), mapDone.end(), 1));
    EXPECT_EQ(0, mapDone[0] + mapDone[64] + mapDone[64 * 65] + mapDone[64 * 65 + 64]);
    EXPECT_EQ(65 * 65 - 4, randCallsBefore(1234, next));
}

TEST(TerrainSmoothing, ForwardSweepThenBackwardSweep) {
    // One raised far corner: forward only changes (1, 1) to 4; backward gives (2, 2) = (16 + 0 + 0 + 4) / 4,
    // (2, 1) = (1, 2) = (1, 1) = 1. Row 0 and column 0 stay 0.
    float corner[9] = {0, 0, 0, 0, 0, 0, 0, 0, 16};
    Terrain::smoothPass(corner, 2);
    float cornerExpected[9] = {0, 0, 0, 0, 1, 1, 0, 1, 5};
    // Values on row 0 and column 0 only. Forward: (0, 0) = 3, (1, 0) = (0, 1) = 2, (1, 1) = 0; it never
    // writes (2, 0) or (0, 2), and backward never writes row 0 or column 0. Backward: (2, 2) = 0,
    // (2, 1) = (0 + 0 + 4 + 2) / 4 = 1.5, (1, 2) = 1.5, (1, 1) = (0 + 2 + 2 + 3) / 4 = 1.75.
    float edges[9] = {4, 4, 4, 4, 0, 0, 4, 0, 0};
    Terrain::smoothPass(edges, 2);
    float edgesExpected[9] = {3, 2, 4, 2, 1.75f, 1.5f, 4, 1.5f, 0};
    for (int i = 0; i < 9; ++i) {
        EXPECT_FLOAT_EQ(cornerExpected[i], corner[i]) << "vertex " << i % 3 << "," << i / 3;
        EXPECT_FLOAT_EQ(edgesExpected[i], edges[i]) << "vertex " << i % 3 << "," << i / 3;
    }
}

TEST_F(TerrainTest, GeneratedMapKeepsTheCornerJitterRange) {
    std::vector<float> heights(65 * 65, 99.0f);
    terrain->generateHeights(heights.data());
    // (64, 0) and (0, 64) are touched by neither sweep: still J * 2 / 10000 with J in -10001..9999.
    for (int index : {64, 64 * 65}) {
        EXPECT_GE(heights[index], -2.0002f);
        EXPECT_LE(heights[index], 1.9998f);
    }
    // Every vertex was set: none keeps the fill value, none strays past the summed amplitudes.
    for (float value : heights) {
        ASSERT_LT(std::abs(value), 6.5f);
    }
}

TEST_F(TerrainTest, ModifierImageAddsForGrasslandsReplacesForTheAsteroidAndMustFitTheMap) {
    EXPECT_STREQ(".\\textures\\terrain\\modifier64_6.bmp", Terrain::modifierPath(64, 1, 2));
    EXPECT_STREQ(".\\textures\\terrain\\modifier128_4.bmp", Terrain::modifierPath(96, 1, 0));
    EXPECT_STREQ(".\\textures\\terrain\\modifier128_2.bmp", Terrain::modifierPath(128, 0, 1));

    std::string path = writeModifier(65);
    fill([](int, int) { return 1.0f; });
    ASSERT_TRUE(terrain->applyModifierImage(path.c_str(), 0));
    EXPECT_FLOAT_EQ(1.0f, h(0, 0));
    EXPECT_FLOAT_EQ(1.0f + 23.0f / 32.0f, h(3, 5));
    EXPECT_FLOAT_EQ(3.0f, h(64, 64));  // blue 320 % 256 = 64

    fill([](int, int) { return 50.0f; });
    ASSERT_TRUE(terrain->applyModifierImage(path.c_str(), 1));
    EXPECT_FLOAT_EQ(23.0f / 32.0f - 8.0f, h(3, 5));
    EXPECT_EQ(-8.0f, *std::min_element(terrain->heights, terrain->heights + 65 * 65));
    EXPECT_EQ(-0.03125f, *std::max_element(terrain->heights, terrain->heights + 65 * 65));
    unlink(path.c_str());

    // The 128 image on a 64 map would read past its rows: one line, heights untouched. (A missing image
    // is covered with the missing assets.)
    path = writeModifier(129);
    fill([](int, int) { return 2.5f; });
    testing::internal::CaptureStdout();
    EXPECT_FALSE(terrain->applyModifierImage(path.c_str(), 1));
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(1, std::count(output.begin(), output.end(), '\n')) << output;
    EXPECT_NE(std::string::npos, output.find("65x65")) << output;
    EXPECT_EQ(2.5f, h(3, 5));
    unlink(path.c_str());
}
