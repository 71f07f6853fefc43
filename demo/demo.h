#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "common/frame_clock.h"
#include "common/show_context.h"
#include "demo/show_assets.h"
#include "demo/show_state.h"
#include "image/image.h"
#include "wire3d/mesh.h"

// The most data files one scene draws.
constexpr int maxFilesPerScene = 4;

// The one object that owns the show: the context it was given, the assets it
// loaded once, the state of the run and the clock. renderFrame() draws the
// scene of the moment into the state's work image.
class Demo {
public:
    // Loads everything, then makes the first run's state and the clock last
    // (time zero of the show is the end of loading). A mesh file that cannot
    // be opened stops the loading: missingMesh() names it, there is no state
    // and no clock, and the caller ends the show.
    explicit Demo(const ShowContext& context);
    virtual ~Demo();
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    int renderFrame();  // always 1

    // Begins a new run at `ms` of the show, as a show begun there does: the
    // run's state made afresh from the loaded assets (no file is read again)
    // and the clock moved so that it reads `ms` now. The next frame takes the
    // effect transitions up to its scene.
    void restart(uint32_t ms);

    // The scene being drawn reads its data through these: the k-th file its
    // row names, as a picture, and the mesh its row names.
    const Image& scenePicture(int k) const;
    Mesh& sceneMesh();

    const std::string& missingMesh() const { return assets.missingMesh; }

    const ShowContext context;
    const ShowAssets assets;
    std::unique_ptr<ShowState> state;
    std::unique_ptr<FrameClock> clock;

private:
    // Each scene row's files resolved to data rows once, at load (-1: none).
    std::vector<std::array<int, maxFilesPerScene>> sceneFiles_;
};
