#include "xm_writer.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

constexpr uint32_t kHeaderSize = 276;            // counted from offset 60
constexpr uint32_t kPatternHeaderSize = 9;
constexpr uint32_t kInstrumentHeaderSize = 263;  // with samples
constexpr uint32_t kSampleHeaderSize = 40;
constexpr int kMaxEnvelopePoints = 12;

void check(bool condition, const char* what) {
    if (!condition) throw std::invalid_argument(what);
}

class ByteWriter {
public:
    void u8(unsigned value) { bytes.push_back(uint8_t(value)); }
    void u16(unsigned value) {
        u8(value & 0xFF);
        u8((value >> 8) & 0xFF);
    }
    void u32(uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    // Fixed-width text field, cut or padded with `pad`.
    void text(const std::string& value, size_t width, char pad = '\0') {
        for (size_t i = 0; i < width; ++i) u8(i < value.size() ? uint8_t(value[i]) : uint8_t(pad));
    }
    void zeros(size_t count) { bytes.insert(bytes.end(), count, 0); }
    void append(const std::vector<uint8_t>& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }

    std::vector<uint8_t> bytes;
};

void writeHeader(ByteWriter& out, const XmModule& module) {
    out.text("Extended Module: ", 17);
    out.text(module.name, 20, ' ');
    out.u8(0x1A);
    out.text(module.trackerName, 20, ' ');
    out.u16(0x0104);
    out.u32(kHeaderSize);
    out.u16(unsigned(module.orders.size()));
    out.u16(unsigned(module.restartPosition));
    out.u16(unsigned(module.channels));
    out.u16(unsigned(module.patterns.size()));
    out.u16(unsigned(module.instruments.size()));
    out.u16(1);  // linear frequency table
    out.u16(unsigned(module.speed));
    out.u16(unsigned(module.tempo));
    for (size_t i = 0; i < 256; ++i) out.u8(i < module.orders.size() ? module.orders[i] : 0);
}

void writePattern(ByteWriter& out, const XmPattern& pattern) {
    const std::vector<uint8_t> packed = packPatternCells(pattern);
    check(packed.size() <= 0xFFFF, "pattern data too large");
    out.u32(kPatternHeaderSize);
    out.u8(0);  // packing type
    out.u16(unsigned(pattern.rows));
    out.u16(unsigned(packed.size()));
    out.append(packed);
}

void writeEnvelopePoints(ByteWriter& out, const XmEnvelope& envelope) {
    for (int i = 0; i < kMaxEnvelopePoints; ++i) {
        const bool used = i < int(envelope.points.size());
        out.u16(used ? envelope.points[i].tick : 0);
        out.u16(used ? envelope.points[i].value : 0);
    }
}

uint8_t envelopeType(const XmEnvelope& envelope) {
    if (envelope.points.empty()) return 0;
    return envelope.sustainPoint >= 0 ? 1 | 2 : 1;
}

void writeSampleHeader(ByteWriter& out, const XmSample& sample) {
    const bool loops = sample.loopLength > 0;
    out.u32(uint32_t(sample.data.size() * 2));  // lengths count bytes
    out.u32(loops ? sample.loopStart * 2 : 0);
    out.u32(loops ? sample.loopLength * 2 : 0);
    out.u8(sample.volume);
    out.u8(uint8_t(sample.finetune));
    out.u8((loops ? 1 : 0) | 0x10);  // forward loop, 16-bit data
    out.u8(sample.panning);
    out.u8(uint8_t(sample.relativeNote));
    out.u8(0);  // reserved
    out.text(sample.name, 22);
}

void writeInstrument(ByteWriter& out, const XmInstrument& instrument) {
    const XmEnvelope& volume = instrument.volumeEnvelope;
    out.u32(kInstrumentHeaderSize);
    out.text(instrument.name, 22);
    out.u8(0);   // type
    out.u16(1);  // one sample
    out.u32(kSampleHeaderSize);
    out.zeros(96);  // every note plays sample 0
    writeEnvelopePoints(out, volume);
    writeEnvelopePoints(out, XmEnvelope{});
    out.u8(uint8_t(volume.points.size()));
    out.u8(0);
    out.u8(uint8_t(std::max(volume.sustainPoint, 0)));
    out.zeros(2);  // volume loop start and end
    out.zeros(3);  // panning sustain and loop points
    out.u8(envelopeType(volume));
    out.u8(0);
    out.u8(instrument.vibratoType);
    out.u8(instrument.vibratoSweep);
    out.u8(instrument.vibratoDepth);
    out.u8(instrument.vibratoRate);
    out.u16(instrument.fadeout);
    out.zeros(22);  // reserved
    writeSampleHeader(out, instrument.sample);
    out.append(deltaEncode(instrument.sample.data));
}

void validate(const XmModule& module) {
    check(module.channels >= 1 && module.channels <= 32, "channel count out of range");
    check(module.speed >= 1 && module.speed < 32, "speed out of range");
    check(module.tempo >= 32 && module.tempo <= 255, "tempo out of range");
    check(!module.orders.empty() && module.orders.size() <= 256, "order count out of range");
    check(module.patterns.size() <= 256, "too many patterns");
    check(module.instruments.size() <= 128, "too many instruments");
    for (uint8_t order : module.orders) check(order < module.patterns.size(), "order names a missing pattern");
    for (const XmPattern& pattern : module.patterns) {
        check(pattern.channels == module.channels, "pattern channel count differs from the module's");
        check(pattern.rows >= 1 && pattern.rows <= 256, "pattern row count out of range");
        for (const XmCell& cell : pattern.cells) {
            check(cell.note <= 97, "note out of range");
            check(cell.instrument <= module.instruments.size(), "cell names a missing instrument");
        }
    }
    for (const XmInstrument& instrument : module.instruments) {
        const XmSample& sample = instrument.sample;
        check(instrument.volumeEnvelope.points.size() <= size_t(kMaxEnvelopePoints), "too many envelope points");
        check(instrument.volumeEnvelope.sustainPoint < int(instrument.volumeEnvelope.points.size()),
              "sustain point out of range");
        check(sample.volume <= 64, "sample volume out of range");
        check(size_t(sample.loopStart) + sample.loopLength <= sample.data.size(), "loop runs past the sample");
    }
}

}  // namespace

std::vector<uint8_t> packPatternCells(const XmPattern& pattern) {
    std::vector<uint8_t> packed;
    for (const XmCell& cell : pattern.cells) {
        const uint8_t fields = (cell.note ? 1 : 0) | (cell.instrument ? 2 : 0) | (cell.volume ? 4 : 0) |
                               (cell.effect ? 8 : 0) | (cell.parameter ? 16 : 0);
        packed.push_back(0x80 | fields);
        if (cell.note) packed.push_back(cell.note);
        if (cell.instrument) packed.push_back(cell.instrument);
        if (cell.volume) packed.push_back(cell.volume);
        if (cell.effect) packed.push_back(cell.effect);
        if (cell.parameter) packed.push_back(cell.parameter);
    }
    return packed;
}

std::vector<uint8_t> deltaEncode(const std::vector<int16_t>& frames) {
    std::vector<uint8_t> bytes;
    bytes.reserve(frames.size() * 2);
    uint16_t previous = 0;
    for (int16_t frame : frames) {
        const uint16_t delta = uint16_t(uint16_t(frame) - previous);
        bytes.push_back(uint8_t(delta & 0xFF));
        bytes.push_back(uint8_t(delta >> 8));
        previous = uint16_t(frame);
    }
    return bytes;
}

std::vector<uint8_t> encodeXm(const XmModule& module) {
    validate(module);
    ByteWriter out;
    writeHeader(out, module);
    for (const XmPattern& pattern : module.patterns) writePattern(out, pattern);
    for (const XmInstrument& instrument : module.instruments) writeInstrument(out, instrument);
    return out.bytes;
}
