// The show rendered headlessly in the Windows build, for comparing frames
// with the Linux build: the first frames of every scene, at a virtual clock
// of FPS frames a second, go raw into OUT (307,200 BGRA bytes each), and one
// line "frame K T_MS SCENE" per written frame goes to standard output.
//
//   vok_win_render FPS OUT [FRAMES_PER_SCENE]
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "app/headless_render.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FPS OUT [FRAMES_PER_SCENE]\n", argv[0]);
        return 2;
    }
    int fps = std::atoi(argv[1]);
    int perScene = argc > 3 ? std::atoi(argv[3]) : 2;
    if (fps <= 0 || perScene <= 0) return 2;

    headless::ShowRun run(fps, 0);
    FILE* out = std::fopen(argv[2], "wb");
    if (out == nullptr) return 1;
    int scene = -1, written = 0;
    while (run.renderNext()) {
        if (run.scene() != scene) {
            scene = run.scene();
            written = 0;
        }
        if (written++ >= perScene) continue;
        const Image& image = run.image();
        if (std::fwrite(image.pixels, 4, screenPixels, out) != static_cast<size_t>(screenPixels)) return 1;
        std::printf("frame %" PRId64 " %" PRIu32 " %d\n", run.frame(), run.milliseconds(), scene);
    }
    if (std::fclose(out) != 0) return 1;
    return run.overran() ? 1 : 0;
}
