#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "support/command.h"

// Running vokdemo and the ffmpeg tools from the capture tests (shell
// commands through runCommand, support/command.h).

// vokdemo with the data set; `captureStderr` returns standard error instead
// of standard output.
CommandRun runDemo(const std::string& arguments, bool captureStderr = false);

std::string quoted(const std::string& text);

// The headless renderer's raw BGRA frames at `fps`.
std::vector<uint8_t> headlessFrames(int fps, const std::string& scratchDir);

// A frame of the raw BGRA frames scaled by `scale` into RGB bytes, as the
// capture should show it.
std::vector<uint8_t> scaledRgbFrame(const std::vector<uint8_t>& raw, size_t frame, int scale);

// The decoded pictures of a video or picture file as RGB bytes.
std::vector<uint8_t> decodeRgb(const std::string& path);

// The decoded audio of a file as interleaved stereo floats at `rate`.
std::vector<float> decodeAudio(const std::string& path, int rate);

// A value of ffprobe for the first stream of `type` ("v" or "a").
std::string probe(const std::string& path, const std::string& type, const std::string& entry,
                  const std::string& extraArguments = "");

constexpr size_t frameBytes = 307200;
