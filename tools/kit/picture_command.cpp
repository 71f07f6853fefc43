// vokkit picture IN OUT.pcx [--fit|--crop] [--as NAME]
#include <cstdio>

#include "commands.h"
#include "kit_slots.h"
#include "picture_fit.h"
#include "picture_reader.h"
#include "shared/pcx_writer.h"

namespace {

constexpr int screenWidth = 320, screenHeight = 240;

struct PictureArgs {
    std::string in, out, slotName;
    bool modeGiven = false;
    FitMode mode = FitMode::Crop;
};

bool parse(const std::vector<std::string>& args, PictureArgs& parsed, std::string& error) {
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--fit" || a == "--crop") {
            if (parsed.modeGiven && (a == "--fit") != (parsed.mode == FitMode::Fit)) {
                error = "give --fit or --crop, not both";
                return false;
            }
            parsed.modeGiven = true;
            parsed.mode = a == "--fit" ? FitMode::Fit : FitMode::Crop;
        } else if (a == "--as" && i + 1 < args.size()) {
            parsed.slotName = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option " + a;
            return false;
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) {
        error = "usage: vokkit picture IN OUT.pcx [--fit|--crop] [--as NAME]";
        return false;
    }
    parsed.in = files[0];
    parsed.out = files[1];
    if (parsed.slotName.empty()) parsed.slotName = baseName(parsed.out);
    return true;
}

}  // namespace

int runPicture(const std::vector<std::string>& args) {
    PictureArgs parsed;
    std::string error;
    if (!parse(args, parsed, error)) return refuse("picture", error);
    const Slot* slot = findSlot(parsed.slotName);
    if (!slot || (slot->kind != DataKind::ScreenPicture && slot->kind != DataKind::Sprite)) {
        return refuse(parsed.out, "'" + parsed.slotName +
                                      "' is not one of the show's pictures; name the slot with --as (for example "
                                      "--as vok_girl.pcx or --as part1.pcx)");
    }
    if (slot->kind == DataKind::Sprite && parsed.modeGiven) {
        return refuse(parsed.out, "sprites keep their size; --fit and --crop are for the 320x240 pictures");
    }

    RgbPicture input;
    if (!readPicture(parsed.in, input, error)) return refuse(parsed.in, error);
    RgbPicture output = input;
    if (slot->kind == DataKind::ScreenPicture &&
        !fitPicture(input, screenWidth, screenHeight, parsed.mode, output)) {
        return refuse(parsed.in, "cannot scale a " + std::to_string(input.width) + "x" +
                                     std::to_string(input.height) + " picture to 320x240");
    }
    if (!writePcxFile(parsed.out, output.width, output.height, output.rgb, error)) return refuse(parsed.out, error);

    std::string how = "as it is";
    if (input.width != output.width || input.height != output.height) {
        how = std::string(parsed.mode == FitMode::Fit ? "fitted" : "cropped") + " from " +
              std::to_string(input.width) + "x" + std::to_string(input.height);
    }
    std::printf("%s: %dx%d picture (%s), used %s\n", parsed.out.c_str(), output.width, output.height, how.c_str(),
                slotUse(*slot).c_str());
    return exitOk;
}
