#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "demo/show_state.h"
#include "wire3d/mesh.h"

namespace {

using Points = std::vector<std::pair<int, int>>;

constexpr uint32_t lineColour = 0x00123456u;

Points litPixels(const Image& image) {
    Points lit;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.pixelAt(x, y) != 0) lit.emplace_back(x, y);
        }
    }
    return lit;
}

// A mesh built in the test, with identity matrices and the arrays the mesh
// owns; freed again at the end.
class TestMesh {
public:
    TestMesh(std::vector<Vec4> vertices, std::vector<Face> faces) {
        mesh = Mesh{};
        mesh.vertexCount = static_cast<int32_t>(vertices.size());
        mesh.faceCount = static_cast<int32_t>(faces.size());
        mesh.vertices = new Vec4[vertices.size()];
        mesh.transformed = new Vec4[vertices.size()];
        mesh.faces = new Face[faces.size()];
        std::copy(vertices.begin(), vertices.end(), mesh.vertices);
        std::copy(faces.begin(), faces.end(), mesh.faces);
        for (size_t i = 0; i < vertices.size(); ++i) mesh.transformed[i] = Vec4{7, 7, 7, 7};
        mesh.color = lineColour;
        setIdentity(mesh.world);
        setIdentity(mesh.object);
    }
    ~TestMesh() { resetMesh(mesh); }
    TestMesh(const TestMesh&) = delete;
    TestMesh& operator=(const TestMesh&) = delete;

    Points draw() {
        Image layer;
        drawWireframe(layer, mesh);
        return litPixels(layer);
    }

    Mesh mesh;
};

// A face whose three corners are the one vertex draws that vertex's screen
// point as a single pixel, or nothing when the point is off-screen.
Points projectAlone(float x, float y, float z, double worldZ = 0.0) {
    TestMesh single({Vec4{x, y, z, 1}}, {Face{0, 0, 0}});
    single.mesh.world.m[11] = worldZ;
    return single.draw();
}

// With identity matrices a model point at depth 0 lands at (160 + x, 120 + y).
Points atScreen(float screenX, float screenY) { return projectAlone(screenX - 160.0f, screenY - 120.0f, 0.0f); }

}  // namespace

// ---------------------------------------------------------------- the records

TEST(WireframeRecords, ViewMatrixMovesEveryPoint512TowardsMinusZ) {
    for (int i = 0; i < 16; ++i) {
        double expected = (i % 5 == 0) ? 1.0 : 0.0;
        if (i == 11) expected = -512.0;
        EXPECT_EQ(viewMatrix.m[i], expected) << i;
    }
}

namespace {

bool allZero(const Mesh& mesh) {
    if (mesh.vertices || mesh.transformed || mesh.faces || mesh.color || mesh.faceCount || mesh.vertexCount) return false;
    for (int i = 0; i < 16; ++i) {
        if (mesh.world.m[i] != 0.0 || mesh.object.m[i] != 0.0) return false;
    }
    return true;
}

}  // namespace

// Each run of the show draws its own copy of a loaded mesh.
TEST(WireframeRecords, ACopyHasArraysOfItsOwn) {
    TestMesh cube({Vec4{1, 2, 3, 4}, Vec4{5, 6, 7, 8}}, {Face{0, 1, 0}});
    cube.mesh.color = 0x123456;
    Mesh copy{};
    copyMesh(cube.mesh, copy);
    EXPECT_NE(copy.vertices, cube.mesh.vertices);
    EXPECT_NE(copy.faces, cube.mesh.faces);
    EXPECT_EQ(copy.vertexCount, 2);
    EXPECT_EQ(copy.vertices[1].z, 7.0f);
    EXPECT_EQ(copy.faces[0].b, 1);
    EXPECT_EQ(copy.color, 0x123456u);
    resetMesh(copy);
    EXPECT_TRUE(allZero(copy));
}

TEST(WireframeRecords, ResetMeshEmptiesEverything) {
    TestMesh cube({Vec4{1, 2, 3, 4}}, {Face{0, 0, 0}});
    resetMesh(cube.mesh);
    EXPECT_EQ(cube.mesh.vertices, nullptr);
    EXPECT_EQ(cube.mesh.transformed, nullptr);
    EXPECT_EQ(cube.mesh.faces, nullptr);
    EXPECT_EQ(cube.mesh.vertexCount, 0);
    EXPECT_EQ(cube.mesh.faceCount, 0);
    EXPECT_EQ(cube.mesh.color, 0u);
    for (double e : cube.mesh.world.m) EXPECT_EQ(e, 0.0);
    for (double e : cube.mesh.object.m) EXPECT_EQ(e, 0.0);
}

// ---------------------------------------------------------------- projection

TEST(WireframeProjection, DepthZeroHasScaleOne) {
    EXPECT_EQ(projectAlone(10, 20, 0), (Points{{170, 140}}));
    EXPECT_EQ(projectAlone(0, -20, 0), (Points{{160, 100}}));
}

TEST(WireframeProjection, StartingWorldOfTheScenesTruncates) {
    // View depth -312: 160 + 5120 / 312 = 176.41, 120 + 10240 / 312 = 152.82.
    EXPECT_EQ(projectAlone(10, 20, 0, 200.0), (Points{{176, 152}}));
}

TEST(WireframeProjection, ObjectActsFirstThenWorld) {
    TestMesh point({Vec4{0, 0, 0, 1}}, {Face{0, 0, 0}});
    point.mesh.object.m[3] = 10.0;  // move along x, then turn a quarter about z
    fillAngleTables();
    rotateZ(point.mesh.world, 64);
    EXPECT_EQ(point.draw(), (Points{{160, 130}}));
}

// The division is done in double: in float, 160 + 512 / 12.8 comes out at 200.
TEST(WireframeProjection, ComputedInDoublePrecision) {
    TestMesh point({Vec4{1, 0, 0, 1}}, {Face{0, 0, 0}});
    const float depth = -12.8f;
    point.mesh.world.m[10] = 0.0;
    point.mesh.world.m[11] = 512.0 + depth;
    EXPECT_EQ(point.draw(), (Points{{199, 120}}));
    EXPECT_EQ(point.mesh.transformed[0].z, depth);
}

TEST(WireframeProjection, BehindTheViewerIsMirroredThroughTheCentre) {
    // View depth +88: 160 - 5120 / 88 = 101.8, 120 - 10240 / 88 = 3.6.
    EXPECT_EQ(projectAlone(10, 20, 600), (Points{{101, 3}}));
}

TEST(WireframeProjection, DepthExactlyZeroBecomesMinusOneHundredth) {
    TestMesh point({Vec4{0, 0, 512, 1}}, {Face{0, 0, 0}});
    EXPECT_EQ(point.draw(), (Points{{160, 120}}));
    EXPECT_EQ(point.mesh.transformed[0].z, -0.01f);
}

// ---------------------------------------------------------------- on-screen test

TEST(WireframeOnScreen, EdgesOfTheScreenSuppressTheFace) {
    EXPECT_TRUE(atScreen(0, 120).empty());
    EXPECT_TRUE(atScreen(320, 120).empty());
    EXPECT_TRUE(atScreen(160, 0).empty());
    EXPECT_TRUE(atScreen(160, 240).empty());
}

TEST(WireframeOnScreen, OnePixelInsideTheEdgesPasses) {
    EXPECT_EQ(atScreen(1, 1), (Points{{1, 1}}));
    EXPECT_EQ(atScreen(319, 239), (Points{{319, 239}}));
    EXPECT_EQ(atScreen(1, 239), (Points{{1, 239}}));
    EXPECT_EQ(atScreen(319, 1), (Points{{319, 1}}));
}

TEST(WireframeOnScreen, FractionsTruncateTowardZero) {
    EXPECT_TRUE(atScreen(0.6f, 120).empty());
    EXPECT_TRUE(atScreen(-0.6f, 120).empty());
    EXPECT_TRUE(atScreen(160, 0.6f).empty());
    EXPECT_EQ(atScreen(319.6f, 239.6f), (Points{{319, 239}}));
}

TEST(WireframeOnScreen, OneCornerOffScreenSuppressesTheWholeTriangle) {
    TestMesh triangle({Vec4{-100, -100, 0, 1}, Vec4{100, -100, 0, 1}, Vec4{0, 120, 0, 1}}, {Face{0, 1, 2}});
    EXPECT_TRUE(triangle.draw().empty());
    triangle.mesh.vertices[2].y = 119;
    EXPECT_FALSE(triangle.draw().empty());
}

// A screen coordinate that does not fit in 32 bits is off-screen, not wrapped.
TEST(WireframeOnScreen, ValuesOutsideThirtyTwoBitsAreOffScreen) {
    EXPECT_TRUE(atScreen(4294967296.0f + 160, 120).empty());
    EXPECT_TRUE(atScreen(-4294967296.0f + 160, 120).empty());
    EXPECT_TRUE(atScreen(160, 4294967296.0f + 120).empty());
    EXPECT_TRUE(atScreen(2147483648.0f, 120).empty());
    EXPECT_TRUE(atScreen(1e30f, 1e30f).empty());
    EXPECT_TRUE(atScreen(std::numeric_limits<float>::infinity(), 120).empty());
    EXPECT_TRUE(atScreen(std::numeric_limits<float>::quiet_NaN(), 120).empty());
    EXPECT_TRUE(atScreen(160, std::numeric_limits<float>::quiet_NaN()).empty());
}

TEST(WireframeOnScreen, VertexAlmostAtDepthZeroIsOffScreen) {
    // 512.00006 is the float after 512: a view depth of about 6e-5.
    EXPECT_TRUE(projectAlone(1, 0, 512.00006f).empty());
    EXPECT_TRUE(projectAlone(0, 1, 511.99997f).empty());
}

// ---------------------------------------------------------------- drawing

TEST(WireframeDrawing, ThreeLinesInFaceOrderInTheMeshColour) {
    // Screen corners A (10, 10), B (20, 10), C (10, 20).
    TestMesh triangle({Vec4{-150, -110, 0, 1}, Vec4{-140, -110, 0, 1}, Vec4{-150, -100, 0, 1}}, {Face{0, 1, 2}});
    Image drawn;
    drawWireframe(drawn, triangle.mesh);

    Image expected;
    expected.drawLine(10, 10, 20, 10, lineColour);
    expected.drawLine(20, 10, 10, 20, lineColour);
    expected.drawLine(10, 20, 10, 10, lineColour);
    EXPECT_EQ(std::memcmp(drawn.pixels, expected.pixels, screenBytes), 0);

    // The same corners drawn the other way round light other pixels.
    Image reversed;
    reversed.drawLine(10, 10, 10, 20, lineColour);
    reversed.drawLine(10, 20, 20, 10, lineColour);
    reversed.drawLine(20, 10, 10, 10, lineColour);
    EXPECT_NE(std::memcmp(drawn.pixels, reversed.pixels, screenBytes), 0);
}

TEST(WireframeDrawing, TargetIsNotClearedFirst) {
    TestMesh point({Vec4{0, 0, 0, 1}}, {Face{0, 0, 0}});
    Image layer;
    layer.drawLine(5, 5, 5, 5, 0x00FFFFFFu);
    drawWireframe(layer, point.mesh);
    EXPECT_EQ(layer.pixelAt(5, 5), 0x00FFFFFFu);
    EXPECT_EQ(layer.pixelAt(160, 120), lineColour);
}

TEST(WireframeDrawing, FaceWithACornerOutsideTheVerticesIsSkipped) {
    TestMesh mesh({Vec4{0, 0, 0, 1}, Vec4{10, 0, 0, 1}, Vec4{0, 10, 0, 1}},
                  {Face{0, 1, 3}, Face{-1, 0, 1}, Face{0, 2147483647, 1}, Face{2, -2147483647 - 1, 0}, Face{0, 0, 0}});
    EXPECT_EQ(mesh.draw(), (Points{{160, 120}}));
}

TEST(WireframeDrawing, MeshWithoutFacesStillRewritesTransformed) {
    TestMesh mesh({Vec4{1, 2, 3, 9}, Vec4{-4, 5, -6, 9}}, {});
    EXPECT_TRUE(mesh.draw().empty());
    EXPECT_EQ(mesh.mesh.transformed[0].x, 1.0f);
    EXPECT_EQ(mesh.mesh.transformed[0].y, 2.0f);
    EXPECT_EQ(mesh.mesh.transformed[0].z, -509.0f);
    EXPECT_EQ(mesh.mesh.transformed[0].w, 1.0f);
    EXPECT_EQ(mesh.mesh.transformed[1].z, -518.0f);
}

TEST(WireframeDrawing, EmptyMeshDrawsNothing) {
    Mesh empty{};
    setIdentity(empty.world);
    setIdentity(empty.object);
    Image layer;
    drawWireframe(layer, empty);
    EXPECT_TRUE(litPixels(layer).empty());
}

TEST(WireframeDrawing, RepeatedDrawsAreIdenticalAndLeaveTheModelAlone) {
    std::vector<Vec4> ring;
    std::vector<Face> faces;
    for (int i = 0; i < 40; ++i) {
        ring.push_back(Vec4{static_cast<float>(100 * std::cos(i * 0.157)), static_cast<float>(80 * std::sin(i * 0.157)),
                            static_cast<float>(30 * std::sin(i * 0.5)), 1});
    }
    for (int i = 0; i < 40; ++i) faces.push_back(Face{i, (i + 1) % 40, (i + 7) % 40});
    TestMesh mesh(ring, faces);
    fillAngleTables();
    rotateY(mesh.mesh.world, 20);
    mesh.mesh.world.m[11] = 100.0;

    Image first, second;
    drawWireframe(first, mesh.mesh);
    drawWireframe(second, mesh.mesh);
    EXPECT_EQ(std::memcmp(first.pixels, second.pixels, screenBytes), 0);
    EXPECT_FALSE(litPixels(first).empty());
    for (size_t i = 0; i < ring.size(); ++i) {
        EXPECT_EQ(std::memcmp(&mesh.mesh.vertices[i], &ring[i], sizeof(Vec4)), 0) << i;
    }
}

// A larger mesh after a smaller one: each call projects every vertex of its
// own mesh.
TEST(WireframeDrawing, MeshesOfDifferentSizesInTurn) {
    TestMesh small({Vec4{0, 0, 0, 1}}, {Face{0, 0, 0}});
    std::vector<Vec4> many;
    for (int i = 0; i < 300; ++i) many.push_back(Vec4{static_cast<float>(i % 100), static_cast<float>(i / 100), 0, 1});
    TestMesh large(many, {Face{299, 299, 299}, Face{0, 0, 0}});
    EXPECT_EQ(small.draw(), (Points{{160, 120}}));
    EXPECT_EQ(large.draw(), (Points{{160, 120}, {259, 122}}));
    EXPECT_EQ(small.draw(), (Points{{160, 120}}));
}
