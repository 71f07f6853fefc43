#pragma once
#include <cstdint>
#include <vector>

#include "flash/flash_analyser.h"
#include "image/image.h"

// What reaches the screen with --gentle: the flash analyser looks at each
// frame before it is shown and holds back only the pixel transitions that
// would take a field (or the whole screen) over the limit; those pixels keep
// the colour they showed. Everything else reaches the screen bit for bit, so
// a stream that passes the check is shown unchanged, a scene cut (one
// transition) stays instant, and what is shown passes both readings.
//
// It counts transitions over 1.1 s rather than a second, so that a frame
// shown a frame or so early or late on its way to the eye (a compositor, a
// screen grab, the display's own timing) cannot bring a seventh transition
// into any second.
class GentleScreen {
public:
    static constexpr uint32_t marginMs = 100;

    // Fields of `field` frame pixels: 107x80 for a full screen.
    explicit GentleScreen(flash::FieldSize field = flash::wcagField) : analyser_(field, flash::secondMs + marginMs) {}

    // The picture to show for `work` (320x240) at `nowMs` of any millisecond
    // clock. The work image itself is left as it is.
    const Image& show(const Image& work, uint32_t nowMs);

    // Pixels held back in the last frame shown.
    size_t heldPixels() const { return held_.size(); }

private:
    flash::FlashAnalyser analyser_;
    Image shown_;
    std::vector<int32_t> held_;
    std::vector<uint32_t> kept_;  // the held pixels' colours, while the frame is copied
};
