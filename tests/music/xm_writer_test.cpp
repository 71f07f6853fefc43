// The XM writer's layout, checked against the byte offsets of the format.
#include <gtest/gtest.h>

#include <stdexcept>

#include "xm_writer.h"

namespace {

uint32_t u16At(const std::vector<uint8_t>& bytes, size_t offset) {
    return uint32_t(bytes.at(offset)) | uint32_t(bytes.at(offset + 1)) << 8;
}
uint32_t u32At(const std::vector<uint8_t>& bytes, size_t offset) {
    return u16At(bytes, offset) | u16At(bytes, offset + 2) << 16;
}

XmInstrument instrumentWith(std::vector<int16_t> frames) {
    XmInstrument instrument;
    instrument.name = "test";
    instrument.sample.data = std::move(frames);
    return instrument;
}

// Two channels, one pattern of two rows, one instrument of three frames.
XmModule smallModule() {
    XmModule module;
    module.name = "small";
    module.channels = 2;
    module.speed = 6;
    module.tempo = 116;
    module.orders = {0};
    module.patterns.emplace_back(2, 2);
    module.patterns[0].at(0, 0).note = 49;
    module.patterns[0].at(0, 0).instrument = 1;
    module.instruments.push_back(instrumentWith({0, 1000, -1000}));
    module.instruments[0].sample.loopStart = 1;
    module.instruments[0].sample.loopLength = 2;
    return module;
}

constexpr size_t kPatternStart = 336;

TEST(XmWriter, HeaderFieldsSitAtTheirOffsets) {
    const std::vector<uint8_t> bytes = encodeXm(smallModule());
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 17), "Extended Module: ");
    EXPECT_EQ(bytes[37], 0x1A);
    EXPECT_EQ(u16At(bytes, 58), 0x0104u);
    EXPECT_EQ(u32At(bytes, 60), 276u);  // header size, counted from offset 60
    EXPECT_EQ(u16At(bytes, 64), 1u);    // song length
    EXPECT_EQ(u16At(bytes, 68), 2u);    // channels
    EXPECT_EQ(u16At(bytes, 70), 1u);    // patterns
    EXPECT_EQ(u16At(bytes, 72), 1u);    // instruments
    EXPECT_EQ(u16At(bytes, 74), 1u);    // linear frequency table
    EXPECT_EQ(u16At(bytes, 76), 6u);    // speed comes before the tempo
    EXPECT_EQ(u16At(bytes, 78), 116u);
}

TEST(XmWriter, PatternThenInstrumentThenSampleData) {
    const std::vector<uint8_t> bytes = encodeXm(smallModule());
    EXPECT_EQ(u32At(bytes, kPatternStart), 9u);
    EXPECT_EQ(bytes[kPatternStart + 4], 0);  // packing type
    EXPECT_EQ(u16At(bytes, kPatternStart + 5), 2u);
    const uint32_t packedSize = u16At(bytes, kPatternStart + 7);
    EXPECT_EQ(packedSize, 3u + 3u);  // one cell with note and instrument, three empty cells

    const size_t instrument = kPatternStart + 9 + packedSize;
    EXPECT_EQ(u32At(bytes, instrument), 263u);
    EXPECT_EQ(u16At(bytes, instrument + 27), 1u);  // samples
    EXPECT_EQ(u32At(bytes, instrument + 29), 40u);  // sample header size

    const size_t sample = instrument + 263;
    EXPECT_EQ(u32At(bytes, sample), 6u);      // length in bytes for 16-bit frames
    EXPECT_EQ(u32At(bytes, sample + 4), 2u);  // loop start in bytes
    EXPECT_EQ(u32At(bytes, sample + 8), 4u);  // loop length in bytes
    EXPECT_EQ(bytes[sample + 14], 0x11);      // forward loop, 16-bit
    EXPECT_EQ(bytes[sample + 17], 0);         // reserved
    EXPECT_EQ(bytes.size(), sample + 40 + 6);
}

TEST(XmWriter, EnvelopeWithSustainIsSwitchedOn) {
    XmModule module = smallModule();
    module.instruments[0].volumeEnvelope.points = {{0, 64}, {10, 32}, {20, 0}};
    module.instruments[0].volumeEnvelope.sustainPoint = 1;
    const std::vector<uint8_t> bytes = encodeXm(module);
    const size_t instrument = kPatternStart + 9 + u16At(bytes, kPatternStart + 7);
    EXPECT_EQ(u16At(bytes, instrument + 129 + 4), 10u);  // second point's tick
    EXPECT_EQ(u16At(bytes, instrument + 129 + 6), 32u);
    EXPECT_EQ(bytes[instrument + 225], 3);  // point count
    EXPECT_EQ(bytes[instrument + 227], 1);  // sustain point
    EXPECT_EQ(bytes[instrument + 233], 3);  // on, with sustain
}

TEST(XmWriter, CellsPackOnlyTheFieldsTheyHave) {
    XmPattern pattern(1, 3);
    pattern.at(0, 1).note = 97;
    pattern.at(0, 2) = XmCell{49, 2, 0x50, 0x08, 0x40};
    const std::vector<uint8_t> expected = {0x80, 0x81, 97, 0x9F, 49, 2, 0x50, 0x08, 0x40};
    EXPECT_EQ(packPatternCells(pattern), expected);
}

TEST(XmWriter, DeltaCodingStartsFromZeroForEverySample) {
    XmModule module = smallModule();
    module.instruments = {instrumentWith({100, 100}), instrumentWith({100, 100})};
    const std::vector<uint8_t> bytes = encodeXm(module);
    const std::vector<uint8_t> oneSample = {100, 0, 0, 0};
    const std::vector<uint8_t> lastData(bytes.end() - 4, bytes.end());
    EXPECT_EQ(lastData, oneSample);
}

TEST(XmWriter, DeltasWrapAroundLikeTheReader) {
    const std::vector<uint8_t> expected = {0xFF, 0x7F, 0x01, 0x00, 0xFF, 0xFF};
    EXPECT_EQ(deltaEncode({32767, -32768, 32767}), expected);
}

TEST(XmWriter, RefusesModulesThePlayersWouldMisread) {
    XmModule badNote = smallModule();
    badNote.patterns[0].at(1, 1).note = 98;
    EXPECT_THROW(encodeXm(badNote), std::invalid_argument);

    XmModule missingInstrument = smallModule();
    missingInstrument.patterns[0].at(1, 1).instrument = 2;
    EXPECT_THROW(encodeXm(missingInstrument), std::invalid_argument);

    XmModule channelMismatch = smallModule();
    channelMismatch.channels = 3;
    EXPECT_THROW(encodeXm(channelMismatch), std::invalid_argument);

    XmModule loopTooLong = smallModule();
    loopTooLong.instruments[0].sample.loopLength = 3;
    EXPECT_THROW(encodeXm(loopTooLong), std::invalid_argument);

    XmModule missingPattern = smallModule();
    missingPattern.orders = {0, 1};
    EXPECT_THROW(encodeXm(missingPattern), std::invalid_argument);

    XmModule tooFast = smallModule();
    tooFast.speed = 32;
    EXPECT_THROW(encodeXm(tooFast), std::invalid_argument);
}

}  // namespace
