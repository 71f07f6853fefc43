// The show rendered headlessly in the Windows build, for comparing frames
// with the Linux build and the reference: the frames K... named on the command
// line, at a virtual clock of FPS frames a second, go raw into OUT (307,200
// BGRA bytes each), and one line "frame K T_MS SCENE" per written frame goes
// to standard output after the mesh reader's text.
//
//   vok_win_render FPS OUT K...
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "app/shell/show_run.h"
#include "app/shell/stdio_messages.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s FPS OUT K...\n", argv[0]);
        return 2;
    }
    int fps = std::atoi(argv[1]);
    if (fps <= 0) return 2;
    std::set<int64_t> wanted;
    for (int i = 3; i < argc; ++i) wanted.insert(std::atoll(argv[i]));

    StdioMessages messages;
    headless::ShowRun run(fps, 0, messages);
    if (run.startFailure()) return run.startFailure();
    FILE* out = std::fopen(argv[2], "wb");
    if (out == nullptr) return 1;
    while (run.renderNext()) {
        if (wanted.count(run.frame()) == 0) continue;
        const Image& image = run.image();
        if (std::fwrite(image.pixels, 4, screenPixels, out) != static_cast<size_t>(screenPixels)) return 1;
        std::printf("frame %" PRId64 " %" PRIu32 " %d\n", run.frame(), run.milliseconds(), run.scene());
    }
    if (std::fclose(out) != 0) return 1;
    return run.overran() ? 1 : 0;
}
