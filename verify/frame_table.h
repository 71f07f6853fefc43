#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A machine's show against a table of its frames: the lines `vokdemo --render
// --fps 60 --hash` prints ("frame K T_MS SCENE SHA256"), made with the data
// set (frames.sha256 beside it). Portable, for every program that checks.
namespace verify {

// The table beside a data set, at this frame rate.
constexpr const char* tableName = "frames.sha256";
constexpr int tableFps = 60;

struct FrameLine {
    int64_t frame = 0;
    uint32_t milliseconds = 0;  // since the clock's start
    int scene = 0;
    std::string hash;  // 64 lower-case hex digits
};

// The frame's line: its number, time and scene, and the SHA-256 of its bytes.
FrameLine hashFrame(int64_t frame, uint32_t milliseconds, int scene, const uint8_t* bytes, size_t size);
// "frame K T_MS SCENE SHA256", without a line end.
std::string frameLineText(const FrameLine& line);

// A table's lines, or why it cannot be used (one sentence, `problem`). A
// table holds exactly `expectedFrames` lines, the k-th naming frame k, a
// scene of the show and a whole hash; a last line end and line ends of
// "\r\n" are taken too.
struct FrameTable {
    std::vector<FrameLine> lines;
    std::string problem;  // empty: usable
};
FrameTable parseFrameTable(const std::string& text, int64_t expectedFrames);

// The end of a check: status 0 when every frame was identical, 1 when one
// differed (or the show did not run), 2 when there is no usable table; and
// the one line that says so.
struct Verdict {
    int status = 0;
    std::string line;
};

// For a table that is missing, unreadable or unusable: `problem` worded after
// "cannot verify: ".
Verdict tableVerdict(const std::string& problem);

// Compares the frames of a run, in order, with a usable table.
class FrameVerifier {
public:
    explicit FrameVerifier(std::vector<FrameLine> table);
    // Takes the next frame. False once a frame differed (the run may stop).
    bool take(const FrameLine& rendered);
    // After the run's last frame, or the first that differed.
    Verdict verdict() const;
    // A run that could not start: the show stopped at start, saying `why`.
    static Verdict notStarted(const std::string& why);

private:
    std::vector<FrameLine> table_;
    size_t taken_ = 0;
    bool differs_ = false;
    FrameLine rendered_;  // the frame that differed
};

}  // namespace verify
