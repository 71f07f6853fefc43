#include "demo/show_state.h"

Image* wireLayer = nullptr;
Image* sprite1 = nullptr;
Image* sprite2 = nullptr;
Image* sprite3 = nullptr;
ChannelDrift* channelDrift = nullptr;
int32_t effectStage = 0;
float waveAmplitude = 0.0f;
