#include <cstdio>
#include <string>

#include "datagen.h"

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::fprintf(stderr, "usage: vokdatagen OUTPUT_DIRECTORY\n"
                             "Writes the files of the show's data table: pictures, meshes and music.\n");
        return argc == 2 ? 0 : 2;
    }
    const std::string directory = argv[1];
    bool ok = writePictures(directory);
    ok = writeMeshes(directory) && ok;
    ok = writeMusic(directory) && ok;
    return ok ? 0 : 1;
}

bool reportNoMaker(const char* name) {
    std::fprintf(stderr, "vokdatagen: nothing makes %s, so the data set lacks it\n", name);
    return false;
}
