#include "flash/verdict.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace flash {
namespace {

const char* const header =
    "# The flash check of the show (vokkit flashes), frame by frame at %d frames a second.\n"
    "# wcag: any %dx%d field of the 320x240 frame shown full screen, changing when more than a\n"
    "# quarter of it flashes at the same time; broadcast: the whole screen, and extended flashing.\n"
    "# status: pass (at most 3 transitions in any second), warning (4 to 6), fail (more than 6,\n"
    "# or 4 s of seconds with 4 to 6 within 5 s). general-at and red-at: the end of the worst\n"
    "# second; extended: the most such time within 5 s; fails-from, fails-to: the first and last\n"
    "# failing frames. Times in seconds, \"-\" for none.\n"
    "# reading scene status general general-at red red-at extended fails-from fails-to name\n";

std::string seconds(int64_t ms) {
    if (ms < 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%03lld", static_cast<long long>(ms / 1000), static_cast<long long>(ms % 1000));
    return text;
}

// "12.350" to 12350; "-" to -1. False for anything else.
bool readSeconds(const std::string& text, int64_t& ms) {
    if (text == "-") return ms = -1, true;
    const size_t dot = text.find('.');
    if (dot == std::string::npos || dot == 0 || text.size() - dot != 4) return false;
    // The parts kept in strings of their own: strtoll's end points into them.
    const std::string wholeText = text.substr(0, dot), partText = text.substr(dot + 1);
    char* end = nullptr;
    const long long whole = std::strtoll(wholeText.c_str(), &end, 10);
    if (*end != '\0' || whole < 0) return false;
    const long long part = std::strtoll(partText.c_str(), &end, 10);
    if (*end != '\0') return false;
    ms = whole * 1000 + part;
    return true;
}

VerdictRow rowOf(const FlashRecord& record, Reading reading, int scene, const std::string& name, size_t first, size_t end) {
    const Summary s = summarise(record, reading, first, end);
    const auto ms = [&](int64_t frame) { return frame < 0 ? int64_t{-1} : int64_t{frameMs(frame, record.fps)}; };
    VerdictRow row;
    row.reading = reading, row.scene = scene, row.status = s.status, row.name = name;
    row.general = s.general.transitions, row.generalAtMs = ms(s.general.frame);
    row.red = s.red.transitions, row.redAtMs = ms(s.red.frame);
    row.extendedMs = reading == Reading::Broadcast && s.extendedMs > 0 ? int64_t{s.extendedMs} : -1;
    row.failsFromMs = ms(s.firstFailing), row.failsToMs = ms(s.lastFailing);
    return row;
}

std::string lineOf(const VerdictRow& r) {
    return std::string(readingName(r.reading)) + " " + (r.scene < 0 ? "show" : std::to_string(r.scene)) + " " +
           statusWord(r.status) + " " + std::to_string(r.general) + " " + seconds(r.generalAtMs) + " " +
           std::to_string(r.red) + " " + seconds(r.redAtMs) + " " + seconds(r.extendedMs) + " " +
           seconds(r.failsFromMs) + " " + seconds(r.failsToMs) + " " + r.name + "\n";
}

bool readStatus(const std::string& word, Status& status) {
    for (Status s : {Status::Pass, Status::Warning, Status::Fail}) {
        if (word == statusWord(s)) return status = s, true;
    }
    return false;
}

bool readCount(const std::string& word, int& n) {
    char* end = nullptr;
    const long v = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || *end != '\0' || v < 0 || v > 100000) return false;
    n = static_cast<int>(v);
    return true;
}

bool readRow(const std::string& line, VerdictRow& r) {
    std::istringstream in(line);
    std::string reading, scene, status, general, generalAt, red, redAt, extended, from, to;
    if (!(in >> reading >> scene >> status >> general >> generalAt >> red >> redAt >> extended >> from >> to)) return false;
    if (reading != "wcag" && reading != "broadcast") return false;
    r.reading = reading == "wcag" ? Reading::Wcag : Reading::Broadcast;
    if (scene == "show") {
        r.scene = -1;
    } else if (!readCount(scene, r.scene)) {
        return false;
    }
    std::getline(in >> std::ws, r.name);
    return readStatus(status, r.status) && readCount(general, r.general) && readCount(red, r.red) &&
           readSeconds(generalAt, r.generalAtMs) && readSeconds(redAt, r.redAtMs) &&
           readSeconds(extended, r.extendedMs) && readSeconds(from, r.failsFromMs) && readSeconds(to, r.failsToMs);
}

}  // namespace

const VerdictRow* Verdict::find(Reading reading, int scene) const {
    for (const VerdictRow& row : rows)
        if (row.reading == reading && row.scene == scene) return &row;
    return nullptr;
}

std::string verdictText(const FlashRecord& record, const std::vector<std::string>& sceneNames) {
    const bool fails = summarise(record, Reading::Wcag, 0, record.frames.size()).status == Status::Fail;
    char top[1024];
    std::snprintf(top, sizeof top, header, record.fps, record.field.width, record.field.height);
    std::string text = std::string(fails ? "fail\n" : "pass\n") + top;
    for (Reading reading : {Reading::Wcag, Reading::Broadcast}) {
        text += lineOf(rowOf(record, reading, -1, "the show", 0, record.frames.size()));
        for (const SceneSpan& span : sceneSpans(record)) {
            const std::string name = span.scene >= 0 && span.scene < static_cast<int>(sceneNames.size())
                                         ? sceneNames[static_cast<size_t>(span.scene)] : "the stream";
            text += lineOf(rowOf(record, reading, span.scene, name, span.first, span.end));
        }
    }
    return text;
}

bool parseVerdict(const std::string& text, Verdict& verdict) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line)) return false;
    if (line.rfind("pass", 0) != 0 && line.rfind("fail", 0) != 0) return false;
    verdict = {};
    verdict.fails = line.rfind("fail", 0) == 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("wcag ", 0) != 0 && line.rfind("broadcast ", 0) != 0) continue;  // a former file's sentence
        VerdictRow row;
        if (!readRow(line, row)) return false;
        verdict.rows.push_back(row);
    }
    return true;
}

}  // namespace flash
