#include <cstdio>
#include <exception>
#include <fstream>

#include "datagen.h"
#include "demo/data_files.h"
#include "music_score.h"
#include "xm_writer.h"

bool writeMusic(const std::string& directory) {
    const std::string path = directory + "/" + moduleFile;
    std::vector<uint8_t> bytes;
    try {
        bytes = encodeXm(composeZumber());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vokdatagen: cannot compose %s: %s\n", moduleFile, error.what());
        return false;
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "vokdatagen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}
