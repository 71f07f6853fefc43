#include "show_flashes.h"

#include "common/messages.h"
#include "demo/scenes.h"
#include "flash/heat_map.h"
#include "shell/show_run.h"

namespace {

// The last line of a text that has any, without its line end.
std::string lastLine(const std::string& text) {
    const size_t end = text.find_last_not_of('\n');
    if (end == std::string::npos) return "";
    const size_t start = text.find_last_of('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1, end + 1 - (start == std::string::npos ? 0 : start + 1));
}

const char* readingLabel(flash::Reading reading) {
    return reading == flash::Reading::Wcag ? "WCAG 2.3.1" : "broadcast";
}

std::string whereCounted(const flash::FlashRecord& record, flash::Reading reading, int64_t frame) {
    if (reading == flash::Reading::Broadcast) return "over the whole screen";
    const flash::FrameFigures& f = record.frames[static_cast<size_t>(frame)];
    return "in the " + std::to_string(record.field.width) + "x" + std::to_string(record.field.height) +
           " field at (" + std::to_string(f.fieldX) + ", " + std::to_string(f.fieldY) + ")";
}

// The worst second: "23 general transitions in the second to 88.283 s in ..., scene 12 (...)".
std::string worstSecond(const flash::FlashRecord& record, flash::Reading reading, const flash::Summary& s) {
    const bool redWorse = s.red.transitions > s.general.transitions;
    const flash::Peak& peak = redWorse ? s.red : s.general;
    return std::to_string(peak.transitions) + (redWorse ? " red" : " general") + " transitions in the second to " +
           flash::frameTime(peak.frame, record.fps) + " " + whereCounted(record, reading, peak.frame) + ", " +
           sceneLabel(record.scenes[static_cast<size_t>(peak.frame)]);
}

}  // namespace

ShowFlashes analyseShow(const DataFolder& data, int fps, flash::FieldSize field, flash::HeatMap* heatMap) {
    ShowFlashes result;
    result.record.fps = fps;
    result.record.field = field;
    MessageLog messages;  // the mesh reader's text is not the analyser's
    headless::ShowRun run(fps, 0, ShowContext(messages, data));
    if (run.startFailure() != 0) {
        result.startFailure = lastLine(messages.textOut);
        return result;
    }
    result.started = true;
    flash::FlashAnalyser analyser(field);
    for (int64_t k = 0; run.renderNext(); ++k) {
        const flash::FrameFigures figures = analyser.addFrame(run.image().pixels, flash::frameMs(k, fps));
        result.record.add(figures, run.scene());
        if (heatMap) heatMap->add(run.image().pixels, analyser, figures, run.scene());
    }
    return result;
}

std::string sceneLabel(int scene) {
    if (scene < 0 || scene >= sceneCount) return sceneName(scene, "the stream");
    return "scene " + std::to_string(scene) + " (" + sceneName(scene) + ")";
}

std::vector<std::string> sceneNames() {
    std::vector<std::string> names;
    for (int scene = 0; scene < sceneCount; ++scene) names.push_back(sceneName(scene));
    return names;
}

std::string flashVerdict(const flash::FlashRecord& record, flash::Reading reading) {
    const flash::Summary s = flash::summarise(record, reading, 0, record.frames.size());
    const std::string head = std::string(flash::statusName(s.status)) + " (" + readingLabel(reading) + "): ";
    if (s.status == flash::Status::Pass) {
        return head + "at most " + std::to_string(s.general.transitions) + " general and " +
               std::to_string(s.red.transitions) + " red transitions in any second " +
               (reading == flash::Reading::Wcag ? "in any " + std::to_string(record.field.width) + "x" +
                                                      std::to_string(record.field.height) + " field"
                                                : std::string("over the whole screen"));
    }
    if (s.status == flash::Status::Warning) {
        return head + worstSecond(record, reading, s) + "; 4 to 6 in a second pass with a warning, more than 6 fail";
    }
    if (std::max(s.general.transitions, s.red.transitions) <= flash::transitionLimit) {
        return head + "extended flashing: seconds of 4 to 6 transitions over the whole screen add up to 4 s within the 5 s to " +
               flash::frameTime(s.firstFailing, record.fps) + ", " + sceneLabel(record.scenes[static_cast<size_t>(s.firstFailing)]);
    }
    return head + worstSecond(record, reading, s) + "; more than 6 in a second can cause seizures";
}
