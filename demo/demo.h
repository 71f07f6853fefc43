#pragma once
#include <array>
#include <memory>
#include <string>

#include "common/frame_clock.h"
#include "common/messages.h"
#include "demo/data_files.h"
#include "demo/show_state.h"
#include "image/image.h"

// The one object that owns the show: the work image, the picture slots (the
// data table's screen pictures), the show's state (with the effect objects)
// and the clock. renderFrame() draws the scene of the moment.
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
    std::unique_ptr<Image> workImage;
    std::unique_ptr<FrameClock> clock;

    // Set by the end step, which draws nothing; the backend then ends its loop.
    bool quitRequested = false;
    // The scene of the latest frame (its row in sceneTable), or sceneEnd for the end step.
    int lastScene = -1;

private:
    std::string missingMesh_;
};
