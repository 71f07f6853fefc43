#pragma once
#include <cstdio>

#include "common/messages.h"

// The programs' message sink: the progress text byte for byte to standard
// output (or to another stream, such as standard error when standard output
// carries frames), and each warning as a line on standard error.
class StdioMessages : public MessageSink {
public:
    explicit StdioMessages(FILE* textOut = stdout) : textOut_(textOut) {}
    void text(const std::string& bytes) override {
        std::fwrite(bytes.data(), 1, bytes.size(), textOut_);
        std::fflush(textOut_);
    }
    void warning(const std::string& line) override { std::fprintf(stderr, "%s\n", line.c_str()); }

private:
    FILE* textOut_;
};
