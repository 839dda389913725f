#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "terrain_fixture.h"

namespace {

const int kSide = 65;

int at(int x, int y) {
    return x + y * kSide;
}

}  // namespace

TEST_F(TerrainTest, SteepGroundAndCrestsAreTypeZero) {
    level(0.0f);
    h(30, 30) = 2.0f;
    std::vector<signed char> types(kSide * kSide);
    terrain->classifyTiles(0, types.data());
    // The peak is a crest; each neighbour sees a rise of 2 > 1.25.
    EXPECT_EQ(0, types[at(30, 30)]);
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            EXPECT_EQ(0, types[at(30 + dx, 30 + dy)]) << dx << "," << dy;
        }
    }
    // Level ground elsewhere is default (3) or the random variation (2), never a slope type.
    int variation = 0;
    for (int y = 0; y <= 64; ++y) {
        for (int x = 0; x <= 64; ++x) {
            if (x >= 29 && x <= 31 && y >= 29 && y <= 31) {
                continue;
            }
            ASSERT_TRUE(types[at(x, y)] == 2 || types[at(x, y)] == 3) << x << "," << y;
            variation += types[at(x, y)] == 2;
        }
    }
    // About one vertex in three is variation.
    EXPECT_GT(variation, 4216 / 4);
    EXPECT_LT(variation, 4216 / 2);
}

TEST_F(TerrainTest, HollowsAreMostlyTypeOneAndDrawOneExtraNumber) {
    level(0.0f);
    // 20 isolated pits of depth 1: D = -8 at each, but a rise of only 1 (not steep).
    for (int k = 0; k < 20; ++k) {
        h(5 + 3 * k % 54, 10 + 3 * (k / 18)) = -1.0f;
    }
    std::vector<signed char> types(kSide * kSide);
    srand(4711);
    terrain->classifyTiles(0, types.data());
    int next = rand();
    int hollows = 0;
    for (int k = 0; k < 20; ++k) {
        int x = 5 + 3 * k % 54;
        int y = 10 + 3 * (k / 18);
        ASSERT_NE(0, types[at(x, y)]);
        hollows += types[at(x, y)] == 1;
        // The rim looks down into the pit: D = +1 > 0.3, a crest.
        EXPECT_EQ(0, types[at(x + 1, y)]);
    }
    // Four in five on average; fewer than 10 of 20 is vanishingly unlikely.
    EXPECT_GE(hollows, 10);
    // One base choice per vertex plus one for each hollow.
    srand(4711);
    int draws = 0;
    while (rand() != next && draws < 100000) {
        ++draws;
    }
    EXPECT_EQ(kSide * kSide + 20, draws);
}

TEST_F(TerrainTest, AsteroidStripesFollowTheSineRule) {
    level(-4.0f);
    std::vector<signed char> types(kSide * kSide);
    terrain->classifyTiles(1, types.data());
    // i = 670 (column 20, row 10): sin(670/11 + 10) = 0.975, sin(134 + 20/7.4) = -0.999: stays 3.
    EXPECT_EQ(3, types[at(20, 10)]);
    // i = 660 (column 10, row 10): sin(60 + 5) = 0.827 but sin(132 + 1.351) = 0.986 > 0.5: 2.
    EXPECT_EQ(2, types[at(10, 10)]);
    // i = 661: sin(60.09 + 5.5) = 0.373 < 0.5: 2.
    EXPECT_EQ(2, types[at(11, 10)]);
    // i = 792 (column 12, row 12): 0.514 and 0.198: 3.
    EXPECT_EQ(3, types[at(12, 12)]);
}

TEST_F(TerrainTest, AsteroidBorderBandIsTypeTwoWhateverTheSlope) {
    // Ridges on every other column: every vertex is steep, so everything would be type 0.
    for (int y = 0; y <= 64; ++y) {
        for (int x = 0; x <= 64; ++x) {
            h(x, y) = (x % 2) * 5.0f - 8.0f;
        }
    }
    std::vector<signed char> types(kSide * kSide);
    terrain->classifyTiles(1, types.data());
    for (int y = 0; y <= 64; ++y) {
        for (int x = 0; x <= 64; ++x) {
            bool band = x < 5 || x > 59 || y < 5 || y > 59;
            ASSERT_EQ(band ? 2 : 0, types[at(x, y)]) << x << "," << y;
        }
    }
}

TEST_F(TerrainTest, WeightImageChannelsCarryTypesOneToThree) {
    const int texels = 256;
    const int stride = 12 * 64;
    std::vector<signed char> types(kSide * kSide, 0);
    std::vector<unsigned char> image(texels * texels * 3, 99);

    // All type 3: blue is exactly 255 in every texel next to a corner (t = 0.839, 0.196, 0.196, 0:
    // no jitter, sum above 1), red and green are 0 everywhere.
    for (signed char& t : types) {
        t = 3;
    }
    terrain->buildWeightImage(types.data(), image.data());
    int cornerTexels[4][2] = {{0, 0}, {3, 0}, {0, 3}, {3, 3}};
    for (int cx = 0; cx < 64; cx += 9) {
        for (int cy = 0; cy < 64; cy += 7) {
            for (auto& c : cornerTexels) {
                int s = cx * 4 + c[0];
                int r = cy * 4 + c[1];
                ASSERT_EQ(255, image[r * stride + s * 3 + 2]) << s << "," << r;
            }
        }
    }
    for (int i = 0; i < texels * texels; ++i) {
        ASSERT_EQ(0, image[i * 3]);
        ASSERT_EQ(0, image[i * 3 + 1]);
    }
    // Central texels get three jitters of at most 0.2 off 1.388: never below 0.78.
    for (int r = 1; r < texels; r += 4) {
        for (int s = 1; s < texels; s += 4) {
            ASSERT_GE(image[r * stride + s * 3 + 2], (int)(0.78f * 255.0f));
        }
    }

    // Type 0 has no channel: nothing anywhere.
    for (signed char& t : types) {
        t = 0;
    }
    terrain->buildWeightImage(types.data(), image.data());
    for (unsigned char b : image) {
        ASSERT_EQ(0, b);
    }
}

TEST_F(TerrainTest, WeightFadesWithDistanceFromASingleCorner) {
    const int stride = 12 * 64;
    std::vector<signed char> types(kSide * kSide, 0);
    std::vector<unsigned char> image(256 * 256 * 3, 99);
    types[at(1, 1)] = 1;
    terrain->buildWeightImage(types.data(), image.data());
    // Texel (4, 4) sits 0.1768 from vertex (1, 1): t = 1 - 0.1768 / 1.1 = 0.8393, byte 214.
    EXPECT_EQ(214, image[4 * stride + 4 * 3 + 0]);
    // Texel (3, 3) of the cell below and left: the same distance.
    EXPECT_EQ(214, image[3 * stride + 3 * 3 + 0]);
    // Texel (7, 4): distance 0.8839, t = 0.1965, byte 50 (outside the jitter band).
    EXPECT_EQ(50, image[4 * stride + 7 * 3 + 0]);
    EXPECT_EQ(50, image[7 * stride + 4 * 3 + 0]);
    // Texels of cells that do not touch vertex (1, 1) are 0, and the other channels stay 0.
    EXPECT_EQ(0, image[4 * stride + 8 * 3 + 0]);
    EXPECT_EQ(0, image[8 * stride + 8 * 3 + 0]);
    EXPECT_EQ(0, image[4 * stride + 4 * 3 + 1]);
    EXPECT_EQ(0, image[4 * stride + 4 * 3 + 2]);
    // The jittered texel (5, 4) (t = 0.6406) stays within 0.2 of its unjittered byte 163.
    int jittered = image[4 * stride + 5 * 3 + 0];
    EXPECT_GE(jittered, 163 - 52);
    EXPECT_LE(jittered, 163 + 51);
}
