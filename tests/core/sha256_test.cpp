// SHA-256 against published digests and another implementation's, at every
// length around the padding's block boundaries, fed whole or in pieces, on
// each compression path this processor runs.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "verify/sha256.h"
#include "verify/sha256_blocks.h"

namespace {

// n bytes of (7i + 3) mod 256.
std::vector<uint8_t> pattern(size_t n) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    return bytes;
}

TEST(Sha256, PublishedDigests) {
    const struct {
        std::string message;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstn"
         "opqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) EXPECT_EQ(sha256Hex(c.message.data(), c.message.size()), c.digest) << c.message.size();
}

// Digests of pattern(n) from another implementation: the lengths where the
// padding takes one block or two.
TEST(Sha256, LengthsAroundTheBlockBoundaries) {
    const struct {
        size_t length;
        const char* digest;
    } cases[] = {
        {1, "084fed08b978af4d7d196a7446a86b58009e636b611db16211b65a9aadff29c5"},
        {55, "e7313d333c272e639f790978283f9eb392e843d0f29b7016828bb1daa4aac70b"},
        {56, "4324d65f3c103567f5589c710bc08f8523f929a9272e3af36fc968e52abc6c27"},
        {63, "81c80242132f230c3bd41b3e63bbcff16107339549214a99614ff26664625055"},
        {64, "39e3d7b6b5d075d37d053ad89b24b41bef4f3c29760c84447cab3f3be1882241"},
        {65, "aacca6ff74fdbb296d165a45cecfa04e5127bc008770fbbdd48006f2d2fae95e"},
        {119, "9ce7368e4daf32341631b492e80359dc9f594b48453cd0dd5bf0b19279cc177e"},
        {120, "7836b787757e95e58b3ca5aec90b1b004e8deba1e50e9675af9cabf1a13a04b5"},
        {128, "d2742f1f4ac6bb7ca2b239ee18402ba8b3f9f8e652d2a72973c2b9ba11c08cf6"},
        {1000, "1e9bc38cbf860b9ec31918b065f9b52476c549a782e0e7990bed8ce3868d2371"},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> bytes = pattern(c.length);
        EXPECT_EQ(sha256Hex(bytes.data(), bytes.size()), c.digest) << c.length << " bytes";
    }
}

TEST(Sha256, PiecesOfAnySizeGiveTheWholeDigestAndFinishStartsAfresh) {
    const std::vector<uint8_t> bytes = pattern(1000);
    const std::string whole = sha256Hex(bytes.data(), bytes.size());
    for (size_t piece : {1u, 3u, 63u, 64u, 65u, 127u, 999u}) {
        Sha256 hash;
        for (size_t at = 0; at < bytes.size(); at += piece) hash.update(&bytes[at], std::min(piece, bytes.size() - at));
        EXPECT_EQ(hexDigest(hash.finish()), whole) << "pieces of " << piece;
        hash.update(bytes.data(), bytes.size());
        EXPECT_EQ(hexDigest(hash.finish()), whole) << "again after finish, pieces of " << piece;
    }
}

TEST(Sha256, EveryPathThatRunsHereGivesThePortableState) {
    std::mt19937 random(2024);
    std::vector<uint8_t> blocks(64 * 5);
    for (uint8_t& byte : blocks) byte = static_cast<uint8_t>(random());
    for (const Sha256Blocks* path : {&x86Sha256Blocks}) {
        if (!path->runs()) continue;
        for (size_t count = 1; count <= 5; ++count) {
            uint32_t expected[8], state[8];
            for (int i = 0; i < 8; ++i) expected[i] = state[i] = static_cast<uint32_t>(random());
            portableSha256Blocks.compress(expected, blocks.data(), count);
            path->compress(state, blocks.data(), count);
            EXPECT_EQ(std::memcmp(expected, state, sizeof state), 0) << count << " blocks";
        }
    }
}

}  // namespace
