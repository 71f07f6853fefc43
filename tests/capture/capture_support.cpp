#include "capture/capture_support.h"

#include <cstdio>
#include <cstring>

#include "support/test_files.h"

std::string quoted(const std::string& text) { return "'" + text + "'"; }

CommandRun runDemo(const std::string& arguments, bool captureStderr) {
    std::string command = std::string(VOK_DEMO_BINARY) + " --data " VOK_DATA_DIR " " + arguments;
    command += captureStderr ? " 2>&1 >/dev/null" : " 2>/dev/null";
    return runCommand(command);
}

std::vector<uint8_t> headlessFrames(int fps, const std::string& scratchDir) {
    std::string raw = scratchDir + "/headless.raw";
    runDemo("--render --fps " + std::to_string(fps) + " --raw " + quoted(raw));
    std::vector<uint8_t> bytes = readFileBytes(raw);
    std::remove(raw.c_str());
    return bytes;
}

std::vector<uint8_t> scaledRgbFrame(const std::vector<uint8_t>& raw, size_t frame, int scale) {
    const int width = 320, height = 240;
    std::vector<uint8_t> rgb(static_cast<size_t>(width * scale) * height * scale * 3);
    const uint8_t* source = raw.data() + frame * frameBytes;
    size_t i = 0;
    for (int y = 0; y < height * scale; ++y)
        for (int x = 0; x < width * scale; ++x) {
            const uint8_t* p = source + 4 * ((y / scale) * width + x / scale);
            rgb[i++] = p[2];
            rgb[i++] = p[1];
            rgb[i++] = p[0];
        }
    return rgb;
}

std::vector<uint8_t> decodeRgb(const std::string& path) {
    std::string out = runCommand("ffmpeg -v error -i " + quoted(path) + " -f rawvideo -pix_fmt rgb24 -").out;
    return std::vector<uint8_t>(out.begin(), out.end());
}

std::vector<float> decodeAudio(const std::string& path, int rate) {
    std::string out = runCommand("ffmpeg -v error -i " + quoted(path) + " -vn -f f32le -acodec pcm_f32le -ar " +
                                 std::to_string(rate) + " -ac 2 -")
                          .out;
    std::vector<float> samples(out.size() / sizeof(float));
    std::memcpy(samples.data(), out.data(), samples.size() * sizeof(float));
    return samples;
}

std::string probe(const std::string& path, const std::string& type, const std::string& entry,
                  const std::string& extraArguments) {
    std::string out = runCommand("ffprobe -v error " + extraArguments + " -select_streams " + type +
                                 ":0 -show_entries stream=" + entry + " -of default=noprint_wrappers=1:nokey=1 " +
                                 quoted(path))
                          .out;
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}
