#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Plays a module once through libopenmpt or libxmp and measures it per order.

struct OrderLevel {
    double peak = 0.0;  // largest sample magnitude, 1.0 = full scale
    double rms = 0.0;
    long frames = 0;
};

struct Rendering {
    std::vector<OrderLevel> orders;  // indexed by order
    long totalFrames = 0;
    double endRms = 0.0;  // over the last kEndSeconds of the song's last order
    static constexpr double kEndSeconds = 0.25;
    bool clamped = false;  // a sample reached the format's limit (libxmp's 16-bit output)
};

Rendering renderWithOpenmpt(const std::vector<uint8_t>& module, int rate);
Rendering renderWithXmp(const std::string& path, int rate);

std::vector<uint8_t> readModule(const std::string& path);
