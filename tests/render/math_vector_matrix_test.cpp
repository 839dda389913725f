#include <gtest/gtest.h>

#include <cmath>

#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "render/vector3.h"

namespace {

void expectMatrixNear(const float* expected, const MatrixStack& stack, float tolerance = 1e-6f) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(expected[i], stack.current.m[i], tolerance) << "index " << i;
    }
}

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// Applies the current matrix to a point (w = 1) with the column-major layout.
void transformPoint(const MatrixStack& s, float x, float y, float z, float out[4]) {
    const float* m = s.current.m;
    for (int r = 0; r < 4; ++r) {
        out[r] = m[0 * 4 + r] * x + m[1 * 4 + r] * y + m[2 * 4 + r] * z + m[3 * 4 + r];
    }
}

}  // namespace

TEST(Vector3Test, InPlaceArithmetic) {
    Vector3 v(1.0f, 2.0f, 3.0f);
    v.add(Vector3(0.5f, -1.0f, 2.0f));
    EXPECT_FLOAT_EQ(1.5f, v.x);
    EXPECT_FLOAT_EQ(1.0f, v.y);
    EXPECT_FLOAT_EQ(5.0f, v.z);
    v.subtract(Vector3(1.5f, 1.0f, 1.0f));
    EXPECT_FLOAT_EQ(0.0f, v.x);
    EXPECT_FLOAT_EQ(0.0f, v.y);
    EXPECT_FLOAT_EQ(4.0f, v.z);
}

TEST(Vector3Test, LengthAndNormalize) {
    Vector3 v(3.0f, 4.0f, 12.0f);
    EXPECT_FLOAT_EQ(13.0f, v.length());
    v.normalize();
    EXPECT_FLOAT_EQ(3.0f / 13.0f, v.x);
    EXPECT_FLOAT_EQ(4.0f / 13.0f, v.y);
    EXPECT_FLOAT_EQ(12.0f / 13.0f, v.z);
    EXPECT_FLOAT_EQ(1.0f, v.length());

    // A zero vector must not turn into NaNs that would poison lighting.
    Vector3 zero;
    zero.normalize();
    EXPECT_EQ(0.0f, zero.x);
    EXPECT_EQ(0.0f, zero.y);
    EXPECT_EQ(0.0f, zero.z);
}

TEST(Vector3Test, CrossFollowsTheRightHandRule) {
    Vector3 x(1.0f, 0.0f, 0.0f);
    x.cross(Vector3(0.0f, 1.0f, 0.0f));
    EXPECT_FLOAT_EQ(0.0f, x.x);
    EXPECT_FLOAT_EQ(0.0f, x.y);
    EXPECT_FLOAT_EQ(1.0f, x.z);

    // (2, 3, 4) x (5, 6, 7) = (3*7 - 4*6, 4*5 - 2*7, 2*6 - 3*5) = (-3, 6, -3)
    Vector3 a(2.0f, 3.0f, 4.0f);
    a.cross(Vector3(5.0f, 6.0f, 7.0f));
    EXPECT_FLOAT_EQ(-3.0f, a.x);
    EXPECT_FLOAT_EQ(6.0f, a.y);
    EXPECT_FLOAT_EQ(-3.0f, a.z);
}

TEST(MatrixStackTest, ObjectAddressIsTheCurrentMatrix) {
    MatrixStack s;
    EXPECT_EQ(static_cast<void*>(&s), static_cast<void*>(s.current.m));
    expectMatrixNear(kIdentity, s, 0.0f);
    EXPECT_EQ(1, s.capacity);
    EXPECT_EQ(0, s.depth);
}

TEST(MatrixStackTest, TranslateAndScaleComposeInCallOrder) {
    MatrixStack s;
    s.translate(1.0f, 2.0f, 3.0f);
    s.scale(2.0f, 3.0f, 4.0f);
    // The last call applies first: scale, then translate.
    float p[4];
    transformPoint(s, 1.0f, 1.0f, 1.0f, p);
    EXPECT_FLOAT_EQ(3.0f, p[0]);
    EXPECT_FLOAT_EQ(5.0f, p[1]);
    EXPECT_FLOAT_EQ(7.0f, p[2]);
    EXPECT_FLOAT_EQ(1.0f, p[3]);
    const float expected[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 1, 2, 3, 1};
    expectMatrixNear(expected, s, 0.0f);
}

TEST(MatrixStackTest, MultiplyMayBeGivenItsOwnMatrix) {
    MatrixStack s;
    s.translate(1.0f, 0.0f, 0.0f);
    s.scale(2.0f, 2.0f, 2.0f);
    Matrix4 copy = s.current;
    s.multiply(s.current);
    // [2I t; 0 1]^2 = [4I, 2t + t; 0 1]
    const float expected[16] = {4, 0, 0, 0, 0, 4, 0, 0, 0, 0, 4, 0, 3, 0, 0, 1};
    expectMatrixNear(expected, s, 0.0f);
    (void)copy;
}

TEST(MatrixStackTest, RotateNinetyAboutZMapsXOntoY) {
    MatrixStack s;
    s.rotate(90.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_NEAR(1.0f, s.current.m[1], 1e-6f);
    EXPECT_NEAR(-1.0f, s.current.m[4], 1e-6f);
    EXPECT_NEAR(0.0f, s.current.m[0], 1e-6f);
    EXPECT_NEAR(0.0f, s.current.m[5], 1e-6f);
    EXPECT_FLOAT_EQ(1.0f, s.current.m[10]);
    float p[4];
    transformPoint(s, 1.0f, 0.0f, 0.0f, p);
    EXPECT_NEAR(0.0f, p[0], 1e-6f);
    EXPECT_NEAR(1.0f, p[1], 1e-6f);
}

TEST(MatrixStackTest, RotateUsesTheAxisUnnormalised) {
    // A 180 degree turn about (0, 0, 2): c = -1, s ~ 0, t = 2, so index 10 = t*z*z + c = 8 - 1 = 7.
    MatrixStack s;
    s.rotate(180.0f, 0.0f, 0.0f, 2.0f);
    EXPECT_NEAR(7.0f, s.current.m[10], 1e-5f);
    EXPECT_NEAR(-1.0f, s.current.m[0], 1e-5f);
}

TEST(MatrixStackTest, AngleConversionUsesTheFloatPiConstant) {
    // 180 degrees with the float constant is 3.1415920257568359375 rounded to float, not M_PI.
    EXPECT_EQ(3.141592f, degToRad(180.0f));
    EXPECT_EQ((float)(90.0 * 3.1415920257568359375 / 180.0), degToRad(90.0f));
    EXPECT_NE((float)M_PI, degToRad(180.0f));
}

TEST(MatrixStackTest, PerspectiveReplacesTheCurrentMatrix) {
    MatrixStack s;
    s.translate(5.0f, 5.0f, 5.0f);
    s.perspective(90.0f, 2.0f, 1.0f, 3.0f);
    // f = 1 / tan(45 deg) = 1
    EXPECT_NEAR(0.5f, s.current.m[0], 1e-6f);
    EXPECT_NEAR(1.0f, s.current.m[5], 1e-6f);
    EXPECT_FLOAT_EQ(-2.0f, s.current.m[10]);   // (3 + 1) / (1 - 3)
    EXPECT_FLOAT_EQ(-1.0f, s.current.m[11]);
    EXPECT_FLOAT_EQ(-3.0f, s.current.m[14]);   // 3 * 2 * 1 / (1 - 3)
    EXPECT_FLOAT_EQ(0.0f, s.current.m[15]);
    EXPECT_FLOAT_EQ(0.0f, s.current.m[12]);
}

TEST(MatrixStackTest, OrthoForTheOverlay) {
    MatrixStack s;
    s.scale(3.0f, 3.0f, 3.0f);
    s.ortho(0.0f, 800.0f, 0.0f, 600.0f, 1.0f, -1.0f);
    EXPECT_FLOAT_EQ(2.0f / 800.0f, s.current.m[0]);
    EXPECT_FLOAT_EQ(2.0f / 600.0f, s.current.m[5]);
    EXPECT_FLOAT_EQ(1.0f, s.current.m[10]);
    EXPECT_FLOAT_EQ(-1.0f, s.current.m[12]);
    EXPECT_FLOAT_EQ(-1.0f, s.current.m[13]);
    EXPECT_FLOAT_EQ(0.0f, s.current.m[14]);
    // The window's top-right pixel corner lands on NDC (1, 1).
    float p[4];
    transformPoint(s, 800.0f, 600.0f, 0.0f, p);
    EXPECT_FLOAT_EQ(1.0f, p[0]);
    EXPECT_FLOAT_EQ(1.0f, p[1]);
}

TEST(MatrixStackTest, PushAndPopRestoreBitForBitAndStopAtTheBounds) {
    MatrixStack s(2);
    s.rotate(33.0f, 0.3f, 0.4f, 0.5f);
    Matrix4 before = s.current;
    s.push();
    s.translate(7.0f, 8.0f, 9.0f);
    s.push();
    EXPECT_EQ(2, s.depth);
    s.scale(4.0f, 4.0f, 4.0f);
    Matrix4 full = s.current;
    s.push();  // full: ignored
    EXPECT_EQ(2, s.depth);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(full.m[i], s.current.m[i]);
    }
    s.pop();
    s.pop();
    EXPECT_EQ(0, s.depth);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(before.m[i], s.current.m[i]);
    }
    s.pop();  // empty: ignored
    EXPECT_EQ(0, s.depth);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(before.m[i], s.current.m[i]);
    }
}

class FrustumTest : public ::testing::Test {
protected:
    // A camera at the origin looking down -z with a 90 degree square view, near 1 and far 10.
    void SetUp() override {
        projection.perspective(90.0f, 1.0f, 1.0f, 10.0f);
        frustum.extract(projection, modelview);
    }
    MatrixStack projection;
    MatrixStack modelview;
    Frustum frustum;
};

TEST_F(FrustumTest, PlanesAreNormalisedAndFaceInwards) {
    const float h = std::sqrt(0.5f);
    // right: w - x = -z - x -> (-1, 0, -1, 0) normalised
    EXPECT_NEAR(-h, frustum.planes[kPlaneRight][0], 1e-5f);
    EXPECT_NEAR(-h, frustum.planes[kPlaneRight][2], 1e-5f);
    EXPECT_NEAR(h, frustum.planes[kPlaneLeft][0], 1e-5f);
    EXPECT_NEAR(h, frustum.planes[kPlaneBottom][1], 1e-5f);
    EXPECT_NEAR(-h, frustum.planes[kPlaneTop][1], 1e-5f);
    // near at z = -1 faces -z, far at z = -10 faces +z
    EXPECT_NEAR(-1.0f, frustum.distance(0.0f, 0.0f, 0.0f, kPlaneNear), 1e-5f);
    EXPECT_NEAR(1.0f, frustum.distance(0.0f, 0.0f, -2.0f, kPlaneNear), 1e-5f);
    EXPECT_NEAR(1.0f, frustum.distance(0.0f, 0.0f, -9.0f, kPlaneFar), 1e-5f);
    EXPECT_NEAR(-1.0f, frustum.distance(0.0f, 0.0f, -11.0f, kPlaneFar), 1e-5f);
}

TEST_F(FrustumTest, SphereTestRejectsOnlyWhollyOutsideSpheres) {
    EXPECT_TRUE(frustum.sphereVisible(0.0f, 0.0f, -5.0f, 0.5f));
    EXPECT_FALSE(frustum.sphereVisible(0.0f, 0.0f, 5.0f, 1.0f));   // behind the camera
    EXPECT_TRUE(frustum.sphereVisible(0.0f, 0.0f, -10.5f, 1.0f));  // straddles the far plane
    EXPECT_FALSE(frustum.sphereVisible(0.0f, 0.0f, -12.0f, 1.0f));
    // Touching the near plane from outside exactly (distance -radius) counts as outside.
    EXPECT_FALSE(frustum.sphereVisible(0.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_TRUE(frustum.sphereVisible(0.0f, 0.0f, 0.0f, 1.001f));
}

TEST_F(FrustumTest, ToScreenMapsTheViewAxisToTheWindowCentre) {
    int x = 0, y = 0, size = 0;
    frustum.toScreen(0.0f, 0.0f, -5.0f, x, y, size, 801, 601);
    EXPECT_EQ(400, x);  // 0.5 * 801 truncated
    EXPECT_EQ(300, y);
    EXPECT_EQ(50, size);
    // Halfway to the right edge at depth 4 (x = 2): NDC 0.5 -> three quarters of the width; y counts from the
    // bottom. Odd sizes keep the exact products away from the truncation step: 600.75 and 150.25.
    frustum.toScreen(2.0f, -2.0f, -4.0f, x, y, size, 801, 601);
    EXPECT_EQ(600, x);
    EXPECT_EQ(150, y);
}

TEST(FrustumExtractTest, FollowsTheModelview) {
    MatrixStack projection;
    projection.perspective(90.0f, 1.0f, 1.0f, 10.0f);
    MatrixStack modelview;
    modelview.translate(0.0f, 0.0f, -5.0f);  // the world moved 5 units away from the camera
    Frustum frustum;
    frustum.extract(projection, modelview);
    EXPECT_TRUE(frustum.sphereVisible(0.0f, 0.0f, 0.0f, 0.5f));
    EXPECT_FALSE(frustum.sphereVisible(0.0f, 0.0f, 5.0f, 0.5f));  // at the camera now
}
