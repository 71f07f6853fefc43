// The generated meshes: read with the show's ASE reader, checked for the
// exporter layout, for solid closed shapes, and projected the way the letter
// scenes and the object scenes place them, to see every triangle on screen.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/test_files.h"
#include "wire3d/ase.h"
#include "wire3d/mesh.h"

namespace {

std::string dataFile(const std::string& name) { return std::string(VOK_DATA_DIR) + "/" + name; }

std::string fileText(const std::string& name) {
    const std::vector<uint8_t> bytes = readFileBytes(dataFile(name));
    return std::string(bytes.begin(), bytes.end());
}

// A mesh loaded from the data set, freed at the end; the reader's progress
// text is kept in `messages`.
class LoadedMesh {
public:
    explicit LoadedMesh(const std::string& name) {
        mesh = Mesh{};
        EXPECT_TRUE(loadAse(ShowContext(messages), dataFile(name).c_str(), mesh)) << name;
    }
    ~LoadedMesh() { resetMesh(mesh); }
    LoadedMesh(const LoadedMesh&) = delete;
    LoadedMesh& operator=(const LoadedMesh&) = delete;
    Mesh mesh;
    MessageLog messages;
};

int countOf(const std::string& text, const std::string& keyword) {
    int count = 0;
    for (size_t at = text.find(keyword); at != std::string::npos; at = text.find(keyword, at + 1)) ++count;
    return count;
}

int declared(const std::string& text, const std::string& keyword) {
    const size_t at = text.find(keyword);
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + keyword.size());
}

struct Projected {
    double x, y;
};

// The renderer's projection of a view-space point (focal length 512 around
// the screen centre), and its strict on-screen test.
bool onScreen(const Vec4& v) {
    const double z = v.z == 0.0f ? -0.01f : v.z;
    const double x = 160.0 - v.x * 512.0 / z, y = 120.0 - v.y * 512.0 / z;
    const double tx = std::trunc(x), ty = std::trunc(y);
    return tx > 0 && tx < 320 && ty > 0 && ty < 240;
}

// Maps every vertex as drawWireframe does (object, world, then the view) and
// returns the number of triangles with a corner off screen.
int trianglesOffScreen(Mesh& mesh, const Matrix4& world) {
    mesh.world = world;
    setIdentity(mesh.object);
    Matrix4 placed, composed;
    multiply(mesh.world, mesh.object, placed);
    multiply(viewMatrix, placed, composed);
    std::vector<bool> visible(mesh.vertexCount);
    for (int i = 0; i < mesh.vertexCount; ++i) {
        Vec4 out;
        transformPoint(composed, mesh.vertices[i], out);
        visible[i] = onScreen(out);
    }
    int off = 0;
    for (int f = 0; f < mesh.faceCount; ++f) {
        const Face& face = mesh.faces[f];
        off += !(visible[face.a] && visible[face.b] && visible[face.c]);
    }
    return off;
}

// The rotations read the angle tables, which the program fills at start.
class AngleTables : public ::testing::Environment {
public:
    void SetUp() override { fillAngleTables(); }
};
const ::testing::Environment* const angleTables = ::testing::AddGlobalTestEnvironment(new AngleTables);

// The letter scenes' world matrix: a quarter turn about x, then the turn
// about y, at the scene's z translation.
Matrix4 letterWorld(int angle, double depth) {
    Matrix4 r1, r2, r3, world;
    rotateX(r1, 64);
    rotateY(r2, angle);
    rotateZ(r3, 0);
    multiply(r2, r3, r2);
    multiply(r2, r1, world);
    world.m[11] = depth;
    return world;
}

// The object scenes' world matrix for the angles about x, y and z.
Matrix4 objectWorld(int ax, int ay, int az, double depth) {
    Matrix4 p, q, r, world;
    rotateX(p, ax);
    rotateY(q, ay);
    rotateZ(r, az);
    multiply(q, r, q);
    multiply(q, p, world);
    world.m[11] = depth;
    return world;
}

Matrix4 startingWorld(double depth) {
    Matrix4 world;
    setIdentity(world);
    world.m[11] = depth;
    return world;
}

struct Letter {
    const char* file;
    double depth;
};
const Letter letters[] = {{"v.ase", 300}, {"o.ase", 300}, {"k.ase", 300}, {"e.ase", 200}};
const char* const allMeshes[] = {"v.ase", "o.ase", "k.ase", "e.ase", "test.ase"};

}  // namespace

TEST(DatagenMeshes, ReaderGetsTheCountsAndEntriesAsWritten) {
    for (const char* name : allMeshes) {
        SCOPED_TRACE(name);
        const std::string text = fileText(name);
        LoadedMesh loaded(name);
        const Mesh& mesh = loaded.mesh;
        EXPECT_EQ(mesh.vertexCount, declared(text, "*MESH_NUMVERTEX "));
        EXPECT_EQ(mesh.faceCount, declared(text, "*MESH_NUMFACES "));
        EXPECT_EQ(mesh.vertexCount, countOf(text, "*MESH_VERTEX "));
        EXPECT_EQ(mesh.faceCount, countOf(text, "*MESH_FACE "));
        ASSERT_GT(mesh.faceCount, 0);
        // Every vertex entry reaches the slot it names with its coordinates.
        std::istringstream lines(text);
        std::string line;
        int checked = 0;
        while (std::getline(lines, line)) {
            int index;
            float x, y, z;
            const size_t at = line.find("*MESH_VERTEX ");
            if (at == std::string::npos || std::sscanf(line.c_str() + at + 13, "%d %f %f %f", &index, &x, &y, &z) != 4)
                continue;
            ASSERT_TRUE(index >= 0 && index < mesh.vertexCount);
            EXPECT_EQ(mesh.vertices[index].x, x);
            EXPECT_EQ(mesh.vertices[index].y, y);
            EXPECT_EQ(mesh.vertices[index].z, z);
            ++checked;
        }
        EXPECT_EQ(checked, mesh.vertexCount);
        for (int f = 0; f < mesh.faceCount; ++f) {
            const Face& face = mesh.faces[f];
            for (int corner : {face.a, face.b, face.c}) ASSERT_TRUE(corner >= 0 && corner < mesh.vertexCount) << f;
        }
    }
}

TEST(DatagenMeshes, FilesHaveTheExporterLayout) {
    const std::regex faceLine(
        "\t\t\t\\*MESH_FACE +[0-9]+: +A: +[0-9]+ B: +[0-9]+ C: +[0-9]+ AB: +[01] BC: +[01] CA: +[01]\t "
        "\\*MESH_SMOOTHING [0-9]* \t\\*MESH_MTLID 0");
    for (const char* name : allMeshes) {
        SCOPED_TRACE(name);
        const std::string text = fileText(name);
        EXPECT_EQ(text.rfind("*3DSMAX_ASCIIEXPORT\t200\n", 0), 0u);
        const size_t scene = text.find("*SCENE {"), object = text.find("*GEOMOBJECT {"), mesh = text.find("*MESH {");
        const size_t vertices = text.find("*MESH_VERTEX_LIST {"), faces = text.find("*MESH_FACE_LIST {");
        const size_t normals = text.find("*MESH_NORMALS {");
        EXPECT_TRUE(scene < object && object < mesh && mesh < vertices && vertices < faces && faces < normals);
        const int faceCount = declared(text, "*MESH_NUMFACES ");
        EXPECT_EQ(countOf(text, "*MESH_FACENORMAL "), faceCount);
        EXPECT_EQ(countOf(text, "*MESH_VERTEXNORMAL "), 3 * faceCount);
        EXPECT_EQ(countOf(text, "{"), countOf(text, "}"));
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line))
            if (line.find("*MESH_FACE ") != std::string::npos) {
                EXPECT_TRUE(std::regex_match(line, faceLine)) << line;
            }
    }
}

TEST(DatagenMeshes, MeshesAreClosedSolidsWithoutDegenerateTriangles) {
    for (const char* name : allMeshes) {
        SCOPED_TRACE(name);
        LoadedMesh loaded(name);
        const Mesh& mesh = loaded.mesh;
        std::map<std::pair<int, int>, int> edges;
        for (int f = 0; f < mesh.faceCount; ++f) {
            const Face& face = mesh.faces[f];
            const Vec4 &a = mesh.vertices[face.a], &b = mesh.vertices[face.b], &c = mesh.vertices[face.c];
            const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z, vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
            const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
            EXPECT_GT(std::sqrt(nx * nx + ny * ny + nz * nz), 1e-3) << "face " << f;
            const int corners[] = {face.a, face.b, face.c};
            for (int k = 0; k < 3; ++k) {
                const int p = corners[k], q = corners[(k + 1) % 3];
                ++edges[{std::min(p, q), std::max(p, q)}];
            }
        }
        for (const auto& [edge, uses] : edges) EXPECT_EQ(uses, 2) << edge.first << "-" << edge.second;
    }
}

TEST(DatagenMeshes, LettersAreSizedForTheirScenes) {
    for (const Letter& letter : letters) {
        SCOPED_TRACE(letter.file);
        LoadedMesh loaded(letter.file);
        const Mesh& mesh = loaded.mesh;
        float lowest = 1e9f, highest = -1e9f, front = 1e9f, back = -1e9f;
        for (int i = 0; i < mesh.vertexCount; ++i) {
            lowest = std::min(lowest, mesh.vertices[i].z), highest = std::max(highest, mesh.vertices[i].z);
            front = std::min(front, mesh.vertices[i].y), back = std::max(back, mesh.vertices[i].y);
        }
        // Upright along z (the quarter turn about x stands it up), extruded along y.
        EXPECT_LT(highest - lowest, 100.0f);
        EXPECT_GT(highest - lowest, 50.0f);
        EXPECT_GT(back - front, 5.0f);
        EXPECT_LT(back - front, highest - lowest);
    }
}

TEST(DatagenMeshes, EveryLetterTriangleStaysOnScreenThroughAFullTurn) {
    ASSERT_EQ(sinTable[64], 1.0f);
    for (const Letter& letter : letters) {
        SCOPED_TRACE(letter.file);
        LoadedMesh loaded(letter.file);
        // The first frame of a letter scene still has the loading step's
        // identity rotation.
        EXPECT_EQ(trianglesOffScreen(loaded.mesh, startingWorld(letter.depth)), 0);
        for (int angle = 0; angle < 256; ++angle)
            ASSERT_EQ(trianglesOffScreen(loaded.mesh, letterWorld(angle, letter.depth)), 0) << "angle " << angle;
    }
}

TEST(DatagenMeshes, LetterIsDrawnIntoTheWireLayer) {
    LoadedMesh loaded("k.ase");
    loaded.mesh.world = letterWorld(40, 300);
    setIdentity(loaded.mesh.object);
    loaded.mesh.color = 0x00FFFFFF;
    Image layer;
    drawWireframe(layer, loaded.mesh);
    int lit = 0;
    for (int i = 0; i < layer.count(); ++i) lit += layer.pixelAt(i % 320, i / 320) != 0;
    EXPECT_GT(lit, 500);
}

TEST(DatagenMeshes, ObjectHasAFewThousandTrianglesAndStaysOnScreenWhileSpinning) {
    LoadedMesh loaded("test.ase");
    EXPECT_GE(loaded.mesh.faceCount, 300);
    EXPECT_LE(loaded.mesh.faceCount, 5000);
    // Distances 200..299 in the first object scene, 150..299 in the second.
    // The nearest, 299, is the hardest (the further away, the closer to the
    // centre every point projects), so it gets the fine grid of angles about
    // x, y and z; the farthest a coarse one.
    for (int ax = 0; ax < 256; ax += 16)
        for (int ay = 0; ay < 256; ay += 16)
            for (int az = 0; az < 256; az += 16)
                ASSERT_EQ(trianglesOffScreen(loaded.mesh, objectWorld(ax, ay, az, 299)), 0)
                    << "angles " << ax << " " << ay << " " << az;
    for (int ax = 0; ax < 256; ax += 32)
        for (int ay = 0; ay < 256; ay += 32)
            for (int az = 0; az < 256; az += 32)
                ASSERT_EQ(trianglesOffScreen(loaded.mesh, objectWorld(ax, ay, az, 150)), 0)
                    << "angles " << ax << " " << ay << " " << az;
    EXPECT_EQ(trianglesOffScreen(loaded.mesh, startingWorld(200)), 0);
}
