// The show rendered headlessly in the Windows build, for comparing frames
// with the Linux build and the reference, at a virtual clock of FPS frames a
// second. The mesh reader's text comes first on standard output.
//
//   vok_win_render FPS --hash   one line "frame K T_MS SCENE SHA256" a frame,
//                               as `vokdemo --render --hash` prints them
//   vok_win_render FPS OUT K... the frames K... raw into OUT (307,200 BGRA
//                               bytes each), a line "frame K T_MS SCENE" each
#include <windows.h>

#include <bcrypt.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

#include "shell/show_run.h"
#include "shell/stdio_messages.h"

namespace {

// SHA-256 through the system's own cryptography DLL.
class Sha256 {
public:
    Sha256() { ok_ = BCryptOpenAlgorithmProvider(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0) == 0; }
    ~Sha256() {
        if (ok_) BCryptCloseAlgorithmProvider(algorithm_, 0);
    }
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    bool ok() const { return ok_; }

    // The digest of the bytes in lower-case hex, or nullptr on failure.
    const char* hexDigest(const uint8_t* bytes, size_t size) {
        unsigned char digest[32];
        BCRYPT_HASH_HANDLE hash = nullptr;
        if (BCryptCreateHash(algorithm_, &hash, nullptr, 0, nullptr, 0, 0) != 0) return nullptr;
        bool done = BCryptHashData(hash, const_cast<PUCHAR>(bytes), static_cast<ULONG>(size), 0) == 0 &&
                    BCryptFinishHash(hash, digest, sizeof digest, 0) == 0;
        BCryptDestroyHash(hash);
        if (!done) return nullptr;
        static const char digits[] = "0123456789abcdef";
        for (size_t i = 0; i < sizeof digest; ++i) {
            hex_[2 * i] = digits[digest[i] >> 4];
            hex_[2 * i + 1] = digits[digest[i] & 15];
        }
        hex_[64] = '\0';
        return hex_;
    }

private:
    BCRYPT_ALG_HANDLE algorithm_ = nullptr;
    bool ok_ = false;
    char hex_[65];
};

int hashEveryFrame(headless::ShowRun& run) {
    Sha256 sha;
    if (!sha.ok()) {
        std::fprintf(stderr, "vok_win_render: no SHA-256 from bcrypt\n");
        return 1;
    }
    while (run.renderNext()) {
        const char* digest = sha.hexDigest(run.image().pixels, static_cast<size_t>(run.image().count()) * 4);
        if (digest == nullptr) return 1;
        std::printf("frame %" PRId64 " %" PRIu32 " %d %s\n", run.frame(), run.milliseconds(), run.scene(), digest);
    }
    return run.overran() ? 1 : 0;
}

int writeChosenFrames(headless::ShowRun& run, const char* path, const std::set<int64_t>& wanted) {
    FILE* out = std::fopen(path, "wb");
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

}  // namespace

int main(int argc, char** argv) {
    bool hash = argc == 3 && std::strcmp(argv[2], "--hash") == 0;
    if (argc < 4 && !hash) {
        std::fprintf(stderr, "usage: %s FPS --hash | %s FPS OUT K...\n", argv[0], argv[0]);
        return 2;
    }
    int fps = std::atoi(argv[1]);
    if (fps <= 0) return 2;

    StdioMessages messages;
    headless::ShowRun run(fps, 0, ShowContext(messages));
    if (run.startFailure()) return run.startFailure();
    if (hash) return hashEveryFrame(run);
    std::set<int64_t> wanted;
    for (int i = 3; i < argc; ++i) wanted.insert(std::atoll(argv[i]));
    return writeChosenFrames(run, argv[2], wanted);
}
