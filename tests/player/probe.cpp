// Checks what the live player put on the screen and into the sound output.
//
//   vok_player_probe picture SHOT.png PICTURE.pcx X Y SCALE MIN_FADE MAX_FADE [--black-outside]
//     The 320x240 picture, scaled by SCALE with nearest-neighbour blocks, must
//     appear at (X, Y) in the screenshot, dimmed by a fade factor between
//     MIN_FADE and MAX_FADE and closely correlated with the picture; with
//     --black-outside, everything around it must be black.
//
//   vok_player_probe audio FILE.raw RATE MAX_LEAD_MS MIN_RMS
//     Signed 16-bit stereo at RATE: the first audible sample must come within
//     MAX_LEAD_MS of the start, and the whole must not be silent.
//
//   vok_player_probe music FILE.raw MODULE.xm RATE SECONDS
//     Signed 16-bit stereo at RATE: within its first second the sound must
//     carry on as the module played from SECONDS (a correlation of 0.9 or more
//     over a quarter of a second).
//
//   vok_player_probe pause FILE.raw MODULE.xm RATE SECONDS MIN_SILENCE
//     The longest silence must last MIN_SILENCE seconds, and the sound after
//     it carry on as the module played from SECONDS.
//
//   vok_player_probe flashes FILE
//     The player's presented pictures (VOK_PRESENTED_FRAMES: a 4-byte tick and
//     307,200 bytes each) read by the flash check at their own times: prints
//     the status under each reading and the most transitions in a second.
//
// Prints what it measured; exits 0 when every check holds, 1 otherwise.
#include <libopenmpt/libopenmpt.hpp>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "media/module_stream.h"
#include "image/image.h"
#include "demo/show_seek.h"
#include "image/pcx.h"
#include "flash/flash_record.h"

namespace {

struct Rgb {
    int width = 0, height = 0;
    std::vector<uint8_t> bytes;  // r, g, b
    const uint8_t* at(int x, int y) const { return bytes.data() + 3 * (size_t(y) * width + x); }
};

bool readPng(const char* path, Rgb& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path)) return false;
    image.format = PNG_FORMAT_RGB;
    out.width = int(image.width);
    out.height = int(image.height);
    out.bytes.resize(PNG_IMAGE_SIZE(image));
    const bool ok = png_image_finish_read(&image, nullptr, out.bytes.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}

int fail(const char* message) {
    std::printf("FAIL: %s\n", message);
    return 1;
}

// Fits shot = fade * picture over the sampled block centres, and measures
// how well the two agree.
int checkPicture(int argc, char** argv) {
    if (argc < 9) return fail("picture: SHOT.png PICTURE.pcx X Y SCALE MIN_FADE MAX_FADE [--black-outside]");
    Rgb shot;
    if (!readPng(argv[2], shot)) return fail("cannot read the screenshot");
    MessageLog messages;
    std::unique_ptr<Image> picture = loadPcx(ShowContext(messages), argv[3]);
    if (!picture->isScreenSized()) return fail("the picture is not 320x240");
    const int left = std::atoi(argv[4]), top = std::atoi(argv[5]), scale = std::atoi(argv[6]);
    const double minFade = std::atof(argv[7]), maxFade = std::atof(argv[8]);
    const bool blackOutside = argc > 9 && std::strcmp(argv[9], "--black-outside") == 0;
    if (scale < 1 || left < 0 || top < 0 || left + screenWidth * scale > shot.width ||
        top + screenHeight * scale > shot.height) {
        return fail("the picture's place lies outside the screenshot");
    }

    double sumShot = 0, sumPic = 0, sumShotPic = 0, sumPicPic = 0, sumShotShot = 0;
    long blocksNotUniform = 0;
    const long samples = long(screenPixels) * 3;
    for (int y = 0; y < screenHeight; ++y) {
        for (int x = 0; x < screenWidth; ++x) {
            const uint8_t* corner = shot.at(left + x * scale, top + y * scale);
            const uint8_t* far = shot.at(left + x * scale + scale - 1, top + y * scale + scale - 1);
            if (std::memcmp(corner, far, 3) != 0) ++blocksNotUniform;
            const uint32_t word = picture->pixelAt(x, y);
            const double pic[3] = {double((word >> 16) & 0xFF), double((word >> 8) & 0xFF), double(word & 0xFF)};
            for (int c = 0; c < 3; ++c) {
                const double s = corner[c];
                sumShot += s;
                sumPic += pic[c];
                sumShotPic += s * pic[c];
                sumPicPic += pic[c] * pic[c];
                sumShotShot += s * s;
            }
        }
    }
    const double fade = sumPicPic > 0 ? sumShotPic / sumPicPic : 0;
    const double covariance = sumShotPic - sumShot * sumPic / samples;
    const double spreadShot = sumShotShot - sumShot * sumShot / samples;
    const double spreadPic = sumPicPic - sumPic * sumPic / samples;
    const double correlation = spreadShot > 0 && spreadPic > 0 ? covariance / std::sqrt(spreadShot * spreadPic) : 0;
    const double mean = sumShot / samples;

    long litOutside = 0;
    if (blackOutside) {
        for (int y = 0; y < shot.height; ++y) {
            for (int x = 0; x < shot.width; ++x) {
                const bool inside = x >= left && x < left + screenWidth * scale && y >= top &&
                                    y < top + screenHeight * scale;
                const uint8_t* p = shot.at(x, y);
                if (!inside && (p[0] > 2 || p[1] > 2 || p[2] > 2)) ++litOutside;
            }
        }
    }
    std::printf("mean %.1f fade %.3f correlation %.4f blocks-not-uniform %ld lit-outside %ld\n", mean, fade,
                correlation, blocksNotUniform, litOutside);
    if (mean < 4) return fail("the picture is black");
    if (correlation < 0.95) return fail("the screen does not resemble the picture");
    if (fade < minFade || fade > maxFade) return fail("the fade is not where it should be");
    if (blocksNotUniform > screenPixels / 100) return fail("the scaling is not nearest-neighbour");
    if (litOutside > 0) return fail("the screen around the picture is not black");
    return 0;
}

int checkAudio(int argc, char** argv) {
    if (argc < 6) return fail("audio: FILE.raw RATE MAX_LEAD_MS MIN_RMS");
    FILE* file = std::fopen(argv[2], "rb");
    if (!file) return fail("cannot read the sound file");
    std::vector<int16_t> samples;
    int16_t block[4096];
    size_t got = 0;
    while ((got = std::fread(block, sizeof(int16_t), 4096, file)) > 0) samples.insert(samples.end(), block, block + got);
    std::fclose(file);
    const double rate = std::atof(argv[3]), maxLeadMs = std::atof(argv[4]), minRms = std::atof(argv[5]);

    const size_t frames = samples.size() / 2;
    size_t firstAudible = frames;
    double sumSquares = 0;
    for (size_t i = 0; i < frames * 2; ++i) {
        if (firstAudible == frames && std::abs(samples[i]) > 64) firstAudible = i / 2;
        sumSquares += double(samples[i]) * samples[i];
    }
    const double rms = frames ? std::sqrt(sumSquares / double(frames * 2)) : 0;
    const double leadMs = 1000.0 * double(firstAudible) / rate;
    std::printf("frames %zu seconds %.3f lead %.1f ms rms %.1f\n", frames, frames / rate, leadMs, rms);
    if (frames == 0) return fail("nothing was played");
    if (rms < minRms) return fail("the sound is silent");
    if (leadMs > maxLeadMs) return fail("the sound starts late");
    return 0;
}

std::vector<int16_t> readSamples(const char* path) {
    std::vector<int16_t> samples;
    FILE* file = std::fopen(path, "rb");
    if (!file) return samples;
    int16_t block[4096];
    size_t got = 0;
    while ((got = std::fread(block, sizeof(int16_t), 4096, file)) > 0) samples.insert(samples.end(), block, block + got);
    std::fclose(file);
    return samples;
}

// The best normalised correlation of `reference` with `sound` shifted by any
// lag from 0 to maxLag frames (mono mixes, `length` frames).
double bestCorrelation(const std::vector<float>& reference, const std::vector<float>& sound, size_t length,
                       size_t maxLag) {
    double referenceEnergy = 0;
    for (size_t i = 0; i < length; ++i) referenceEnergy += double(reference[i]) * reference[i];
    double best = 0;
    for (size_t lag = 0; lag <= maxLag && lag + length <= sound.size(); ++lag) {
        double product = 0, soundEnergy = 0;
        for (size_t i = 0; i < length; ++i) {
            product += double(reference[i]) * sound[lag + i];
            soundEnergy += double(sound[lag + i]) * sound[lag + i];
        }
        if (soundEnergy > 0 && referenceEnergy > 0) best = std::max(best, product / std::sqrt(soundEnergy * referenceEnergy));
    }
    return best;
}

std::vector<float> mono(const int16_t* stereo, size_t frames) {
    std::vector<float> out(frames);
    for (size_t i = 0; i < frames; ++i) out[i] = float(stereo[2 * i]) + float(stereo[2 * i + 1]);
    return out;
}

// How well the sound from frame `from` on carries on as the module played
// from `seconds`: a quarter of a second of it, within a second's lag.
double moduleCorrelation(const std::vector<int16_t>& samples, size_t from, const char* modulePath, int rate,
                         double seconds) {
    std::ifstream moduleFile(modulePath, std::ios::binary);
    std::ostringstream log;
    openmpt::module music(moduleFile, log);
    seekModule(music, seconds);  // to the frame, as the player seeks
    const size_t length = size_t(rate) / 4, maxLag = size_t(rate);
    std::vector<int16_t> rendered(2 * length);
    music.read_interleaved_stereo(rate, length, rendered.data());
    const size_t frames = samples.size() / 2;
    if (frames < from + length) return 0;
    return bestCorrelation(mono(rendered.data(), length), mono(samples.data() + 2 * from, frames - from), length, maxLag);
}

int checkMusicPosition(int argc, char** argv) {
    if (argc < 6) return fail("music: FILE.raw MODULE.xm RATE SECONDS");
    const std::vector<int16_t> samples = readSamples(argv[2]);
    const double correlation = moduleCorrelation(samples, 0, argv[3], std::atoi(argv[4]), std::atof(argv[5]));
    std::printf("frames %zu correlation %.4f\n", samples.size() / 2, correlation);
    if (correlation < 0.9) return fail("the sound is not the module from that position");
    return 0;
}

// The longest stretch of silence must last MIN_SILENCE seconds, and the sound
// after it carry on as the module from SECONDS.
int checkPause(int argc, char** argv) {
    if (argc < 7) return fail("pause: FILE.raw MODULE.xm RATE SECONDS MIN_SILENCE");
    const std::vector<int16_t> samples = readSamples(argv[2]);
    const int rate = std::atoi(argv[4]);
    size_t run = 0, longest = 0, end = 0;
    for (size_t i = 0; i < samples.size() / 2; ++i) {
        run = samples[2 * i] == 0 && samples[2 * i + 1] == 0 ? run + 1 : 0;
        if (run > longest) longest = run, end = i + 1;
    }
    const double silence = double(longest) / rate;
    // From a little before the silence's end: a quiet start of the music may
    // hold a few frames of zeros of its own.
    const size_t from = end > size_t(rate) / 4 ? end - size_t(rate) / 4 : 0;
    const double correlation = moduleCorrelation(samples, from, argv[3], rate, std::atof(argv[5]));
    std::printf("silence %.3f s ending at %.3f s, then correlation %.4f\n", silence, double(end) / rate, correlation);
    if (silence < std::atof(argv[6])) return fail("the music did not stop");
    if (correlation < 0.9) return fail("the music did not go on from the held moment");
    return 0;
}

}  // namespace

// The first clock millisecond of every scene, then of the end step, one a
// line, from the scene table: where the keys' seeks land.
int printSceneStarts() {
    for (int scene = 0; scene <= sceneCount; ++scene) std::printf("%u\n", sceneStartMs(scene));
    return 0;
}

int checkFlashes(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return fail("cannot read the presented frames");
    flash::FlashAnalyser analyser;
    flash::FlashRecord record;
    std::vector<uint8_t> frame(flash::frameBytes);
    uint8_t tick[4];
    while (std::fread(tick, 1, 4, file) == 4 && std::fread(frame.data(), 1, frame.size(), file) == frame.size()) {
        const uint32_t ms = tick[0] | tick[1] << 8 | tick[2] << 16 | static_cast<uint32_t>(tick[3]) << 24;
        record.add(analyser.addFrame(frame.data(), ms), -1);
    }
    std::fclose(file);
    for (flash::Reading reading : {flash::Reading::Wcag, flash::Reading::Broadcast}) {
        const flash::Summary s = flash::summarise(record, reading, 0, record.frames.size());
        std::printf("%s %s %d %d ", flash::readingName(reading), flash::statusWord(s.status), s.general.transitions,
                    s.red.transitions);
    }
    std::printf("frames %zu\n", record.frames.size());
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "flashes") == 0) return checkFlashes(argv[2]);
    if (argc >= 2 && std::strcmp(argv[1], "picture") == 0) return checkPicture(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "audio") == 0) return checkAudio(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "music") == 0) return checkMusicPosition(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "pause") == 0) return checkPause(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "scenes") == 0) return printSceneStarts();
    return fail("usage: vok_player_probe picture|audio|music|pause|scenes|flashes ...");
}
