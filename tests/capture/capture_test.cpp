// The capture as a program: vokdemo --capture / --png / --wav, checked with
// ffprobe, ffmpeg's decoders and libopenmpt's own render of the module.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <libopenmpt/libopenmpt.hpp>
#include <sstream>

#include "capture/capture_support.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

// The frame counts of the show: frame k is at floor(k * 1000 / fps) ms, and
// 99,310 ms is the first millisecond of the end step.
int64_t showFrames(int fps) {
    int64_t k = 0;
    while (k * 1000 / fps < 99310) ++k;
    return k;
}

double psnr(const std::vector<uint8_t>& a, const uint8_t* b) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        double d = double(a[i]) - double(b[i]);
        sum += d * d;
    }
    double mse = sum / double(a.size());
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

std::vector<float> openmptRender(const std::string& module) {
    std::vector<uint8_t> bytes = readFileBytes(module);
    std::ostringstream log;
    openmpt::module music(bytes, log);
    music.set_repeat_count(0);
    std::vector<float> samples;
    std::vector<float> block(2 * 4096);
    while (size_t n = music.read_interleaved_stereo(44100, 4096, block.data()))
        samples.insert(samples.end(), block.begin(), block.begin() + 2 * n);
    return samples;
}

// The capture's 16-bit samples: blocks of 1024 frames, no dither, so that
// every run gives the same samples.
std::vector<int16_t> openmptRender16(const std::string& module) {
    std::vector<uint8_t> bytes = readFileBytes(module);
    std::ostringstream log;
    openmpt::module music(bytes, log);
    music.set_repeat_count(0);
    music.ctl_set_integer("dither", 0);
    std::vector<int16_t> samples;
    std::vector<int16_t> block(2 * 1024);
    while (size_t n = music.read_interleaved_stereo(44100, 1024, block.data()))
        samples.insert(samples.end(), block.begin(), block.begin() + 2 * n);
    return samples;
}

// The lag in samples, within +-maxLag, at which `signal` best matches
// `reference` over the window starting at `start` (mono mixes).
int correlationPeak(const std::vector<float>& reference, const std::vector<float>& signal, size_t start,
                    size_t length, int maxLag) {
    auto mono = [](const std::vector<float>& s, size_t i) { return s[2 * i] + s[2 * i + 1]; };
    int bestLag = 0;
    double best = -1e300;
    for (int lag = -maxLag; lag <= maxLag; ++lag) {
        double sum = 0;
        for (size_t i = start; i < start + length; ++i) sum += mono(reference, i) * mono(signal, i + lag);
        if (sum > best) best = sum, bestLag = lag;
    }
    return bestLag;
}

// A copy of the data set, as links, without the module.
void linkDataWithoutModule(const TempDir& dir) {
    for (const auto& entry : fs::directory_iterator(VOK_DATA_DIR))
        if (entry.path().filename() != "zumber.xm") fs::create_symlink(entry.path(), dir.file(entry.path().filename()));
}

std::vector<int16_t> wavSamples(const std::string& path, std::string& header) {
    std::vector<uint8_t> bytes = readFileBytes(path);
    if (bytes.size() < 44) return {};
    header.assign(bytes.begin(), bytes.begin() + 44);
    std::vector<int16_t> samples((bytes.size() - 44) / 2);
    std::memcpy(samples.data(), bytes.data() + 44, samples.size() * 2);
    return samples;
}

}  // namespace

TEST(Capture, VideoHasTheSizeRateFrameCountAndAudioLengthOfTheShow) {
    TempDir dir;
    std::string video = dir.file("show.mp4");
    ASSERT_EQ(runDemo("--capture " + video + " --fps 10 --scale 2").exitCode, 0);
    EXPECT_EQ(probe(video, "v", "codec_name"), "h264");
    EXPECT_EQ(probe(video, "v", "width"), "640");
    EXPECT_EQ(probe(video, "v", "height"), "480");
    EXPECT_EQ(probe(video, "v", "r_frame_rate"), "10/1");
    EXPECT_EQ(probe(video, "v", "nb_read_frames", "-count_frames"), std::to_string(showFrames(10)));
    EXPECT_EQ(probe(video, "a", "codec_name"), "aac");
    EXPECT_EQ(probe(video, "a", "sample_rate"), "44100");
    EXPECT_NEAR(std::stod(probe(video, "a", "duration")), showFrames(10) / 10.0, 0.1);
    // The headless renderer agrees on the count.
    std::string hashes = runDemo("--render --fps 10 --hash").out;
    size_t lines = 0;
    for (size_t at = hashes.find("\nframe "); at != std::string::npos; at = hashes.find("\nframe ", at + 1)) ++lines;
    EXPECT_EQ(int64_t(lines), showFrames(10));
    EXPECT_FALSE(fs::exists(video + ".part"));
}

TEST(Capture, LosslessVideoGivesBackTheHeadlessFrames) {
    TempDir dir;
    std::vector<uint8_t> raw = headlessFrames(1, dir.path());
    ASSERT_EQ(raw.size(), 100 * frameBytes);
    for (const char* name : {"lossless.mkv", "lossless.mp4", "lossless.webm"}) {
        std::string video = dir.file(name);
        ASSERT_EQ(runDemo("--capture " + video + " --lossless --fps 1 --scale 2").exitCode, 0) << name;
        std::vector<uint8_t> decoded = decodeRgb(video);
        const size_t size = 640 * 480 * 3;
        ASSERT_EQ(decoded.size(), 100 * size) << name;
        for (size_t k = 0; k < 100; ++k) {
            std::vector<uint8_t> expected = scaledRgbFrame(raw, k, 2);
            ASSERT_TRUE(std::equal(expected.begin(), expected.end(), decoded.begin() + k * size))
                << name << " frame " << k;
        }
    }
}

TEST(Capture, LossyVideoStaysWithinTheCodecsLoss) {
    TempDir dir;
    std::vector<uint8_t> raw = headlessFrames(2, dir.path());
    std::string video = dir.file("show.mkv");
    ASSERT_EQ(runDemo("--capture " + video + " --fps 2 --scale 2").exitCode, 0);
    EXPECT_EQ(probe(video, "v", "codec_name"), "h264");
    std::vector<uint8_t> decoded = decodeRgb(video);
    const size_t size = 640 * 480 * 3, frames = raw.size() / frameBytes;
    ASSERT_EQ(decoded.size(), frames * size);
    double worst = 99, sum = 0;
    for (size_t k = 0; k < frames; ++k) {
        double p = psnr(scaledRgbFrame(raw, k, 2), &decoded[k * size]);
        worst = std::min(worst, p);
        sum += p;
    }
    // Measured: worst 37 dB, mean 41 dB.
    EXPECT_GT(worst, 32.0) << "mean " << sum / frames << " dB";
}

TEST(Capture, AudioIsLibopenmptsRenderFromTheFirstFrameOn) {
    TempDir dir;
    std::string video = dir.file("show.mp4");
    ASSERT_EQ(runDemo("--capture " + video + " --fps 5 --scale 1").exitCode, 0);
    std::vector<float> audio = decodeAudio(video);
    std::vector<float> reference = openmptRender(std::string(VOK_DATA_DIR) + "/zumber.xm");
    ASSERT_GT(reference.size(), 2u * 44100 * 95);
    EXPECT_NEAR(double(audio.size() / 2), double(showFrames(5)) * 44100 / 5, 44100 / 5);
    const int oneMs = 44;
    for (double second : {0.5, 30.0, 90.0}) {
        size_t start = size_t(second * 44100);
        EXPECT_NEAR(correlationPeak(reference, audio, start, 44100, 10 * oneMs), 0, oneMs) << "at " << second << " s";
    }
}

TEST(Capture, WavIsLibopenmptsRenderPaddedToTheEndOfTheShow) {
    TempDir dir;
    std::string wav = dir.file("music.wav");
    ASSERT_EQ(runDemo("--wav " + wav + " --fps 10").exitCode, 0);
    std::string header;
    std::vector<int16_t> samples = wavSamples(wav, header);
    const uint32_t frames = uint32_t(showFrames(10)) * 4410, dataBytes = 4 * frames;
    ASSERT_EQ(samples.size(), 2 * size_t(frames));
    // Every byte of the header, written out by hand: 16-bit stereo PCM at 44,100 Hz.
    auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    const std::string expected = "RIFF" + le32(36 + dataBytes) + "WAVEfmt " + le32(16) + std::string("\1\0\2\0", 4) +
                                 le32(44100) + le32(176400) + std::string("\4\0\20\0", 4) + "data" + le32(dataBytes);
    EXPECT_EQ(header, expected);
    std::vector<int16_t> reference = openmptRender16(std::string(VOK_DATA_DIR) + "/zumber.xm");
    ASSERT_LE(reference.size(), samples.size());
    EXPECT_TRUE(std::equal(reference.begin(), reference.end(), samples.begin()));
    EXPECT_TRUE(std::all_of(samples.begin() + reference.size(), samples.end(), [](int16_t s) { return s == 0; }));
}

TEST(Capture, MissingModuleGivesASilentTrackOfTheShowsLength) {
    TempDir data, out;
    linkDataWithoutModule(data);
    std::string wav = out.file("music.wav"), video = out.file("show.mp4");
    ProgramRun run = runCommand(std::string(VOK_DEMO_BINARY) + " --data " + data.path() + " --fps 10 --scale 1 --wav " +
                                wav + " --capture " + video + " 2>&1 >/dev/null");
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("zumber.xm; the audio track is silent"), std::string::npos) << run.out;
    std::string header;
    std::vector<int16_t> samples = wavSamples(wav, header);
    EXPECT_EQ(samples.size(), 2 * size_t(showFrames(10)) * 4410);
    EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](int16_t s) { return s == 0; }));
    std::vector<float> audio = decodeAudio(video);
    EXPECT_NEAR(double(audio.size() / 2), showFrames(10) * 4410.0, 4410);
    EXPECT_TRUE(std::all_of(audio.begin(), audio.end(), [](float s) { return s == 0; }));
}

TEST(Capture, PngPicturesOfTheFrameRange) {
    TempDir dir;
    std::vector<uint8_t> raw = headlessFrames(10, dir.path());
    std::string pictures = dir.file("pictures");  // made by the capture
    ASSERT_EQ(runDemo("--png " + pictures + " --fps 10 --scale 2 --frames 409-411").exitCode, 0);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(pictures)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names, (std::vector<std::string>{"frame_00409.png", "frame_00410.png", "frame_00411.png"}));
    for (size_t k = 409; k <= 411; ++k) {
        std::string path = pictures + "/" + names[k - 409];
        EXPECT_EQ(probe(path, "v", "width"), "640");
        EXPECT_EQ(decodeRgb(path), scaledRgbFrame(raw, k, 2)) << names[k - 409];
    }
}

TEST(Capture, ErrorsNameTheProblemExitWith2AndLeaveNoFile) {
    TempDir dir;
    struct Case {
        std::string arguments, message;
    };
    const std::string missingDir = dir.file("no-such-dir") + "/show.mp4";
    const Case cases[] = {
        {"--capture " + missingDir, "cannot write '" + missingDir + "'"},
        {"--capture " + dir.file("show.avi"), "name it .mp4, .mkv or .webm"},
        {"--capture " + dir.file("show"), "name it .mp4, .mkv or .webm"},
        {"--capture " + dir.file("show.mp4") + " --fps 0", "bad --fps '0'"},
        {"--capture " + dir.file("show.mp4") + " --fps 1001", "bad --fps '1001'"},
        {"--capture " + dir.file("show.mp4") + " --scale 0", "bad --scale '0'"},
        {"--capture " + dir.file("show.mp4") + " --scale 17", "bad --scale '17'"},
        {"--capture " + dir.file("show.mp4") + " --frames 1-2", "use it with --png"},
        {"--wav " + dir.file("no-such-dir") + "/music.wav", "cannot write"},
        {"--png " + dir.write("a-file", "x") + " --fps 1", "cannot write into"},
    };
    for (const Case& c : cases) {
        ProgramRun run = runDemo(c.arguments + " --fps 1", true);
        EXPECT_EQ(run.exitCode, 2) << c.arguments;
        size_t line = run.out.find("vokdemo: ");
        ASSERT_NE(line, std::string::npos) << c.arguments << ": " << run.out;
        EXPECT_NE(run.out.find(c.message, line), std::string::npos) << c.arguments << ": " << run.out;
        EXPECT_EQ(run.out.find('\n', line), run.out.size() - 1) << "one line: " << run.out;
    }
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.path())) left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"a-file"});
}

TEST(Capture, InterruptedCaptureLeavesNoFile) {
    TempDir dir;
    std::string video = dir.file("show.mp4");
    // Stop the capture once it has started writing.
    std::string script = std::string(VOK_DEMO_BINARY) + " --data " VOK_DATA_DIR " --capture " + video +
                         " --fps 60 --scale 3 >/dev/null 2>&1 & pid=$!; "
                         "for i in $(seq 200); do [ -s " + video + ".part ] && break; sleep 0.05; done; "
                         "kill -TERM $pid; wait $pid; echo $?";
    ProgramRun run = runCommand(script);
    EXPECT_EQ(run.out, "143\n");  // ended by SIGTERM
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(CaptureHeavy, WholeShowAt60FpsAndScale3) {
    TempDir dir;
    std::string video = dir.file("show.mp4");
    ASSERT_EQ(runDemo("--capture " + video).exitCode, 0);
    EXPECT_EQ(probe(video, "v", "width"), "960");
    EXPECT_EQ(probe(video, "v", "height"), "720");
    EXPECT_EQ(probe(video, "v", "r_frame_rate"), "60/1");
    EXPECT_EQ(probe(video, "v", "nb_read_frames", "-count_frames"), "5959");
    EXPECT_NEAR(std::stod(probe(video, "a", "duration")), 5959 / 60.0, 1 / 60.0);
}

TEST(CaptureHeavy, HashesAt60FpsAreTheSameInTwoRuns) {
    ProgramRun first = runDemo("--render --fps 60 --hash"), second = runDemo("--render --fps 60 --hash");
    ASSERT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.out, second.out);
    EXPECT_NE(first.out.find("\nframe 5958 99300 13 "), std::string::npos);
    EXPECT_EQ(first.out.find("\nframe 5959 "), std::string::npos);
}
