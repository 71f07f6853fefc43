#include "pictures.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "datagen.h"
#include "demo/data_files.h"
#include "shared/pcx_writer.h"

namespace {

bool writePicture(const std::string& directory, const char* name, const Canvas& canvas) {
    const std::string path = directory + "/" + name;
    std::string error;
    if (writePcxFile(path, canvas.width(), canvas.height(), canvas.toRgb8(), error)) return true;
    std::fprintf(stderr, "vokdatagen: %s: %s\n", path.c_str(), error.c_str());
    return false;
}

// Which painter makes which of the data table's pictures.
struct Painter {
    const char* name;
    Canvas (*paint)();
};
const Painter painters[] = {
    {"vok_zumber.pcx", paintTitle},     {"vok_logo.pcx", paintLogo},       {"vok_lomur.pcx", paintMarble},
    {"vok_girl.pcx", paintPortrait},    {"vok_vesk.pcx", paintFractal},    {"vok_credit.pcx", paintCredits},
    {"vok_thanks.pcx", paintThanks},    {"vok_greets.pcx", paintGreetings}, {"vok_mask.pcx", paintMask},
    {"part1.pcx", paintSunOrb},         {"part2.pcx", paintStar},          {"part3.pcx", paintRingedOrb},
};

}  // namespace

bool writePictures(const std::string& directory) {
    bool ok = true;
    for (const DataFile& file : dataFiles) {
        if (file.kind != DataKind::ScreenPicture && file.kind != DataKind::Sprite) continue;
        const Painter* painter = std::find_if(std::begin(painters), std::end(painters),
                                              [&file](const Painter& p) { return std::strcmp(p.name, file.name) == 0; });
        ok = painter != std::end(painters) ? writePicture(directory, file.name, painter->paint()) && ok
                                           : reportNoMaker(file.name) && ok;
    }
    return ok;
}
