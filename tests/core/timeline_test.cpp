#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "demo/demo.h"
#include "demo/scenes.h"
#include "demo/show_seek.h"
#include "shell/show_run.h"
#include "support/test_data.h"
#include "support/test_files.h"
#include "wire3d/mesh.h"

namespace {

// The show time the timeline sees at `ms` milliseconds after the clock's start.
float showTime(uint32_t ms) { return static_cast<float>(static_cast<double>(ms) * static_cast<double>(0.001f)); }

// A Demo over a small data set, on a virtual millisecond counter.
class ShowTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeTestDataSet(data_.path());
        fillAngleTables();
    }
    void TearDown() override { delete demo_; }

    Demo& start(uint32_t t0 = 1000) {
        clock_.set(t0);
        demo_ = new Demo(context_);
        t0_ = t0;
        return *demo_;
    }

    // Renders one frame at `ms` since the clock's start.
    void frameAt(uint32_t ms) {
        clock_.set(t0_ + ms);
        demo_->clock->tick();
        demo_->renderFrame();
    }

    std::vector<uint8_t> workBytes() const {
        const Image& work = demo_->state->workImage;
        return std::vector<uint8_t>(work.pixels, work.pixels + screenBytes);
    }

    ShowState& state() { return *demo_->state; }

    TempDir data_;
    Demo* demo_ = nullptr;
    uint32_t t0_ = 0;
    MessageLog messages_;
    headless::VirtualClock clock_;
    ShowContext context_ = [this] {
        ShowContext context(messages_, DataFolder(data_.path()));
        context.ticks = clock_.source();
        return context;
    }();
};

// The first millisecond of each of the project's scenes, then of what follows
// them (the end step, or a scene added after them).
const uint32_t firstMillisecondOfScene[] = {
    0, 8276, 16552, 24828, 28966, 33104, 37242, 41379, 49655, 57931, 66207, 74483, 82758, 91034, 99310};
const int pinnedScenes = static_cast<int>(std::size(firstMillisecondOfScene)) - 1;

}  // namespace

// The project's scene bounds, pinned: where the timeline and a seek put them.
TEST(SceneChoice, FirstMillisecondOfEverySceneAndTheOneBefore) {
    ASSERT_LE(pinnedScenes, sceneCount);
    for (int scene = 1; scene <= pinnedScenes; ++scene) {
        uint32_t ms = firstMillisecondOfScene[scene];
        EXPECT_EQ(sceneForTime(showTime(ms)), scene) << "ms " << ms;
        EXPECT_EQ(sceneForTime(showTime(ms - 1)), scene - 1) << "ms " << ms - 1;
        EXPECT_EQ(sceneStartMs(scene), ms) << scene;
    }
    EXPECT_EQ(sceneForTime(0.0f), 0);
}

TEST(SceneChoice, BoundsAreFloatMultiplesOfTheUnitAndHalfUnitsStayDouble) {
    EXPECT_EQ(sceneForTime(8.2758f), 1);  // a time equal to a bound belongs to the later scene
    EXPECT_EQ(sceneForTime(std::nextafter(8.2758f, 0.0f)), 0);
    // Around 3.5 units the bound is the double 28.965299129486083984375.
    EXPECT_EQ(sceneForTime(28.965299606323242f), 4);
    EXPECT_EQ(sceneForTime(28.965297698974609f), 3);
    // 5 units: float(8.2758f) * 5 lies one step below the float nearest 41.379.
    EXPECT_EQ(sceneForTime(41.378997802734375f), 7);
    EXPECT_EQ(sceneForTime(std::nextafter(41.378997802734375f, 0.0f)), 6);
    EXPECT_EQ(sceneForTime(99.309600830078125f), pinnedScenes);  // twelve units
    EXPECT_EQ(sceneForTime(1e9f), sceneEnd);
}

// Every file a scene row names is a row of the data table, and each 3D row
// names the one mesh its draw step takes.
TEST(SceneFiles, NameRowsOfTheDataTableAndOneMeshForEach3DScene) {
    const auto resolved = resolveSceneFiles();
    for (int i = 0; i < sceneCount; ++i) {
        int meshes = 0;
        for (int k = 0; k < maxFilesPerScene; ++k) {
            const char* name = sceneTable[i].files[k];
            const int row = resolved[static_cast<size_t>(i)][static_cast<size_t>(k)];
            EXPECT_EQ(name == nullptr, row < 0) << sceneTable[i].name << " names a file the data table lacks";
            meshes += row >= 0 && dataFiles[row].kind == DataKind::Mesh;
        }
        EXPECT_EQ(meshes, sceneTable[i].mesh.turn == MeshTurn::None ? 0 : 1) << sceneTable[i].name;
    }
}

TEST_F(ShowTest, LoadsEverythingAndStartsTheClockLast) {
    Demo& demo = start();
    EXPECT_EQ(demo.clock->startTick, 1000u);
    for (int slot = 0; slot < pictureSlots; ++slot) EXPECT_TRUE(demo.assets.picture(slot).isScreenSized()) << slot;
    EXPECT_EQ(demo.assets.picture(firstOf(DataKind::Sprite)).width, 16);
    EXPECT_EQ(demo.assets.picture(firstOf(DataKind::Sprite) + 2).width, 24);
    for (const Mesh& mesh : state().meshes) {
        EXPECT_EQ(mesh.vertexCount, 5);
        EXPECT_EQ(mesh.faceCount, 6);
        EXPECT_EQ(mesh.world.m[11], 200.0);
        EXPECT_EQ(mesh.object.m[0], 1.0);
        EXPECT_EQ(mesh.color, 0u);
    }
    EXPECT_NE(messages_.textOut.find("nombre vertex de v.ase 5\n"), std::string::npos);
    EXPECT_NE(messages_.textOut.find("nombre face de test.ase 6\n"), std::string::npos);
    for (int i = 0; i < screenBytes; ++i) ASSERT_EQ(state().wireLayer.pixels[i], 0);
}

TEST_F(ShowTest, ALoadThatTakesTimeStartsTheShowWhenLoadingEnds) {
    // Every key poll of the mesh reader lets a millisecond pass, so loading takes time.
    context_.keyWaiting = [this] { return clock_.advance(1), false; };
    Demo& demo = start();
    EXPECT_GT(clock_.now(), 1000u);
    EXPECT_EQ(demo.clock->startTick, clock_.now());
    EXPECT_EQ(demo.clock->elapsedSeconds(), 0.0);
    demo.clock->tick();
    demo.renderFrame();
    EXPECT_EQ(demo.clock->deltaMs, 0);
    EXPECT_EQ(state().lastScene, sceneNamed("title fade-in"));
}

TEST_F(ShowTest, EffectObjectsComeAndGoOnTheFirstFrameOfTheirScenes) {
    start();
    frameAt(0);
    EXPECT_EQ(state().effectStage, EffectStage::Fader);
    ASSERT_NE(state().fader, nullptr);
    EXPECT_EQ(state().fader->start, 0.0f);
    EXPECT_EQ(state().fader->end, 5.5f);
    frameAt(8276);
    EXPECT_EQ(state().effectStage, EffectStage::FaderGone);
    EXPECT_EQ(state().fader, nullptr);
    frameAt(49655);
    EXPECT_EQ(state().effectStage, EffectStage::ChannelDrift);
    ASSERT_NE(state().channelDrift, nullptr);
    frameAt(57931);
    EXPECT_EQ(state().effectStage, EffectStage::CrossFade);
    EXPECT_EQ(state().channelDrift, nullptr);
    EXPECT_NE(state().crossFade, nullptr);
    frameAt(66207);
    EXPECT_EQ(state().effectStage, EffectStage::Lens);
    EXPECT_EQ(state().crossFade, nullptr);
    EXPECT_NE(state().lens, nullptr);
    frameAt(74483);
    EXPECT_EQ(state().effectStage, EffectStage::AllGone);
    EXPECT_EQ(state().lens, nullptr);
}

TEST_F(ShowTest, AStallRunsTheSkippedTransitionsInOrder) {
    start();
    frameAt(60000);  // straight into the cross-fade
    EXPECT_EQ(state().lastScene, sceneNamed("masked cross-fade"));
    EXPECT_EQ(state().effectStage, EffectStage::CrossFade);
    EXPECT_EQ(state().fader, nullptr);
    EXPECT_EQ(state().channelDrift, nullptr);
    EXPECT_NE(state().crossFade, nullptr);
    frameAt(95000);  // and on past the lens
    EXPECT_EQ(state().effectStage, EffectStage::AllGone);
    EXPECT_EQ(state().crossFade, nullptr);
    EXPECT_EQ(state().lens, nullptr);
}

TEST_F(ShowTest, TheEndStepDrawsNothingAndAsksToQuit) {
    start();
    frameAt(showEndMs() - 1);
    EXPECT_EQ(state().lastScene, sceneCount - 1);
    EXPECT_FALSE(state().quitRequested);
    std::vector<uint8_t> last = workBytes();
    frameAt(showEndMs());
    EXPECT_EQ(state().lastScene, sceneEnd);
    EXPECT_TRUE(state().quitRequested);
    EXPECT_EQ(workBytes(), last);
}

TEST_F(ShowTest, TheWaveAmplitudeFollowsTheFrameTimes) {
    start();
    frameAt(8276);
    EXPECT_EQ(state().waveAmplitude, static_cast<float>(8276 * static_cast<double>(0.015f)));
    frameAt(8300);
    float expected = static_cast<float>(8276 * static_cast<double>(0.015f));
    expected = static_cast<float>(expected + 24 * static_cast<double>(0.015f));
    EXPECT_EQ(state().waveAmplitude, expected);
    frameAt(16552);  // the falling warp takes this frame's 8252 ms off
    expected = static_cast<float>(expected - 8252 * static_cast<double>(0.015f));
    EXPECT_EQ(state().waveAmplitude, expected);
}

TEST_F(ShowTest, LetterScenesStepTheColourAndRebuildTheRotation) {
    start();
    frameAt(24828);
    EXPECT_EQ(state().lastScene, sceneNamed("letter V"));
    EXPECT_EQ(state().meshes[0].color, 0x020408u);
    // After drawing, world is the rotation for the next frame: its z translation is 0.
    EXPECT_EQ(state().meshes[0].world.m[11], 0.0);
    EXPECT_NEAR(state().meshes[0].world.m[6], -1.0, 1e-6);  // the quarter turn about x
    frameAt(37242);
    EXPECT_EQ(state().lastScene, sceneNamed("letter E"));
    EXPECT_EQ(state().meshes[3].color, 0x020408u);
    EXPECT_EQ(state().meshes[0].color, 0x020408u);
}

// The generator state after `draws` more numbers from `state`.
// Worked out on the side, so the show's own generator is left alone.
static uint32_t stateAfter(uint32_t state, int draws) {
    for (int i = 0; i < draws; ++i) state = state * 214013u + 2531011u;
    return state;
}

TEST_F(ShowTest, LaterScenesDrawFromTheGeneratorReseededByTheChannelDrift) {
    start();
    frameAt(49655);  // reseeded with 123, then six draws for the first step of the walk
    uint32_t expected = stateAfter(123, 6);
    ASSERT_EQ(state().prng.state, expected);
    frameAt(49656);
    expected = stateAfter(expected, 6);
    ASSERT_EQ(state().prng.state, expected);
    frameAt(74483);  // the credits draw two numbers a frame
    expected = stateAfter(expected, 2);
    ASSERT_EQ(state().prng.state, expected);
    frameAt(82758);  // the object scenes three: distance, y, x
    expected = stateAfter(expected, 3);
    ASSERT_EQ(state().prng.state, expected);
    frameAt(91034);
    expected = stateAfter(expected, 3);
    ASSERT_EQ(state().prng.state, expected);
}

TEST_F(ShowTest, TwoShowsInOneProcessGiveTheSameFrames) {
    const uint32_t times[] = {0, 3000, 9000, 20000, 26000, 30000, 35000, 40000, 45000, 50000,
                              50500, 60000, 70000, 80000, 85000, 95000};
    std::vector<std::vector<uint8_t>> first;
    start(77);
    for (uint32_t ms : times) {
        frameAt(ms);
        first.push_back(workBytes());
    }
    delete demo_;
    demo_ = nullptr;
    start(4294960000u);  // across a wrap of the tick counter
    for (size_t i = 0; i < std::size(times); ++i) {
        frameAt(times[i]);
        EXPECT_EQ(workBytes(), first[i]) << "frame at " << times[i] << " ms";
    }
}

// "Missing" only for a file that cannot be opened; one that opens and reads
// as 0x0 (size fields left at 0 by its writer) says so.
TEST_F(ShowTest, MissingPicturesBecomeBlackAndMissingSpritesDrawNothing) {
    std::remove(data_.file("vok_girl.pcx").c_str());
    std::remove(data_.file("part2.pcx").c_str());
    const std::vector<uint8_t> empty = makePcx(0, 0, [](int, int) { return 0u; });
    data_.write("vok_logo.pcx", empty);
    data_.write("part3.pcx", empty);
    Demo& demo = start();
    EXPECT_EQ(messages_.warnings,
              "picture vok_logo.pcx reads as 0x0, not 320x240; vokkit check tells why\n"
              "missing picture: vok_girl.pcx\n"
              "missing picture: part2.pcx\n"
              "picture part3.pcx reads as 0x0; vokkit check tells why\n");
    ASSERT_TRUE(demo.assets.picture(dataFileIndex("vok_girl.pcx")).isScreenSized());
    EXPECT_EQ(demo.assets.picture(dataFileIndex("part2.pcx")).count(), 0);
    frameAt(45000);  // sprites over the black picture
    frameAt(50000);  // the channel drift over the missing picture
    frameAt(60000);  // the cross-fade with a missing dark side
    EXPECT_EQ(state().lastScene, sceneNamed("masked cross-fade"));
}

TEST_F(ShowTest, AMissingMeshStopsTheLoadingAndIsReportedToTheCaller) {
    std::remove(data_.file("k.ase").c_str());
    Demo& demo = start();
    EXPECT_EQ(demo.missingMesh(), "k.ase");
    EXPECT_EQ(demo.clock, nullptr);  // the show never starts
    EXPECT_EQ(messages_.textOut.find("k.ase"), std::string::npos);
    EXPECT_NE(messages_.textOut.find("lecture faces ok !\n"), std::string::npos);  // v and o were read
}
