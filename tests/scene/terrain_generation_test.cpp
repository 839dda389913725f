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

}  // namespace

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
    EXPECT_TRUE(std::count(output.begin(), output.end(), '\n') == 1 && output.find("65x65") != std::string::npos) << output;
    EXPECT_EQ(2.5f, h(3, 5));
    unlink(path.c_str());
}
