// --verify: the whole show on the virtual clock at the table's rate, every
// frame's hash compared with the table beside the data set.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "app/cli/progress_line.h"
#include "app/cli/runners.h"
#include "app/headless/verify.h"
#include "common/data_folder.h"
#include "common/messages.h"
#include "shell/show_run.h"
#include "verify/frame_table.h"

namespace {

// Far more than a table of this show (about 0.6 MB): such a file is no table,
// and is not read whole.
constexpr size_t tableSizeLimit = 16u << 20;

// The table's lines, or its verdict of status 2.
verify::FrameTable readTable(const std::string& path) {
    verify::FrameTable table;
    FILE* file = openFile(path, "rb");
    if (!file) {
        table.problem = path + ": " + std::strerror(errno) + (errno == ENOENT ? " (vokkit check --table makes it)" : "");
        return table;
    }
    std::string text(tableSizeLimit + 1, '\0');
    text.resize(std::fread(&text[0], 1, text.size(), file));
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        table.problem = path + ": cannot be read";
    } else if (text.size() > tableSizeLimit) {
        table.problem = path + ": more than " + std::to_string(tableSizeLimit >> 20) + " MB, not a table of this show";
    } else {
        table = verify::parseFrameTable(text, headless::expectedFrameCount(verify::tableFps));
        if (!table.problem.empty()) table.problem = path + ": " + table.problem;
    }
    return table;
}

// The last line of a text that has any.
std::string lastLine(const std::string& text) {
    const size_t end = text.find_last_not_of('\n');
    if (end == std::string::npos) return "";
    const size_t start = text.find_last_of('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1) + 1);
}

verify::Verdict verifyShow(const Options& options, verify::FrameTable table) {
    const int64_t total = static_cast<int64_t>(table.lines.size());
    MessageLog messages;  // the mesh reader's text is not the check's
    headless::ShowRun run(verify::tableFps, options.t0, ShowContext(messages, DataFolder(options.dataDir)));
    if (run.startFailure() != 0) return verify::FrameVerifier::notStarted(lastLine(messages.textOut));
    verify::FrameVerifier verifier(std::move(table.lines));
    ProgressLine progress(total, verify::tableFps);
    while (run.renderNext()) {
        const Image& image = run.image();
        const verify::FrameLine line = verify::hashFrame(run.frame(), run.milliseconds(), run.scene(), image.pixels,
                                                         static_cast<size_t>(image.count()) * 4);
        if (!verifier.take(line)) break;
        progress.update(run.frame() + 1);
    }
    progress.finish();
    return verifier.verdict();
}

}  // namespace

verify::Verdict verifyDataSet(const Options& options) {
    verify::FrameTable table = readTable(DataFolder(options.dataDir).path(verify::tableName));
    if (!table.problem.empty()) return verify::tableVerdict(table.problem);
    return verifyShow(options, std::move(table));
}

int runVerify(const Options& options) {
    const verify::Verdict verdict = verifyDataSet(options);
    if (verdict.status == 2) {
        std::fprintf(stderr, "vokdemo: %s\n", verdict.line.c_str());
    } else {
        std::printf("%s\n", verdict.line.c_str());
    }
    return verdict.status;
}
