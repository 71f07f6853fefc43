#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// SHA-256 (FIPS 180-4), our own code: the frame hashes of `--hash`, the frame
// tables and `--verify` are the same digest on every platform the show runs
// on, with no system crypto library.
class Sha256 {
public:
    using Digest = std::array<uint8_t, 32>;

    Sha256();
    void update(const void* bytes, size_t size);
    // The digest of everything given since construction or the last finish;
    // the object then starts afresh.
    Digest finish();

private:
    std::array<uint32_t, 8> state_;
    std::array<uint8_t, 64> pending_;  // the start of a block not yet complete
    size_t pendingSize_ = 0;
    uint64_t totalBytes_ = 0;
};

// 64 lower-case hex digits.
std::string hexDigest(const Sha256::Digest& digest);
std::string sha256Hex(const void* bytes, size_t size);
