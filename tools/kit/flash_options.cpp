#include "flash_options.h"

#include <cstdlib>

const char* const flashUsageLine =
    "usage: vokkit flashes [DIR] [--fps N] [--rule wcag|broadcast] [--field WxH] [--csv FILE] [--heatmap FILE.png] "
    "[--plot FILE.png] [--verdict FILE] | --raw FILE --fps N [...]";

namespace {

bool parseFps(const std::string& v, FlashOptions& o, std::string& error) {
    char* end = nullptr;
    const long n = std::strtol(v.c_str(), &end, 10);
    if (v.empty() || *end != '\0' || n < 1 || n > 1000) {
        return error = "bad --fps '" + v + "': give a whole number of frames a second from 1 to 1000", false;
    }
    o.fps = static_cast<int>(n);
    return true;
}

bool parseRule(const std::string& v, FlashOptions& o, std::string& error) {
    if (v == "wcag") return o.rule = flash::Reading::Wcag, true;
    if (v == "broadcast") return o.rule = flash::Reading::Broadcast, true;
    return error = "unknown --rule '" + v + "': give wcag or broadcast", false;
}

// "WxH" of whole numbers, within the frame.
bool parseField(const std::string& v, FlashOptions& o, std::string& error) {
    const size_t x = v.find('x');
    char *endW = nullptr, *endH = nullptr;
    const std::string w = x == std::string::npos ? "" : v.substr(0, x), h = x == std::string::npos ? "" : v.substr(x + 1);
    const long width = std::strtol(w.c_str(), &endW, 10), height = std::strtol(h.c_str(), &endH, 10);
    if (w.empty() || h.empty() || *endW != '\0' || *endH != '\0' || width < 1 || height < 1 ||
        width > flash::frameWidth || height > flash::frameHeight) {
        return error = "bad --field '" + v + "': give WxH in frame pixels, at most 320x240", false;
    }
    o.field = {static_cast<int>(width), static_cast<int>(height)};
    return true;
}

bool parseValue(const std::string& name, const std::string& v, FlashOptions& o, std::string& error) {
    if (name == "--raw") return o.rawFile = v, o.hasRaw = true;
    if (name == "--fps") return parseFps(v, o, error);
    if (name == "--rule") return parseRule(v, o, error);
    if (name == "--field") return parseField(v, o, error);
    if (name == "--plot") return o.plotFile = v, true;
    if (name == "--heatmap") return o.heatMapFile = v, true;
    if (name == "--csv") return o.csvFile = v, true;
    return o.verdictFile = v, true;  // --verdict
}

bool takesValue(const std::string& a) {
    for (const char* name : {"--raw", "--fps", "--rule", "--field", "--plot", "--heatmap", "--csv", "--verdict"})
        if (a == name) return true;
    return false;
}

}  // namespace

bool parseFlashOptions(const std::vector<std::string>& args, FlashOptions& o, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (takesValue(a)) {
            if (i + 1 >= args.size()) return error = a + " needs a value; " + flashUsageLine, false;
            if (!parseValue(a, args[++i], o, error)) return false;
        } else if (a.size() > 1 && a[0] == '-') {
            return error = "unknown option '" + a + "'; " + flashUsageLine, false;
        } else if (o.hasDirectory) {
            return error = flashUsageLine, false;
        } else {
            o.directory = a, o.hasDirectory = true;
        }
    }
    if (o.hasRaw && o.hasDirectory) return error = "give a data folder or --raw FILE, not both", false;
    if (o.hasRaw && o.fps == 0) return error = "--raw needs --fps N, the frames a second of the stream", false;
    if (o.hasRaw && !o.verdictFile.empty()) return error = "--verdict is for a data set, not a raw stream", false;
    return true;
}
