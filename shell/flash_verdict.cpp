#include "shell/flash_verdict.h"

#include <cstdio>
#include <vector>

#include "flash/verdict.h"

namespace {

const char* const sentence = "This show has rapid flashes that can trigger seizures in people with photosensitive epilepsy";

// A show time as the viewer reads it: minutes and whole seconds.
std::string clockTime(int64_t ms) {
    char text[24];
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(ms / 60000), static_cast<long long>(ms / 1000 % 60));
    return text;
}

std::string sceneWhen(const flash::VerdictRow& row) {
    return "scene " + std::to_string(row.scene) + ", " + row.name + " (" + clockTime(row.failsFromMs) + " to " +
           clockTime(row.failsToMs) + ")";
}

// The verdict file's text when its first line says the show fails; empty
// when it passes or there is none.
std::string failingVerdict(const DataFolder& data) {
    std::string text;
    return data.read("flashes.txt", text) && text.rfind("fail", 0) == 0 ? text : "";
}

}  // namespace

bool dataSetFailsFlashCheck(const DataFolder& data) { return !failingVerdict(data).empty(); }

std::string flashWarning(const DataFolder& data) {
    const std::string text = failingVerdict(data);
    if (text.empty()) return "";
    flash::Verdict verdict;
    std::vector<const flash::VerdictRow*> failing;
    if (flash::parseVerdict(text, verdict)) {
        for (const flash::VerdictRow& row : verdict.rows)
            if (row.reading == flash::Reading::Wcag && row.scene >= 0 && row.status == flash::Status::Fail) failing.push_back(&row);
    }
    std::string warning = sentence;
    for (size_t i = 0; i < failing.size(); ++i)
        warning += (i == 0 ? ": in " : i + 1 == failing.size() ? " and " : ", ") + sceneWhen(*failing[i]);
    return warning + ".";
}
