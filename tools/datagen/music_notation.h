#pragma once
#include <array>
#include <string>
#include <vector>

#include "xm_module.h"

// The small notation the score is written in.

// XM note number (1 = C-0, 49 = C-4) of a name like "A4", "C#5" or "Bb3".
int noteNumber(const std::string& name);

constexpr int kKeyOff = 97;

// A triad: pitch class of the root (0 = C) and whether it is minor.
struct Chord {
    int root;
    bool minor;
    std::array<int, 3> pitchClasses() const { return {root, (root + (minor ? 3 : 4)) % 12, (root + 7) % 12}; }
};
Chord chord(const std::string& name);  // "Am", "F", "G#m" ...
using Progression = std::array<Chord, 4>;  // one chord a bar, four bars a pattern

// The chord's tones that lie in [lowest, lowest + 11], rising.
std::vector<int> voicing(const Chord& chord, int lowest);

// Writes events into one pattern; rows outside the pattern are dropped, so
// echoes and fills may run over its end.
class PatternWriter {
public:
    explicit PatternWriter(XmPattern& pattern) : pattern_(pattern) {}
    void play(int row, int channel, int note, int instrument, int volume, int effect = 0, int parameter = 0);
    void keyOff(int row, int channel);
    void clear(int row, int channel);
    const XmCell* cell(int row, int channel) const;
    int rows() const { return pattern_.rows; }

private:
    XmPattern& pattern_;
};

// A melodic line, one token a row from `firstRow`: a note name plays it,
// "." holds (nothing happens), "^" releases the note.
void writeLine(PatternWriter& writer, int channel, int instrument, int firstRow, const std::string& tokens,
               int volume, int effect = 0, int parameter = 0);

// A drum line, one character a row from `firstRow`: '.' is a rest, any
// other character plays the hit that `hits` gives for it.
struct DrumHit {
    char symbol;
    int instrument;
    int volume;
};
void writeHits(PatternWriter& writer, int channel, int firstRow, const std::string& symbols,
               const std::vector<DrumHit>& hits);
