#pragma once
#include <vector>

#include "xm_module.h"

// The module's instruments, made from synthesised samples. The enum gives
// each its 1-based number in the module.
enum InstrumentNumber : uint8_t {
    kKick = 1,
    kSnare,
    kClosedHat,
    kOpenHat,
    kCrash,
    kBass,
    kLead,
    kPad,
    kPluck,
    kRiser,
};

std::vector<XmInstrument> makeInstruments();  // in InstrumentNumber order
