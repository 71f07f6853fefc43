#pragma once
#include <memory>

#include "common/show_context.h"
#include "common/random.h"
#include "image/image.h"

// Lets the red, green and blue channels of a picture wander on random walks
// over a private canvas that is never cleared. Reseeds the show's generator
// with 123 and draws its walks from it.
class ChannelDrift {
public:
    ChannelDrift(const char* pictureName, const char* secondName, Random& prng, const ShowContext& context);
    ChannelDrift(const ChannelDrift&) = delete;
    ChannelDrift& operator=(const ChannelDrift&) = delete;
    void render(Image& target);

    float redX = 0, redY = 0;
    float greenX = 0, greenY = 0;
    float blueX = 0, blueY = 0;
    std::unique_ptr<Image> picture;
    std::unique_ptr<Image> extraPicture;
    std::unique_ptr<Image> canvas;

private:
    Random& prng_;
};
