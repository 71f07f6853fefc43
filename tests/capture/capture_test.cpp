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
#include <unordered_map>

#include "capture/capture_support.h"
#include "demo/scenes.h"
#include "demo/show_seek.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

// The frame counts of the show: frame k is at floor(k * 1000 / fps) ms, and
// the scene table gives the first millisecond of the end step.
int64_t showFrames(int fps) {
    int64_t k = 0;
    while (k * 1000 / fps < showEndMs()) ++k;
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

// libopenmpt's own render of the module at 44,080 Hz, where every tick of the
// module is a whole number of samples: the music's exact time.
std::vector<float> exactRender(const std::string& module) {
    std::vector<uint8_t> bytes = readFileBytes(module);
    std::ostringstream log;
    openmpt::module music(bytes, log);
    music.set_repeat_count(0);
    std::vector<float> samples;
    std::vector<float> block(2 * 4096);
    while (size_t n = music.read_interleaved_stereo(44080, 4096, block.data()))
        samples.insert(samples.end(), block.begin(), block.begin() + 2 * n);
    return samples;
}

std::vector<float> mono(const std::vector<float>& stereo) {
    std::vector<float> mix(stereo.size() / 2);
    for (size_t i = 0; i < mix.size(); ++i) mix[i] = stereo[2 * i] + stereo[2 * i + 1];
    return mix;
}

// The lag in samples, within +-maxLag, at which `signal` best matches
// `reference` over the window starting at `start` (mono mixes).
int correlationPeak(const std::vector<float>& reference, const std::vector<float>& signal, size_t start,
                    size_t length, int maxLag) {
    int bestLag = 0;
    double best = -1e300;
    for (int lag = -maxLag; lag <= maxLag; ++lag) {
        if (start + lag + length > signal.size()) break;
        double sum = 0;
        const float* r = reference.data() + start;
        const float* s = signal.data() + start + lag;
        for (size_t i = 0; i < length; ++i) sum += double(r[i]) * s[i];
        if (sum > best) best = sum, bestLag = lag;
    }
    return bestLag;
}

// How far the music of a capture is from the module's exact time, in
// samples at 44,080 Hz, around 10 s, 50 s and 95 s.
std::vector<int> offsetsFromExactTime(const std::string& capture, const std::vector<float>& exact) {
    std::vector<float> audio = mono(decodeAudio(capture, 44080));
    std::vector<int> lags;
    for (double second : {10.0, 50.0, 95.0})
        lags.push_back(correlationPeak(exact, audio, size_t(second * 44080), 22040, 50 * 44));
    return lags;
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

// The frames of a capture from `first` on, `count` of them, as the headless
// renderer gives them.
std::vector<uint8_t> headlessClip(int fps, int64_t first, int64_t count, const TempDir& dir) {
    const std::string raw = dir.file("clip.raw");
    runDemo("--render --fps " + std::to_string(fps) + " --raw " + quoted(raw) + " --frames " + std::to_string(first) +
            "-" + std::to_string(first + count - 1));
    std::vector<uint8_t> bytes = readFileBytes(raw);
    std::remove(raw.c_str());
    return bytes;
}

// The pixels of a GIF's frames (RGB) that are not the nearest of the GIF's
// colours to the rendered frames' pixels: none, when every pixel took the
// nearest colour of the palette and nothing was dithered.
size_t pixelsOffThePalette(const std::vector<uint8_t>& gif, const std::vector<uint8_t>& expected) {
    auto rgb = [](const uint8_t* p) { return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]; };
    auto distance = [](uint32_t a, uint32_t b) {
        int sum = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            int d = int(a >> shift & 255) - int(b >> shift & 255);
            sum += d * d;
        }
        return sum;
    };
    std::vector<uint32_t> colours;
    for (size_t i = 0; i + 2 < gif.size(); i += 3) colours.push_back(rgb(&gif[i]));
    std::sort(colours.begin(), colours.end());
    colours.erase(std::unique(colours.begin(), colours.end()), colours.end());
    EXPECT_LE(colours.size(), 256u);
    std::unordered_map<uint32_t, int> nearest;  // the distance to the nearest colour of the GIF
    size_t off = 0;
    for (size_t i = 0; i + 2 < gif.size() && i + 2 < expected.size(); i += 3) {
        const uint32_t want = rgb(&expected[i]);
        auto known = nearest.find(want);
        if (known == nearest.end()) {
            int best = 1 << 30;
            for (uint32_t c : colours) best = std::min(best, distance(c, want));
            known = nearest.emplace(want, best).first;
        }
        off += distance(rgb(&gif[i]), want) > known->second;
    }
    return off;
}

// The chapters of a file: "START_SECONDS TITLE" lines.
std::vector<std::pair<double, std::string>> chapters(const std::string& path) {
    std::istringstream out(runCommand("ffprobe -v error -show_entries chapter=start_time:chapter_tags=title -of "
                                      "csv=p=0 " + quoted(path)).out);
    std::vector<std::pair<double, std::string>> list;
    for (std::string line; std::getline(out, line);) {
        size_t comma = line.find(',');
        if (comma != std::string::npos) list.emplace_back(std::stod(line.substr(0, comma)), line.substr(comma + 1));
    }
    return list;
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
    // Measured at crf 20: worst 37 dB, mean 41 dB; the defaults now do better.
    EXPECT_GT(worst, 32.0) << "mean " << sum / frames << " dB";
}

// The music keeps the module's exact time over the whole show, in the video
// and in the WAV file, and every run gives the same samples.
TEST(Capture, MusicStaysWithinAMillisecondOfTheModulesTime) {
    TempDir dir;
    const std::string video = dir.file("show.mp4"), wav = dir.file("music.wav"), again = dir.file("again.wav");
    ASSERT_EQ(runDemo("--capture " + video + " --wav " + wav + " --fps 10 --scale 1").exitCode, 0);
    ASSERT_EQ(runDemo("--wav " + again + " --fps 10").exitCode, 0);

    const std::vector<float> exact = mono(exactRender(std::string(VOK_DATA_DIR) + "/zumber.xm"));
    ASSERT_GT(exact.size(), 44080u * 96);
    for (const std::string& capture : {video, wav}) {
        std::vector<int> lags = offsetsFromExactTime(capture, exact);
        for (size_t i = 0; i < lags.size(); ++i) EXPECT_LE(std::abs(lags[i]), 44) << capture << ", window " << i;
    }
    EXPECT_EQ(probe(video, "a", "sample_rate"), "44100");
    EXPECT_NEAR(std::stod(probe(video, "a", "duration")), showFrames(10) / 10.0, 0.1);

    std::string header;
    std::vector<int16_t> samples = wavSamples(wav, header);
    const uint32_t frames = uint32_t(showFrames(10)) * 4410, dataBytes = 4 * frames;
    ASSERT_EQ(samples.size(), 2 * size_t(frames));
    // Every byte of the header, written out by hand: 16-bit stereo PCM at 44,100 Hz.
    auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    const std::string expected = "RIFF" + le32(36 + dataBytes) + "WAVEfmt " + le32(16) + std::string("\1\0\2\0", 4) +
                                 le32(44100) + le32(176400) + std::string("\4\0\20\0", 4) + "data" + le32(dataBytes);
    EXPECT_EQ(header, expected);
    EXPECT_TRUE(readFileBytes(wav) == readFileBytes(again));
}

TEST(Capture, MissingModuleGivesASilentTrackOfTheShowsLength) {
    TempDir data, out;
    linkDataWithoutModule(data);
    std::string wav = out.file("music.wav"), video = out.file("show.mp4");
    CommandRun run = runCommand(std::string(VOK_DEMO_BINARY) + " --data " + data.path() + " --fps 10 --scale 1 --wav " +
                                wav + " --capture " + video + " 2>&1 >/dev/null");
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("zumber.xm; the audio track is silent"), std::string::npos) << run.out;
    std::string header;
    std::vector<int16_t> samples = wavSamples(wav, header);
    EXPECT_EQ(samples.size(), 2 * size_t(showFrames(10)) * 4410);
    EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](int16_t s) { return s == 0; }));
    std::vector<float> audio = decodeAudio(video, 44100);
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

// A 3-second clip of scene 8 (50 s to 53 s) in every container: the frames
// of the whole capture at those times, and its samples from that time.
TEST(Capture, ClipsInEveryContainerHoldTheWholeCapturesFramesAndSamples) {
    TempDir dir;
    const int64_t first = 1000, count = 60;  // at 20 fps
    const std::string clip = " --fps 20 --from 50 --to 53";
    const std::vector<uint8_t> raw = headlessClip(20, first, count, dir);
    ASSERT_EQ(raw.size(), size_t(count) * frameBytes);
    std::string header;
    ASSERT_EQ(runDemo("--wav " + dir.file("whole.wav") + " --fps 20").exitCode, 0);
    const std::vector<int16_t> whole = wavSamples(dir.file("whole.wav"), header);
    const size_t from = size_t(first) * 2205 * 2, length = size_t(count) * 2205 * 2;  // samples, both channels
    ASSERT_GE(whole.size(), from + length);
    const std::vector<int16_t> expectedMusic(whole.begin() + from, whole.begin() + from + length);

    struct Case {
        const char* name;
        const char* options;
        int scale;
        bool exact;
    };
    for (const Case& c : {Case{"clip.mp4", "--lossless", 2, true}, Case{"clip.webm", "--lossless", 2, true},
                          Case{"clip.gif", "", 1, false}}) {
        const std::string video = dir.file(c.name);
        ASSERT_EQ(runDemo("--capture " + video + " " + c.options + " --scale " + std::to_string(c.scale) + clip).exitCode,
                  0) << c.name;
        EXPECT_EQ(probe(video, "v", "width"), std::to_string(320 * c.scale)) << c.name;
        std::vector<uint8_t> decoded = decodeRgb(video);
        const size_t size = 320 * 240 * 3 * size_t(c.scale * c.scale);
        ASSERT_EQ(decoded.size(), size_t(count) * size) << c.name;
        for (size_t k = 0; k < size_t(count); ++k) {
            std::vector<uint8_t> expected = scaledRgbFrame(raw, k, c.scale);
            std::vector<uint8_t> got(decoded.begin() + k * size, decoded.begin() + (k + 1) * size);
            if (c.exact) ASSERT_TRUE(got == expected) << c.name << " frame " << first + k;
            else ASSERT_EQ(pixelsOffThePalette(got, expected), 0u) << c.name << " frame " << first + k;
        }
        if (!c.exact) continue;  // a GIF has no sound and no chapters
        EXPECT_EQ(chapters(video), (std::vector<std::pair<double, std::string>>{{0.0, "channel drift"}})) << c.name;
        // The lossy sound against the whole capture's samples: in time to the
        // sample, and close in level.
        std::vector<float> audio = mono(decodeAudio(video, 44100));
        std::vector<float> reference(length / 2);
        for (size_t i = 0; i < reference.size(); ++i)
            reference[i] = (float(expectedMusic[2 * i]) + float(expectedMusic[2 * i + 1])) / 32768.0f;
        ASSERT_GE(audio.size(), reference.size() - 2205) << c.name;
        EXPECT_EQ(correlationPeak(reference, audio, 22050, 44100, 100), 0) << c.name;
        double signal = 0, noise = 0;
        for (size_t i = 0; i < reference.size() - 2205; ++i) {
            signal += double(reference[i]) * reference[i];
            noise += (double(audio[i]) - reference[i]) * (double(audio[i]) - reference[i]);
        }
        EXPECT_GT(10 * std::log10(signal / noise), 20.0) << c.name;
    }

    // The pictures keep the show's frame numbers; the WAV file holds the
    // whole capture's samples; the poster is the clip's first frame.
    const std::string pictures = dir.file("pictures"), wav = dir.file("clip.wav"), poster = dir.file("poster.png");
    ASSERT_EQ(runDemo("--png " + pictures + " --wav " + wav + " --poster " + poster + " --scale 1" + clip).exitCode, 0);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(pictures)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), size_t(count));
    EXPECT_EQ(names.front(), "frame_01000.png");
    EXPECT_EQ(names.back(), "frame_01059.png");
    for (size_t k = 0; k < size_t(count); k += 7)
        EXPECT_EQ(decodeRgb(pictures + "/" + names[k]), scaledRgbFrame(raw, k, 1)) << names[k];
    EXPECT_EQ(decodeRgb(poster), scaledRgbFrame(raw, 0, 1));
    EXPECT_TRUE(wavSamples(wav, header) == expectedMusic);
}

// The show's videos carry one chapter per scene, named from the scene table,
// starting at the first frame at or past the scene's bound.
TEST(Capture, ShowVideosHaveAChapterPerScene) {
    TempDir dir;
    for (const char* name : {"show.mp4", "show.webm"}) {
        const std::string video = dir.file(name);
        ASSERT_EQ(runDemo("--capture " + video + " --fps 4 --scale 1").exitCode, 0) << name;
        auto list = chapters(video);
        ASSERT_EQ(list.size(), static_cast<size_t>(sceneCount)) << name;
        for (int i = 0; i < sceneCount; ++i) {
            EXPECT_EQ(list[i].second, sceneName(i)) << name;
            const double bound = sceneStartMs(i) / 1000.0;
            EXPECT_GE(list[i].first, bound - 1e-6) << name << " " << sceneName(i);
            EXPECT_LT(list[i].first, bound + 0.25) << name << " " << sceneName(i);
        }
    }
}

// A scene as a GIF at the defaults: the show's size, 25 fps, looping, small
// enough to share, and its pixels those of the scene.
TEST(Capture, GifOfASceneIsSmallLoopsAndShowsTheScenesPixels) {
    TempDir dir;
    const std::string gif = dir.file("sprites.gif"), poster = dir.file("first.png");
    ASSERT_EQ(runDemo("--capture " + gif + " --scene 7 --poster " + poster).exitCode, 0);
    const std::vector<uint8_t> bytes = readFileBytes(gif);
    EXPECT_LT(bytes.size(), 5u << 20);
    // Scene 7 runs from 41,379 ms to 49,655 ms: frames 1035 to 1241 at 25 fps.
    EXPECT_EQ(probe(gif, "v", "nb_read_frames", "-count_frames"), "207");
    EXPECT_EQ(probe(gif, "v", "width"), "320");
    EXPECT_EQ(probe(gif, "v", "r_frame_rate"), "25/1");
    const std::string loopForEver("NETSCAPE2.0\x03\x01\x00\x00", 16);
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), loopForEver.begin(), loopForEver.end()), bytes.end());
    const std::vector<uint8_t> frames = decodeRgb(gif), picture = decodeRgb(poster);
    ASSERT_EQ(picture.size(), 320u * 240 * 3);
    ASSERT_GE(frames.size(), picture.size());
    EXPECT_EQ(pixelsOffThePalette(std::vector<uint8_t>(frames.begin(), frames.begin() + picture.size()), picture), 0u);
}

// Frames `frames` of a video, decoded whole as RGB bytes.
std::vector<uint8_t> decodeFrames(const std::string& video, const std::vector<int>& frames) {
    std::string select;
    for (int k : frames) select += (select.empty() ? "" : "+") + std::string("eq(n\\,") + std::to_string(k) + ")";
    const std::string out = runCommand("ffmpeg -v error -i " + quoted(video) + " -vf \"select='" + select +
                                       "'\" -vsync 0 -f rawvideo -pix_fmt rgb24 -")
                                .out;
    return std::vector<uint8_t>(out.begin(), out.end());
}

// The presets on a second of the show (50 s to 51 s, scene 8): their frame,
// rate and codecs, the picture whole-scaled in the middle on black and as
// sharp as the lossy capture, a chapter, and AAC at 48,000 Hz that lasts as
// long as the pictures to the sample and keeps the whole capture's time.
TEST(Capture, PresetsMakeTheirFrameCodecsAndSoundOnAPartOfTheShow) {
    TempDir dir;
    const int64_t first = 3000, count = 60;
    const std::vector<uint8_t> raw = headlessClip(60, first, count, dir);
    ASSERT_EQ(runDemo("--wav " + dir.file("clip.wav") + " --from 50 --to 51").exitCode, 0);
    std::string header;
    const std::vector<int16_t> music = wavSamples(dir.file("clip.wav"), header);
    std::vector<float> reference(music.size() / 2);
    for (size_t i = 0; i < reference.size(); ++i) reference[i] = (float(music[2 * i]) + float(music[2 * i + 1])) / 32768.0f;

    struct Preset {
        const char* name;
        int width, height, scale;
    };
    for (const Preset& p : {Preset{"party", 1920, 1080, 4}, Preset{"youtube", 3840, 2160, 9}}) {
        const std::string video = dir.file(std::string(p.name) + ".mp4");
        ASSERT_EQ(runDemo("--capture " + quoted(video) + " --preset " + p.name + " --from 50 --to 51").exitCode, 0);
        EXPECT_EQ(probe(video, "v", "codec_name") + " " + probe(video, "v", "profile") + " " + probe(video, "v", "pix_fmt"),
                  "h264 High yuv420p") << p.name;
        EXPECT_EQ(probe(video, "v", "width") + "x" + probe(video, "v", "height"),
                  std::to_string(p.width) + "x" + std::to_string(p.height)) << p.name;
        EXPECT_EQ(probe(video, "v", "r_frame_rate"), "60/1") << p.name;
        EXPECT_EQ(probe(video, "v", "nb_read_frames", "-count_frames"), std::to_string(count)) << p.name;
        EXPECT_EQ(probe(video, "a", "codec_name") + " " + probe(video, "a", "sample_rate"), "aac 48000") << p.name;
        // The track as the file gives it (the encoder's priming cut by the edit list): 800 samples a frame.
        EXPECT_EQ(probe(video, "a", "start_pts") + " " + probe(video, "v", "start_pts"), "0 0") << p.name;
        EXPECT_NEAR(std::stod(probe(video, "a", "duration_ts")), 800.0 * count, 1.0) << p.name;
        EXPECT_EQ(chapters(video), (std::vector<std::pair<double, std::string>>{{0.0, "channel drift"}})) << p.name;
        const std::vector<float> audio = mono(decodeAudio(video, 44100));
        ASSERT_GE(audio.size(), reference.size()) << p.name;
        EXPECT_EQ(correlationPeak(reference, audio, 4410, 33075, 100), 0) << p.name;

        // The first and the last frame: black around the picture, which is the
        // headless frame scaled.
        const size_t frameSize = size_t(p.width) * p.height * 3;
        const std::vector<uint8_t> decoded = decodeFrames(video, {0, int(count) - 1});
        ASSERT_EQ(decoded.size(), 2 * frameSize) << p.name;
        const int left = (p.width - 320 * p.scale) / 2, top = (p.height - 240 * p.scale) / 2;
        for (size_t n = 0; n < 2; ++n) {
            const std::vector<uint8_t> expected = scaledRgbFrame(raw, n == 0 ? 0 : count - 1, p.scale);
            std::vector<uint8_t> picture;
            int brightestBorder = 0;  // more than a coding block away from the picture, whose edge rings
            for (int y = 0; y < p.height; ++y)
                for (int x = 0; x < p.width; ++x) {
                    const uint8_t* pixel = &decoded[n * frameSize + (size_t(y) * p.width + x) * 3];
                    const bool inside = x >= left && x < left + 320 * p.scale && y >= top && y < top + 240 * p.scale;
                    const bool near = x >= left - 16 && x < left + 320 * p.scale + 16 && y >= top - 16 &&
                                      y < top + 240 * p.scale + 16;
                    if (inside) picture.insert(picture.end(), pixel, pixel + 3);
                    else if (!near) brightestBorder = std::max({brightestBorder, int(pixel[0]), int(pixel[1]), int(pixel[2])});
                }
            EXPECT_LE(brightestBorder, 2) << p.name << " frame " << n;
            ASSERT_EQ(picture.size(), expected.size());
            EXPECT_GT(psnr(expected, picture.data()), 32.0) << p.name << " frame " << n;
        }
        fs::remove(video);
    }
}

// A disk that fills up: one line, exit code 1, and no file left behind.
TEST(Capture, AFullDiskEndsWithOneLineAndLeavesNoFile) {
    TempDir dir;
    for (const char* output : {"--capture show.mp4", "--capture show.webm", "--capture show.gif --to 10", "--wav music.wav",
                               "--poster poster.png"}) {
        // Files may grow to 32 kB; past that, writes fail as on a full disk.
        CommandRun run = runCommand("cd " + quoted(dir.path()) + " && ulimit -f 64 && trap '' XFSZ && " +
                                    VOK_DEMO_BINARY + " --data " VOK_DATA_DIR " --fps 10 " + output +
                                    " 2>&1 >/dev/null");
        EXPECT_EQ(run.exitCode, 1) << output << ": " << run.out;
        EXPECT_NE(run.out.find("vokdemo: cannot write"), std::string::npos) << output << ": " << run.out;
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << output << ": " << run.out;
        EXPECT_TRUE(fs::is_empty(dir.path())) << output;
    }
}

// Bad options exit with 2, outputs that cannot be written with 1.
TEST(Capture, ErrorsNameTheProblemExitWith2Or1AndLeaveNoFile) {
    TempDir dir;
    struct Case {
        std::string arguments, message;
        int exitCode;
    };
    const std::string missingDir = dir.file("no-such-dir") + "/show.mp4", video = " --capture " + dir.file("show.mp4");
    const Case cases[] = {
        {"--capture " + missingDir, "cannot write '" + missingDir + "'", 1},
        {"--capture " + dir.file("show.avi"), "name it .mp4, .mkv, .webm or .gif", 2},
        {"--capture " + dir.file("show"), "name it .mp4, .mkv, .webm or .gif", 2},
        {"--capture " + dir.file("show.gif") + " --lossless", "cannot be --lossless", 2},
        {video + " --fps 0", "bad --fps '0'", 2},
        {video + " --fps 1001", "bad --fps '1001'", 2},
        {video + " --scale 0", "bad --scale '0'", 2},
        {video + " --scale 17", "bad --scale '17'", 2},
        {video + " --frames 1-2", "use it with --png", 2},
        {"--png " + dir.file("p") + " --frames 1-2 --from 3", "give one of them", 2},
        {video + " --from 5 --to 3", "--from 5.000 is not before --to 3.000", 2},
        {video + " --from 4 --to 4", "--from 4.000 is not before --to 4.000", 2},
        {video + " --to 0", "--from 0.000 is not before --to 0.000", 2},
        {video + " --from 100", "--from 100.000 is past the end of the show (100.000 s)", 2},
        {video + " --to 100.5", "--to 100.500 is past the end of the show", 2},
        {video + " --from -0.5", "bad --from '-0.5'", 2},
        {video + " --scene 3 --to 30", "--scene chooses the frames itself", 2},
        {"--poster " + dir.file("poster.jpg"), "name it .png", 2},
        {"--capture " + dir.file("show.webm") + " --preset party", "--preset party writes MP4 video", 2},
        {video + " --preset youtube --lossless", "give it or --lossless, not both", 2},
        {video + " --preset party --scale 5", "larger than --preset party's 1920x1080 frame", 2},
        {"--wav " + dir.file("no-such-dir") + "/music.wav", "cannot write", 1},
        {"--poster " + dir.file("no-such-dir") + "/poster.png", "cannot write", 1},
        {"--png " + dir.write("a-file", "x") + " --fps 1", "cannot write into", 1},
    };
    for (const Case& c : cases) {
        CommandRun run = runDemo(c.arguments + " --fps 1", true);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments;
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
    CommandRun run = runCommand(script);
    EXPECT_EQ(run.out, "143\n");  // ended by SIGTERM
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

// The default captures, MP4 and WebM: 640x480 at 60 fps, and every scene
// sharp. A frame from the middle of each scene is compared with the headless
// frame scaled the same way, both in the video's colours (BT.709, 4:2:0), by
// ffmpeg's psnr filter: its average over the Y, U and V planes is at least 40 dB.
TEST(CaptureHeavy, WholeShowAtTheDefaultsIsSharpInEveryScene) {
    TempDir dir;
    // Scene bounds in units of one pattern of the module.
    const double unit = 64 * 6 * 2.5 / 116;
    std::vector<size_t> frames;
    for (double middle : {0.5, 1.5, 2.5, 3.25, 3.75, 4.25, 4.75, 5.5, 6.5, 7.5, 8.5, 9.5, 10.5, 11.5})
        frames.push_back(size_t(middle * unit * 60));

    // The headless frames stream through a pipe: the whole show is 1.8 GB.
    const std::string pipe = dir.file("frames.bgra"), reference = dir.file("reference.rgb");
    ASSERT_EQ(runCommand("mkfifo " + quoted(pipe)).exitCode, 0);
    FILE* render = popen((std::string(VOK_DEMO_BINARY) + " --data " VOK_DATA_DIR " --render --fps 60 --raw " +
                          quoted(pipe) + " >/dev/null 2>&1")
                             .c_str(),
                         "r");
    ASSERT_NE(render, nullptr);
    {
        std::ifstream raw(pipe, std::ios::binary);
        std::ofstream chosen(reference, std::ios::binary);
        std::vector<uint8_t> frame(frameBytes);
        for (size_t k = 0; raw.read(reinterpret_cast<char*>(frame.data()), frameBytes); ++k)
            if (std::find(frames.begin(), frames.end(), k) != frames.end()) {
                std::vector<uint8_t> rgb = scaledRgbFrame(frame, 0, 2);
                chosen.write(reinterpret_cast<const char*>(rgb.data()), std::streamsize(rgb.size()));
            }
    }
    ASSERT_EQ(pclose(render), 0);

    std::string select;
    for (size_t k : frames) select += (select.empty() ? "" : "+") + std::string("eq(n\\,") + std::to_string(k) + ")";
    for (const char* name : {"show.mp4", "show.webm"}) {
        const std::string video = dir.file(name);
        ASSERT_EQ(runDemo("--capture " + video).exitCode, 0) << name;
        EXPECT_EQ(probe(video, "v", "width"), "640") << name;
        EXPECT_EQ(probe(video, "v", "height"), "480") << name;
        EXPECT_EQ(probe(video, "v", "r_frame_rate"), "60/1") << name;
        const int64_t frames60 = showFrames(60);
        EXPECT_EQ(probe(video, "v", "nb_read_frames", "-count_frames"), std::to_string(frames60)) << name;
        // The decoded track may run on by the padding of its last encoder frame.
        const double audioSeconds = double(decodeAudio(video, 44100).size() / 2) / 44100;
        EXPECT_GT(audioSeconds, frames60 / 60.0 - 1 / 60.0) << name;
        EXPECT_LT(audioSeconds, frames60 / 60.0 + 1024 / 44100.0 + 1 / 60.0) << name;

        const std::string stats = dir.file(std::string(name) + ".psnr");
        const std::string filter = "[0:v]select='" + select + "',setpts=N/TB[capture];" +
                                   "[1:v]setpts=N/TB,scale=out_color_matrix=bt709:out_range=tv:flags=area,"
                                   "format=yuv420p[reference];[capture][reference]psnr=stats_file=" + stats;
        ASSERT_EQ(runCommand("ffmpeg -v error -i " + quoted(video) + " -f rawvideo -pix_fmt rgb24 -s 640x480 -i " +
                             quoted(reference) + " -lavfi \"" + filter + "\" -f null -")
                      .exitCode,
                  0) << name;
        std::ifstream log(stats);
        std::string line;
        size_t compared = 0;
        while (std::getline(log, line)) {
            size_t at = line.find("psnr_avg:");
            ASSERT_NE(at, std::string::npos) << line;
            EXPECT_GE(std::stod(line.substr(at + 9)), 40.0) << name << " frame " << frames[compared];
            ++compared;
        }
        EXPECT_EQ(compared, frames.size()) << name;
        fs::remove(video);
    }
}

TEST(CaptureHeavy, HashesAt60FpsAreTheSameInTwoRuns) {
    CommandRun first = runDemo("--render --fps 60 --hash"), second = runDemo("--render --fps 60 --hash");
    ASSERT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.out, second.out);
    const int64_t last = showFrames(60) - 1;
    EXPECT_NE(first.out.find("\nframe " + std::to_string(last) + " " + std::to_string(last * 1000 / 60) + " " +
                             std::to_string(sceneCount - 1) + " "),
              std::string::npos);
    EXPECT_EQ(first.out.find("\nframe " + std::to_string(last + 1) + " "), std::string::npos);
}
