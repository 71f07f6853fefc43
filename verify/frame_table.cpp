#include "verify/frame_table.h"

#include <cinttypes>
#include <cstdio>
#include <utility>

#include "demo/scenes.h"
#include "verify/sha256.h"

namespace verify {

namespace {

// The fields of a line, split at single spaces.
std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> parts(1);
    for (char c : line) {
        if (c == ' ')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

// Digits only, and at most `limit`.
bool wholeNumber(const std::string& text, uint64_t limit, uint64_t& value) {
    if (text.empty() || text.size() > 19) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value <= limit;
}

bool isHash(const std::string& text) {
    if (text.size() != 64) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

// A line that names frame `frame`, a scene of the show and a whole hash.
bool parseLine(const std::string& text, int64_t frame, FrameLine& line) {
    const std::vector<std::string> parts = fields(text);
    uint64_t number = 0, milliseconds = 0, scene = 0;
    if (parts.size() != 5 || parts[0] != "frame" || !isHash(parts[4])) return false;
    if (!wholeNumber(parts[1], INT64_MAX, number) || static_cast<int64_t>(number) != frame) return false;
    if (!wholeNumber(parts[2], UINT32_MAX, milliseconds)) return false;
    if (!wholeNumber(parts[3], static_cast<uint64_t>(sceneCount - 1), scene)) return false;
    line = {frame, static_cast<uint32_t>(milliseconds), static_cast<int>(scene), parts[4]};
    return true;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// "52.000 s, scene 8 (channel drift)"
std::string whereText(uint32_t milliseconds, int scene) {
    char text[160];
    std::snprintf(text, sizeof text, "%" PRIu32 ".%03" PRIu32 " s, scene %d (%s)", milliseconds / 1000,
                  milliseconds % 1000, scene, sceneName(scene));
    return text;
}

}  // namespace

FrameLine hashFrame(int64_t frame, uint32_t milliseconds, int scene, const uint8_t* bytes, size_t size) {
    return {frame, milliseconds, scene, sha256Hex(bytes, size)};
}

std::string frameLineText(const FrameLine& line) {
    char text[200];
    std::snprintf(text, sizeof text, "frame %" PRId64 " %" PRIu32 " %d %s", line.frame, line.milliseconds, line.scene,
                  line.hash.c_str());
    return text;
}

FrameTable parseFrameTable(const std::string& text, int64_t expectedFrames) {
    FrameTable table;
    const std::vector<std::string> lines = splitLines(text);
    if (static_cast<int64_t>(lines.size()) != expectedFrames) {
        table.problem = "it has " + std::to_string(lines.size()) + " lines; the show has " +
                        std::to_string(expectedFrames) + " frames at " + std::to_string(tableFps) + " fps";
        return table;
    }
    table.lines.resize(lines.size());
    for (size_t k = 0; k < lines.size(); ++k) {
        if (!parseLine(lines[k], static_cast<int64_t>(k), table.lines[k])) {
            table.problem = "line " + std::to_string(k + 1) + " is not \"frame " + std::to_string(k) +
                            " T_MS SCENE SHA256\"";
            table.lines.clear();
            return table;
        }
    }
    return table;
}

Verdict tableVerdict(const std::string& problem) { return {2, "cannot verify: " + problem}; }

FrameVerifier::FrameVerifier(std::vector<FrameLine> table) : table_(std::move(table)) {}

bool FrameVerifier::take(const FrameLine& rendered) {
    if (differs_) return false;
    const bool same = taken_ < table_.size() && rendered.frame == table_[taken_].frame &&
                      rendered.milliseconds == table_[taken_].milliseconds &&
                      rendered.scene == table_[taken_].scene && rendered.hash == table_[taken_].hash;
    if (!same) {
        differs_ = true;
        rendered_ = rendered;
        return false;
    }
    ++taken_;
    return true;
}

Verdict FrameVerifier::verdict() const {
    if (!differs_ && taken_ == table_.size())
        return {0, "verified: " + std::to_string(taken_) + " frames identical"};
    if (!differs_) {
        return {1, "differs: the show ended after " + std::to_string(taken_) + " frames, and the table has " +
                       std::to_string(table_.size())};
    }
    const std::string frame = "frame " + std::to_string(rendered_.frame);
    if (taken_ >= table_.size()) {
        return {1, "differs: " + frame + " at " + whereText(rendered_.milliseconds, rendered_.scene) +
                       " is past the table's " + std::to_string(table_.size()) + " frames"};
    }
    const FrameLine& expected = table_[taken_];
    if (rendered_.milliseconds != expected.milliseconds || rendered_.scene != expected.scene) {
        return {1, "differs: " + frame + " is at " + whereText(rendered_.milliseconds, rendered_.scene) +
                       " here, and at " + whereText(expected.milliseconds, expected.scene) + " in the table"};
    }
    return {1, "differs: " + frame + " at " + whereText(expected.milliseconds, expected.scene) +
                   ": this machine made " + rendered_.hash + ", the table has " + expected.hash};
}

Verdict FrameVerifier::notStarted(const std::string& why) { return {1, "differs: the show stopped at start: " + why}; }

}  // namespace verify
