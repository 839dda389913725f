#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "render/vector3.h"

namespace {

// Applies the current matrix to a point (w = 1) with the column-major layout.
void expectMaps(const MatrixStack& s, const float in[3], const float out[4]) {
    const float* m = s.current.m;
    for (int r = 0; r < 4; ++r) {
        float v = m[r] * in[0] + m[4 + r] * in[1] + m[8 + r] * in[2] + m[12 + r];
        EXPECT_NEAR(out[r], v, 1e-5f) << "(" << in[0] << "," << in[1] << "," << in[2] << ") row " << r;
    }
}

void expectVector(float x, float y, float z, const Vector3& v) {
    EXPECT_TRUE(std::fabs(x - v.x) < 1e-6f && std::fabs(y - v.y) < 1e-6f && std::fabs(z - v.z) < 1e-6f)
        << v.x << "," << v.y << "," << v.z;
}

}  // namespace

// A zero vector must not turn into NaNs that would poison lighting.
TEST(Vector3Test, ArithmeticLengthNormalizeAndCross) {
    Vector3 v(1.0f, 2.0f, 3.0f), n(3.0f, 4.0f, 12.0f), zero, a(2.0f, 3.0f, 4.0f);
    v.add(Vector3(0.5f, -1.0f, 2.0f));
    v.subtract(Vector3(1.0f, 1.0f, 1.0f));
    expectVector(0.5f, 0.0f, 4.0f, v);
    EXPECT_FLOAT_EQ(13.0f, n.length());
    n.normalize();
    expectVector(3.0f / 13.0f, 4.0f / 13.0f, 12.0f / 13.0f, n);
    zero.normalize();
    expectVector(0.0f, 0.0f, 0.0f, zero);
    a.cross(Vector3(5.0f, 6.0f, 7.0f));  // (3*7 - 4*6, 4*5 - 2*7, 2*6 - 3*5)
    expectVector(-3.0f, 6.0f, -3.0f, a);
}

// Each case builds a matrix from identity and maps points to hand-worked images.
TEST(MatrixStackTest, TransformsMapPointsWhereTheyShould) {
    const struct {
        void (*build)(MatrixStack&);
        float in[3], out[4];
    } cases[] = {
        // The last call applies first: scale, then translate.
        {[](MatrixStack& s) { s.translate(1, 2, 3); s.scale(2, 3, 4); }, {1, 1, 1}, {3, 5, 7, 1}},
        // A third of a turn about the diagonal cycles the axes x -> y -> z -> x; the point's unequal
        // coordinates weigh every element of the matrix.
        {[](MatrixStack& s) { float d = 1 / std::sqrt(3.0f); s.rotate(120, d, d, d); }, {1, 2, 3}, {3, 1, 2, 1}},
        // Turned -90 about x, y goes to -z.
        {[](MatrixStack& s) { s.rotate(-90, 1, 0, 0); }, {0, 1, 0}, {0, 0, -1, 1}},
        // The axis is used as given: a half turn about (0, 0, 2) makes z' = (t z z + c) z = 7 z.
        {[](MatrixStack& s) { s.rotate(180, 0, 0, 2); }, {1, 0, 1}, {-1, 0, 7, 1}},
        // The multiply may be given its own matrix: [2I t; 0 1]^2 = [4I 3t; 0 1].
        {[](MatrixStack& s) { s.translate(1, 0, 0); s.scale(2, 2, 2); s.multiply(s.current); },
         {1, 1, 1}, {7, 4, 4, 1}},
        // perspective and ortho replace what was there. f = 1 / tan(45 deg) = 1; z -2 lies at depth -1 / 2.
        {[](MatrixStack& s) { s.translate(5, 5, 5); s.perspective(90, 2, 1, 3); }, {2, 1, -2}, {1, 1, 1, 2}},
        // The top-right corner, and the depth range mapped to -1..1.
        {[](MatrixStack& s) { s.scale(3, 3, 3); s.ortho(0, 800, 0, 600, 1, -1); }, {800, 600, 0}, {1, 1, 0, 1}},
        {[](MatrixStack& s) { s.ortho(-10, 10, -5, 5, 2, 6); }, {-5, 2.5f, -4}, {-0.5f, 0.5f, 0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        MatrixStack s;
        c.build(s);
        expectMaps(s, c.in, c.out);
    }
    EXPECT_EQ(3.141592f, degToRad(180.0f)) << "the game's float pi, not M_PI";
}

TEST(MatrixStackTest, PushAndPopRestoreBitForBitAndStopAtTheBounds) {
    MatrixStack s(2);
    EXPECT_EQ(static_cast<void*>(&s), static_cast<void*>(s.current.m)) << "the address is the current matrix";
    s.rotate(33.0f, 0.3f, 0.4f, 0.5f);
    Matrix4 before = s.current;
    s.push();
    s.translate(7.0f, 8.0f, 9.0f);
    s.push();
    s.scale(4.0f, 4.0f, 4.0f);
    s.push();  // full: ignored
    EXPECT_EQ(2, s.depth);
    for (int i = 0; i < 3; ++i) s.pop();  // the third finds it empty: ignored
    EXPECT_EQ(0, s.depth);
    EXPECT_EQ(0, memcmp(before.m, s.current.m, sizeof before.m));
}

// A camera at the origin looking down -z with a 90 degree square view, near 1 and far 10.
TEST(FrustumTest, PlanesFaceInwardsAndOnlyWhollyOutsideSpheresAreRejected) {
    MatrixStack projection, modelview;
    projection.perspective(90.0f, 1.0f, 1.0f, 10.0f);
    Frustum f;
    f.extract(projection, modelview);
    const float h = std::sqrt(0.5f);
    // (plane, point, signed distance): the side planes are 45 degrees off the view axis
    const float distances[][5] = {{kPlaneRight, 1, 0, -3, h * 2}, {kPlaneLeft, 1, 0, -3, h * 4},
                                  {kPlaneBottom, 0, -4, -3, -h},  {kPlaneTop, 0, -4, -3, h * 7},
                                  {kPlaneNear, 0, 0, 0, -1},      {kPlaneNear, 0, 0, -2, 1},
                                  {kPlaneFar, 0, 0, -9, 1},       {kPlaneFar, 0, 0, -11, -1}};
    for (const auto& d : distances) EXPECT_NEAR(d[4], f.distance(d[1], d[2], d[3], (int)d[0]), 1e-5f) << d[0];
    // (x, y, z, radius, visible): in view; behind the camera; straddling the far plane; beyond it; touching
    // the near plane from outside is outside; just over it; off to the right.
    const float spheres[][5] = {{0, 0, -5, 0.5f, 1}, {0, 0, 5, 1, 0},    {0, 0, -10.5f, 1, 1}, {0, 0, -12, 1, 0},
                                {0, 0, 0, 1, 0},     {0, 0, 0, 1.001f, 1}, {6, 0, -4, 1, 0}};
    for (const auto& s : spheres) EXPECT_EQ(s[4] != 0, f.sphereVisible(s[0], s[1], s[2], s[3])) << s[2] << " " << s[3];

    // On the view axis: the window centre; halfway to the right edge at depth 4 (x = 2): three quarters of
    // the width, y from the bottom. Odd sizes keep the products (600.75, 150.25) off the truncation step.
    int x = 0, y = 0, size = 0;
    f.toScreen(0.0f, 0.0f, -5.0f, x, y, size, 801, 601);
    EXPECT_TRUE(x == 400 && y == 300 && size == 50) << x << "," << y << " " << size;
    f.toScreen(2.0f, -2.0f, -4.0f, x, y, size, 801, 601);
    EXPECT_TRUE(x == 600 && y == 150) << x << "," << y;

    modelview.translate(0.0f, 0.0f, -5.0f);  // the world moved 5 units away from the camera
    f.extract(projection, modelview);
    EXPECT_TRUE(f.sphereVisible(0, 0, 0, 0.5f) && !f.sphereVisible(0, 0, 5, 0.5f)) << "z = 5 is at the camera now";
}
