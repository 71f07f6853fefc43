#include "effects/fader.h"

Fader::Fader(Image& destination_, const Image& source_, float start_, float end_)
    : start(start_), end(end_), factor(0.0f), destination(destination_), source(source_) {}
Fader::~Fader() = default;
void Fader::update(float) {}  // placeholder until the effect lands
