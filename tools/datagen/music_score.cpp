#include "music_score.h"

#include <string>
#include <vector>

#include "music_notation.h"
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

constexpr int kRows = 64;
constexpr int kBarRows = 16;

enum Channel {
    kKickChannel,
    kSnareChannel,
    kHatChannel,
    kCrashChannel,
    kBassChannel,
    kLeadChannel,
    kEchoChannel,
    kHarmonyChannel,
    kPadChannel,  // two sets of three, one channel per chord voice
    kArpChannel = kPadChannel + 6,
    kRiserChannel,
    kChannelCount,
};

constexpr int kEchoDelayRows = 3;
constexpr int kSetPanning = 0x08;  // effect 8xx

Progression progression(const char* a, const char* b, const char* c, const char* d) {
    return {chord(a), chord(b), chord(c), chord(d)};
}

const Progression kMain = progression("Am", "F", "C", "G");
const Progression kChange = progression("F", "G", "Em", "Am");
const Progression kRise = progression("Dm", "Em", "F", "G");
const Progression kToDominant = progression("Dm", "Em", "F", "E");
const Progression kCadence = progression("Am", "F", "G", "Am");

std::string bars(const std::string& bar, int count = 4) {
    std::string result;
    for (int i = 0; i < count; ++i) result += bar;
    return result;
}

// ---- drums ----

const std::vector<DrumHit> kKickHits = {{'X', kKick, 64}, {'x', kKick, 48}};
const std::vector<DrumHit> kSnareHits = {{'X', kSnare, 60}, {'x', kSnare, 44}, {'o', kSnare, 26}};
const std::vector<DrumHit> kHatHits = {{'x', kClosedHat, 48}, {'o', kClosedHat, 28}, {'O', kOpenHat, 44}};

void kick(PatternWriter& w, const std::string& symbols, int firstRow = 0) {
    writeHits(w, kKickChannel, firstRow, symbols, kKickHits);
}
void snare(PatternWriter& w, const std::string& symbols, int firstRow = 0) {
    writeHits(w, kSnareChannel, firstRow, symbols, kSnareHits);
}
void hats(PatternWriter& w, const std::string& symbols, int firstRow = 0) {
    writeHits(w, kHatChannel, firstRow, symbols, kHatHits);
}
void crash(PatternWriter& w, int row, int volume = 48) {
    w.play(row, kCrashChannel, noteNumber("C4"), kCrash, volume);
}

// Sixteenth-note snare roll whose volume rises from `from` to `to`.
void snareRoll(PatternWriter& w, int firstRow, int rows, int from, int to) {
    for (int i = 0; i < rows; ++i)
        w.play(firstRow + i, kSnareChannel, noteNumber("C4"), kSnare, from + (to - from) * i / (rows - 1));
}

const std::string kFourOnTheFloor = "X...X...X...X...";
const std::string kBackbeat = "....X.......X...";
const std::string kOffbeatHats = "..x...x...x...x.";
const std::string kSixteenthHats = "o.x.o.xoo.x.o.xo";
const std::string kOpenOffbeats = "..O...O...O...O.";

// ---- bass ----

// Root of the chord in E-2..D#3.
int bassRoot(const Chord& chord) { return noteNumber("E2") + (chord.root + 12 - 4) % 12; }

void bassNote(PatternWriter& w, int row, int note, int lengthRows, int volume) {
    w.play(row, kBassChannel, note, kBass, volume);
    w.keyOff(row + lengthRows, kBassChannel);
}

// One long note a bar.
void bassLong(PatternWriter& w, const Progression& chords, int volume) {
    for (int bar = 0; bar < 4; ++bar) bassNote(w, bar * kBarRows, bassRoot(chords[bar]), 14, volume);
}

// Syncopated roots: 3 + 3 + 2, twice a bar.
void bassPulse(PatternWriter& w, const Progression& chords, int volume) {
    static const int rows[] = {0, 3, 6, 8, 11, 14};
    for (int bar = 0; bar < 4; ++bar)
        for (int row : rows) bassNote(w, bar * kBarRows + row, bassRoot(chords[bar]), 2, row % 8 ? volume - 10 : volume);
}

// Eighth notes jumping between the root and its octave.
void bassDrive(PatternWriter& w, const Progression& chords, int volume) {
    for (int bar = 0; bar < 4; ++bar)
        for (int step = 0; step < 8; ++step)
            bassNote(w, bar * kBarRows + step * 2, bassRoot(chords[bar]) + (step % 2 ? 12 : 0), 1,
                     step % 2 ? volume - 12 : volume);
}

// ---- pads and arpeggios ----

// Odd and even bars use different channel sets, so each chord swells in
// while the one before it is released: the pads cross-fade.
int padSet(int bar) { return kPadChannel + 3 * (bar % 2); }

void pads(PatternWriter& w, const Progression& chords, const std::array<int, 4>& volumes) {
    static const int panning[] = {0x50, 0x80, 0xB0};
    for (int bar = 0; bar < 4; ++bar) {
        const std::vector<int> notes = voicing(chords[bar], noteNumber("G3"));
        for (int voice = 0; voice < 3; ++voice) {
            w.keyOff(bar * kBarRows, padSet(bar + 1) + voice);
            w.play(bar * kBarRows, padSet(bar) + voice, notes[size_t(voice)], kPad, volumes[size_t(bar)], kSetPanning,
                   panning[voice]);
        }
    }
}

// A reversed cymbal swelling through the last bar into the next pattern.
void riserIntoNextPattern(PatternWriter& w, int volume) {
    w.play(kRows - kBarRows, kRiserChannel, noteNumber("C4"), kRiser, volume);
}

// Chord tones rising through F-4..E-5 and the octave above the lowest,
// one every `stepRows`, accented on the beat, in bars firstBar..endBar-1.
void arpeggio(PatternWriter& w, const Progression& chords, int stepRows, int volume, int firstBar = 0,
              int endBar = 4) {
    static const int order[] = {0, 1, 2, 3, 2, 1, 0, 2};
    for (int bar = firstBar; bar < endBar; ++bar) {
        std::vector<int> notes = voicing(chords[bar], noteNumber("F4"));
        notes.push_back(notes.front() + 12);
        for (int row = 0, step = 0; row < kBarRows; row += stepRows, ++step) {
            const int accent = row % 4 == 0 ? 0 : 8;
            w.play(bar * kBarRows + row, kArpChannel, notes[size_t(order[step % 8])], kPluck, volume - accent);
        }
    }
}

// ---- lead, its echo and its harmony ----

void lead(PatternWriter& w, const std::array<const char*, 4>& lines, int volume) {
    for (int bar = 0; bar < 4; ++bar) writeLine(w, kLeadChannel, kLead, bar * kBarRows, lines[size_t(bar)], volume);
}

// The lead again, a dotted eighth later, quieter and to the left.
void echo(PatternWriter& w, int volume) {
    for (int row = 0; row + kEchoDelayRows < kRows; ++row) {
        const XmCell* source = w.cell(row, kLeadChannel);
        if (source->note == kKeyOff)
            w.keyOff(row + kEchoDelayRows, kEchoChannel);
        else if (source->note)
            w.play(row + kEchoDelayRows, kEchoChannel, source->note, kLead, volume, kSetPanning, 0x40);
    }
}

// Under each lead note the nearest tone of the bar's chord at least a minor
// third below, to the right.
void harmony(PatternWriter& w, const Progression& chords, int volume) {
    for (int row = 0; row < kRows; ++row) {
        const XmCell* source = w.cell(row, kLeadChannel);
        if (source->note == kKeyOff) w.keyOff(row, kHarmonyChannel);
        if (!source->note || source->note == kKeyOff) continue;
        const auto tones = chords[size_t(row / kBarRows)].pitchClasses();
        int note = source->note - 3;
        while (note > 1 && (note - 1) % 12 != tones[0] && (note - 1) % 12 != tones[1] && (note - 1) % 12 != tones[2])
            --note;
        w.play(row, kHarmonyChannel, note, kLead, volume, kSetPanning, 0xC0);
    }
}

// ---- the themes ----

const std::array<const char*, 4> kThemeA = {
    "E5 . . . . . D5 . . . . . C5 . . .",
    "A4 . . . . . C5 . . . . . F5 . . .",
    "E5 . . . . . G5 . . . . . E5 . D5 .",
    "D5 . . . . . . . . . B4 . G4 . . ^",
};
const std::array<const char*, 4> kThemeAnswer = {
    "E5 . . . . . D5 . . . . . C5 . . .",
    "A4 . . . . . C5 . . . . . A5 . . .",
    "G5 . . . . . E5 . . . . . C5 . . .",
    "D5 . . . . . . . E5 . D5 . B4 . . ^",
};
const std::array<const char*, 4> kThemeChange = {
    "C5 . . . . . . . A4 . . . C5 . . .",
    "D5 . . . . . . . B4 . . . D5 . . .",
    "E5 . . . . . G5 . . . . . B5 . . .",
    "A5 . . . . . . . . . . . ^ . . .",
};
const std::array<const char*, 4> kThemeChangeBusy = {
    "C5 . . . A4 . C5 . F5 . . . E5 . . .",
    "D5 . . . B4 . D5 . G5 . . . F5 . . .",
    "E5 . . . B4 . E5 . G5 . . . B5 . . .",
    "A5 . . . . . . . . . . . G5 . E5 .",
};
const std::array<const char*, 4> kRisingFigures = {
    "D5 . F5 . A5 . F5 . D5 . F5 . A5 . D6 .",
    "E5 . G5 . B5 . G5 . E5 . G5 . B5 . E6 .",
    "F5 . A5 . C6 . A5 . F5 . A5 . C6 . A5 .",
    "G5 . B5 . D6 . B5 . G5 . B5 . D6 . B5 .",
};
const std::array<const char*, 4> kLongCalls = {
    "A5 . . . . . . . . . . . F5 . . .",
    "G5 . . . . . . . . . . . E5 . . .",
    "A5 . . . . . . . C6 . . . . . . .",
    "B5 . . . . . . . . . . . . . . ^",
};
const std::array<const char*, 4> kThemeFinal = {
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
    bassPulse(w, kMain, 54);
    pads(w, kMain, {34, 32, 32, 32});
}

void fullGroove(PatternWriter& w) {
    kick(w, bars(kFourOnTheFloor));
    snare(w, bars(kBackbeat));
    snare(w, "x.x.xxXX", 56);
    hats(w, bars(kSixteenthHats));
    bassDrive(w, kMain, 56);
    pads(w, kMain, {30, 30, 30, 30});
    arpeggio(w, kMain, 1, 26);
    riserIntoNextPattern(w, 48);
}

void themeOverTheLetters(PatternWriter& w, const std::array<const char*, 4>& theme, bool fillAtEnd) {
    crash(w, 0);
    crash(w, 32, 36);  // the second letter of the pair
    kick(w, bars(kFourOnTheFloor));
    snare(w, bars(kBackbeat));
    hats(w, bars(kSixteenthHats));
    if (fillAtEnd) {
        snareRoll(w, 56, 8, 24, 56);
        riserIntoNextPattern(w, 48);
    }
    bassDrive(w, kMain, 56);
    pads(w, kMain, {26, 26, 26, 26});
    arpeggio(w, kMain, 2, 16);
    lead(w, theme, 50);
    echo(w, 18);
}

void changeAtTheSprites(PatternWriter& w) {
    crash(w, 0);
    kick(w, bars("X.....X.......x."));
    snare(w, bars("........X......."));
    hats(w, bars("x.o.x.o.x.o.x.o."));
    bassLong(w, kChange, 56);
    pads(w, kChange, {36, 34, 34, 36});
    arpeggio(w, kChange, 2, 22);
    lead(w, kThemeChange, 48);
    echo(w, 20);
}

void buildThinnedOut(PatternWriter& w) {
    kick(w, bars(kFourOnTheFloor));
    hats(w, bars(kOpenOffbeats));
    snare(w, bars(kBackbeat, 1), 48);
    bassPulse(w, kMain, 54);
    pads(w, kMain, {28, 28, 30, 32});
    arpeggio(w, kMain, 1, 34);
}

void buildWithTheme(PatternWriter& w) {
    crash(w, 0, 40);
    kick(w, bars(kFourOnTheFloor));
    snare(w, bars(kBackbeat));
    hats(w, bars(kSixteenthHats));
    bassDrive(w, kChange, 56);
    pads(w, kChange, {30, 30, 30, 32});
    arpeggio(w, kChange, 2, 18);
    lead(w, kThemeChangeBusy, 48);
    echo(w, 20);
}

void buildRising(PatternWriter& w) {
    crash(w, 0, 40);
    kick(w, bars(kFourOnTheFloor));
    snare(w, bars(kBackbeat, 3));
    snare(w, "x.x.X.x.x.X.X.X.", 48);
    hats(w, bars(kOffbeatHats, 2) + bars(kSixteenthHats, 2));
    bassDrive(w, kRise, 56);
    pads(w, kRise, {32, 34, 36, 38});
    lead(w, kRisingFigures, 40);
    echo(w, 16);
}

void buildToTheTop(PatternWriter& w) {
    crash(w, 0, 44);
    kick(w, bars(kFourOnTheFloor, 3) + "X.X.X.X.X.X.....");
    snare(w, bars(kBackbeat, 2));
    snare(w, "X...x...X...x.x.", 32);
    snareRoll(w, 48, 14, 20, 60);
    hats(w, bars(kOpenOffbeats, 3));
    bassDrive(w, kToDominant, 56);
    pads(w, kToDominant, {34, 36, 38, 42});
    arpeggio(w, kToDominant, 1, 24, 2);
    lead(w, kLongCalls, 48);
    echo(w, 20);
    riserIntoNextPattern(w, 56);
}

void finalTheme(PatternWriter& w) {
    crash(w, 0, 52);
    kick(w, bars(kFourOnTheFloor));
    snare(w, bars(kBackbeat));
    hats(w, bars(kSixteenthHats));
    snare(w, "x.xX", 60);
    bassDrive(w, kMain, 58);
    pads(w, kMain, {32, 32, 32, 32});
    arpeggio(w, kMain, 1, 22);
    lead(w, kThemeA, 50);
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
    bassDrive(w, kCadence, 58);
    for (int row = kLastChordRow; row < kRows; ++row) w.clear(row, kBassChannel);  // no drive under the last chord
    bassNote(w, kLastChordRow, bassRoot(kCadence[3]), 10, 60);
    pads(w, kCadence, {32, 32, 34, 40});
    for (int voice = 0; voice < 3; ++voice) w.keyOff(kLastChordRow + 6, padSet(3) + voice);
    arpeggio(w, kCadence, 1, 22, 0, 3);
    writeLine(w, kArpChannel, kPluck, kLastChordRow, "A4 C5 E5 A5", 30);  // the last chord, broken once
    lead(w, kThemeFinal, 50);
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
