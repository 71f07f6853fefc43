#include "show_flashes.h"

#include "shell/show_run.h"
#include "common/messages.h"
#include "demo/scenes.h"

namespace {

// The last line of a text that has any, without its line end.
std::string lastLine(const std::string& text) {
    const size_t end = text.find_last_not_of('\n');
    if (end == std::string::npos) return "";
    const size_t start = text.find_last_of('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1, end + 1 - (start == std::string::npos ? 0 : start + 1));
}

}  // namespace

ShowFlashes analyseShow(const DataFolder& data, int fps) {
    ShowFlashes result;
    result.record.fps = fps;
    MessageLog messages;  // the mesh reader's text is not the analyser's
    headless::ShowRun run(fps, 0, ShowContext(messages, data));
    if (run.startFailure() != 0) {
        result.startFailure = lastLine(messages.textOut);
        return result;
    }
    result.started = true;
    flash::FlashAnalyser analyser(fps);
    while (run.renderNext()) result.record.add(analyser.addFrame(run.image().pixels), run.scene());
    return result;
}

std::string sceneLabel(int scene) {
    if (scene < 0 || scene >= sceneCount) return sceneName(scene, "the stream");
    return "scene " + std::to_string(scene) + " (" + sceneName(scene) + ")";
}

std::string flashVerdict(const flash::FlashRecord& record) {
    const flash::Peaks peaks = flash::peaksOf(record, 0, record.frames.size());
    const auto worst = [&](const flash::Peak& peak, const char* kind) {
        return std::to_string(peak.flashes) + " " + kind + " flashes in the second to " +
               flash::frameTime(peak.frame, record.fps) + ", " +
               sceneLabel(record.scenes[static_cast<size_t>(peak.frame)]);
    };
    if (!flash::fails(peaks)) {
        return "passes: at most " + std::to_string(peaks.general.flashes) + " general and " +
               std::to_string(peaks.red.flashes) + " red flashes in any second over 107x80 pixels' worth of one 214x160 field (the limit is 3)";
    }
    std::string text = "fails: ";
    if (peaks.general.flashes > flash::flashLimit) text += worst(peaks.general, "general");
    if (peaks.general.flashes > flash::flashLimit && peaks.red.flashes > flash::flashLimit) text += "; ";
    if (peaks.red.flashes > flash::flashLimit) text += worst(peaks.red, "red");
    return text + " (more than 3 in a second over 107x80 pixels' worth of one 214x160 field can cause seizures)";
}
