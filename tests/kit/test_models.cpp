#include "kit/test_models.h"

#include <cstdint>
#include <cstring>
#include <sstream>
#include <vector>

namespace {

std::string base64(const std::vector<uint8_t>& bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t n = bytes[i] << 16;
        if (i + 1 < bytes.size()) n |= bytes[i + 1] << 8;
        if (i + 2 < bytes.size()) n |= bytes[i + 2];
        out += digits[(n >> 18) & 63];
        out += digits[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? digits[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? digits[n & 63] : '=';
    }
    return out;
}

template <typename T>
void append(std::vector<uint8_t>& bytes, T value) {
    uint8_t raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    bytes.insert(bytes.end(), raw, raw + sizeof(T));
}

}  // namespace

std::string boxObj(double w, double h, double d, double cx, double cy, double cz) {
    std::ostringstream obj;
    obj << "# a box\n";
    for (int i = 0; i < 8; ++i) {
        obj << "v " << cx + ((i & 1) ? w : -w) / 2 << " " << cy + ((i & 2) ? h : -h) / 2 << " "
            << cz + ((i & 4) ? d : -d) / 2 << "\n";
    }
    obj << "f 1 3 4 2\nf 5 6 8 7\nf 1 2 6 5\nf 3 7 8 4\nf 1 5 7 3\nf 2 4 8 6\n";
    return obj.str();
}

std::string gridObj(int n) {
    std::ostringstream obj;
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x) obj << "v " << x << " " << y << " " << ((x * 7 + y * 3) % 5) << "\n";
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const int a = y * (n + 1) + x + 1;
            obj << "f " << a << " " << a + 1 << " " << a + n + 2 << " " << a + n + 1 << "\n";
        }
    return obj.str();
}

std::string octahedronGltf(double scale, double tx) {
    const float positions[6][3] = {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}, {-1, 0, 0}, {0, 0, -1}, {0, -1, 0}};
    const uint16_t indices[24] = {0, 2, 1, 0, 3, 2, 0, 4, 3, 0, 1, 4, 5, 1, 2, 5, 2, 3, 5, 3, 4, 5, 4, 1};
    std::vector<uint8_t> buffer;
    for (const auto& p : positions)
        for (float c : p) append(buffer, c);
    for (uint16_t i : indices) append(buffer, i);
    std::ostringstream g;
    g << R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],)"
      << R"("nodes":[{"mesh":0,"scale":[)" << scale << "," << scale << "," << scale << R"(],"translation":[)" << tx
      << R"(,0,0]}],"meshes":[{"primitives":[{"attributes":{"POSITION":0},"indices":1}]}],)"
      << R"("buffers":[{"byteLength":)" << buffer.size() << R"(,"uri":"data:application/octet-stream;base64,)"
      << base64(buffer) << R"("}],"bufferViews":[{"buffer":0,"byteOffset":0,"byteLength":72},)"
      << R"({"buffer":0,"byteOffset":72,"byteLength":48}],"accessors":[)"
      << R"({"bufferView":0,"componentType":5126,"count":6,"type":"VEC3","min":[-1,-1,-1],"max":[1,1,1]},)"
      << R"({"bufferView":1,"componentType":5123,"count":24,"type":"SCALAR"}]})";
    return g.str();
}

std::string tetrahedronStl() {
    return "solid tetra\n"
           "facet normal 0 0 -1\n outer loop\n  vertex 0 0 0\n  vertex 0 10 0\n  vertex 10 0 0\n endloop\nendfacet\n"
           "facet normal 0 -1 0\n outer loop\n  vertex 0 0 0\n  vertex 10 0 0\n  vertex 0 0 10\n endloop\nendfacet\n"
           "facet normal -1 0 0\n outer loop\n  vertex 0 0 0\n  vertex 0 0 10\n  vertex 0 10 0\n endloop\nendfacet\n"
           "facet normal 1 1 1\n outer loop\n  vertex 10 0 0\n  vertex 0 10 0\n  vertex 0 0 10\n endloop\nendfacet\n"
           "endsolid tetra\n";
}

std::string tetrahedronPly() {
    return "ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float y\nproperty float z\n"
           "element face 4\nproperty list uchar int vertex_indices\nend_header\n"
           "0 0 0\n10 0 0\n0 10 0\n0 0 10\n"
           "3 0 2 1\n3 0 1 3\n3 0 3 2\n3 1 2 3\n";
}
