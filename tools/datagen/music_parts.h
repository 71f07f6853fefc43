#pragma once
#include <array>
#include <string>

#include "music_notation.h"

// The parts of the band: how each instrument plays over a pattern of four
// bars of sixteen rows (a row is a sixteenth note), on its own channels.

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

// ---- drums: lines of one character a row (see writeHits) ----
// kick: X accent, x normal; snare: X, x, o ghost; hats: x, o closed, O open.
void kick(PatternWriter& w, const std::string& symbols, int firstRow = 0);
void snare(PatternWriter& w, const std::string& symbols, int firstRow = 0);
void hats(PatternWriter& w, const std::string& symbols, int firstRow = 0);
void crash(PatternWriter& w, int row, int volume = 48);
// Sixteenth-note snare roll whose volume rises from `from` to `to`.
void snareRoll(PatternWriter& w, int firstRow, int rows, int from, int to);
// A reversed cymbal swelling through the last bar into the next pattern.
void riserIntoNextPattern(PatternWriter& w, int volume);

std::string bars(const std::string& bar, int count = 4);  // a one-bar line repeated

const std::string kFourOnTheFloor = "X...X...X...X...";
const std::string kBackbeat = "....X.......X...";
const std::string kOffbeatHats = "..x...x...x...x.";
const std::string kSixteenthHats = "o.x.o.xoo.x.o.xo";
const std::string kOpenOffbeats = "..O...O...O...O.";

// ---- bass: roots of the bar's chord in E-2..D#3 ----
int bassRoot(const Chord& chord);
void bassNote(PatternWriter& w, int row, int note, int lengthRows, int volume);
void bassLong(PatternWriter& w, const Progression& chords, int volume);   // one note a bar
void bassPulse(PatternWriter& w, const Progression& chords, int volume);  // 3 + 3 + 2, twice a bar
void bassDrive(PatternWriter& w, const Progression& chords, int volume);  // eighths, root and octave

// ---- pads and arpeggios ----
// One chord a bar in G-3..F#4. Odd and even bars use different channel sets,
// so each chord swells in while the one before it is released.
void pads(PatternWriter& w, const Progression& chords, const std::array<int, 4>& volumes);
int padSet(int bar);  // first channel of the bar's set
// Chord tones through F-4..E-5 and the octave above the lowest, one every
// `stepRows`, accented on the beat, in bars firstBar..endBar-1.
void arpeggio(PatternWriter& w, const Progression& chords, int stepRows, int volume, int firstBar = 0,
              int endBar = 4);

// ---- lead, its echo and its harmony ----
using LeadLines = std::array<const char*, 4>;  // one writeLine text a bar
void lead(PatternWriter& w, const LeadLines& lines, int volume);
// The lead written so far again, a dotted eighth later, quieter and to the left.
void echo(PatternWriter& w, int volume);
// Under each lead note the nearest tone of the bar's chord at least a minor
// third below, to the right.
void harmony(PatternWriter& w, const Progression& chords, int volume);
