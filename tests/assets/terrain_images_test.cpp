// Terrain surfaces, normal maps and height images, checked for what the terrain code relies on.
#include "asset_image.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <queue>
#include <string>
#include <vector>

namespace {

std::string terrainPath(const std::string& name) { return ".\\textures\\terrain\\" + name + ".bmp"; }

// Mean absolute channel difference between two columns (or rows) of an image.
double lineDifference(const AssetImage& img, bool columns, int a, int b) {
    double sum = 0.0;
    int n = columns ? img.height : img.width;
    for (int i = 0; i < n; ++i) {
        const unsigned char* p = columns ? img.at(a, i) : img.at(i, a);
        const unsigned char* q = columns ? img.at(b, i) : img.at(i, b);
        for (int k = 0; k < 3; ++k) sum += std::abs(p[k] - q[k]);
    }
    return sum / (3.0 * n);
}

TEST(TerrainTiles, AreSixteen512Square24BitImages) {
    for (int i = 0; i < 8; ++i)
        for (const char* suffix : {"", "n"}) {
            std::string name = std::to_string(i) + suffix;
            AssetImage img = loadAssetImage(terrainPath(name));
            ASSERT_TRUE(img.loaded) << name;
            EXPECT_EQ(512, img.width) << name;
            EXPECT_EQ(512, img.height) << name;
            EXPECT_EQ(24, img.bitsPerPixel) << name;
        }
}

TEST(TerrainTiles, WrapAroundNoHarderThanTheirNeighbouringPixelsChange) {
    for (int i = 0; i < 8; ++i)
        for (const char* suffix : {"", "n"}) {
            std::string name = std::to_string(i) + suffix;
            AssetImage img = loadAssetImage(terrainPath(name));
            ASSERT_TRUE(img.loaded) << name;
            // The largest step between neighbouring columns (or rows) inside the picture...
            double columns = 0.0, rows = 0.0;
            for (int k = 0; k < 511; ++k) {
                columns = std::max(columns, lineDifference(img, true, k, k + 1));
                rows = std::max(rows, lineDifference(img, false, k, k + 1));
            }
            // ...bounds the step from the last column to the first, where the tile repeats.
            EXPECT_LE(lineDifference(img, true, 511, 0), columns) << name << " columns";
            EXPECT_LE(lineDifference(img, false, 511, 0), rows) << name << " rows";
        }
}

TEST(TerrainTiles, SurfacesDifferBetweenTileTypes) {
    // Each set's four tiles must be told apart in play: their mean colours differ clearly.
    for (int set = 0; set < 2; ++set)
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b) {
                AssetImage p = loadAssetImage(terrainPath(std::to_string(set * 4 + a)));
                AssetImage q = loadAssetImage(terrainPath(std::to_string(set * 4 + b)));
                double diff = 0.0;
                for (int k = 0; k < 3; ++k) {
                    double mp = 0.0, mq = 0.0;
                    for (int y = 0; y < 512; y += 4)
                        for (int x = 0; x < 512; x += 4) {
                            mp += p.at(x, y)[k];
                            mq += q.at(x, y)[k];
                        }
                    diff += std::fabs(mp - mq) / (128.0 * 128.0);
                }
                EXPECT_GT(diff, 12.0) << "tiles " << set * 4 + a << " and " << set * 4 + b;
            }
}

TEST(TerrainTiles, NormalMapsHoldUnitNormalsFacingOutOfTheSurface) {
    for (int i = 0; i < 8; ++i) {
        AssetImage img = loadAssetImage(terrainPath(std::to_string(i) + "n"));
        ASSERT_TRUE(img.loaded);
        double sx = 0.0, sy = 0.0;
        int count = 0, tilted = 0;
        for (int y = 0; y < 512; y += 7)
            for (int x = 0; x < 512; x += 7) {
                const unsigned char* p = img.at(x, y);
                double nx = p[0] / 127.5 - 1.0, ny = p[1] / 127.5 - 1.0, nz = p[2] / 127.5 - 1.0;
                double len = std::sqrt(nx * nx + ny * ny + nz * nz);
                ASSERT_NEAR(1.0, len, 0.03) << "tile " << i << " at " << x << "," << y;
                ASSERT_GT(nz, 0.2) << "tile " << i << " at " << x << "," << y;
                sx += nx;
                sy += ny;
                if (nz < 0.985) ++tilted;
                ++count;
            }
        // A tiling relief leans as much one way as the other, and it has some relief.
        EXPECT_NEAR(0.0, sx / count, 0.05) << i;
        EXPECT_NEAR(0.0, sy / count, 0.05) << i;
        EXPECT_GT(tilted, count / 10) << i;
    }
}

// A height image as the terrain reads it: SDL_LoadBMP, the first byte of each 3-byte pixel.
struct HeightImage {
    int size = 0;
    int pitch = 0;
    int bitsPerPixel = 0;
    std::vector<int> b;
    int at(int x, int y) const { return b[static_cast<size_t>(y) * size + x]; }
};

HeightImage loadHeights(int mapSize, int number) {
    HeightImage h;
    std::string path = "textures/terrain/modifier" + std::to_string(mapSize) + "_" + std::to_string(number) + ".bmp";
    SDL_Surface* s = SDL_LoadBMP_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
    if (!s) return h;
    h.size = s->w;
    h.pitch = s->pitch;
    h.bitsPerPixel = s->format->BitsPerPixel;
    if (s->w == s->h && h.bitsPerPixel == 24) {
        h.b.resize(static_cast<size_t>(s->w) * s->h);
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x) h.b[static_cast<size_t>(y) * s->w + x] = static_cast<const Uint8*>(s->pixels)[y * s->pitch + x * 3];
    }
    SDL_FreeSurface(s);
    return h;
}

TEST(TerrainHeightImages, AreMapSizePlusOneSquareWithPaddedRows) {
    for (int number = 1; number <= 6; ++number) {
        HeightImage small = loadHeights(64, number), large = loadHeights(128, number);
        EXPECT_EQ(65, small.size) << number;
        EXPECT_EQ(24, small.bitsPerPixel) << number;
        EXPECT_EQ(196, small.pitch) << number;  // 65 * 3 = 195 bytes, padded to a multiple of 4
        EXPECT_EQ(129, large.size) << number;
        EXPECT_EQ(24, large.bitsPerPixel) << number;
        EXPECT_EQ(388, large.pitch) << number;  // 129 * 3 = 387, padded
    }
}

// The base areas: the three workers stand on cells 14..16 from each corner.
const int kCorners[4][2] = {{15, 15}, {-15, -15}, {-15, 15}, {15, -15}};

TEST(TerrainHeightImages, LeaveTheFourStartAreasLevel) {
    for (int mapSize : {64, 128})
        for (int number = 1; number <= 6; ++number) {
            HeightImage h = loadHeights(mapSize, number);
            ASSERT_EQ(mapSize + 1, h.size);
            for (const auto& c : kCorners) {
                int cx = c[0] > 0 ? c[0] : mapSize + c[0], cy = c[1] > 0 ? c[1] : mapSize + c[1];
                int lo = 255, hi = 0;
                for (int y = cy - 2; y <= cy + 2; ++y)
                    for (int x = cx - 2; x <= cx + 2; ++x) {
                        lo = std::min(lo, h.at(x, y));
                        hi = std::max(hi, h.at(x, y));
                    }
                // 8 steps of 1/32 make a quarter of a height unit across the whole base.
                EXPECT_LE(hi - lo, 8) << "modifier" << mapSize << "_" << number << " corner " << cx << "," << cy;
            }
        }
}

TEST(TerrainHeightImages, JoinEveryStartAreaToTheOthersOverWalkableGround) {
    // Walkable: neighbouring vertices differ by at most 24 steps (0.75 height units); the terrain calls
    // ground steep, and paints it as cliff, from 1.25 units between neighbours on.
    for (int mapSize : {64, 128})
        for (int number = 1; number <= 6; ++number) {
            HeightImage h = loadHeights(mapSize, number);
            ASSERT_EQ(mapSize + 1, h.size);
            std::vector<char> seen(static_cast<size_t>(h.size) * h.size, 0);
            std::queue<std::pair<int, int>> open;
            open.push(std::make_pair(15, 15));
            seen[15 * h.size + 15] = 1;
            while (!open.empty()) {
                std::pair<int, int> p = open.front();
                open.pop();
                const int dirs[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
                for (const auto& d : dirs) {
                    int x = p.first + d[0], y = p.second + d[1];
                    if (x < 1 || y < 1 || x >= mapSize || y >= mapSize || seen[y * h.size + x]) continue;
                    if (std::abs(h.at(x, y) - h.at(p.first, p.second)) > 24) continue;
                    seen[y * h.size + x] = 1;
                    open.push(std::make_pair(x, y));
                }
            }
            EXPECT_TRUE(seen[(mapSize - 15) * h.size + mapSize - 15]) << mapSize << "_" << number << " opposite corner";
            EXPECT_TRUE(seen[15 * h.size + mapSize - 15]) << mapSize << "_" << number << " corner (M-15, 15)";
            EXPECT_TRUE(seen[(mapSize - 15) * h.size + 15]) << mapSize << "_" << number << " corner (15, M-15)";
        }
}

TEST(TerrainHeightImages, GiveEachDesignRealRelief) {
    // Hills, ridges and craters: every image spans at least two height units (64 steps) somewhere.
    for (int mapSize : {64, 128})
        for (int number = 1; number <= 6; ++number) {
            HeightImage h = loadHeights(mapSize, number);
            ASSERT_EQ(mapSize + 1, h.size);
            int lo = 255, hi = 0;
            for (int v : h.b) {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
            EXPECT_GE(hi - lo, 64) << mapSize << "_" << number;
        }
}

}  // namespace
