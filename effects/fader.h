#pragma once
#include "image/image.h"

// Writes `source` into `destination` with its colour channels scaled by a factor
// that grows linearly from 0 at `start` to 1 at `end` (seconds), then stays 1.
class Fader {
public:
    Fader(Image& destination, const Image& source, float start, float end);
    virtual ~Fader();
    void update(float t);

    float start;
    float end;
    float factor;
    Image& destination;
    const Image& source;
};
