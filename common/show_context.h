#pragma once
#include <cstdint>
#include <functional>

#include "common/data_folder.h"
#include "common/messages.h"

// A 32-bit millisecond counter that wraps, as the show's clock reads it.
using TickSource = std::function<uint32_t()>;
// Whether a key press waits unread, without consuming it.
using KeyPoll = std::function<bool()>;

// A steady millisecond counter from the first time it is read.
uint32_t steadyMilliseconds();

// What the show needs from the program that runs it, handed in when the show
// is made: where its words go, where its data files are, the clock it reads
// and the key poll that lets the mesh reader stop early. Nothing of it is
// process-wide, so shows with different clocks and folders can run side by
// side. The defaults serve tests and tools: the working directory, a steady
// counter, no key ever waiting.
struct ShowContext {
    explicit ShowContext(MessageSink& sink, DataFolder folder = {}) : messages(sink), data(std::move(folder)) {}

    MessageSink& messages;
    DataFolder data;
    TickSource ticks = steadyMilliseconds;
    KeyPoll keyWaiting = [] { return false; };
};
