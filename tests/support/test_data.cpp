#include "support/test_data.h"

#include <cstdio>
#include <fstream>

namespace {

void appendRun(std::vector<uint8_t>& out, uint8_t value, int length) {
    while (length > 0) {
        int part = length > 63 ? 63 : length;
        if (part == 1 && value < 192) {
            out.push_back(value);
        } else {
            out.push_back(static_cast<uint8_t>(192 + part));
            out.push_back(value);
        }
        length -= part;
    }
}

void writeFile(const std::string& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
}

}  // namespace

std::vector<uint8_t> makePcx(int width, int height, const std::function<uint32_t(int, int)>& colour) {
    std::vector<uint8_t> out(128, 0);
    out[0] = 10;
    out[1] = 5;
    out[2] = 1;
    out[3] = 8;
    out[8] = static_cast<uint8_t>((width - 1) & 0xFF);
    out[9] = static_cast<uint8_t>((width - 1) >> 8);
    out[10] = static_cast<uint8_t>((height - 1) & 0xFF);
    out[11] = static_cast<uint8_t>((height - 1) >> 8);
    out[12] = static_cast<uint8_t>(width & 0xFF);
    out[13] = static_cast<uint8_t>(width >> 8);
    out[14] = static_cast<uint8_t>(height & 0xFF);
    out[15] = static_cast<uint8_t>(height >> 8);
    out[65] = 3;
    out[66] = static_cast<uint8_t>(width & 0xFF);
    out[67] = static_cast<uint8_t>(width >> 8);
    for (int y = 0; y < height; ++y) {
        for (int shift : {16, 8, 0}) {
            int x = 0;
            while (x < width) {
                uint8_t value = static_cast<uint8_t>(colour(x, y) >> shift);
                int run = 1;
                while (x + run < width && static_cast<uint8_t>(colour(x + run, y) >> shift) == value) ++run;
                appendRun(out, value, run);
                x += run;
            }
        }
    }
    return out;
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
    const char* names[12] = {"vok_logo.pcx",   "vok_lomur.pcx",  "vok_zumber.pcx", "vok_girl.pcx",
                             "vok_vesk.pcx",   "vok_credit.pcx", "vok_thanks.pcx", "vok_greets.pcx",
                             "vok_mask.pcx",   "part1.pcx",      "part2.pcx",      "part3.pcx"};
    for (int i = 0; i < 12; ++i) {
        int size = i < 9 ? 0 : 16 + 4 * (i - 9);
        int width = size ? size : 320, height = size ? size : 240;
        auto colour = [i](int x, int y) -> uint32_t {
            if (i == 8) return 0x010101u * static_cast<uint32_t>((x + y) & 0xFF);  // the mask: grey ramps
            return static_cast<uint32_t>(((x * (i + 1)) & 0xFF) << 16 | ((y * 3 + i * 20) & 0xFF) << 8 |
                                         (((x ^ y) + i * 40) & 0xFF));
        };
        std::vector<uint8_t> bytes = makePcx(width, height, colour);
        std::ofstream(directory + "/" + names[i], std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // A square pyramid for each letter, a larger one for the object.
    std::vector<float> pyramid = {-20, -20, 0, 20, -20, 0, 20, 20, 0, -20, 20, 0, 0, 0, 25};
    std::vector<int> sides = {0, 1, 4, 1, 2, 4, 2, 3, 4, 3, 0, 4, 0, 1, 2, 0, 2, 3};
    for (const char* name : {"v.ase", "o.ase", "k.ase", "e.ase"}) writeFile(directory + "/" + name, makeAse(pyramid, sides));
    std::vector<float> object = pyramid;
    for (float& v : object) v *= 2.0f;
    writeFile(directory + "/test.ase", makeAse(object, sides));
}
