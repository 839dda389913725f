// Sky box faces, the selection ring and the effect atlas.
#include "asset_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// The game's sky cube: each face's four corners in strip order, with texcoords (1,1), (1,0), (0,1), (0,0).
const float kFace[6][4][3] = {
    {{0.5f, -0.5f, -0.5f}, {0.5f, -0.5f, 0.5f}, {0.5f, 0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}},
    {{-0.5f, -0.5f, -0.5f}, {-0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, -0.5f}, {0.5f, -0.5f, 0.5f}},
    {{-0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, 0.5f}, {-0.5f, -0.5f, -0.5f}, {-0.5f, -0.5f, 0.5f}},
    {{0.5f, 0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}, {-0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, 0.5f}},
    {{-0.5f, -0.5f, 0.5f}, {-0.5f, 0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}},
    {{-0.5f, 0.5f, -0.5f}, {-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, -0.5f}, {0.5f, -0.5f, -0.5f}},
};

// Point of the cube shown at (s, t) of a face.
void facePoint(int face, float s, float t, float* p) {
    for (int k = 0; k < 3; ++k) {
        float a = kFace[face][3][k] * (1 - t) + kFace[face][2][k] * t;
        float b = kFace[face][1][k] * (1 - t) + kFace[face][0][k] * t;
        p[k] = a * (1 - s) + b * s;
    }
}

// Finds (s, t) of point p on another face, if p lies on that face's square.
bool onFace(int face, const float* p, float* s, float* t) {
    const float* c3 = kFace[face][3];
    float sx[3], tx[3];
    for (int k = 0; k < 3; ++k) {
        sx[k] = kFace[face][1][k] - c3[k];
        tx[k] = kFace[face][2][k] - c3[k];
    }
    float d[3] = {p[0] - c3[0], p[1] - c3[1], p[2] - c3[2]};
    *s = d[0] * sx[0] + d[1] * sx[1] + d[2] * sx[2];
    *t = d[0] * tx[0] + d[1] * tx[1] + d[2] * tx[2];
    // Back on the plane: the rebuilt point must be p itself.
    float q[3];
    facePoint(face, *s, *t, q);
    return std::fabs(q[0] - p[0]) + std::fabs(q[1] - p[1]) + std::fabs(q[2] - p[2]) < 1e-4f && *s > -1e-4f &&
           *s < 1 + 1e-4f && *t > -1e-4f && *t < 1 + 1e-4f;
}

TEST(SkyBox, HasTwelveSquareFacesOfOneSize) {
    for (int i = 1; i <= 12; ++i) {
        AssetImage img = loadAssetImage(".\\textures\\skybox\\" + std::to_string(i) + ".bmp");
        ASSERT_TRUE(img.loaded) << i;
        EXPECT_EQ(512, img.width) << i;
        EXPECT_EQ(512, img.height) << i;
        EXPECT_EQ(24, img.bitsPerPixel) << i;
    }
}

TEST(SkyBox, NeighbouringFacesShowTheSameColoursAlongTheirSharedEdges) {
    for (int set = 0; set < 2; ++set) {
        AssetImage faces[6];
        for (int f = 0; f < 6; ++f) {
            faces[f] = loadAssetImage(".\\textures\\skybox\\" + std::to_string(set * 6 + f + 1) + ".bmp");
            ASSERT_TRUE(faces[f].loaded);
        }
        int n = faces[0].width;
        int compared = 0;
        for (int f = 0; f < 6; ++f)
            for (int i = 0; i < n; i += 5)
                for (int edge = 0; edge < 4; ++edge) {
                    int x = edge == 0 ? 0 : edge == 1 ? n - 1 : i;
                    int y = edge == 2 ? 0 : edge == 3 ? n - 1 : i;
                    float p[3];
                    facePoint(f, x / float(n - 1), y / float(n - 1), p);
                    for (int g = 0; g < 6; ++g) {
                        float s, t;
                        if (g == f || !onFace(g, p, &s, &t)) continue;
                        int gx = static_cast<int>(std::lround(s * (n - 1))), gy = static_cast<int>(std::lround(t * (n - 1)));
                        const unsigned char* a = faces[f].at(x, y);
                        const unsigned char* b = faces[g].at(gx, gy);
                        for (int k = 0; k < 3; ++k)
                            ASSERT_LE(std::abs(a[k] - b[k]), 6) << "set " << set << " face " << f << " (" << x << "," << y
                                                                << ") against face " << g << " (" << gx << "," << gy << ")";
                        ++compared;
                    }
                }
        // Every face has four neighbours: each sampled edge pixel found its partner (corners find two).
        EXPECT_GE(compared, 6 * 4 * (n / 5));
    }
}

TEST(SkyBox, SpaceIsDarkAndTheDaySkyBlueOverhead) {
    for (int i = 1; i <= 6; ++i) EXPECT_LT(loadAssetImage(".\\textures\\skybox\\" + std::to_string(i) + ".bmp").meanBrightness(0, 0, 512, 512), 60.0) << i;
    AssetImage top = loadAssetImage(".\\textures\\skybox\\11.bmp");
    ASSERT_TRUE(top.loaded);
    double r = 0, b = 0;
    for (int y = 0; y < 512; y += 8)
        for (int x = 0; x < 512; x += 8) {
            r += top.at(x, y)[0];
            b += top.at(x, y)[2];
        }
    EXPECT_GT(b, r * 1.5);
}

TEST(SelectionRing, IsAWhiteRingOnBlackThatEndsBeforeTheBorder) {
    AssetImage ring = loadAssetImage(".\\textures\\other\\selection.bmp");
    ASSERT_TRUE(ring.loaded);
    ASSERT_EQ(ring.width, ring.height);
    EXPECT_EQ(24, ring.bitsPerPixel);
    int n = ring.width;
    // Clamped at its edges, so every border pixel must be black.
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(0, ring.at(i, 0)[0]);
        EXPECT_EQ(0, ring.at(i, n - 1)[0]);
        EXPECT_EQ(0, ring.at(0, i)[0]);
        EXPECT_EQ(0, ring.at(n - 1, i)[0]);
    }
    EXPECT_LT(ring.at(n / 2, n / 2)[0], 10);
    // Bright at about 86 % of the half size, on both axes.
    int r = static_cast<int>(0.86 * n / 2);
    EXPECT_GT(ring.at(n / 2 + r, n / 2)[0], 200);
    EXPECT_GT(ring.at(n / 2, n / 2 - r)[0], 200);
}

TEST(EffectAtlas, BeamBandsFadeOutAtTheirEdgesAndRepeatAlongTheBeam) {
    AssetImage fx = loadAssetImage(".\\textures\\other\\fx.png");
    ASSERT_TRUE(fx.loaded);
    EXPECT_EQ(512, fx.width);
    EXPECT_EQ(512, fx.height);
    EXPECT_EQ(32, fx.bitsPerPixel);
    for (int f = 0; f < 3; ++f) {
        // Rows 128f .. 128f + 127: empty at both ends, bright through the middle.
        EXPECT_LE(fx.meanAlpha(0, 128 * f, 512, 1), 2.0) << f;
        EXPECT_LE(fx.meanAlpha(0, 128 * f + 127, 512, 1), 2.0) << f;
        EXPECT_GT(fx.meanAlpha(0, 128 * f + 60, 512, 8), 100.0) << f;
        // The texture repeats every two world units along the beam: the step from the last column to the
        // first is no bigger than the largest step between neighbouring columns inside the band.
        auto step = [&](int a, int b) {
            double sum = 0.0;
            for (int y = 128 * f; y < 128 * f + 128; ++y) sum += std::abs(fx.alpha(a, y) - fx.alpha(b, y));
            return sum / 128.0;
        };
        double largest = 0.0;
        for (int x = 0; x < 511; ++x) largest = std::max(largest, step(x, x + 1));
        EXPECT_LE(step(511, 0), largest) << f;
    }
}

TEST(EffectAtlas, ParticleFramesAreFourGlowsInTheBottomQuarter) {
    AssetImage fx = loadAssetImage(".\\textures\\other\\fx.png");
    ASSERT_TRUE(fx.loaded);
    for (int f = 0; f < 4; ++f) {
        int x0 = 128 * f;
        EXPECT_EQ(0, fx.alpha(x0, 384)) << f;
        EXPECT_EQ(0, fx.alpha(x0 + 127, 511)) << f;
        EXPECT_LE(fx.meanAlpha(x0, 384, 128, 1), 1.0) << f;
        EXPECT_LE(fx.meanAlpha(x0, 511, 128, 1), 1.0) << f;
        EXPECT_GT(fx.meanAlpha(x0 + 48, 384 + 48, 32, 32), 60.0) << f;
    }
}

}  // namespace
