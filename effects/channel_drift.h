#pragma once
#include "image/image.h"

// Lets the red, green and blue channels of a picture wander on random walks
// over a private canvas that is never cleared. Reseeds the process-wide
// generator with 123.
class ChannelDrift {
public:
    ChannelDrift(const char* pictureName, const char* secondName);
    ~ChannelDrift();
    ChannelDrift(const ChannelDrift&) = delete;
    ChannelDrift& operator=(const ChannelDrift&) = delete;
    void render(Image& target);

    float redX = 0, redY = 0;
    float greenX = 0, greenY = 0;
    float blueX = 0, blueY = 0;
    Image* picture;
    Image* extraPicture;
    Image* canvas;
};
