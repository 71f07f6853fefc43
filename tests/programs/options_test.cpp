// The vokdemo command line as a table: arguments and what they give, either
// the options that differ from the defaults or the error message.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/cli/options.h"
#include "app/cli/screensaver_arguments.h"
#include "demo/scenes.h"

namespace {

// The mode, then every option that differs from its default, in a fixed order.
std::string describe(const Options& o) {
    static const char* const modes[] = {"play", "render", "capture", "help", "version", "verify"};
    std::ostringstream out;
    out << modes[static_cast<int>(o.mode)];
    if (o.fullscreen) out << " fullscreen";
    if (o.scale) out << " scale=" << o.scale;
    if (!o.vsync) out << " no-vsync";
    if (o.startSeconds != 0) out << " start=" << o.startSeconds;
    if (o.gentle) out << " gentle";
    if (o.loop) out << " loop";
    if (o.fps) out << " fps=" << o.fps;
    if (o.t0) out << " t0=" << o.t0;
    if (o.hash) out << " hash";
    if (!o.rawFile.empty()) out << " raw=" << o.rawFile;
    if (o.hasFrameRange) out << " frames=" << o.firstFrame << "-" << o.lastFrame;
    if (!o.captureFile.empty()) out << " capture=" << o.captureFile;
    if (!o.pngDir.empty()) out << " png=" << o.pngDir;
    if (!o.wavFile.empty()) out << " wav=" << o.wavFile;
    if (o.lossless) out << " lossless";
    if (!o.preset.empty()) out << " preset=" << o.preset;
    if (!o.posterFile.empty()) out << " poster=" << o.posterFile;
    if (o.hasFrom) out << " from=" << o.fromSeconds;
    if (o.hasTo) out << " to=" << o.toSeconds;
    if (o.scene >= 0) out << " scene=" << o.scene;
    if (!o.dataDir.empty()) out << " data=" << o.dataDir;
    return out.str();
}

// A command line split at blanks, after the program's name, as main gets it.
struct SplitArguments {
    SplitArguments(const char* program, const std::string& arguments) : words{program} {
        std::istringstream in(arguments);
        for (std::string word; in >> word;) words.push_back(word);
        for (std::string& word : words) argv.push_back(word.data());
    }
    int argc() const { return static_cast<int>(argv.size()); }
    std::vector<std::string> words;
    std::vector<char*> argv;
};

// What the command line gives: the description, or "error: " and the message.
std::string parse(const std::string& arguments, Program program = Program::Vokdemo) {
    SplitArguments line("vokdemo", arguments);
    Options options;
    std::string error;
    if (!parseOptions(line.argc(), line.argv.data(), options, error, program)) return "error: " + error;
    return describe(options);
}

struct Row {
    const char* arguments;
    const char* result;
};

const Row table[] = {
    // Window or full screen: the first character of the first argument, and the last of the two options.
    {"", "play"},
    {"1", "play fullscreen"},
    {"10", "play fullscreen"},
    {"1abc", "play fullscreen"},
    {"0", "play"},
    {"2", "play"},
    {"-", "play"},
    {"x 1", "play"},
    {"--data d 1", "play data=d"},
    {"1 --window", "play"},
    {"1 --fullscreen --window", "play"},
    {"1 --window --fullscreen", "play fullscreen"},
    {"--fullscreen", "play fullscreen"},
    {"--fullscreen --window", "play"},
    // The live show's options.
    {"--scale 1", "play scale=1"},
    {"--scale 16 --vsync", "play scale=16"},
    {"--no-vsync", "play no-vsync"},
    {"--no-vsync --vsync", "play"},
    {"--scale 0", "error: bad --scale '0': give a whole number from 1 to 16"},
    {"--scale 17", "error: bad --scale '17': give a whole number from 1 to 16"},
    {"--scale 2x", "error: bad --scale '2x': give a whole number from 1 to 16"},
    {"--scale", "error: --scale needs a value"},
    {"--start 40.5", "play start=40.5"},
    {"--start 1000", "play start=1000"},
    {"--start 0", "play"},
    {"--start -1", "error: bad --start '-1': give seconds from 0 to 1000"},
    {"--start 1000.5", "error: bad --start '1000.5': give seconds from 0 to 1000"},
    {"--start nan", "error: bad --start 'nan': give seconds from 0 to 1000"},
    {"--start inf", "error: bad --start 'inf': give seconds from 0 to 1000"},
    {"--start 5s", "error: bad --start '5s': give seconds from 0 to 1000"},
    // Headless rendering.
    {"--render --fps 60", "render fps=60"},
    {"--render", "error: --render needs --fps N"},
    {"--render --fps 0", "error: bad --fps '0': give a whole number from 1 to 1000"},
    {"--render --fps 1001", "error: bad --fps '1001': give a whole number from 1 to 1000"},
    {"--render --fps 1 --t0 4294967295", "render fps=1 t0=4294967295"},
    {"--render --fps 1 --t0 4294967296", "error: bad --t0 '4294967296': give a whole number from 0 to 4294967295"},
    {"--render --fps 1 --t0 -1", "error: bad --t0 '-1': give a whole number from 0 to 4294967295"},
    {"--render --fps 2 --hash --raw f.raw --frames 3-7", "render fps=2 hash raw=f.raw frames=3-7"},
    {"--render --fps 2 --frames 5-5", "render fps=2 frames=5-5"},
    {"--render --fps 2 --frames 7-3", "error: bad --frames '7-3': give A-B with 0 <= A <= B"},
    {"--render --fps 2 --frames 5", "error: bad --frames '5': give A-B with 0 <= A <= B"},
    {"--render --fps 2 --frames -1-3", "error: bad --frames '-1-3': give A-B with 0 <= A <= B"},
    {"--render --fps 2 --raw", "error: --raw needs a value"},
    {"--render --fps 2 --raw -", "render fps=2 raw=-"},
    {"--render --fps 2 --raw - --hash", "error: --raw - and --hash both write to standard output: give one of them"},
    // Presets: a video for a purpose, MP4 only; an explicit --fps wins, --scale must fit the frame.
    {"--capture a.mp4 --preset party", "capture scale=4 fps=60 capture=a.mp4 preset=party"},
    {"--capture a.MP4 --preset youtube", "capture scale=9 fps=60 capture=a.MP4 preset=youtube"},
    {"--capture a.mp4 --preset party --fps 30 --scale 1", "capture scale=1 fps=30 capture=a.mp4 preset=party"},
    {"--capture a.mp4 --preset youtube --scale 9", "capture scale=9 fps=60 capture=a.mp4 preset=youtube"},
    {"--capture a.mp4 --preset disco", "error: unknown --preset 'disco': give party or youtube"},
    {"--preset party", "error: --preset party makes a video: give it with --capture FILE.mp4"},
    {"--wav m.wav --preset party", "error: --preset party makes a video: give it with --capture FILE.mp4"},
    {"--capture a.webm --preset party", "error: --preset party writes MP4 video: name the file .mp4, not 'a.webm'"},
    {"--capture a.mp4 --preset party --lossless",
     "error: --preset party is lossy H.264 at crf 18: give it or --lossless, not both"},
    {"--capture a.mp4 --preset party --scale 5",
     "error: --scale 5 makes the picture 1600x1200, larger than --preset party's 1920x1080 frame"},
    {"--capture a.mp4 --preset youtube --scale 10",
     "error: --scale 10 makes the picture 3200x2400, larger than --preset youtube's 3840x2160 frame"},
    // The check against the data set's frame table: the whole show at 60 fps, nothing written.
    {"--verify", "verify"},
    {"--verify --data d --t0 4294967295", "verify t0=4294967295 data=d"},
    {"--verify --fps 30", "error: --verify renders the whole show at 60 fps and writes nothing: give it alone (with --data or --t0)"},
    {"--verify --hash", "error: --verify renders the whole show at 60 fps and writes nothing: give it alone (with --data or --t0)"},
    {"--render --fps 60 --verify", "error: --verify renders the whole show at 60 fps and writes nothing: give it alone (with --data or --t0)"},
    {"--verify --capture a.mp4", "error: --verify renders the whole show at 60 fps and writes nothing: give it alone (with --data or --t0)"},
    // Capture: the defaults of 60 fps and scale 2 unless given.
    {"--capture out.mp4", "capture scale=2 fps=60 capture=out.mp4"},
    {"--capture out.mkv --lossless --fps 30 --scale 1", "capture scale=1 fps=30 capture=out.mkv lossless"},
    {"--png frames", "capture scale=2 fps=60 png=frames"},
    {"--wav music.wav --data d", "capture scale=2 fps=60 wav=music.wav data=d"},
    {"--render --fps 5 --wav m.wav", "capture scale=2 fps=5 wav=m.wav"},
    // A GIF: 25 fps and the show's size unless given.
    {"--capture a.GIF --scene 8", "capture scale=1 fps=25 capture=a.GIF scene=8"},
    {"--capture a.gif --fps 50 --scale 2", "capture scale=2 fps=50 capture=a.gif"},
    {"--poster p.png --from 12.5", "capture scale=2 fps=60 poster=p.png from=12.5"},
    {"--wav m.wav --from 0 --to 3", "capture scale=2 fps=60 wav=m.wav from=0 to=3"},
    {"--png f --from -1", "error: bad --from '-1': give seconds of show time, 0 or more"},
    {"--png f --to 3s", "error: bad --to '3s': give seconds of show time, 0 or more"},
    {"--render --fps 5 --from 3",
     "error: --from, --to and --scene choose a part of a capture: give them with --capture, --png, --wav or --poster"},
    // Help, version and what is not an option.
    {"1 --gentle", "play fullscreen gentle"},
    // A loop has no end: it plays, and nothing renders or captures it.
    {"1 --loop", "play fullscreen loop"},
    {"--render --fps 5 --loop", "error: --loop plays the show again and again: a loop has no end to render or capture"},
    {"--capture a.mp4 --loop", "error: --loop plays the show again and again: a loop has no end to render or capture"},
    {"--help", "help"},
    {"-h", "help"},
    {"--version", "version"},
    {"--help --no-such-option", "help"},
    {"--scale 0 --help", "error: bad --scale '0': give a whole number from 1 to 16"},
    {"--no-such-option", "error: unknown option '--no-such-option' (see --help)"},
    {"-x", "error: unknown option '-x' (see --help)"},
};

// The Windows program: the same rules, the live show's options that mean
// something there, and a line for those that do not.
const Row windowsTable[] = {
    {"", "play"},
    {"1", "play fullscreen"},
    {"2 --scale 2", "play scale=2"},
    {"1 --scale 2 --window", "play scale=2"},
    {"--fullscreen --start 20 --data d --gentle", "play fullscreen start=20 gentle data=d"},
    {"--sync-log", "play"},
    {"--scale 0", "error: bad --scale '0': give a whole number from 1 to 16"},
    {"--scale 99", "error: bad --scale '99': give a whole number from 1 to 16"},
    {"--render --fps 60", "error: '--render' is not an option of the Windows program (see --help)"},
    {"--no-vsync", "error: '--no-vsync' is not an option of the Windows program (see --help)"},
    {"--bogus", "error: unknown option '--bogus' (see --help)"},
    {"-h", "help"},
    {"--version", "version"},
};

}  // namespace

TEST(CommandLine, EveryRowOfTheWindowsTable) {
    for (const Row& row : windowsTable)
        EXPECT_EQ(parse(row.arguments, Program::Windows), row.result) << "vokdemo.exe " << row.arguments;
}

TEST(CommandLine, WindowsHelpNamesItsOptionsAndKeysOnly) {
    const std::string help = usageText(Program::Windows);
    for (const char* option : {"--fullscreen", "--window", "--scale N", "--start SECONDS", "--sync-log", "--gentle",
                               "--data DIR", "--help", "--version"})
        EXPECT_NE(help.find(std::string("\n  ") + option + " "), std::string::npos) << option;
    for (const char* option : {"--render", "--capture", "--no-vsync", "--fps"})
        EXPECT_EQ(help.find(option), std::string::npos) << option;
    EXPECT_NE(help.find("F or Alt+Enter"), std::string::npos);
    EXPECT_NE(help.find("DPI"), std::string::npos);
}

TEST(CommandLine, EveryRowOfTheTable) {
    for (const Row& row : table) EXPECT_EQ(parse(row.arguments), row.result) << "vokdemo " << row.arguments;
}

// --scene takes the scenes of the scene table and no other.
TEST(CommandLine, SceneTakesTheScenesOfTheTable) {
    const std::string last = std::to_string(sceneCount - 1), past = std::to_string(sceneCount);
    EXPECT_EQ(parse("--png f --scene " + last), "capture scale=2 fps=60 png=f scene=" + last);
    EXPECT_EQ(parse("--png f --scene " + past),
              "error: bad --scene '" + past + "': give a whole number from 0 to " + last);
    EXPECT_NE(std::string(usageText()).find("to " + last + " (" + sceneName(sceneCount - 1) + ")"), std::string::npos);
}

TEST(CommandLine, HelpNamesEveryOption) {
    const std::string help = usageText();
    for (const char* option : {"--fullscreen", "--window", "--scale N", "--no-vsync", "--vsync", "--start SECONDS", "--render",
                               "--fps N", "--t0 T", "--hash", "--raw FILE", "--frames A-B", "--capture OUT", "--png DIR",
                               "--wav OUT", "--from SECONDS", "--to SECONDS", "--scene N", "--poster FILE.png", "--lossless", "--data DIR", "--help", "--version", "--gentle", "--verify", "--preset NAME"}) {
        EXPECT_NE(help.find(std::string("\n  ") + option + " "), std::string::npos) << option;
    }
}

namespace {

// What a screensaver's command line gives: "show", "preview HWND",
// "settings [HWND]", or "error: " and the message.
std::string parseSaver(const std::string& arguments) {
    SplitArguments line("vokdemo.scr", arguments);
    ScreensaverArguments saver;
    std::string error;
    if (!parseScreensaverArguments(line.argc(), line.argv.data(), saver, error)) return "error: " + error;
    static const char* const modes[] = {"show", "preview", "settings"};
    std::string text = modes[static_cast<int>(saver.mode)];
    return saver.window != 0 ? text + " " + std::to_string(saver.window) : text;
}

}  // namespace

TEST(ScreensaverCommandLine, EveryFormWindowsGivesAndNoOther) {
    const Row rows[] = {
        {"", "settings"},
        {"/s", "show"},
        {"/S", "show"},
        {"-s", "show"},
        {"/p 132456", "preview 132456"},
        {"/P:132456", "preview 132456"},
        {"/p", "error: '/p' needs the preview window's handle, as /p HWND or /p:HWND"},
        {"/p:", "error: '/p:' needs the preview window's handle, as /p HWND or /p:HWND"},
        {"/p x12", "error: '/p' needs the preview window's handle, as /p HWND or /p:HWND"},
        {"/p 0", "error: '/p' needs the preview window's handle, as /p HWND or /p:HWND"},
        {"/p 99999999999999999999999", "error: '/p' needs the preview window's handle, as /p HWND or /p:HWND"},
        {"/c", "settings"},
        {"/c:7788", "settings 7788"},
        {"/C:7788", "settings 7788"},
        {"/c:junk", "error: unknown argument '/c:junk': a screensaver takes /s, /p HWND or /c"},
        {"/a", "error: unknown argument '/a': a screensaver takes /s, /p HWND or /c"},
        {"/show", "error: unknown argument '/show': a screensaver takes /s, /p HWND or /c"},
        {"s", "error: unknown argument 's': a screensaver takes /s, /p HWND or /c"},
    };
    for (const Row& row : rows) EXPECT_EQ(parseSaver(row.arguments), row.result) << "vokdemo.scr " << row.arguments;
}
