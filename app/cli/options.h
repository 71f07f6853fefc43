#pragma once
#include <cstdint>
#include <string>

// Everything the command line can ask of vokdemo.
struct Options {
    enum class Mode { Play, Render, Capture, Help, Version, Verify };
    Mode mode = Mode::Play;

    std::string dataDir;  // empty: the working directory

    // Live player.
    bool fullscreen = false;
    int scale = 0;        // 0: not given (a window takes the largest of 1 to 3 that fits)
    bool vsync = true;    // --no-vsync: the unthrottled loop
    double startSeconds = 0.0;
    bool syncLog = false;
    bool gentle = false;  // --gentle: what reaches the screen passes the flash check
    bool loop = false;    // --loop: at its end the show begins again

    // Headless renderer and capture.
    int fps = 0;          // 0: not given
    uint32_t t0 = 0;
    bool hash = false;
    std::string rawFile;
    bool verify = false;  // --verify: the show against the frame table of its data set
    bool hasFrameRange = false;
    int64_t firstFrame = 0, lastFrame = 0;  // inclusive

    std::string captureFile;  // --capture OUT
    std::string pngDir;       // --png DIR
    std::string wavFile;      // --wav OUT
    bool lossless = false;
    std::string preset;  // --preset NAME: a row of videoPresets
    std::string posterFile;  // --poster FILE.png

    // The part of the show a capture writes: --from and --to, or --scene.
    bool hasFrom = false, hasTo = false;
    double fromSeconds = 0.0, toSeconds = 0.0;
    int scene = -1;  // -1: not given
};

// The programs that read this command line: vokdemo takes every option; the
// Windows program those of the live show that mean something there, some
// with a help line of their own.
enum class Program { Vokdemo, Windows };

// Parses argv into `options`. On a bad command line returns false with a
// one-line message in `error`.
bool parseOptions(int argc, char** argv, Options& options, std::string& error, Program program = Program::Vokdemo);

const char* usageText(Program program = Program::Vokdemo);
const char* versionText();
