#pragma once
#include <array>
#include <memory>
#include <string>

#include "common/frame_clock.h"
#include "common/messages.h"
#include "demo/show_state.h"
#include "effects/fader.h"
#include "effects/lens.h"
#include "effects/masked_cross_fade.h"
#include "image/image.h"

// The picture slots of the Demo, named after their files.
enum class Picture { Logo, Lomur, Zumber, Girl, Vesk, Credit, Thanks, Greets, Mask };
constexpr int pictureSlots = 9;

// The one object that owns the show: the work image, the picture table, the
// effect slots, the show's state and the clock. renderFrame() draws the scene
// of the moment.
class Demo {
public:
    // Loads everything, the clock last. A mesh file that cannot be opened stops
    // the loading: missingMesh() names it and the caller ends the show.
    explicit Demo(MessageSink& messages);
    virtual ~Demo();
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    int renderFrame();  // always 1

    const Image& picture(Picture slot) const { return *pictures[static_cast<int>(slot)]; }
    const std::string& missingMesh() const { return missingMesh_; }

    MessageSink& messages;
    ShowState state;
    std::array<std::unique_ptr<Image>, pictureSlots> pictures;
    std::unique_ptr<Fader> fader;
    std::unique_ptr<Lens> lens;
    std::unique_ptr<MaskedCrossFade> crossFade;
    std::unique_ptr<Image> workImage;
    std::unique_ptr<FrameClock> clock;

    // Set by the end step, which draws nothing; the backend then ends its loop.
    bool quitRequested = false;
    // The scene of the latest frame, 0..13, or sceneEnd for the end step.
    int lastScene = -1;

private:
    std::string missingMesh_;
};
