#include "pictures.h"

#include <cstdio>

#include "datagen.h"
#include "shared/pcx_writer.h"

namespace {

bool writePicture(const std::string& directory, const char* name, const Canvas& canvas) {
    const std::string path = directory + "/" + name;
    std::string error;
    if (writePcxFile(path, canvas.width(), canvas.height(), canvas.toRgb8(), error)) return true;
    std::fprintf(stderr, "vokdatagen: %s: %s\n", path.c_str(), error.c_str());
    return false;
}

}  // namespace

bool writePictures(const std::string& directory) {
    struct Entry {
        const char* name;
        Canvas (*paint)();
    };
    const Entry entries[] = {
        {"vok_zumber.pcx", paintTitle},     {"vok_logo.pcx", paintLogo},       {"vok_lomur.pcx", paintMarble},
        {"vok_girl.pcx", paintPortrait},    {"vok_vesk.pcx", paintFractal},    {"vok_credit.pcx", paintCredits},
        {"vok_thanks.pcx", paintThanks},    {"vok_greets.pcx", paintGreetings}, {"vok_mask.pcx", paintMask},
        {"part1.pcx", paintSunOrb},         {"part2.pcx", paintStar},          {"part3.pcx", paintRingedOrb},
    };
    bool ok = true;
    for (const Entry& entry : entries) ok = writePicture(directory, entry.name, entry.paint()) && ok;
    return ok;
}
