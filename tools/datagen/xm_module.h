#pragma once
#include <cstdint>
#include <string>
#include <vector>

// An Extended Module (XM 1.04) in memory, as the writer lays it out: linear
// frequency table, one sample per instrument, 16-bit sample data.

struct XmCell {
    uint8_t note = 0;        // 1..96 (C-0 .. B-7), 97 key-off, 0 nothing
    uint8_t instrument = 0;  // 1-based, 0 nothing
    uint8_t volume = 0;      // volume column byte: 0x10..0x50 sets 0..64, 0 nothing
    uint8_t effect = 0;
    uint8_t parameter = 0;
    bool empty() const { return !note && !instrument && !volume && !effect && !parameter; }
};

struct XmPattern {
    int rows = 64;
    int channels = 0;
    std::vector<XmCell> cells;  // row by row, `channels` cells a row

    XmPattern(int rowCount, int channelCount)
        : rows(rowCount), channels(channelCount), cells(size_t(rowCount) * channelCount) {}
    XmCell& at(int row, int channel) { return cells[size_t(row) * channels + channel]; }
    const XmCell& at(int row, int channel) const { return cells[size_t(row) * channels + channel]; }
};

struct XmEnvelopePoint {
    uint16_t tick;
    uint16_t value;  // 0..64
};

struct XmEnvelope {
    std::vector<XmEnvelopePoint> points;  // at most 12, ticks rising; empty = off
    int sustainPoint = -1;                // index into points, -1 none
};

struct XmSample {
    std::string name;
    std::vector<int16_t> data;
    uint32_t loopStart = 0;   // in sample frames
    uint32_t loopLength = 0;  // in sample frames, 0 = no loop
    uint8_t volume = 64;      // 0..64
    int8_t finetune = 0;      // 1/128 semitone
    uint8_t panning = 128;    // 0 left .. 255 right
    int8_t relativeNote = 0;  // semitones relative to C-4 played at 8363 Hz
};

struct XmInstrument {
    std::string name;
    XmSample sample;
    XmEnvelope volumeEnvelope;
    uint16_t fadeout = 0;  // subtracted from 65536 each tick after key-off
    uint8_t vibratoType = 0, vibratoSweep = 0, vibratoDepth = 0, vibratoRate = 0;
};

struct XmModule {
    std::string name;
    std::string trackerName;
    int channels = 0;
    int speed = 6;    // ticks per row
    int tempo = 125;  // BPM
    int restartPosition = 0;
    std::vector<uint8_t> orders;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
};
