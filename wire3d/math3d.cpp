#include "wire3d/math3d.h"

#include <cmath>

float sinTable[256];
float cosTable[256];

void fillAngleTables() {
    // The step is 3.1415926 / 128, a little less than 2 pi / 256.
    const double step = 0.0245436921875;
    for (int i = 0; i < 256; ++i) {
        double angle = i * step;
        cosTable[i] = static_cast<float>(std::cos(angle));
        sinTable[i] = static_cast<float>(std::sin(angle));
    }
}

namespace {

int tableIndex(int32_t angle) { return static_cast<int>(static_cast<uint32_t>(angle) & 255u); }

}  // namespace

void setIdentity(Matrix4& m) {
    for (double& e : m.m) e = 0.0;
    m.m[0] = m.m[5] = m.m[10] = m.m[15] = 1.0;
}

void rotateX(Matrix4& m, int32_t angle) {
    setIdentity(m);
    double c = cosTable[tableIndex(angle)], s = sinTable[tableIndex(angle)];
    m.m[5] = c;
    m.m[6] = -s;
    m.m[9] = s;
    m.m[10] = c;
}

void rotateY(Matrix4& m, int32_t angle) {
    setIdentity(m);
    double c = cosTable[tableIndex(angle)], s = sinTable[tableIndex(angle)];
    m.m[0] = c;
    m.m[2] = s;
    m.m[8] = -s;
    m.m[10] = c;
}

void rotateZ(Matrix4& m, int32_t angle) {
    setIdentity(m);
    double c = cosTable[tableIndex(angle)], s = sinTable[tableIndex(angle)];
    m.m[0] = c;
    m.m[1] = -s;
    m.m[4] = s;
    m.m[5] = c;
}

void multiply(const Matrix4& a, const Matrix4& b, Matrix4& out) {
    Matrix4 product;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += a.m[4 * i + k] * b.m[4 * k + j];
            product.m[4 * i + j] = sum;
        }
    }
    out = product;
}

void transformPoint(const Matrix4& m, const Vec4& v, Vec4& out) {
    const double column[4] = {v.x, v.y, v.z, 1.0};
    double sums[3];
    for (int i = 0; i < 3; ++i) {
        double sum = 0.0;
        for (int k = 0; k < 4; ++k) sum += m.m[4 * i + k] * column[k];
        sums[i] = sum;
    }
    out.x = static_cast<float>(sums[0]);
    out.y = static_cast<float>(sums[1]);
    out.z = static_cast<float>(sums[2]);
    out.w = 1.0f;
}
