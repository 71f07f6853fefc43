#include "flash/flash_record.h"

#include <algorithm>
#include <cstdio>

namespace flash {

KindCounts countsOf(const FrameFigures& figures, Reading reading) {
    return reading == Reading::Wcag ? figures.wcag : figures.broadcast;
}

Status statusOf(const FrameFigures& figures, Reading reading) {
    return reading == Reading::Wcag ? wcagStatus(figures) : broadcastStatus(figures);
}

Summary summarise(const FlashRecord& record, Reading reading, size_t first, size_t end) {
    Summary s;
    for (size_t i = first; i < end && i < record.frames.size(); ++i) {
        const FrameFigures& f = record.frames[i];
        const KindCounts counts = countsOf(f, reading);
        const int64_t frame = static_cast<int64_t>(i);
        if (counts.general > s.general.transitions) s.general = {counts.general, frame};
        if (counts.red > s.red.transitions) s.red = {counts.red, frame};
        if (reading == Reading::Broadcast) s.extendedMs = std::max(s.extendedMs, f.extendedMs);
        const Status status = statusOf(f, reading);
        s.status = std::max(s.status, status);
        if (status == Status::Fail) {
            if (s.firstFailing < 0) s.firstFailing = frame;
            s.lastFailing = frame;
        }
    }
    return s;
}

std::vector<SceneSpan> sceneSpans(const FlashRecord& record) {
    std::vector<SceneSpan> spans;
    for (size_t i = 0; i < record.scenes.size(); ++i) {
        if (spans.empty() || spans.back().scene != record.scenes[i]) spans.push_back({record.scenes[i], i, i});
        spans.back().end = i + 1;
    }
    return spans;
}

const char* statusName(Status status) {
    switch (status) {
        case Status::Pass: return "PASS";
        case Status::Warning: return "PASS WITH WARNING";
        case Status::Fail: return "FAIL";
    }
    return "";
}

const char* statusWord(Status status) {
    switch (status) {
        case Status::Pass: return "pass";
        case Status::Warning: return "warning";
        case Status::Fail: return "fail";
    }
    return "";
}

const char* readingName(Reading reading) { return reading == Reading::Wcag ? "wcag" : "broadcast"; }

std::string frameSeconds(int64_t frame, int fps) {
    const uint32_t ms = frameMs(frame, fps);
    char text[32];
    std::snprintf(text, sizeof text, "%u.%03u", ms / 1000, ms % 1000);
    return text;
}

std::string frameTime(int64_t frame, int fps) { return frameSeconds(frame, fps) + " s"; }

}  // namespace flash
