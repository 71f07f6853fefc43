#include "effects/channel_drift.h"

#include "common/random.h"
#include "image/pcx.h"

ChannelDrift::ChannelDrift(const char* pictureName, const char* secondName)
    : picture(nullptr), extraPicture(nullptr), canvas(new Image()) {
    picture = loadPcx(pictureName);
    extraPicture = loadPcx(secondName);
    prng::srand(123);
}
ChannelDrift::~ChannelDrift() {
    delete picture;
    delete extraPicture;
    delete canvas;
}
void ChannelDrift::render(Image&) {}  // placeholder until the effect lands
