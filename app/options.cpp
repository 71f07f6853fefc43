#include "app/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

bool parseInt64(const char* text, int64_t& value) {
    if (!text || !*text) return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0') return false;
    value = v;
    return true;
}

bool parseDouble(const char* text, double& value) {
    if (!text || !*text) return false;
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(text, &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool parseRange(const char* text, int64_t& first, int64_t& last) {
    const char* dash = text ? std::strchr(text, '-') : nullptr;
    if (!dash) return false;
    std::string a(text, dash), b(dash + 1);
    return parseInt64(a.c_str(), first) && parseInt64(b.c_str(), last) && first >= 0 && last >= first;
}

}  // namespace

const char* usageText() {
    return "usage: vokdemo [1] [options]\n"
           "\n"
           "Plays the show in a 320x240 window. A first argument that begins with 1\n"
           "plays it full screen instead.\n"
           "\n"
           "Live show:\n"
           "  --fullscreen        full screen, scaled by the largest whole factor that fits\n"
           "  --window            in a window (the default)\n"
           "  --scale N           window scale, a whole number from 1 to 16 (default: the\n"
           "                      largest of 1 to 3 that fits the desktop)\n"
           "  --no-vsync          frames as fast as the machine allows; by default they wait\n"
           "                      for the display's refresh, or are paced to its rate\n"
           "  --start SECONDS     begin the show at that time\n"
           "\n"
           "Headless rendering:\n"
           "  --render            render every frame with a virtual clock, no display\n"
           "  --fps N             frames per second of the virtual clock (render: required;\n"
           "                      capture: default 60)\n"
           "  --t0 T              tick counter reading at start-up (default 0)\n"
           "  --hash              print 'frame K T_MS SCENE SHA256' for every frame\n"
           "  --raw FILE          write the 307,200-byte BGRA frames one after another\n"
           "  --frames A-B        only frames A to B (inclusive) are printed or written\n"
           "                      (--hash, --raw and --png; everything is still rendered)\n"
           "\n"
           "Capture:\n"
           "  --capture OUT       write a video with the music (.mp4, .mkv or .webm)\n"
           "  --png DIR           write the frames as PNG pictures into DIR\n"
           "  --wav OUT           write the music alone as a WAV file\n"
           "  --scale S           capture scale, a whole number from 1 to 16 (default 3)\n"
           "  --lossless          lossless video (FFV1 in .mkv, H.264 at qp 0 in .mp4)\n"
           "\n"
           "Common:\n"
           "  --data DIR          read the data files from DIR instead of the working directory\n"
           "  --help              show this text\n"
           "  --version           show the version\n";
}

const char* versionText() { return "vokdemo 1.0.0\n"; }

bool parseOptions(int argc, char** argv, Options& options, std::string& error) {
    options = Options{};
    bool windowAsked = false, fullscreenAsked = false;
    // The first character of the command line decides the mode: a first
    // argument that begins with "1" means full screen.
    if (argc > 1 && argv[1][0] == '1') fullscreenAsked = true;

    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        auto value = [&](const char* name) -> const char* {
            if (i + 1 >= argc) {
                error = std::string(name) + " needs a value";
                return nullptr;
            }
            return argv[++i];
        };
        int64_t n = 0;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            options.mode = Options::Mode::Help;
            return true;
        } else if (std::strcmp(arg, "--version") == 0) {
            options.mode = Options::Mode::Version;
            return true;
        } else if (std::strcmp(arg, "--fullscreen") == 0) {
            fullscreenAsked = true;
            windowAsked = false;
        } else if (std::strcmp(arg, "--window") == 0) {
            windowAsked = true;
            fullscreenAsked = false;
        } else if (std::strcmp(arg, "--vsync") == 0) {
            options.vsync = true;
        } else if (std::strcmp(arg, "--no-vsync") == 0) {
            options.vsync = false;
        } else if (std::strcmp(arg, "--hash") == 0) {
            options.hash = true;
        } else if (std::strcmp(arg, "--lossless") == 0) {
            options.lossless = true;
        } else if (std::strcmp(arg, "--render") == 0) {
            options.mode = Options::Mode::Render;
        } else if (std::strcmp(arg, "--scale") == 0) {
            const char* v = value(arg);
            if (!v) return false;
            if (!parseInt64(v, n) || n < 1 || n > 16) {
                error = std::string("bad --scale '") + v + "': give a whole number from 1 to 16";
                return false;
            }
            options.scale = static_cast<int>(n);
        } else if (std::strcmp(arg, "--fps") == 0) {
            const char* v = value(arg);
            if (!v) return false;
            if (!parseInt64(v, n) || n < 1 || n > 1000) {
                error = std::string("bad --fps '") + v + "': give a whole number from 1 to 1000";
                return false;
            }
            options.fps = static_cast<int>(n);
        } else if (std::strcmp(arg, "--t0") == 0) {
            const char* v = value(arg);
            if (!v) return false;
            if (!parseInt64(v, n) || n < 0 || n > 0xFFFFFFFFLL) {
                error = std::string("bad --t0 '") + v + "': give a whole number from 0 to 4294967295";
                return false;
            }
            options.t0 = static_cast<uint32_t>(n);
        } else if (std::strcmp(arg, "--start") == 0) {
            const char* v = value(arg);
            if (!v) return false;
            double s = 0;
            if (!parseDouble(v, s) || s < 0 || s > 1000) {
                error = std::string("bad --start '") + v + "': give seconds from 0 to 1000";
                return false;
            }
            options.startSeconds = s;
        } else if (std::strcmp(arg, "--frames") == 0) {
            const char* v = value(arg);
            if (!v) return false;
            if (!parseRange(v, options.firstFrame, options.lastFrame)) {
                error = std::string("bad --frames '") + v + "': give A-B with 0 <= A <= B";
                return false;
            }
            options.hasFrameRange = true;
        } else if (std::strcmp(arg, "--raw") == 0) {
            const char* v = value(arg);
            if (!v) return false;
            options.rawFile = v;
        } else if (std::strcmp(arg, "--data") == 0) {
            const char* v = value(arg);
            if (!v) return false;
            options.dataDir = v;
        } else if (std::strcmp(arg, "--capture") == 0) {
            const char* v = value(arg);
            if (!v) return false;
            options.captureFile = v;
            options.mode = Options::Mode::Capture;
        } else if (std::strcmp(arg, "--png") == 0) {
            const char* v = value(arg);
            if (!v) return false;
            options.pngDir = v;
            options.mode = Options::Mode::Capture;
        } else if (std::strcmp(arg, "--wav") == 0) {
            const char* v = value(arg);
            if (!v) return false;
            options.wavFile = v;
            options.mode = Options::Mode::Capture;
        } else if (arg[0] == '-' && arg[1] != '\0') {
            error = std::string("unknown option '") + arg + "' (see --help)";
            return false;
        }
        // Other plain arguments only matter through their first character.
    }
    options.fullscreen = fullscreenAsked && !windowAsked;

    if (options.mode == Options::Mode::Render && options.fps == 0) {
        error = "--render needs --fps N";
        return false;
    }
    if (options.mode == Options::Mode::Capture && options.fps == 0) options.fps = 60;
    if (options.mode == Options::Mode::Capture && options.scale == 0) options.scale = 3;
    return true;
}
