#pragma once
#include <string>

#include "common/messages.h"

// What the page's C++ side shares: where the page writes the files it
// fetched, and the core's words on their way to the page.

// The data files the page fetched are written here before a show starts.
constexpr const char* pageDataDirectory = "/data";

// The mesh reader's text to the page, which writes it to the console line by
// line and keeps the last line to say why a show could not start; warnings
// to the console as warnings. The text of the current run is kept too.
class ConsoleMessages : public MessageSink {
public:
    void text(const std::string& bytes) override;
    void warning(const std::string& line) override;

    void clear() { said_.clear(); }
    // The last line the core's text holds, finished or not.
    std::string lastLine() const;

private:
    std::string said_;
};
