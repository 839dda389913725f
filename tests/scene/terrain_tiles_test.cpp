#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "terrain_fixture.h"

namespace {

int at(int x, int y) {
    return x + y * 65;
}

// Byte of channel c for texel (s, r) of a 64 map's weight image.
int weight(const std::vector<unsigned char>& image, int s, int r, int c) {
    return image[r * 12 * 64 + s * 3 + c];
}

}  // namespace

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
    EXPECT_TRUE(types[at(20, 10)] == 3 && types[at(10, 10)] == 2 && types[at(11, 10)] == 2 && types[at(12, 12)] == 3);

    // Ridges on every other column make every vertex steep: type 0 except the five-wide border band.
    fill([](int x, int) { return (x % 2) * 5.0f - 8.0f; });
    terrain->classifyTiles(1, types.data());
    for (int y = 0; y <= 64; ++y) {
        for (int x = 0; x <= 64; ++x) {
            bool band = x < 5 || x > 59 || y < 5 || y > 59;
            ASSERT_EQ(band ? 2 : 0, types[at(x, y)]) << x << "," << y;
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
    types[at(1, 1)] = 1;
    terrain->buildWeightImage(types.data(), image.data());
    // Texel (3, 3) lies 0.1768 from the vertex: t = 1 - 0.1768 / 1.1 = 0.8393, byte 214. Texel (7, 4):
    // distance 0.8839, t = 0.1965, byte 50.
    EXPECT_TRUE(weight(image, 3, 3, 0) == 214 && weight(image, 7, 4, 0) == 50);
    // Texel (5, 4): t = 0.6406 lies in the jitter band, within 0.2 of byte 163.
    EXPECT_NEAR(163, weight(image, 5, 4, 0), 52);
    // Cells that do not touch the vertex, and the other channels, stay 0.
    EXPECT_EQ(0, weight(image, 8, 4, 0) + weight(image, 8, 8, 0));
    EXPECT_EQ(0, weight(image, 4, 4, 1) + weight(image, 4, 4, 2));
}
