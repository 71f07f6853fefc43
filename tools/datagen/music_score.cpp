#include "music_score.h"

#include <string>
#include <vector>

#include "music_parts.h"
#include "synth_instruments.h"

// The song in A minor. Each pattern is four bars of sixteen rows (a row is a
// sixteenth note) and follows one unit of the show:
//   0 intro under the title fade-in: pads swelling, a soft arpeggio, a roll
//   1, 2 the wave warps: the beat enters, then the full groove
//   3, 4 the turning letters: the main theme (a crash at each letter pair)
//   5 the sprites: a change of chords and a half-time beat
//   6..9 the effect scenes and the credits: a build, from a thinned-out
//     groove up to a snare roll over the dominant
//   10, 11 the spinning object: the theme in full, then a cadence and a last
//     chord that dies away by the end of the show at 99.3 s
namespace {

Progression progression(const char* a, const char* b, const char* c, const char* d) {
    return {chord(a), chord(b), chord(c), chord(d)};
}

const Progression kMain = progression("Am", "F", "C", "G");
const Progression kChange = progression("F", "G", "Em", "Am");
const Progression kRise = progression("Dm", "Em", "F", "G");
const Progression kToDominant = progression("Dm", "Em", "F", "E");
const Progression kCadence = progression("Am", "F", "G", "Am");

// ---- the themes ----

const LeadLines kThemeA = {
    "E5 . . . . . D5 . . . . . C5 . . .",
    "A4 . . . . . C5 . . . . . F5 . . .",
    "E5 . . . . . G5 . . . . . E5 . D5 .",
    "D5 . . . . . . . . . B4 . G4 . . ^",
};
const LeadLines kThemeAnswer = {
    "E5 . . . . . D5 . . . . . C5 . . .",
    "A4 . . . . . C5 . . . . . A5 . . .",
    "G5 . . . . . E5 . . . . . C5 . . .",
    "D5 . . . . . . . E5 . D5 . B4 . . ^",
};
const LeadLines kThemeChange = {
    "C5 . . . . . . . A4 . . . C5 . . .",
    "D5 . . . . . . . B4 . . . D5 . . .",
    "E5 . . . . . G5 . . . . . B5 . . .",
    "A5 . . . . . . . . . . . ^ . . .",
};
const LeadLines kThemeChangeBusy = {
    "C5 . . . A4 . C5 . F5 . . . E5 . . .",
    "D5 . . . B4 . D5 . G5 . . . F5 . . .",
    "E5 . . . B4 . E5 . G5 . . . B5 . . .",
    "A5 . . . . . . . . . . . G5 . E5 .",
};
const LeadLines kRisingFigures = {
    "D5 . F5 . A5 . F5 . D5 . F5 . A5 . D6 .",
    "E5 . G5 . B5 . G5 . E5 . G5 . B5 . E6 .",
    "F5 . A5 . C6 . A5 . F5 . A5 . C6 . A5 .",
    "G5 . B5 . D6 . B5 . G5 . B5 . D6 . B5 .",
};
const LeadLines kLongCalls = {
    "A5 . . . . . . . . . . . F5 . . .",
    "G5 . . . . . . . . . . . E5 . . .",
    "A5 . . . . . . . C6 . . . . . . .",
    "B5 . . . . . . . . . . . . . . ^",
};
const LeadLines kThemeFinal = {
    "E5 . . . . . D5 . . . . . C5 . . .",
    "A4 . . . . . C5 . . . . . F5 . . .",
    "G5 . . . F5 . E5 . D5 . . . B4 . D5 .",
    "A4 . . . . . . . ^ . . . . . . .",
};

// ---- the patterns ----

void introUnderTheTitle(PatternWriter& w) {
    pads(w, kMain, {20, 26, 32, 38});
    arpeggio(w, kMain, 2, 22, 2);
    snareRoll(w, 56, 8, 10, 40);
    riserIntoNextPattern(w, 36);
}

void beatEnters(PatternWriter& w) {
    crash(w, 0, 40);
    kick(w, bars(kFourOnTheFloor));
    hats(w, bars(kOffbeatHats));
    snare(w, "x.xX", 60);
    bassPulse(w, kMain, 48);
    pads(w, kMain, {34, 32, 32, 32});
}

void fullGroove(PatternWriter& w) {
    kick(w, bars(kFourOnTheFloor));
    snare(w, bars(kBackbeat));
    snare(w, "x.x.xxXX", 56);
    hats(w, bars(kSixteenthHats));
    bassDrive(w, kMain, 50);
    pads(w, kMain, {30, 30, 30, 30});
    arpeggio(w, kMain, 1, 26);
    riserIntoNextPattern(w, 48);
}

void themeOverTheLetters(PatternWriter& w, const LeadLines& theme, bool fillAtEnd) {
    crash(w, 0);
    crash(w, 32, 36);  // the second letter of the pair
    kick(w, bars(kFourOnTheFloor));
    snare(w, bars(kBackbeat));
    hats(w, bars(kSixteenthHats));
    if (fillAtEnd) {
        snareRoll(w, 56, 8, 24, 56);
        riserIntoNextPattern(w, 48);
    }
    bassDrive(w, kMain, 50);
    pads(w, kMain, {26, 26, 26, 26});
    arpeggio(w, kMain, 2, 16);
    lead(w, theme, 54);
    echo(w, 18);
}

void changeAtTheSprites(PatternWriter& w) {
    crash(w, 0);
    kick(w, bars("X.....X.......x."));
    snare(w, bars("........X......."));
    hats(w, bars("x.o.x.o.x.o.x.o."));
    bassLong(w, kChange, 50);
    pads(w, kChange, {36, 34, 34, 36});
    arpeggio(w, kChange, 2, 22);
    lead(w, kThemeChange, 52);
    echo(w, 20);
}

void buildThinnedOut(PatternWriter& w) {
    kick(w, bars(kFourOnTheFloor));
    hats(w, bars(kOpenOffbeats));
    snare(w, bars(kBackbeat, 1), 48);
    bassPulse(w, kMain, 48);
    pads(w, kMain, {28, 28, 30, 32});
    arpeggio(w, kMain, 1, 34);
}

void buildWithTheme(PatternWriter& w) {
    crash(w, 0, 40);
    kick(w, bars(kFourOnTheFloor));
    snare(w, bars(kBackbeat));
    hats(w, bars(kSixteenthHats));
    bassDrive(w, kChange, 50);
    pads(w, kChange, {30, 30, 30, 32});
    arpeggio(w, kChange, 2, 18);
    lead(w, kThemeChangeBusy, 52);
    echo(w, 20);
}

void buildRising(PatternWriter& w) {
    crash(w, 0, 40);
    kick(w, bars(kFourOnTheFloor));
    snare(w, bars(kBackbeat, 3));
    snare(w, "x.x.X.x.x.X.X.X.", 48);
    hats(w, bars(kOffbeatHats, 2) + bars(kSixteenthHats, 2));
    bassDrive(w, kRise, 50);
    pads(w, kRise, {32, 34, 36, 38});
    lead(w, kRisingFigures, 46);
    echo(w, 16);
}

void buildToTheTop(PatternWriter& w) {
    crash(w, 0, 44);
    kick(w, bars(kFourOnTheFloor, 3) + "X.X.X.X.X.X.....");
    snare(w, bars(kBackbeat, 2));
    snare(w, "X...x...X...x.x.", 32);
    snareRoll(w, 48, 14, 20, 60);
    hats(w, bars(kOpenOffbeats, 3));
    bassDrive(w, kToDominant, 50);
    pads(w, kToDominant, {34, 36, 38, 42});
    arpeggio(w, kToDominant, 1, 24, 2);
    lead(w, kLongCalls, 52);
    echo(w, 20);
    riserIntoNextPattern(w, 56);
}

void finalTheme(PatternWriter& w) {
    crash(w, 0, 52);
    kick(w, bars(kFourOnTheFloor));
    snare(w, bars(kBackbeat));
    hats(w, bars(kSixteenthHats));
    snare(w, "x.xX", 60);
    bassDrive(w, kMain, 52);
    pads(w, kMain, {32, 32, 32, 32});
    arpeggio(w, kMain, 1, 22);
    lead(w, kThemeA, 54);
    echo(w, 18);
    harmony(w, kMain, 26);
}

void cadenceAndLastChord(PatternWriter& w) {
    constexpr int kLastChordRow = 48;
    kick(w, bars(kFourOnTheFloor, 3) + "X");
    snare(w, bars(kBackbeat, 3));
    hats(w, bars(kSixteenthHats, 3));
    crash(w, 32, 40);
    crash(w, kLastChordRow, 56);
    bassDrive(w, kCadence, 52);
    for (int row = kLastChordRow; row < kRows; ++row) w.clear(row, kBassChannel);  // no drive under the last chord
    bassNote(w, kLastChordRow, bassRoot(kCadence[3]), 10, 56);
    pads(w, kCadence, {32, 32, 34, 40});
    for (int voice = 0; voice < 3; ++voice) w.keyOff(kLastChordRow + 6, padSet(3) + voice);
    arpeggio(w, kCadence, 1, 22, 0, 3);
    writeLine(w, kArpChannel, kPluck, kLastChordRow, "A4 C5 E5 A5", 30);  // the last chord, broken once
    lead(w, kThemeFinal, 54);
    echo(w, 18);
    harmony(w, kCadence, 26);
}

XmPattern pattern(void (*compose)(PatternWriter&)) {
    XmPattern result(kRows, kChannelCount);
    PatternWriter writer(result);
    compose(writer);
    return result;
}

}  // namespace

XmModule composeZumber() {
    XmModule module;
    module.name = "zumber";
    module.trackerName = "vokdatagen";
    module.channels = kChannelCount;
    module.speed = 6;
    module.tempo = 116;
    module.instruments = makeInstruments();
    module.patterns = {
        pattern(introUnderTheTitle),
        pattern(beatEnters),
        pattern(fullGroove),
        pattern([](PatternWriter& w) { themeOverTheLetters(w, kThemeA, false); }),
        pattern([](PatternWriter& w) { themeOverTheLetters(w, kThemeAnswer, true); }),
        pattern(changeAtTheSprites),
        pattern(buildThinnedOut),
        pattern(buildWithTheme),
        pattern(buildRising),
        pattern(buildToTheTop),
        pattern(finalTheme),
        pattern(cadenceAndLastChord),
    };
    for (size_t i = 0; i < module.patterns.size(); ++i) module.orders.push_back(uint8_t(i));
    return module;
}
