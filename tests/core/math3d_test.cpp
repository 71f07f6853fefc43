#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "wire3d/math3d.h"

namespace {

class Math3dTest : public ::testing::Test {
protected:
    void SetUp() override { fillAngleTables(); }
};

Matrix4 identity() {
    Matrix4 m;
    setIdentity(m);
    return m;
}

Matrix4 translation(double x, double y, double z) {
    Matrix4 m = identity();
    m.m[3] = x;
    m.m[7] = y;
    m.m[11] = z;
    return m;
}

// Bit-for-bit equality of two matrices.
bool sameBits(const Matrix4& a, const Matrix4& b) { return std::memcmp(a.m, b.m, sizeof a.m) == 0; }

// Element-wise equality; -0.0 (the negated sine of angle 0) equals 0.0.
bool sameValues(const Matrix4& a, const Matrix4& b) {
    for (int i = 0; i < 16; ++i) {
        if (a.m[i] != b.m[i]) return false;
    }
    return true;
}

Vec4 apply(const Matrix4& m, float x, float y, float z) {
    Vec4 out{};
    transformPoint(m, Vec4{x, y, z, 0.0f}, out);
    return out;
}

// A matrix with no special structure, for the product tests.
Matrix4 irregular(double seed) {
    Matrix4 m;
    for (int i = 0; i < 16; ++i) m.m[i] = std::sin(seed * (i + 1)) * (i + 3) / 7.0;
    return m;
}

}  // namespace

// ---------------------------------------------------------------- angle tables

TEST_F(Math3dTest, TablesDifferFromTheFullCircleStep) {
    int sinDifferences = 0, cosDifferences = 0;
    for (int i = 0; i < 256; ++i) {
        double angle = i * (2.0 * 3.14159265358979323846 / 256);
        sinDifferences += sinTable[i] != static_cast<float>(std::sin(angle));
        cosDifferences += cosTable[i] != static_cast<float>(std::cos(angle));
    }
    EXPECT_EQ(sinDifferences, 141);
    EXPECT_EQ(cosDifferences, 152);
}

TEST_F(Math3dTest, QuarterTurnEntriesAreNotExact) {
    EXPECT_EQ(sinTable[0], 0.0f);
    EXPECT_EQ(cosTable[0], 1.0f);
    EXPECT_EQ(sinTable[64], 1.0f);
    EXPECT_EQ(cosTable[128], -1.0f);
    EXPECT_NEAR(cosTable[64], 2.68e-8, 0.01e-8);
    EXPECT_GT(cosTable[64], 0.0f);
    EXPECT_NEAR(cosTable[192], -8.04e-8, 0.01e-8);
    EXPECT_NEAR(sinTable[128], 5.36e-8, 0.01e-8);
    EXPECT_EQ(sinTable[192], -1.0f);
}

// ---------------------------------------------------------------- rotations

TEST_F(Math3dTest, SetIdentityOverwritesEverything) {
    Matrix4 m = irregular(1.5);
    setIdentity(m);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m.m[i], i % 5 == 0 ? 1.0 : 0.0) << i;
}

TEST_F(Math3dTest, WholeTurnsAreTheExactIdentity) {
    for (int angle : {0, 256, 512, -256}) {
        Matrix4 m;
        rotateX(m, angle);
        EXPECT_TRUE(sameValues(m, identity())) << "x " << angle;
        rotateY(m, angle);
        EXPECT_TRUE(sameValues(m, identity())) << "y " << angle;
        rotateZ(m, angle);
        EXPECT_TRUE(sameValues(m, identity())) << "z " << angle;
    }
}

TEST_F(Math3dTest, RotationDiscardsWhatTheMatrixHeld) {
    Matrix4 m = translation(5, 6, 7);
    m.m[12] = 9;  // even a row 3 that is not (0, 0, 0, 1)
    rotateY(m, 10);
    Matrix4 fresh;
    rotateY(fresh, 10);
    EXPECT_TRUE(sameBits(m, fresh));
    EXPECT_EQ(m.m[3], 0.0);
    EXPECT_EQ(m.m[7], 0.0);
    EXPECT_EQ(m.m[11], 0.0);
    EXPECT_EQ(m.m[15], 1.0);
}

TEST_F(Math3dTest, QuarterTurnsAreRightHanded) {
    const float c64 = cosTable[64];
    Matrix4 m;
    rotateZ(m, 64);
    Vec4 p = apply(m, 1, 0, 0);
    EXPECT_EQ(p.x, c64);
    EXPECT_EQ(p.y, 1.0f);
    EXPECT_EQ(p.z, 0.0f);
    rotateX(m, 64);
    p = apply(m, 0, 1, 0);
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, c64);
    EXPECT_EQ(p.z, 1.0f);
    rotateY(m, 64);
    p = apply(m, 0, 0, 1);
    EXPECT_EQ(p.x, 1.0f);
    EXPECT_EQ(p.y, 0.0f);
    EXPECT_EQ(p.z, c64);
}

TEST_F(Math3dTest, AnglesWrapModulo256) {
    Matrix4 a, b;
    rotateZ(a, -1);
    rotateZ(b, 255);
    EXPECT_TRUE(sameBits(a, b));
    rotateX(a, 300);
    rotateX(b, 44);
    EXPECT_TRUE(sameBits(a, b));
    rotateY(a, -2147483647 - 1);  // a multiple of 256
    EXPECT_TRUE(sameValues(a, identity()));
    rotateY(a, 2147483647);
    rotateY(b, 255);
    EXPECT_TRUE(sameBits(a, b));
}

// ---------------------------------------------------------------- multiply

TEST_F(Math3dTest, ProductIntoEitherOperandEqualsProductIntoAThird) {
    const Matrix4 a = irregular(0.7), b = irregular(2.3);
    Matrix4 third;
    multiply(a, b, third);
    Matrix4 intoA = a;
    multiply(intoA, b, intoA);
    EXPECT_TRUE(sameBits(intoA, third));
    Matrix4 intoB = b;
    multiply(a, intoB, intoB);
    EXPECT_TRUE(sameBits(intoB, third));
    Matrix4 square = a, squareExpected;
    multiply(a, a, squareExpected);
    multiply(square, square, square);
    EXPECT_TRUE(sameBits(square, squareExpected));
}

// The terms are added in double precision from 0.0 in the order k = 0..3:
// 1e16 + 1 is 1e16 again, so the sum is 0, not 1.
TEST_F(Math3dTest, ProductAddsTermsInOrder) {
    Matrix4 a = identity(), b = identity();
    a.m[0] = 1e16;
    a.m[1] = 1.0;
    a.m[2] = -1e16;
    a.m[3] = 0.0;
    b.m[0] = b.m[4] = b.m[8] = 1.0;
    b.m[12] = 0.0;
    Matrix4 out;
    multiply(a, b, out);
    EXPECT_EQ(out.m[0], 0.0);
}

TEST_F(Math3dTest, ProductIsNotCommutative) {
    const Matrix4 lift = translation(0, 0, 300);
    Matrix4 turn;
    rotateY(turn, 64);
    Matrix4 turnThenLift, liftThenTurn;
    multiply(lift, turn, turnThenLift);
    multiply(turn, lift, liftThenTurn);

    // Rotated first, then moved along z.
    Vec4 p = apply(turnThenLift, 1, 0, 0);
    EXPECT_NEAR(p.x, 0.0f, 1e-6);
    EXPECT_EQ(p.z, 299.0f);
    // Moved along z first, then the offset is turned into x.
    Vec4 q = apply(liftThenTurn, 1, 0, 0);
    EXPECT_EQ(q.x, 300.0f);
    EXPECT_NEAR(q.z, -1.0f, 1e-4);
}

// ---------------------------------------------------------------- transformPoint

TEST_F(Math3dTest, IdentityReturnsThePointWithWOne) {
    Vec4 out{9, 9, 9, 9};
    transformPoint(identity(), Vec4{1.25f, -3.5e7f, 1e-30f, 42.0f}, out);
    EXPECT_EQ(out.x, 1.25f);
    EXPECT_EQ(out.y, -3.5e7f);
    EXPECT_EQ(out.z, 1e-30f);
    EXPECT_EQ(out.w, 1.0f);
}

TEST_F(Math3dTest, InputWIsIgnored) {
    const Matrix4 m = irregular(4.1);
    Vec4 a{}, b{};
    transformPoint(m, Vec4{1, 2, 3, 0.0f}, a);
    transformPoint(m, Vec4{1, 2, 3, -1e30f}, b);
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
    EXPECT_EQ(b.w, 1.0f);
}

TEST_F(Math3dTest, TranslationInColumnThree) {
    Matrix4 view = identity();
    view.m[11] = -512.0;
    Vec4 p = apply(view, 10, 20, 7);
    EXPECT_EQ(p.x, 10.0f);
    EXPECT_EQ(p.y, 20.0f);
    EXPECT_EQ(p.z, -505.0f);
    EXPECT_EQ(apply(translation(1, 2, 3), 0, 0, 0).y, 2.0f);
}

// Sums are formed in double and rounded to float once.
TEST_F(Math3dTest, SumsAreRoundedToFloatOnlyAtTheEnd) {
    Matrix4 m = identity();
    m.m[0] = 1.0;
    m.m[1] = 1.0;
    m.m[3] = -16777216.0;
    // 16777216 + 1 - 16777216 is 1 in double; a float accumulator loses the 1.
    EXPECT_EQ(apply(m, 16777216.0f, 1.0f, 0.0f).x, 1.0f);
    // 1e16 + 1 - 1e16 accumulated in order is 0 in double.
    Matrix4 n = identity();
    n.m[4] = 1e16;
    n.m[5] = 1.0;
    n.m[6] = -1e16;
    EXPECT_EQ(apply(n, 1, 1, 1).y, 0.0f);
}

TEST_F(Math3dTest, RowThreeSumIsDiscarded) {
    Matrix4 m = identity();
    m.m[12] = 5.0;
    m.m[15] = 0.0;  // no division by the row 3 sum
    Vec4 p = apply(m, 2, 3, 4);
    EXPECT_EQ(p.x, 2.0f);
    EXPECT_EQ(p.y, 3.0f);
    EXPECT_EQ(p.z, 4.0f);
    EXPECT_EQ(p.w, 1.0f);
}
