#include "music_notation.h"

#include <sstream>
#include <stdexcept>

namespace {

int pitchClass(char letter) {
    static const int classes[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (letter < 'A' || letter > 'G') throw std::invalid_argument("bad note letter");
    return classes[letter - 'A'];
}

// Pitch class of a letter with an optional '#' or 'b' at `text[1]`; `length`
// receives the characters used.
int spelledPitchClass(const std::string& text, size_t& length) {
    int result = pitchClass(text.at(0));
    length = 1;
    if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
        result += text[1] == '#' ? 1 : 11;
        length = 2;
    }
    return result % 12;
}

uint8_t volumeColumn(int volume) {
    if (volume < 0 || volume > 64) throw std::invalid_argument("volume out of range");
    return uint8_t(0x10 + volume);
}

}  // namespace

int noteNumber(const std::string& name) {
    size_t length = 0;
    const int pc = spelledPitchClass(name, length);
    if (name.size() != length + 1 || name[length] < '0' || name[length] > '7')
        throw std::invalid_argument("bad note name: " + name);
    return 12 * (name[length] - '0') + pc + 1;
}

Chord chord(const std::string& name) {
    size_t length = 0;
    const int root = spelledPitchClass(name, length);
    const std::string quality = name.substr(length);
    if (quality != "" && quality != "m") throw std::invalid_argument("bad chord name: " + name);
    return {root, quality == "m"};
}

std::vector<int> voicing(const Chord& chord, int lowest) {
    std::vector<int> notes;
    for (int note = lowest; note < lowest + 12; ++note)
        for (int pc : chord.pitchClasses())
            if ((note - 1) % 12 == pc) notes.push_back(note);
    return notes;
}

void PatternWriter::play(int row, int channel, int note, int instrument, int volume, int effect, int parameter) {
    if (row < 0 || row >= pattern_.rows) return;
    XmCell& cell = pattern_.at(row, channel);
    cell.note = uint8_t(note);
    cell.instrument = uint8_t(instrument);
    cell.volume = volumeColumn(volume);
    cell.effect = uint8_t(effect);
    cell.parameter = uint8_t(parameter);
}

void PatternWriter::keyOff(int row, int channel) {
    if (row < 0 || row >= pattern_.rows) return;
    pattern_.at(row, channel) = XmCell{};
    pattern_.at(row, channel).note = kKeyOff;
}

void PatternWriter::clear(int row, int channel) {
    if (row >= 0 && row < pattern_.rows) pattern_.at(row, channel) = XmCell{};
}

const XmCell* PatternWriter::cell(int row, int channel) const {
    if (row < 0 || row >= pattern_.rows) return nullptr;
    return &pattern_.at(row, channel);
}

void writeLine(PatternWriter& writer, int channel, int instrument, int firstRow, const std::string& tokens,
               int volume, int effect, int parameter) {
    std::istringstream stream(tokens);
    std::string token;
    for (int row = firstRow; stream >> token; ++row) {
        if (token == ".") continue;
        if (token == "^")
            writer.keyOff(row, channel);
        else
            writer.play(row, channel, noteNumber(token), instrument, volume, effect, parameter);
    }
}

void writeHits(PatternWriter& writer, int channel, int firstRow, const std::string& symbols,
               const std::vector<DrumHit>& hits) {
    for (size_t i = 0; i < symbols.size(); ++i) {
        if (symbols[i] == '.') continue;
        bool known = false;
        for (const DrumHit& hit : hits) {
            if (hit.symbol != symbols[i]) continue;
            writer.play(firstRow + int(i), channel, noteNumber("C4"), hit.instrument, hit.volume);
            known = true;
        }
        if (!known) throw std::invalid_argument(std::string("unknown drum symbol ") + symbols[i]);
    }
}
