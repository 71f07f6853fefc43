#include "support/test_data.h"

#include <cstdio>
#include <fstream>

#include "demo/data_files.h"
#include "demo/scenes.h"
#include "tools/shared/pcx_writer.h"

namespace {

void writeFile(const std::string& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
}

}  // namespace

std::vector<uint8_t> makePcx(int width, int height, const std::function<uint32_t(int, int)>& colour) {
    std::vector<uint8_t> rgb;
    rgb.reserve(static_cast<size_t>(width > 0 ? width : 0) * (height > 0 ? height : 0) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t c = colour(x, y);
            rgb.insert(rgb.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)});
        }
    }
    return encodePcx(width, height, rgb);
}

std::string makeAse(const std::vector<float>& vertices, const std::vector<int>& faces) {
    char line[256];
    std::string text = "*3DSMAX_ASCIIEXPORT\t200\n*COMMENT \"test mesh\"\n*GEOMOBJECT {\n\t*MESH {\n";
    std::snprintf(line, sizeof line, "\t\t*MESH_NUMVERTEX %zu\n\t\t*MESH_NUMFACES %zu\n\t\t*MESH_VERTEX_LIST {\n",
                  vertices.size() / 3, faces.size() / 3);
    text += line;
    for (size_t i = 0; i < vertices.size() / 3; ++i) {
        std::snprintf(line, sizeof line, "\t\t\t*MESH_VERTEX %4zu\t%.4f\t%.4f\t%.4f\n", i, vertices[3 * i],
                      vertices[3 * i + 1], vertices[3 * i + 2]);
        text += line;
    }
    text += "\t\t}\n\t\t*MESH_FACE_LIST {\n";
    for (size_t i = 0; i < faces.size() / 3; ++i) {
        std::snprintf(line, sizeof line,
                      "\t\t\t*MESH_FACE %4zu:    A: %4d B: %4d C: %4d AB:    1 BC:    1 CA:    0\t *MESH_SMOOTHING 1 "
                      "\t*MESH_MTLID 0\n",
                      i, faces[3 * i], faces[3 * i + 1], faces[3 * i + 2]);
        text += line;
    }
    text += "\t\t}\n\t}\n}\n";
    return text;
}

void writeTestDataSet(const std::string& directory) {
    // The pictures: distinct patterns, the mask grey ramps, the sprites 16, 20 and 24 pixels square.
    int picture = 0, sprite = 0;
    for (const DataFile& file : dataFiles) {
        if (file.kind != DataKind::ScreenPicture && file.kind != DataKind::Sprite) continue;
        const int i = picture++;
        const bool isSprite = file.kind == DataKind::Sprite;
        const int size = isSprite ? 16 + 4 * sprite++ : 0;
        // The cross-fade's mask is the third file of its row.
        const bool mask = std::string(file.name) == sceneTable[sceneNamed("masked cross-fade")].files[2];
        auto colour = [i, mask](int x, int y) -> uint32_t {
            if (mask) return 0x010101u * static_cast<uint32_t>((x + y) & 0xFF);
            return static_cast<uint32_t>(((x * (i + 1)) & 0xFF) << 16 | ((y * 3 + i * 20) & 0xFF) << 8 |
                                         (((x ^ y) + i * 40) & 0xFF));
        };
        std::vector<uint8_t> bytes = makePcx(isSprite ? size : 320, isSprite ? size : 240, colour);
        std::ofstream(directory + "/" + file.name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // A square pyramid for each letter, one twice as large for the object.
    std::vector<float> pyramid = {-20, -20, 0, 20, -20, 0, 20, 20, 0, -20, 20, 0, 0, 0, 25};
    std::vector<float> object = pyramid;
    for (float& v : object) v *= 2.0f;
    std::vector<int> sides = {0, 1, 4, 1, 2, 4, 2, 3, 4, 3, 0, 4, 0, 1, 2, 0, 2, 3};
    for (int row = firstOf(DataKind::Mesh); row < firstOf(DataKind::Mesh) + meshCount; ++row) {
        const DataFile& file = dataFiles[row];
        bool isObject = false;
        for (int scene = 0; scene < sceneCount; ++scene) {
            isObject = isObject || (sceneTable[scene].mesh.turn == MeshTurn::Object && sceneUses(scene, row));
        }
        writeFile(directory + "/" + file.name, makeAse(isObject ? object : pyramid, sides));
    }
}
