#include "effects/lens.h"

int8_t dxAccum[screenPixels];
int8_t dyAccum[screenPixels];

Lens::Lens() : dxTable{}, dyTable{} { buildTables(); }
Lens::~Lens() = default;
void Lens::buildTables() {}                          // placeholder until the effect lands
void Lens::apply(Image&, const Image&, int32_t, int32_t) {}  // placeholder until the effect lands
