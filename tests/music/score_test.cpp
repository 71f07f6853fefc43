// The notation, the synthesised samples and the composed song.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <libopenmpt/libopenmpt.hpp>
#include <sstream>
#include <stdexcept>

#include "module_render.h"
#include "music_notation.h"
#include "music_score.h"
#include "synth_instruments.h"
#include "xm_writer.h"

namespace {

TEST(MusicNotation, NoteNamesGiveXmNoteNumbers) {
    EXPECT_EQ(noteNumber("C0"), 1);
    EXPECT_EQ(noteNumber("C4"), 49);
    EXPECT_EQ(noteNumber("A4"), 58);
    EXPECT_EQ(noteNumber("C#5"), 62);
    EXPECT_EQ(noteNumber("Bb3"), 47);
    EXPECT_EQ(noteNumber("B7"), 96);
    EXPECT_THROW(noteNumber("H4"), std::invalid_argument);
    EXPECT_THROW(noteNumber("C8"), std::invalid_argument);
    EXPECT_THROW(noteNumber("C"), std::invalid_argument);
}

TEST(MusicNotation, VoicingKeepsTheChordInOneOctave) {
    const std::vector<int> am = {noteNumber("A3"), noteNumber("C4"), noteNumber("E4")};
    EXPECT_EQ(voicing(chord("Am"), noteNumber("G3")), am);
    const std::vector<int> e = {noteNumber("G#3"), noteNumber("B3"), noteNumber("E4")};
    EXPECT_EQ(voicing(chord("E"), noteNumber("G3")), e);
    EXPECT_THROW(chord("Amaj7"), std::invalid_argument);
}

TEST(MusicNotation, LinesPlayHoldAndRelease) {
    XmPattern pattern(4, 1);
    PatternWriter writer(pattern);
    writeLine(writer, 0, 3, 1, "A4 . ^ C5", 40);  // the last token falls off the pattern
    EXPECT_EQ(pattern.at(0, 0).note, 0);
    EXPECT_EQ(pattern.at(1, 0).note, 58);
    EXPECT_EQ(pattern.at(1, 0).instrument, 3);
    EXPECT_EQ(pattern.at(1, 0).volume, 0x10 + 40);
    EXPECT_TRUE(pattern.at(2, 0).empty());
    EXPECT_EQ(pattern.at(3, 0).note, kKeyOff);
    EXPECT_EQ(pattern.at(3, 0).instrument, 0);
}

TEST(SynthInstruments, LoopsJoinWithoutAStepAndOneShotsEndInSilence) {
    for (const XmInstrument& instrument : makeInstruments()) {
        const std::vector<int16_t>& data = instrument.sample.data;
        ASSERT_FALSE(data.empty()) << instrument.name;
        if (instrument.sample.loopLength == 0) {
            EXPECT_EQ(data.back(), 0) << instrument.name;
            continue;
        }
        // The jump from the loop's end back to its start is no larger than
        // the largest step inside it.
        int largestStep = 0;
        for (size_t i = 1; i < data.size(); ++i) largestStep = std::max(largestStep, std::abs(data[i] - data[i - 1]));
        EXPECT_LE(std::abs(data.front() - data.back()), largestStep) << instrument.name;
        EXPECT_EQ(instrument.sample.loopStart + instrument.sample.loopLength, data.size()) << instrument.name;
    }
}

// Left channel of `instrument` playing `note` alone for a quarter second.
std::vector<float> playNote(const XmInstrument& instrument, int note) {
    XmModule module;
    module.name = "pitch";
    module.channels = 2;
    module.tempo = 125;
    module.orders = {0};
    module.patterns.emplace_back(16, 2);
    module.patterns[0].at(0, 0).note = uint8_t(note);
    module.patterns[0].at(0, 0).instrument = 1;
    module.instruments = {instrument};
    std::ostringstream log;
    openmpt::module player(encodeXm(module), log);
    std::vector<float> left(11025), right(left.size());
    player.read(44100, left.size(), left.data(), right.data());
    return left;
}

// The fundamental between 50 and 1000 Hz: the shortest lag whose
// autocorrelation peak comes near the strongest (longer ones are multiples).
double fundamentalHz(const std::vector<float>& signal) {
    const size_t start = 2048, window = 4096, shortest = 44, longest = 882;
    std::vector<double> correlation(longest + 2);
    for (size_t lag = shortest - 1; lag <= longest + 1; ++lag)
        for (size_t i = start; i < start + window; ++i) correlation[lag] += double(signal[i]) * signal[i + lag];
    const double strongest = *std::max_element(correlation.begin() + shortest, correlation.end() - 1);
    size_t best = shortest;
    while (best < longest && !(correlation[best] >= 0.9 * strongest && correlation[best] >= correlation[best - 1] &&
                               correlation[best] >= correlation[best + 1]))
        ++best;
    // Where the parabola through the peak and its neighbours tops out.
    const double before = correlation[best - 1], at = correlation[best], after = correlation[best + 1];
    const double offset = 0.5 * (before - after) / (before - 2 * at + after);
    return 44100.0 / (double(best) + offset);
}

TEST(SynthInstruments, TonalInstrumentsSoundAtTheNotesPitch) {
    const std::vector<XmInstrument> instruments = makeInstruments();
    const struct {
        InstrumentNumber instrument;
        const char* note;
        double hertz;
    } cases[] = {{kBass, "A2", 110.0}, {kLead, "A4", 440.0}, {kPad, "A3", 220.0}, {kPluck, "E5", 659.26}};
    for (const auto& test : cases) {
        const double measured = fundamentalHz(playNote(instruments[test.instrument - 1], noteNumber(test.note)));
        EXPECT_NEAR(measured / test.hertz, 1.0, 0.01) << instruments[test.instrument - 1].name << " " << measured;
    }
}

TEST(ZumberScore, ComposesTheSameBytesEveryTime) {
    EXPECT_EQ(encodeXm(composeZumber()), encodeXm(composeZumber()));
}

TEST(ZumberScore, TheBuildsModuleIsThisScore) {
    EXPECT_EQ(readModule(std::string(VOK_DATA_DIR) + "/zumber.xm"), encodeXm(composeZumber()));
}

// The show quits at the end of the last row: the music must have ended by then.
TEST(ZumberScore, TheLastChordHasDiedAwayWhenTheShowEnds) {
    const Rendering rendering = renderWithOpenmpt(encodeXm(composeZumber()), 44100);
    ASSERT_EQ(rendering.orders.size(), 12u);
    EXPECT_LT(rendering.endRms, rendering.orders[10].rms * 0.05);  // 26 dB below the final section
}

}  // namespace
