#pragma once
#include <string>

// Where the core's words go. The core never prints: the mesh reader's French
// progress text and the warnings about odd data files are handed to a sink
// that the program provides (standard output and standard error in the
// programs, a string in tests, the console in the browser).
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void text(const std::string& bytes) = 0;     // progress text, byte for byte
    virtual void warning(const std::string& line) = 0;   // one line, without its line end
};

// Keeps everything it is given; for tests and tools that read the messages.
class MessageLog : public MessageSink {
public:
    void text(const std::string& bytes) override { textOut += bytes; }
    void warning(const std::string& line) override { warnings += line + "\n"; }

    std::string textOut;
    std::string warnings;  // one line each
};
