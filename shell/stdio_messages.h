#pragma once
#include <cstdio>

#include "common/messages.h"

// The programs' message sink: the progress text to standard output, byte for
// byte, and each warning as a line on standard error.
class StdioMessages : public MessageSink {
public:
    void text(const std::string& bytes) override {
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        std::fflush(stdout);
    }
    void warning(const std::string& line) override { std::fprintf(stderr, "%s\n", line.c_str()); }
};
