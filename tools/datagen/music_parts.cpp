#include "music_parts.h"

#include "synth_instruments.h"

namespace {

constexpr int kEchoDelayRows = 3;
constexpr int kSetPanning = 0x08;  // effect 8xx

const std::vector<DrumHit> kKickHits = {{'X', kKick, 64}, {'x', kKick, 48}};
const std::vector<DrumHit> kSnareHits = {{'X', kSnare, 64}, {'x', kSnare, 50}, {'o', kSnare, 30}};
const std::vector<DrumHit> kHatHits = {{'x', kClosedHat, 48}, {'o', kClosedHat, 28}, {'O', kOpenHat, 44}};

}  // namespace

std::string bars(const std::string& bar, int count) {
    std::string result;
    for (int i = 0; i < count; ++i) result += bar;
    return result;
}

void kick(PatternWriter& w, const std::string& symbols, int firstRow) {
    writeHits(w, kKickChannel, firstRow, symbols, kKickHits);
}
void snare(PatternWriter& w, const std::string& symbols, int firstRow) {
    writeHits(w, kSnareChannel, firstRow, symbols, kSnareHits);
}
void hats(PatternWriter& w, const std::string& symbols, int firstRow) {
    writeHits(w, kHatChannel, firstRow, symbols, kHatHits);
}
void crash(PatternWriter& w, int row, int volume) {
    w.play(row, kCrashChannel, noteNumber("C4"), kCrash, volume);
}

void snareRoll(PatternWriter& w, int firstRow, int rows, int from, int to) {
    for (int i = 0; i < rows; ++i)
        w.play(firstRow + i, kSnareChannel, noteNumber("C4"), kSnare, from + (to - from) * i / (rows - 1));
}

// ---- bass ----

int bassRoot(const Chord& chord) { return noteNumber("E2") + (chord.root + 12 - 4) % 12; }

void bassNote(PatternWriter& w, int row, int note, int lengthRows, int volume) {
    w.play(row, kBassChannel, note, kBass, volume);
    w.keyOff(row + lengthRows, kBassChannel);
}

void bassLong(PatternWriter& w, const Progression& chords, int volume) {
    for (int bar = 0; bar < 4; ++bar) bassNote(w, bar * kBarRows, bassRoot(chords[bar]), 14, volume);
}

void bassPulse(PatternWriter& w, const Progression& chords, int volume) {
    static const int rows[] = {0, 3, 6, 8, 11, 14};
    for (int bar = 0; bar < 4; ++bar)
        for (int row : rows) bassNote(w, bar * kBarRows + row, bassRoot(chords[bar]), 2, row % 8 ? volume - 10 : volume);
}

void bassDrive(PatternWriter& w, const Progression& chords, int volume) {
    for (int bar = 0; bar < 4; ++bar)
        for (int step = 0; step < 8; ++step)
            bassNote(w, bar * kBarRows + step * 2, bassRoot(chords[bar]) + (step % 2 ? 12 : 0), 1,
                     step % 2 ? volume - 12 : volume);
}

// ---- pads and arpeggios ----

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

void riserIntoNextPattern(PatternWriter& w, int volume) {
    w.play(kRows - kBarRows, kRiserChannel, noteNumber("C4"), kRiser, volume);
}

void arpeggio(PatternWriter& w, const Progression& chords, int stepRows, int volume, int firstBar, int endBar) {
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

void lead(PatternWriter& w, const LeadLines& lines, int volume) {
    for (int bar = 0; bar < 4; ++bar) writeLine(w, kLeadChannel, kLead, bar * kBarRows, lines[size_t(bar)], volume);
}

void echo(PatternWriter& w, int volume) {
    for (int row = 0; row + kEchoDelayRows < kRows; ++row) {
        const XmCell* source = w.cell(row, kLeadChannel);
        if (source->note == kKeyOff)
            w.keyOff(row + kEchoDelayRows, kEchoChannel);
        else if (source->note)
            w.play(row + kEchoDelayRows, kEchoChannel, source->note, kLead, volume, kSetPanning, 0x40);
    }
}

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
