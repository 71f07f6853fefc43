#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "shell/show_control.h"
#include "shell/show_start.h"
#include "demo/scenes.h"
#include "demo/show_seek.h"
#include "platform/platform.h"
#include "support/test_data.h"
#include "support/test_files.h"
#include "wire3d/math3d.h"

namespace {

uint32_t virtualTicks = 0;
uint32_t readVirtualTicks() { return virtualTicks; }

// What the music was asked to do, as "pause" and "from S" lines.
class MusicLog : public MusicFollower {
public:
    void pause() override { calls.push_back("pause"); }
    void playFrom(double seconds) override { calls.push_back("from " + std::to_string(seconds)); }
    std::vector<std::string> calls;
};

class SeekTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeTestDataSet(data_.path());
        platform::setDataDirectory(data_.path());
        platform::setTickCounter(readVirtualTicks);
        virtualTicks = 5000;
    }
    void TearDown() override {
        platform::setDataDirectory("");
        platform::setTickCounter(nullptr);
    }

    // A show begun as `--start` begins it, `startMs` in.
    ShowStart begin(uint32_t startMs) {
        Backend quiet;
        ShowStart start = startShow(quiet, messages_, startMs / 1000.0);
        EXPECT_TRUE(start.demo);
        return start;
    }

    // `ms` of virtual time pass, then one frame.
    static std::vector<uint8_t> frameAfter(Demo& demo, uint32_t ms) {
        virtualTicks += ms;
        demo.clock->tick();
        demo.renderFrame();
        return std::vector<uint8_t>(demo.workImage->pixels, demo.workImage->pixels + screenBytes);
    }

    TempDir data_;
    MessageLog messages_;
};

}  // namespace

TEST(SceneStarts, EveryScenesFirstMillisecond) {
    const uint32_t expected[] = {0,     8276,  16552, 24828, 28966, 33104, 37242, 41379,
                                 49655, 57931, 66207, 74483, 82758, 91034, 99310};
    for (int scene = 0; scene <= sceneCount; ++scene) EXPECT_EQ(sceneStartMs(scene), expected[scene]) << scene;
    EXPECT_EQ(showEndMs(), 99310u);
}

// A show that has played on (through effect objects, the generator, the
// amplitude and the meshes' colours) and is then moved backward or forward
// draws, frame for frame, what a show begun there draws.
TEST_F(SeekTest, ASeekDrawsWhatAShowBegunThereDraws) {
    for (uint32_t target : {0u, 12000u, 26000u, 52000u, 61000u, 70000u, 83000u}) {
        for (uint32_t playedMs : {20000u, 45000u, 90000u}) {
            ShowStart played = begin(playedMs - 3000);
            for (int i = 0; i < 100; ++i) frameAfter(*played.demo, 30);
            MusicLog music;
            ShowControl control(*played.demo, music);
            control.seekTo(target);
            ShowStart fresh = begin(target);
            for (int i = 0; i < 40; ++i) {
                virtualTicks += 13 + i % 7;  // one clock for both shows
                ASSERT_EQ(frameAfter(*played.demo, 0), frameAfter(*fresh.demo, 0))
                    << "seek from " << playedMs << " to " << target << " ms, frame " << i;
            }
            EXPECT_EQ(music.calls, std::vector<std::string>{"from " + std::to_string(target / 1000.0)});
        }
    }
}

// Keys from a show at `fromMs` (ShowKey::None: 2 s pass); then 2 s pass
// without a frame (what the loop asks for is checked) and one frame follows
// 10 ms later.
struct KeyCase {
    const char* name;
    uint32_t fromMs;
    std::vector<ShowKey> keys;
    bool paused;            // after the keys
    bool frameWhilePaused;  // the one frame a seek while paused asks for
    uint32_t shownMs;       // the show time of the last frame
    std::vector<std::string> music;
};

std::string from(double seconds) { return "from " + std::to_string(seconds); }

TEST_F(SeekTest, KeysLandWhereTheyShould) {
    const ShowKey wait = ShowKey::None;
    const KeyCase cases[] = {
        {"forward", 30000, {ShowKey::Forward}, false, false, 37010, {from(35.0)}},
        {"back", 30000, {ShowKey::Back}, false, false, 27010, {from(25.0)}},
        {"back past the beginning", 2000, {ShowKey::Back}, false, false, 2010, {from(0.0)}},
        {"next scene", 30000, {ShowKey::NextScene}, false, false, 35114, {from(33.104)}},
        {"previous scene", 30000, {ShowKey::PreviousScene}, false, false, 26838, {from(24.828)}},
        {"previous from the first", 1000, {ShowKey::PreviousScene}, false, false, 2010, {from(0.0)}},
        {"home", 50000, {ShowKey::Beginning}, false, false, 2010, {from(0.0)}},
        {"pause holds", 30000, {ShowKey::Pause}, true, false, 30000, {"pause"}},
        {"seek while paused", 30000, {ShowKey::Pause, ShowKey::Forward}, true, true, 35000, {"pause"}},
        {"resume leaves the pause out", 30000, {ShowKey::Pause, wait, ShowKey::Pause}, false, false, 32010,
         {"pause", from(30.0)}},
        {"pause, seek, resume", 30000, {ShowKey::Pause, ShowKey::Back, wait, ShowKey::Pause}, false, false, 27010,
         {"pause", from(25.0)}},
        {"keys of the screen", 30000, {ShowKey::FullScreen, ShowKey::Screenshot, ShowKey::Overlay}, false, false,
         32010, {}},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        ShowStart start = begin(c.fromMs);
        Demo& demo = *start.demo;
        frameAfter(demo, 0);
        MusicLog music;
        ShowControl control(demo, music);
        for (ShowKey key : c.keys) {
            if (key == wait) virtualTicks += 2000;
            control.press(key);
        }
        EXPECT_EQ(control.paused(), c.paused);
        EXPECT_EQ(music.calls, c.music);
        virtualTicks += 2000;
        if (c.paused) {
            EXPECT_EQ(control.frameDue(), c.frameWhilePaused);
            if (c.frameWhilePaused) frameAfter(demo, 0);
            EXPECT_FALSE(control.frameDue());
            EXPECT_EQ(control.shownMs(), c.shownMs);
            continue;
        }
        ASSERT_TRUE(control.frameDue());
        frameAfter(demo, 10);
        EXPECT_EQ(control.shownMs(), c.shownMs);
        EXPECT_EQ(demo.clock->deltaMs, 2010);
    }
}

// Each seek reports the picture's time it was asked at and where it landed,
// playing or paused, a pause between them not counted.
TEST_F(SeekTest, ASeekReportsWhereItWasAskedAndWhereItLanded) {
    ShowStart start = begin(30000);
    Demo& demo = *start.demo;
    frameAfter(demo, 0);
    MusicLog music;
    ShowControl control(demo, music);
    const struct {
        ShowKey key;
        uint32_t passMs;  // before the frame that follows the key, if the loop asks for one
        uint32_t fromMs, toMs;
    } steps[] = {
        {ShowKey::Forward, 700, 30000, 35000},    {ShowKey::NextScene, 0, 35700, 37242},
        {ShowKey::Pause, 0, 35700, 37242},        {ShowKey::PreviousScene, 0, 37242, 33104},
        {ShowKey::Back, 0, 33104, 28104},         {ShowKey::Pause, 400, 33104, 28104},
        {ShowKey::Beginning, 0, 28504, 0},
    };
    for (const auto& step : steps) {
        control.press(step.key);
        EXPECT_EQ(control.lastSeek().fromMs, step.fromMs) << static_cast<int>(step.key);
        EXPECT_EQ(control.lastSeek().toMs, step.toMs) << static_cast<int>(step.key);
        if (control.frameDue()) frameAfter(demo, step.passMs);
    }
}

// Seeks past the end end the show as usual; nothing happens after that.
TEST_F(SeekTest, TheEndEndsTheShowAndKeysAfterItDoNothing) {
    for (ShowKey key : {ShowKey::Forward, ShowKey::NextScene}) {
        ShowStart start = begin(97000);
        MusicLog music;
        ShowControl control(*start.demo, music);
        control.press(key);
        frameAfter(*start.demo, 0);
        EXPECT_TRUE(start.demo->quitRequested);
        control.press(ShowKey::Back);
        control.press(ShowKey::Pause);
        EXPECT_FALSE(control.paused());
        EXPECT_EQ(music.calls.size(), 1u);
    }
}

// 1,000 keys in a burst, frames between some of them: every frame has the
// effect object its scene draws with (the sanitizers see any other), the
// show time stays within the show, and the music is always told where to be.
TEST_F(SeekTest, ABurstOfAThousandKeys) {
    ShowStart start = begin(0);
    Demo& demo = *start.demo;
    MusicLog music;
    ShowControl control(demo, music);
    const ShowKey keys[] = {ShowKey::Pause, ShowKey::Back, ShowKey::Forward, ShowKey::PreviousScene,
                            ShowKey::NextScene, ShowKey::Beginning};
    std::mt19937 random(21);
    for (int i = 0; i < 1000 && !demo.quitRequested; ++i) {
        control.press(keys[random() % 6]);
        if (i % 3 == 0 && control.frameDue()) frameAfter(demo, 1 + random() % 40);
        ASSERT_LE(control.shownMs(), showEndMs());
    }
    if (control.paused()) control.press(ShowKey::Pause);
    while (!demo.quitRequested && control.shownMs() < 120000) frameAfter(demo, 500);
    EXPECT_TRUE(demo.quitRequested);
}
