// The Windows program: the shared command line, then the shared start-up with
// the music library, the Display and the Demo, then the message-first loop
// until the quit message.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/cli/options.h"
#include "app/headless/verify.h"
#include "app/win32/win32_backend.h"
#include "app/win32/win32_console.h"
#include "app/win32/win32_flash_warning.h"
#include "app/win32/win32_music.h"
#include "app/win32/win32_screensaver.h"
#include "app/win32/win32_show_loop.h"
#include "common/show_context.h"
#include "platform/data_location.h"
#include "platform/win32_platform.h"
#include "shell/show_start.h"
#include "shell/stdio_messages.h"

namespace {

// --verify: the verdict's line on the console, or in a message box.
int verifyAndTell(const Options& options) {
    const verify::Verdict verdict = verifyDataSet(options);
    const console::Kind kind = verdict.status == 0   ? console::Kind::Information
                               : verdict.status == 1 ? console::Kind::Warning
                                                     : console::Kind::Error;
    console::tell((verdict.status == 2 ? "vokdemo: " : "") + verdict.line + "\n", kind);
    return verdict.status;
}

// The command line as every build reads it, and the data set. -1 when the
// show is to play; otherwise the exit code, after --help or --version (0),
// --verify (its status), a bad command line (2) or no data set (1), each said
// on the console that started the program or in a message box.
int readCommandLine(Options& options) {
    std::string error;
    if (!parseOptions(__argc, __argv, options, error, Program::Windows)) {
        console::tell("vokdemo: " + error + "\n", console::Kind::Error);
        return 2;
    }
    if (options.mode == Options::Mode::Version) {
        console::tell(versionText(), console::Kind::Information);
        return 0;
    }
    const DataLocation data = findDataSet(options.dataDir);
    if (options.mode == Options::Mode::Help) {
        console::tell(std::string(usageText(Program::Windows)) + "\nData files: " + describeDataLocation(data) + "\n",
                      console::Kind::Information);
        return 0;
    }
    if (data.source == DataLocation::Source::None) {
        console::tell("vokdemo: " + data.error + "\n", console::Kind::Error);
        return 1;
    }
    for (const std::string& problem : dataSetProblems(data.directory))
        console::write("vokdemo: " + problem + "\n", console::Kind::Error);
    options.dataDir = data.directory;
    return options.mode == Options::Mode::Verify ? verifyAndTell(options) : -1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (startedAsScreensaver()) return runScreensaver(instance, showCommand);
    static Options options;
    const int early = readCommandLine(options);
    if (early >= 0) return early;
    static StdioMessages messages;
    ShowContext context(messages, DataFolder(options.dataDir));
    context.ticks = win32::tickCount;
    context.keyWaiting = win32::keyPressWaiting;
    if (!options.gentle && !agreesToFlashes(context.data)) return 0;

    static Win32Backend backend(instance, showCommand, options);
    ShowStart start = startShow(backend, context, options.startSeconds);
    if (!start.demo) return start.exitCode;
    Demo& demo = *start.demo.release();  // lives to the end of the process
    const int exitCode = runShow(demo, backend, ShowLoopSettings{options.loop, options.syncLog});
    music::stop();
    return exitCode;
}
