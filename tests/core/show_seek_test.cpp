#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "demo/scenes.h"
#include "demo/show_seek.h"
#include "shell/show_control.h"
#include "shell/show_run.h"
#include "support/test_data.h"
#include "support/test_files.h"

namespace {

// What the music was asked to do, as "pause" and "from S" lines.
class MusicLog : public MusicFollower {
public:
    void pause() override { calls.push_back("pause"); }
    void playFrom(double seconds) override { calls.push_back("from " + std::to_string(seconds)); }
    std::vector<std::string> calls;
};

// Shows over a small data set, all on one virtual clock.
class SeekTest : public ::testing::Test {
protected:
    void SetUp() override { writeTestDataSet(data_.path()); }

    // A show begun as `--start` begins it, `startMs` in.
    std::unique_ptr<headless::ShowRun> begin(uint32_t startMs) {
        auto run = std::make_unique<headless::ShowRun>(clock_, ShowContext(messages_, DataFolder(data_.path())),
                                                       startMs / 1000.0);
        EXPECT_EQ(run->startFailure(), 0);
        return run;
    }

    // `ms` of virtual time pass, then one frame.
    static std::vector<uint8_t> frameAfter(headless::ShowRun& run, uint32_t ms) {
        run.stepAfter(ms);
        return std::vector<uint8_t>(run.image().pixels, run.image().pixels + screenBytes);
    }

    TempDir data_;
    MessageLog messages_;
    headless::VirtualClock clock_{5000};
};

}  // namespace

// A show that has played on (through effect objects, the generator, the
// amplitude and the meshes' colours) and is then moved backward or forward
// draws, frame for frame, what a show begun there draws.
TEST_F(SeekTest, ASeekDrawsWhatAShowBegunThereDraws) {
    for (uint32_t target : {0u, 12000u, 26000u, 52000u, 61000u, 70000u, 83000u}) {
        for (uint32_t playedMs : {20000u, 45000u, 90000u}) {
            auto played = begin(playedMs - 3000);
            for (int i = 0; i < 100; ++i) frameAfter(*played, 30);
            MusicLog music;
            ShowControl control(played->demo(), music);
            control.seekTo(target);
            auto fresh = begin(target);
            for (int i = 0; i < 40; ++i) {
                clock_.advance(13 + i % 7);  // one clock for both shows
                ASSERT_EQ(frameAfter(*played, 0), frameAfter(*fresh, 0))
                    << "seek from " << playedMs << " to " << target << " ms, frame " << i;
            }
            EXPECT_EQ(music.calls, std::vector<std::string>{"from " + std::to_string(target / 1000.0)});
        }
    }
}

// A seek makes the run's state anew from what was loaded once: a field no
// seek knows of starts over, and no file is read again (the mesh reader's
// text and the loading's warnings come once).
TEST_F(SeekTest, ASeekMakesTheRunsStateAnewWithoutReadingAFile) {
    std::remove(data_.file("part2.pcx").c_str());
    auto run = begin(44000);
    for (int i = 0; i < 20; ++i) frameAfter(*run, 30);
    const std::string loaded = messages_.textOut + messages_.warnings;
    ASSERT_NE(loaded.find("missing picture: part2.pcx"), std::string::npos);
    run->demo().state->waveAmplitude = 123.0f;
    MusicLog music;
    ShowControl control(run->demo(), music);
    control.seekTo(44000);
    const ShowState& fresh = *run->demo().state;
    EXPECT_EQ(fresh.waveAmplitude, 0.0f);
    EXPECT_EQ(fresh.lastScene, -1);
    EXPECT_EQ(fresh.prng.state, 1u);
    frameAfter(*run, 0);
    EXPECT_EQ(messages_.textOut + messages_.warnings, loaded);
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
        auto run = begin(c.fromMs);
        Demo& demo = run->demo();
        frameAfter(*run, 0);
        MusicLog music;
        ShowControl control(demo, music);
        for (ShowKey key : c.keys) {
            if (key == wait) clock_.advance(2000);
            control.press(key);
        }
        EXPECT_EQ(control.paused(), c.paused);
        EXPECT_EQ(music.calls, c.music);
        clock_.advance(2000);
        if (c.paused) {
            EXPECT_EQ(control.frameDue(), c.frameWhilePaused);
            if (c.frameWhilePaused) frameAfter(*run, 0);
            EXPECT_FALSE(control.frameDue());
            EXPECT_EQ(control.shownMs(), c.shownMs);
            continue;
        }
        ASSERT_TRUE(control.frameDue());
        frameAfter(*run, 10);
        EXPECT_EQ(control.shownMs(), c.shownMs);
        EXPECT_EQ(demo.clock->deltaMs, 2010);
    }
}

// Each seek reports the picture's time it was asked at and where it landed,
// playing or paused, a pause between them not counted.
TEST_F(SeekTest, ASeekReportsWhereItWasAskedAndWhereItLanded) {
    auto run = begin(30000);
    frameAfter(*run, 0);
    MusicLog music;
    ShowControl control(run->demo(), music);
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
        if (control.frameDue()) frameAfter(*run, step.passMs);
    }
}

// Seeks past the end end the show as usual; nothing happens after that.
TEST_F(SeekTest, TheEndEndsTheShowAndKeysAfterItDoNothing) {
    for (ShowKey key : {ShowKey::Forward, ShowKey::NextScene}) {
        auto run = begin(showEndMs() - 2310);
        MusicLog music;
        ShowControl control(run->demo(), music);
        control.press(key);
        frameAfter(*run, 0);
        EXPECT_TRUE(run->demo().state->quitRequested);
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
    auto run = begin(0);
    Demo& demo = run->demo();
    MusicLog music;
    ShowControl control(demo, music);
    const ShowKey keys[] = {ShowKey::Pause, ShowKey::Back, ShowKey::Forward, ShowKey::PreviousScene,
                            ShowKey::NextScene, ShowKey::Beginning};
    std::mt19937 random(21);
    for (int i = 0; i < 1000 && !demo.state->quitRequested; ++i) {
        control.press(keys[random() % 6]);
        if (i % 3 == 0 && control.frameDue()) frameAfter(*run, 1 + random() % 40);
        ASSERT_LE(control.shownMs(), showEndMs());
    }
    if (control.paused()) control.press(ShowKey::Pause);
    while (!demo.state->quitRequested && control.shownMs() < 120000) frameAfter(*run, 500);
    EXPECT_TRUE(demo.state->quitRequested);
}
