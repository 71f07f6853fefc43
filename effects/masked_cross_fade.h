#pragma once
#include <cstdint>
#include <memory>

#include "common/show_context.h"
#include "image/image.h"

// Mixes two pictures through a grey-scale mask that scrolls 4 pixels right and
// 4 down per frame. Loads and owns its three pictures.
class MaskedCrossFade {
public:
    MaskedCrossFade(const char* firstName, const char* secondName, const char* maskName, const ShowContext& context);
    MaskedCrossFade(const MaskedCrossFade&) = delete;
    MaskedCrossFade& operator=(const MaskedCrossFade&) = delete;
    void render(Image& target);

    int32_t scrollX;
    int32_t scrollY;
    std::unique_ptr<Image> first;
    std::unique_ptr<Image> second;
    std::unique_ptr<Image> mask;
};
