#include "app/web/page_link.h"

#include <emscripten/emscripten.h>

namespace {

EM_JS(void, pageText, (const char* bytes), { Module.coreText(UTF8ToString(bytes)); });
EM_JS(void, pageWarning, (const char* line), { console.warn(UTF8ToString(line)); });

}  // namespace

void ConsoleMessages::text(const std::string& bytes) {
    pageText(bytes.c_str());
    said_ += bytes;
}

void ConsoleMessages::warning(const std::string& line) { pageWarning(line.c_str()); }

std::string ConsoleMessages::lastLine() const {
    const size_t end = said_.find_last_not_of('\n');
    if (end == std::string::npos) return "";
    const size_t start = said_.find_last_of('\n', end);
    const size_t first = start == std::string::npos ? 0 : start + 1;
    return said_.substr(first, end - first + 1);
}
