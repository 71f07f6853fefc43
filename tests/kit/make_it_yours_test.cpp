// Follows docs/make-it-yours.md with inputs made here: a picture painted by
// ImageMagick, an OBJ letter and a glTF object written by the test; then
// renders the show headless and looks for them in the frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "demo/scenes.h"
#include "kit/kit_support.h"
#include "kit/test_models.h"
#include "support/command.h"
#include "support/test_files.h"

namespace {

constexpr size_t frameBytes = 320 * 240 * 4;
constexpr int fps = 4;  // frame K shows K / 4 s

struct Frame {
    int scene;
    std::vector<uint8_t> bgra;
};

// Frames first..last of the show rendered from `data`, with their scenes.
std::vector<Frame> render(const std::string& data, const std::string& rawFile, int first, int last) {
    const CommandResult run = runCapturingErrors(std::string(VOK_DEMO_BINARY) + " --render --hash --fps " +
                                         std::to_string(fps) + " --data " + data + " --frames " +
                                         std::to_string(first) + "-" + std::to_string(last) + " --raw " + rawFile);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::vector<uint8_t> raw = readFileBytes(rawFile);
    std::vector<Frame> frames;
    std::istringstream lines(run.out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("frame ", 0) != 0) continue;  // the meshes' progress text comes first
        std::istringstream fields(line.substr(6));
        long long index = 0, ms = 0;
        Frame frame;
        fields >> index >> ms >> frame.scene;
        const size_t at = frames.size() * frameBytes;
        if (at + frameBytes > raw.size()) break;
        frame.bgra.assign(raw.begin() + at, raw.begin() + at + frameBytes);
        frames.push_back(frame);
    }
    EXPECT_EQ(frames.size(), static_cast<size_t>(last - first + 1));
    return frames;
}

struct Extent {
    int lit = 0;
    int left = 320, right = -1, top = 240, bottom = -1;
};

Extent litExtent(const std::vector<uint8_t>& bgra) {
    Extent e;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            const uint8_t* p = &bgra[(y * 320 + x) * 4];
            if (p[0] == 0 && p[1] == 0 && p[2] == 0) continue;
            ++e.lit;
            e.left = std::min(e.left, x);
            e.right = std::max(e.right, x);
            e.top = std::min(e.top, y);
            e.bottom = std::max(e.bottom, y);
        }
    return e;
}

void kit(const std::string& arguments) {
    const CommandResult run = runKit(arguments);
    ASSERT_EQ(run.exitCode, 0) << "vokkit " << arguments << "\n" << run.err;
}

TEST(MakeItYours, YourPictureLetterAndObjectShowInTheirScenes) {
    TempDir work;
    const std::string mine = work.file("mine");
    copyDataSet(mine);  // step 1

    // Step 2: a picture behind the letters.
    ASSERT_EQ(runCommand("convert -seed 11 -size 320x240 plasma:fractal -depth 8 " + work.file("back.png")).exitCode, 0);
    ASSERT_EQ(runCommand("convert " + work.file("back.png") + " -depth 8 rgb:" + work.file("back.rgb")).exitCode, 0);
    kit("picture " + work.file("back.png") + " " + mine + "/vok_lomur.pcx");

    // Step 3: a letter from OBJ (an upright slab, y up) and the object from glTF.
    kit("mesh " + work.write("letter.obj", boxObj(30, 60, 8)) + " " + mine + "/v.ase");
    kit("mesh " + work.write("object.gltf", octahedronGltf(3, 0.5)) + " " + mine + "/test.ase");

    // Step 5.
    // Step 5: every file plays as intended (the show's own jitter still
    // fails the flash check).
    const CommandResult check = runKit("check " + mine);
    EXPECT_NE(check.out.find("the show will play all 18 files as intended"), std::string::npos) << check.out;

    // The same folder with black pictures wherever the letter and the object
    // are drawn: those frames then hold the wireframes alone.
    const std::string dark = work.file("dark");
    copyDataSet(dark);
    for (const char* name : {"v.ase", "test.ase"}) {
        std::filesystem::copy_file(mine + "/" + name, dark + "/" + name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    ASSERT_EQ(runCommand("convert -size 320x240 xc:black " + work.file("black.png")).exitCode, 0);
    for (const char* name : {"vok_lomur.pcx", "vok_vesk.pcx", "vok_thanks.pcx", "vok_greets.pcx"})
        kit("picture " + work.file("black.png") + " " + dark + "/" + name);

    // Step 6: the letter's scene. Each frame is the picture, pixel for pixel,
    // with the wireframe added onto it; the wireframe is in every frame.
    const std::vector<uint8_t> back = readFileBytes(work.file("back.rgb"));
    ASSERT_EQ(back.size(), 320u * 240 * 3);
    const std::vector<Frame> shown = render(mine, work.file("mine.raw"), 100, 115);
    const std::vector<Frame> wire = render(dark, work.file("dark.raw"), 100, 115);
    ASSERT_EQ(shown.size(), wire.size());
    for (size_t k = 0; k < shown.size(); ++k) {
        SCOPED_TRACE("letter frame " + std::to_string(100 + k));
        EXPECT_EQ(shown[k].scene, sceneNamed("letter V"));
        int differing = 0;
        for (size_t i = 0; i < 320 * 240; ++i)
            for (int c = 0; c < 3; ++c) {
                const int expected = std::min(255, back[i * 3 + 2 - c] + wire[k].bgra[i * 4 + c]);
                differing += shown[k].bgra[i * 4 + c] != expected;
            }
        EXPECT_EQ(differing, 0);
        const Extent e = litExtent(wire[k].bgra);
        EXPECT_GT(e.lit, 50);
        if (k > 0) {
            EXPECT_GT(e.bottom - e.top, 100);  // stood up after the unturned first frame
        }
    }

    // The object's two scenes: on screen in every frame, however it turns.
    for (const Frame& frame : render(dark, work.file("object.raw"), 332, 397)) {
        EXPECT_EQ(sceneTable[frame.scene].mesh.turn, MeshTurn::Object) << frame.scene;
        const Extent e = litExtent(frame.bgra);
        EXPECT_GT(e.lit, 50);
        EXPECT_GT(std::max(e.right - e.left, e.bottom - e.top), 40);
    }
}

}  // namespace
