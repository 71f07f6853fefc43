#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Converts a stream of 16-bit interleaved stereo from one sample rate to
// another by linear interpolation, for a sound output that cannot take the
// rate the music is rendered at. Positions are kept as exact fractions, so
// the output never drifts from the input's time however long it runs.
class RateConverter {
public:
    // Fills all `frames` frames it is asked for.
    using Source = std::function<void(int16_t* out, size_t frames)>;

    RateConverter(int inputRate, int outputRate, Source source);

    void convert(int16_t* out, size_t frames);

private:
    void refill();

    int inputRate;
    int outputRate;
    Source source;
    std::vector<int16_t> input;  // frames from the source; `next` indexes the first unused
    size_t next = 0;
    int16_t left[2] = {0, 0};   // the input frame at or before the output position
    int16_t right[2] = {0, 0};  // the one after it
    int64_t phase = 0;          // how far past `left`, in units of 1/outputRate input frames
    bool started = false;
};
