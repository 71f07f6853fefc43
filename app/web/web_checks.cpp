// The page's verification modes, on the headless renderer's virtual clock
// (frame k at floor(k * 1000 / fps) ms, as `vokdemo --render` does), with
// the frame hashes and the table check every build shares: ?render=FPS gives
// the `--hash` line of each frame, ?verify compares every frame at 60 fps
// with the data set's frames.sha256 and gives `vokdemo --verify`'s verdict.
#include <emscripten/emscripten.h>

#include <memory>
#include <string>
#include <utility>

#include "app/web/page_link.h"
#include "common/data_folder.h"
#include "shell/show_run.h"
#include "verify/frame_table.h"

namespace {

ConsoleMessages messages;
std::unique_ptr<headless::ShowRun> run;
std::unique_ptr<verify::FrameVerifier> verifier;
verify::Verdict verdict;
std::string lineText;

// Starts the run at `fps`; 0 when it started.
int beginRun(int fps) {
    messages.clear();
    run.reset();
    run = std::make_unique<headless::ShowRun>(fps, 0, ShowContext(messages, DataFolder(pageDataDirectory)));
    return run->startFailure();
}

verify::FrameLine hashedFrame() {
    const Image& image = run->image();
    return verify::hashFrame(run->frame(), run->milliseconds(), run->scene(), image.pixels,
                             static_cast<size_t>(image.count()) * 4);
}

// The table the page fetched beside the data files, under the page's name
// for it (`shownName`): its lines, or the problem that makes it unusable.
verify::FrameTable readTable(const std::string& shownName) {
    std::string text;
    verify::FrameTable table;
    if (!DataFolder(pageDataDirectory).read(verify::tableName, text)) {
        table.problem = shownName + ": cannot be fetched (vokkit check --table makes it)";
        return table;
    }
    table = verify::parseFrameTable(text, headless::expectedFrameCount(verify::tableFps));
    if (!table.problem.empty()) table.problem = shownName + ": " + table.problem;
    return table;
}

}  // namespace

extern "C" {

// ?render: 0 when the run started; then each call of vokRenderNext renders
// one frame (0 after the show's end) and vokFrameLine gives its line.
EMSCRIPTEN_KEEPALIVE int vokRenderBegin(int fps) { return beginRun(fps); }
EMSCRIPTEN_KEEPALIVE int vokRenderNext() { return run->renderNext() ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE int vokRenderOverran() { return run->overran() ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE const char* vokFrameLine() {
    lineText = verify::frameLineText(hashedFrame()) + "\n";
    return lineText.c_str();
}

// ?verify: 0 when the table is usable and the run started; otherwise the
// verdict is there already (vokVerdictLine). Then each call of vokVerifyNext
// checks one frame, 0 once the verdict is in.
EMSCRIPTEN_KEEPALIVE int vokVerifyBegin(const char* shownName) {
    verify::FrameTable table = readTable(shownName);
    if (!table.problem.empty()) {
        verdict = verify::tableVerdict(table.problem);
        return verdict.status;
    }
    if (beginRun(verify::tableFps) != 0) {
        verdict = verify::FrameVerifier::notStarted(messages.lastLine());
        return verdict.status;
    }
    verifier = std::make_unique<verify::FrameVerifier>(std::move(table.lines));
    return 0;
}

EMSCRIPTEN_KEEPALIVE int vokVerifyNext() {
    if (run->renderNext() && verifier->take(hashedFrame())) return 1;
    verdict = verifier->verdict();
    return 0;
}

// The table's file name, which the page fetches with the data files.
EMSCRIPTEN_KEEPALIVE const char* vokTableName() { return verify::tableName; }
EMSCRIPTEN_KEEPALIVE double vokVerifyFrames() { return static_cast<double>(headless::expectedFrameCount(verify::tableFps)); }
// 0: every frame identical; 1: one differed or the show did not run; 2: no usable table.
EMSCRIPTEN_KEEPALIVE int vokVerdictStatus() { return verdict.status; }
EMSCRIPTEN_KEEPALIVE const char* vokVerdictLine() { return verdict.line.c_str(); }

}  // extern "C"
