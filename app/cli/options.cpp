#include "app/cli/options.h"

#include "app/capture/video_presets.h"

#include "demo/scenes.h"
#include "image/image.h"

#include <algorithm>
#include <cctype>
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

// What the parser keeps besides the options themselves.
struct ParseState {
    Options& options;
    bool windowAsked = false;
    bool fullscreenAsked = false;
};

// A whole number within [low, high] into `target`, or the option's error.
bool wholeNumber(const char* name, const char* text, int64_t low, int64_t high, int64_t& target, std::string& error) {
    int64_t n = 0;
    if (parseInt64(text, n) && n >= low && n <= high) {
        target = n;
        return true;
    }
    error = std::string("bad ") + name + " '" + text + "': give a whole number from " + std::to_string(low) +
            " to " + std::to_string(high);
    return false;
}

// Seconds of show time for --from and --to: a number, not negative.
bool captureSeconds(const char* name, const char* text, double& target, std::string& error) {
    if (parseDouble(text, target) && target >= 0) return true;
    error = std::string("bad ") + name + " '" + text + "': give seconds of show time, 0 or more";
    return false;
}

// The path ends with the extension, in any case.
bool namesExtension(const std::string& path, const char* extension) {
    const size_t size = std::strlen(extension);
    std::string end = path.substr(path.size() - std::min(path.size(), size));
    for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == extension;
}


// "x4 (1280x960)"
std::string pictureSize(int scale) {
    return "x" + std::to_string(scale) + " (" + std::to_string(screenWidth * scale) + "x" +
           std::to_string(screenHeight * scale) + ")";
}

// --preset's help, from the table of presets.
const char* presetHelp() {
    static const std::string text = [] {
        std::string help = "a video made for a purpose, MP4 only (an explicit --fps\nwins; --scale may ask for a smaller picture):";
        for (const VideoPreset& p : videoPresets) {
            help += "\n" + std::string(p.name) + ": " + p.purpose + ", " + std::to_string(p.width) + "x" +
                    std::to_string(p.height) + " at 60 fps,\n  the picture " + pictureSize(p.scale) +
                    " centred on black,\n  H.264 High yuv420p at crf " + std::to_string(p.crf) + ", AAC at " +
                    std::to_string(p.audioRate) + " Hz";
        }
        return help;
    }();
    return text.c_str();
}

// One option of the command line: its name, the name of its value (none for
// a flag), its section and line in --help, and what it does.
struct OptionRow {
    const char* name;
    const char* valueName;
    const char* section;
    const char* help;
    bool (*apply)(ParseState& state, const char* value, std::string& error);
};

const OptionRow optionTable[] = {
    {"--fullscreen", nullptr, "Live show", "full screen, scaled by the largest whole factor that fits",
     [](ParseState& s, const char*, std::string&) { return s.fullscreenAsked = true, s.windowAsked = false, true; }},
    {"--window", nullptr, "Live show", "in a window (the default)",
     [](ParseState& s, const char*, std::string&) { return s.windowAsked = true, s.fullscreenAsked = false, true; }},
    {"--scale", "N", "Live show",
     "window or capture scale, a whole number from 1 to 16\n(default: in a window the largest of 1 to 3 that fits\n"
     "the desktop; 2 for a capture, even so that the video's\ncolour stays sharp; 1 for a GIF)",
     [](ParseState& s, const char* v, std::string& e) {
         int64_t n = 0;
         if (!wholeNumber("--scale", v, 1, 16, n, e)) return false;
         s.options.scale = static_cast<int>(n);
         return true;
     }},
    {"--no-vsync", nullptr, "Live show",
     "frames as fast as the machine allows; by default they wait\nfor the display's refresh, or are paced to its rate",
     [](ParseState& s, const char*, std::string&) { return s.options.vsync = false, true; }},
    {"--vsync", nullptr, "Live show", "wait for the display's refresh (the default)",
     [](ParseState& s, const char*, std::string&) { return s.options.vsync = true, true; }},
    {"--start", "SECONDS", "Live show", "begin the show at that time",
     [](ParseState& s, const char* v, std::string& e) {
         double seconds = 0;
         if (!parseDouble(v, seconds) || seconds < 0 || seconds > 1000) {
             e = std::string("bad --start '") + v + "': give seconds from 0 to 1000";
             return false;
         }
         s.options.startSeconds = seconds;
         return true;
     }},
    {"--sync-log", nullptr, "Live show",
     "at every scene change, seek and pause, print on standard\nerror how far the picture is from the music the listener\nhears; at every seek, where it was asked and where it landed",
     [](ParseState& s, const char*, std::string&) { return s.options.syncLog = true, true; }},
    {"--gentle", nullptr, "Live show",
     "hold back the flashes that would go over the limit of the\nflash check (vokkit flashes); everything else reaches the\n"
     "screen as rendered, and the rendered frames stay as they are",
     [](ParseState& s, const char*, std::string&) { return s.options.gentle = true, true; }},
    {"--loop", nullptr, "Live show",
     "at its end the show begins again, with its music, until\nEscape or the window is closed",
     [](ParseState& s, const char*, std::string&) { return s.options.loop = true, true; }},
    {"--render", nullptr, "Headless rendering", "render every frame with a virtual clock, no display",
     [](ParseState& s, const char*, std::string&) { return s.options.mode = Options::Mode::Render, true; }},
    {"--fps", "N", "Headless rendering",
     "frames per second of the virtual clock (render: required;\ncapture: default 60, a GIF 25)",
     [](ParseState& s, const char* v, std::string& e) {
         int64_t n = 0;
         if (!wholeNumber("--fps", v, 1, 1000, n, e)) return false;
         s.options.fps = static_cast<int>(n);
         return true;
     }},
    {"--t0", "T", "Headless rendering", "tick counter reading at start-up (default 0)",
     [](ParseState& s, const char* v, std::string& e) {
         int64_t n = 0;
         if (!wholeNumber("--t0", v, 0, 0xFFFFFFFFLL, n, e)) return false;
         s.options.t0 = static_cast<uint32_t>(n);
         return true;
     }},
    {"--hash", nullptr, "Headless rendering", "print 'frame K T_MS SCENE SHA256' for every frame",
     [](ParseState& s, const char*, std::string&) { return s.options.hash = true, true; }},
    {"--raw", "FILE", "Headless rendering",
     "write the 307,200-byte BGRA frames one after another\n(\"-\": to standard output, the loader's text then going to\nstandard error)",
     [](ParseState& s, const char* v, std::string&) { return s.options.rawFile = v, true; }},
    {"--frames", "A-B", "Headless rendering",
     "only frames A to B (inclusive) are printed or written\n(--hash, --raw and --png; everything is still rendered)",
     [](ParseState& s, const char* v, std::string& e) {
         if (!parseRange(v, s.options.firstFrame, s.options.lastFrame)) {
             e = std::string("bad --frames '") + v + "': give A-B with 0 <= A <= B";
             return false;
         }
         return s.options.hasFrameRange = true, true;
     }},
    {"--verify", nullptr, "Headless rendering",
     "render the whole show at 60 fps and compare every frame's\nhash with the table of the data set (frames.sha256);\n"
     "prints 'verified: N frames identical' or the first frame\nthat differs; exit status 0 or 1, 2 without a usable table",
     [](ParseState& s, const char*, std::string&) { return s.options.verify = true, true; }},
    {"--capture", "OUT", "Capture",
     "write a video with the music (.mp4, .mkv, .webm), with a\nchapter per scene, or a looping .gif without sound",
     [](ParseState& s, const char* v, std::string&) {
         return s.options.captureFile = v, s.options.mode = Options::Mode::Capture, true;
     }},
    {"--png", "DIR", "Capture", "write the frames as PNG pictures into DIR",
     [](ParseState& s, const char* v, std::string&) {
         return s.options.pngDir = v, s.options.mode = Options::Mode::Capture, true;
     }},
    {"--wav", "OUT", "Capture", "write the music alone as a WAV file",
     [](ParseState& s, const char* v, std::string&) {
         return s.options.wavFile = v, s.options.mode = Options::Mode::Capture, true;
     }},
    {"--from", "SECONDS", "Capture", "capture from that show time on (default 0)",
     [](ParseState& s, const char* v, std::string& e) {
         return s.options.hasFrom = true, captureSeconds("--from", v, s.options.fromSeconds, e);
     }},
    {"--to", "SECONDS", "Capture", "capture up to that show time (default: the end)",
     [](ParseState& s, const char* v, std::string& e) {
         return s.options.hasTo = true, captureSeconds("--to", v, s.options.toSeconds, e);
     }},
    {"--scene", "N", "Capture", "capture scene N alone, {scenes}",
     [](ParseState& s, const char* v, std::string& e) {
         int64_t n = 0;
         if (!wholeNumber("--scene", v, 0, sceneCount - 1, n, e)) return false;
         s.options.scene = static_cast<int>(n);
         return true;
     }},
    {"--poster", "FILE.png", "Capture",
     "write one frame as a PNG picture: the first of the clip,\nor the middle of the title scene",
     [](ParseState& s, const char* v, std::string&) {
         return s.options.posterFile = v, s.options.mode = Options::Mode::Capture, true;
     }},
    {"--preset", "NAME", "Capture", presetHelp(),
     [](ParseState& s, const char* v, std::string& e) {
         if (findVideoPreset(v)) return s.options.preset = v, true;
         std::string names;
         for (const VideoPreset& p : videoPresets) names += std::string(names.empty() ? "" : " or ") + p.name;
         e = std::string("unknown --preset '") + v + "': give " + names;
         return false;
     }},
    {"--lossless", nullptr, "Capture",
     "lossless video (FFV1 in .mkv, H.264 at qp 0 in .mp4,\nVP9 lossless in .webm)",
     [](ParseState& s, const char*, std::string&) { return s.options.lossless = true, true; }},
    {"--data", "DIR", "Common", "read the data files from DIR instead of the working directory",
     [](ParseState& s, const char* v, std::string&) { return s.options.dataDir = v, true; }},
    {"--help", nullptr, "Common", "show this text",
     [](ParseState& s, const char*, std::string&) { return s.options.mode = Options::Mode::Help, true; }},
    {"--version", nullptr, "Common", "show the version",
     [](ParseState& s, const char*, std::string&) { return s.options.mode = Options::Mode::Version, true; }},
};

// The options of the Windows program, each with its own help line where the
// table's says what is not so there (nullptr: the table's).
struct ProgramOption {
    const char* name;
    const char* help;
};

const ProgramOption windowsOptions[] = {
    {"--fullscreen",
     "full screen: the 320x240 mode, or where the screen refuses\nit the desktop's mode with the picture at the largest\n"
     "whole scale that fits, centred"},
    {"--window", nullptr},
    {"--scale", "the picture's whole scale, 1 to 16 (default: in a window\nthe screen's DPI over 96 rounded, so 1 at 96 and 120 DPI,\n"
                "2 at 144 and 192; full screen the largest that fits,\nwhich N caps)"},
    {"--start", nullptr},
    {"--sync-log", "at every scene change, seek and pause, print on standard\nerror how far the picture is from the built-in music"},
    {"--gentle", nullptr},
    {"--loop", nullptr},
    {"--verify",
     "render the whole show at 60 fps and compare every frame's\nhash with the table of the data set (frames.sha256); says\n"
     "'verified: N frames identical' or the first frame that\ndiffers on the console that started the program, or in a\n"
     "message box; exit status 0 or 1, 2 without a usable table"},
    {"--data", "read the data files from DIR (default: the working\ndirectory, else the program's own folder)"},
    {"--help", nullptr},
    {"--version", nullptr},
};

const ProgramOption* windowsOption(const char* name) {
    for (const ProgramOption& option : windowsOptions)
        if (std::strcmp(name, option.name) == 0) return &option;
    return nullptr;
}

bool offered(const OptionRow& row, Program program) {
    return program == Program::Vokdemo || windowsOption(row.name) != nullptr;
}

const char* helpOf(const OptionRow& row, Program program) {
    const ProgramOption* own = program == Program::Windows ? windowsOption(row.name) : nullptr;
    return own != nullptr && own->help != nullptr ? own->help : row.help;
}

const OptionRow* findOption(const char* arg) {
    if (std::strcmp(arg, "-h") == 0) arg = "--help";
    for (const OptionRow& row : optionTable)
        if (std::strcmp(arg, row.name) == 0) return &row;
    return nullptr;
}

// The scenes --scene takes, from the scene table: "from 0 (title fade-in)\nto 13 (...)".
std::string sceneRange() {
    return "from 0 (" + std::string(sceneName(0)) + ")\nto " + std::to_string(sceneCount - 1) + " (" +
           sceneName(sceneCount - 1) + ")";
}

// "  --scale N           window or capture scale, ..." with continuation lines
// under the help column; "{scenes}" in the help stands for sceneRange().
std::string usageLine(const OptionRow& row, const char* rowHelp) {
    std::string left = std::string("  ") + row.name + (row.valueName ? std::string(" ") + row.valueName : "");
    left.resize(std::max<size_t>(left.size() + 1, 22), ' ');
    std::string help = rowHelp;
    const size_t scenes = help.find("{scenes}");
    if (scenes != std::string::npos) help.replace(scenes, 8, sceneRange());
    std::string line = left;
    for (char c : help) line += c == '\n' ? "\n" + std::string(22, ' ') : std::string(1, c);
    return line + "\n";
}

// The live show's keys; the Windows program adds Alt+Enter and has a second
// place for its screenshots.
std::string keysText(Program program) {
    const bool windows = program == Program::Windows;
    return std::string(
               "\n"
               "Keys of the live show:\n"
               "  Space               pause and resume\n"
               "  Left, Right         5 s back, 5 s forward\n"
               "  Page Up or ,        the start of the previous scene\n"
               "  Page Down or .      the start of the next scene\n"
               "  Home                the beginning\n") +
           (windows ? "  F or Alt+Enter      full screen on and off\n" : "  F                   full screen on and off\n") +
           "  S                   the frame as a 320x240 PNG picture in the working\n" +
           (windows ? "                      folder (or the program's, when that cannot be\n"
                      "                      written), named with the show time and the scene\n"
                    : "                      directory, named with the show time and the scene\n") +
           "  I                   show time, scene, frame rate and the picture's\n"
           "                      offset from the music, on and off\n"
           "  Escape              end the show\n";
}

std::string makeUsage(Program program) {
    std::string text =
        "usage: vokdemo [1] [options]\n"
        "\n"
        "Plays the show in a 320x240 window. A first argument that begins with 1\n"
        "plays it full screen instead.\n";
    std::string section;
    for (const OptionRow& row : optionTable) {
        if (!offered(row, program)) continue;
        if (section != row.section) {
            section = row.section;
            text += "\n" + section + ":\n";
        }
        text += usageLine(row, helpOf(row, program));
    }
    return text + keysText(program);
}

}  // namespace

const char* usageText(Program program) {
    static const std::string vokdemo = makeUsage(Program::Vokdemo);
    static const std::string windows = makeUsage(Program::Windows);
    return program == Program::Windows ? windows.c_str() : vokdemo.c_str();
}

const char* versionText() { return "vokdemo 1.0.0\n"; }

// --verify alone (with --data or --t0): the table is the whole show at its own rate.
bool checkVerify(Options& options, std::string& error) {
    if (options.mode != Options::Mode::Play || options.fps != 0 || options.hash || !options.rawFile.empty() ||
        options.hasFrameRange) {
        error = "--verify renders the whole show at 60 fps and writes nothing: give it alone (with --data or --t0)";
        return false;
    }
    options.mode = Options::Mode::Verify;
    return true;
}

// A preset makes an MP4 video of its own frame; what contradicts it is refused.
bool applyPreset(Options& options, std::string& error) {
    const VideoPreset& preset = *findVideoPreset(options.preset.c_str());
    const std::string name = "--preset " + options.preset;
    if (options.captureFile.empty()) {
        error = name + " makes a video: give it with --capture FILE.mp4";
    } else if (!namesExtension(options.captureFile, ".mp4")) {
        error = name + " writes MP4 video: name the file .mp4, not '" + options.captureFile + "'";
    } else if (options.lossless) {
        error = name + " is lossy H.264 at crf " + std::to_string(preset.crf) + ": give it or --lossless, not both";
    } else if (screenWidth * options.scale > preset.width || screenHeight * options.scale > preset.height) {
        error = "--scale " + std::to_string(options.scale) + " makes the picture " + std::to_string(screenWidth * options.scale) +
                "x" + std::to_string(screenHeight * options.scale) + ", larger than " + name + "'s " +
                std::to_string(preset.width) + "x" + std::to_string(preset.height) + " frame";
    }
    if (options.scale == 0) options.scale = preset.scale;
    return error.empty();
}

bool parseOptions(int argc, char** argv, Options& options, std::string& error, Program program) {
    options = Options{};
    ParseState state{options};
    // The first character of the command line decides the mode: a first
    // argument that begins with "1" means full screen.
    if (argc > 1 && argv[1][0] == '1') state.fullscreenAsked = true;

    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const OptionRow* row = findOption(arg);
        if (row && !offered(*row, program)) {
            error = std::string("'") + arg + "' is not an option of the Windows program (see --help)";
            return false;
        }
        if (!row) {
            if (arg[0] == '-' && arg[1] != '\0') {
                error = std::string("unknown option '") + arg + "' (see --help)";
                return false;
            }
            continue;  // other plain arguments only matter through their first character
        }
        const char* value = nullptr;
        if (row->valueName) {
            if (i + 1 >= argc) {
                error = std::string(row->name) + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        if (!row->apply(state, value, error)) return false;
        if (options.mode == Options::Mode::Help || options.mode == Options::Mode::Version) return true;
    }
    options.fullscreen = state.fullscreenAsked && !state.windowAsked;

    if (options.verify && !checkVerify(options, error)) return false;
    if (!options.preset.empty() && !applyPreset(options, error)) return false;
    if (options.mode == Options::Mode::Render && options.fps == 0) {
        error = "--render needs --fps N";
        return false;
    }
    if (options.mode != Options::Mode::Capture && (options.hasFrom || options.hasTo || options.scene >= 0)) {
        error = "--from, --to and --scene choose a part of a capture: give them with --capture, --png, --wav or "
                "--poster";
        return false;
    }
    if (options.rawFile == "-" && options.hash) {
        error = "--raw - and --hash both write to standard output: give one of them";
        return false;
    }
    if (options.loop && options.mode != Options::Mode::Play) {
        error = "--loop plays the show again and again: a loop has no end to render or capture";
        return false;
    }
    // A GIF takes its own defaults: 25 fps, delays of 4/100 s that every
    // browser plays evenly at half the size of 50 fps, and the show's own size.
    const bool gif = namesExtension(options.captureFile, ".gif");
    if (options.mode == Options::Mode::Capture && options.fps == 0) options.fps = gif ? 25 : 60;
    if (options.mode == Options::Mode::Capture && options.scale == 0) options.scale = gif ? 1 : 2;
    return true;
}
