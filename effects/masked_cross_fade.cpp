#include "effects/masked_cross_fade.h"

#include "image/pcx.h"

MaskedCrossFade::MaskedCrossFade(const char* firstName, const char* secondName, const char* maskName)
    : scrollX(0), scrollY(0), first(loadPcx(firstName)), second(loadPcx(secondName)), mask(loadPcx(maskName)) {}
MaskedCrossFade::~MaskedCrossFade() {
    delete first;
    delete second;
    delete mask;
}
void MaskedCrossFade::render(Image&) {}  // placeholder until the effect lands
