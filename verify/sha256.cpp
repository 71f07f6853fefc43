#include "verify/sha256.h"

#include <algorithm>
#include <cstring>

#include "verify/sha256_blocks.h"

namespace {

constexpr std::array<uint32_t, 8> initialState = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                                  0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

// Chosen once, at the first hash.
void compressBlocks(uint32_t state[8], const uint8_t* blocks, size_t count) {
    static const Sha256Blocks& fastest = x86Sha256Blocks.runs() ? x86Sha256Blocks : portableSha256Blocks;
    fastest.compress(state, blocks, count);
}

}  // namespace

Sha256::Sha256() : state_(initialState) {}

void Sha256::update(const void* bytes, size_t size) {
    const uint8_t* in = static_cast<const uint8_t*>(bytes);
    totalBytes_ += size;
    if (pendingSize_ > 0) {
        const size_t take = std::min(size, pending_.size() - pendingSize_);
        std::memcpy(pending_.data() + pendingSize_, in, take);
        pendingSize_ += take;
        in += take;
        size -= take;
        if (pendingSize_ < pending_.size()) return;
        compressBlocks(state_.data(), pending_.data(), 1);
        pendingSize_ = 0;
    }
    compressBlocks(state_.data(), in, size / 64);
    in += size / 64 * 64;
    size %= 64;
    std::memcpy(pending_.data(), in, size);
    pendingSize_ = size;
}

Sha256::Digest Sha256::finish() {
    // The message, a 1 bit, zeros up to 56 bytes into a block, and the
    // message's length in bits as a big-endian 64-bit number.
    const uint64_t bits = totalBytes_ * 8;
    uint8_t tail[72] = {0x80};
    const size_t padding = (pendingSize_ < 56 ? 56 : 120) - pendingSize_;
    for (int i = 0; i < 8; ++i) tail[padding + i] = static_cast<uint8_t>(bits >> (56 - 8 * i));
    update(tail, padding + 8);
    Digest digest;
    for (size_t i = 0; i < 8; ++i)
        for (size_t j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<uint8_t>(state_[i] >> (24 - 8 * j));
    *this = Sha256();
    return digest;
}

std::string hexDigest(const Sha256::Digest& digest) {
    static const char digits[] = "0123456789abcdef";
    std::string hex(2 * digest.size(), '0');
    for (size_t i = 0; i < digest.size(); ++i) {
        hex[2 * i] = digits[digest[i] >> 4];
        hex[2 * i + 1] = digits[digest[i] & 15];
    }
    return hex;
}

std::string sha256Hex(const void* bytes, size_t size) {
    Sha256 hash;
    hash.update(bytes, size);
    return hexDigest(hash.finish());
}
