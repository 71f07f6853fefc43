#pragma once
#include <cstdint>

// A 4x4 matrix of doubles, row by row: element (i, j) is m[4 * i + j]. It acts
// on column vectors, so translations live in column 3.
struct Matrix4 {
    double m[16];
};

// A vertex of four floats.
struct Vec4 {
    float x, y, z, w;
};

// Angles count 1/256 of a turn. Entry i is the sine (cosine) of
// i * 0.0245436921875 radians (3.1415926 / 128), rounded to float.
extern float sinTable[256];
extern float cosTable[256];
void fillAngleTables();

void setIdentity(Matrix4& m);
void rotateX(Matrix4& m, int32_t angle);
void rotateY(Matrix4& m, int32_t angle);
void rotateZ(Matrix4& m, int32_t angle);
void multiply(const Matrix4& a, const Matrix4& b, Matrix4& out);  // out = a x b; out may alias
void transformPoint(const Matrix4& m, const Vec4& v, Vec4& out);  // out.w = 1
