#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "demo/demo.h"
#include "demo/scenes.h"
#include "platform/platform.h"
#include "support/test_data.h"
#include "support/test_files.h"
#include "wire3d/mesh.h"

namespace {

uint32_t virtualTicks = 0;
uint32_t readVirtualTicks() { return virtualTicks; }

// The show time the timeline sees at `ms` milliseconds after the clock's start.
float showTime(uint32_t ms) { return static_cast<float>(static_cast<double>(ms) * static_cast<double>(0.001f)); }

// A show over a small data set, driven by a virtual millisecond counter.
class ShowTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeTestDataSet(data_.path());
        platform::setDataDirectory(data_.path());
        platform::setTickCounter(readVirtualTicks);
        fillAngleTables();
    }
    void TearDown() override {
        delete demo_;
        platform::setDataDirectory("");
        platform::setTickCounter(nullptr);
    }

    Demo& start(uint32_t t0 = 1000) {
        virtualTicks = t0;
        demo_ = new Demo(messages_);
        t0_ = t0;
        return *demo_;
    }

    // Renders one frame at `ms` since the clock's start.
    void frameAt(uint32_t ms) {
        virtualTicks = t0_ + ms;
        demo_->clock->tick();
        demo_->renderFrame();
    }

    std::vector<uint8_t> workBytes() const {
        return std::vector<uint8_t>(demo_->workImage->pixels, demo_->workImage->pixels + screenBytes);
    }

    TempDir data_;
    Demo* demo_ = nullptr;
    uint32_t t0_ = 0;
    MessageLog messages_;
};

const uint32_t firstMillisecondOfScene[] = {
    0, 8276, 16552, 24828, 28966, 33104, 37242, 41379, 49655, 57931, 66207, 74483, 82758, 91034, 99310};

}  // namespace

TEST(SceneChoice, FirstMillisecondOfEverySceneAndTheOneBefore) {
    for (int scene = 1; scene <= sceneEnd; ++scene) {
        uint32_t ms = firstMillisecondOfScene[scene];
        EXPECT_EQ(sceneForTime(showTime(ms)), scene) << "ms " << ms;
        EXPECT_EQ(sceneForTime(showTime(ms - 1)), scene - 1) << "ms " << ms - 1;
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
    EXPECT_EQ(sceneForTime(99.309600830078125f), sceneEnd);
    EXPECT_EQ(sceneForTime(1e9f), sceneEnd);
}

// The data table names scenes by their rows' names: each name is a row, and
// each 3D row has the one mesh its draw step takes.
TEST(DataTable, NamesOnlyScenesOfTheTableAndOneMeshForEach3DScene) {
    for (const DataFile& file : dataFiles) {
        for (const char* scene : file.scenes) {
            if (!scene) continue;
            bool found = false;
            for (int i = 0; i < sceneCount; ++i) found = found || std::strcmp(sceneTable[i].name, scene) == 0;
            EXPECT_TRUE(found) << file.name << " names no scene of the table: " << scene;
        }
    }
    for (int i = 0; i < sceneCount; ++i) {
        int meshes = 0;
        for (const DataFile& file : dataFiles) meshes += file.kind == DataKind::Mesh && usedInScene(file, sceneTable[i].name);
        EXPECT_EQ(meshes, sceneTable[i].mesh.turn == MeshTurn::None ? 0 : 1) << sceneTable[i].name;
    }
}

TEST_F(ShowTest, LoadsEverythingAndStartsTheClockLast) {
    Demo& demo = start();
    EXPECT_EQ(demo.clock->startTick, 1000u);
    for (int slot = 0; slot < pictureSlots; ++slot) EXPECT_TRUE(demo.pictures[slot]->isScreenSized()) << slot;
    EXPECT_EQ(demo_->state.sprites[0]->width, 16);
    EXPECT_EQ(demo_->state.sprites[2]->width, 24);
    for (const Mesh& mesh : demo_->state.meshes) {
        EXPECT_EQ(mesh.vertexCount, 5);
        EXPECT_EQ(mesh.faceCount, 6);
        EXPECT_EQ(mesh.world.m[11], 200.0);
        EXPECT_EQ(mesh.object.m[0], 1.0);
        EXPECT_EQ(mesh.color, 0u);
    }
    EXPECT_NE(messages_.textOut.find("nombre vertex de v.ase 5\n"), std::string::npos);
    EXPECT_NE(messages_.textOut.find("nombre face de test.ase 6\n"), std::string::npos);
    for (int i = 0; i < screenBytes; ++i) ASSERT_EQ(demo_->state.wireLayer->pixels[i], 0);
}

TEST_F(ShowTest, ALoadThatTakesTimeStartsTheShowWhenLoadingEnds) {
    // Every key poll of the mesh reader lets a millisecond pass, so loading takes time.
    platform::setKeyPoll([] { return ++virtualTicks, false; });
    Demo& demo = start();
    platform::setKeyPoll(nullptr);
    EXPECT_GT(virtualTicks, 1000u);
    EXPECT_EQ(demo.clock->startTick, virtualTicks);
    EXPECT_EQ(demo.clock->elapsedSeconds(), 0.0);
    demo.clock->tick();
    demo.renderFrame();
    EXPECT_EQ(demo.clock->deltaMs, 0);
    EXPECT_EQ(demo.lastScene, 0);
}

TEST_F(ShowTest, EffectObjectsComeAndGoOnTheFirstFrameOfTheirScenes) {
    Demo& demo = start();
    frameAt(0);
    EXPECT_EQ(demo_->state.effectStage, EffectStage::Fader);
    ASSERT_NE(demo.state.fader, nullptr);
    EXPECT_EQ(demo.state.fader->start, 0.0f);
    EXPECT_EQ(demo.state.fader->end, 5.5f);
    frameAt(8276);
    EXPECT_EQ(demo_->state.effectStage, EffectStage::FaderGone);
    EXPECT_EQ(demo.state.fader, nullptr);
    frameAt(49655);
    EXPECT_EQ(demo_->state.effectStage, EffectStage::ChannelDrift);
    ASSERT_NE(demo_->state.channelDrift, nullptr);
    frameAt(57931);
    EXPECT_EQ(demo_->state.effectStage, EffectStage::CrossFade);
    EXPECT_EQ(demo_->state.channelDrift, nullptr);
    EXPECT_NE(demo.state.crossFade, nullptr);
    frameAt(66207);
    EXPECT_EQ(demo_->state.effectStage, EffectStage::Lens);
    EXPECT_EQ(demo.state.crossFade, nullptr);
    EXPECT_NE(demo.state.lens, nullptr);
    frameAt(74483);
    EXPECT_EQ(demo_->state.effectStage, EffectStage::AllGone);
    EXPECT_EQ(demo.state.lens, nullptr);
}

TEST_F(ShowTest, AStallRunsTheSkippedTransitionsInOrder) {
    Demo& demo = start();
    frameAt(60000);  // straight into the cross-fade
    EXPECT_EQ(demo.lastScene, 9);
    EXPECT_EQ(demo_->state.effectStage, EffectStage::CrossFade);
    EXPECT_EQ(demo.state.fader, nullptr);
    EXPECT_EQ(demo_->state.channelDrift, nullptr);
    EXPECT_NE(demo.state.crossFade, nullptr);
    frameAt(95000);  // and on past the lens
    EXPECT_EQ(demo_->state.effectStage, EffectStage::AllGone);
    EXPECT_EQ(demo.state.crossFade, nullptr);
    EXPECT_EQ(demo.state.lens, nullptr);
}

TEST_F(ShowTest, TheEndStepDrawsNothingAndAsksToQuit) {
    Demo& demo = start();
    frameAt(99309);
    EXPECT_EQ(demo.lastScene, 13);
    EXPECT_FALSE(demo.quitRequested);
    std::vector<uint8_t> last = workBytes();
    frameAt(99310);
    EXPECT_EQ(demo.lastScene, sceneEnd);
    EXPECT_TRUE(demo.quitRequested);
    EXPECT_EQ(workBytes(), last);
}

TEST_F(ShowTest, TheWaveAmplitudeFollowsTheFrameTimes) {
    Demo& demo = start();
    frameAt(8276);
    EXPECT_EQ(demo_->state.waveAmplitude, static_cast<float>(8276 * static_cast<double>(0.015f)));
    frameAt(8300);
    float expected = static_cast<float>(8276 * static_cast<double>(0.015f));
    expected = static_cast<float>(expected + 24 * static_cast<double>(0.015f));
    EXPECT_EQ(demo_->state.waveAmplitude, expected);
    frameAt(16552);  // the falling warp takes this frame's 8252 ms off
    expected = static_cast<float>(expected - 8252 * static_cast<double>(0.015f));
    EXPECT_EQ(demo_->state.waveAmplitude, expected);
    (void)demo;
}

TEST_F(ShowTest, LetterScenesStepTheColourAndRebuildTheRotation) {
    Demo& demo = start();
    frameAt(24828);
    EXPECT_EQ(demo.lastScene, 3);
    EXPECT_EQ(demo_->state.meshes[0].color, 0x020408u);
    // After drawing, world is the rotation for the next frame: its z translation is 0.
    EXPECT_EQ(demo_->state.meshes[0].world.m[11], 0.0);
    EXPECT_NEAR(demo_->state.meshes[0].world.m[6], -1.0, 1e-6);  // the quarter turn about x
    frameAt(37242);
    EXPECT_EQ(demo.lastScene, 6);
    EXPECT_EQ(demo_->state.meshes[3].color, 0x020408u);
    EXPECT_EQ(demo_->state.meshes[0].color, 0x020408u);
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
    ASSERT_EQ(demo_->state.prng.state, expected);
    frameAt(49656);
    expected = stateAfter(expected, 6);
    ASSERT_EQ(demo_->state.prng.state, expected);
    frameAt(74483);  // the credits draw two numbers a frame
    expected = stateAfter(expected, 2);
    ASSERT_EQ(demo_->state.prng.state, expected);
    frameAt(82758);  // the object scenes three: distance, y, x
    expected = stateAfter(expected, 3);
    ASSERT_EQ(demo_->state.prng.state, expected);
    frameAt(91034);
    expected = stateAfter(expected, 3);
    ASSERT_EQ(demo_->state.prng.state, expected);
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
    ASSERT_TRUE(demo.pictures[3]->isScreenSized());
    EXPECT_EQ(demo_->state.sprites[1]->count, 0);
    frameAt(45000);  // sprites over the black picture
    frameAt(50000);  // the channel drift over the missing picture
    frameAt(60000);  // the cross-fade with a missing dark side
    EXPECT_EQ(demo.lastScene, 9);
}

TEST_F(ShowTest, AMissingMeshStopsTheLoadingAndIsReportedToTheCaller) {
    std::remove(data_.file("k.ase").c_str());
    Demo& demo = start();
    EXPECT_EQ(demo.missingMesh(), "k.ase");
    EXPECT_EQ(demo.clock, nullptr);  // the show never starts
    EXPECT_EQ(messages_.textOut.find("k.ase"), std::string::npos);
    EXPECT_NE(messages_.textOut.find("lecture faces ok !\n"), std::string::npos);  // v and o were read
}
