#include "app/capture/capture_palette.h"

#include <algorithm>
#include <array>

namespace {

uint32_t rgbAt(const uint8_t* pixel) { return uint32_t(pixel[2]) << 16 | uint32_t(pixel[1]) << 8 | pixel[0]; }

int channel(uint32_t rgb, int c) { return static_cast<int>(rgb >> (16 - 8 * c) & 0xFF); }

struct Counted {
    uint32_t rgb;
    uint32_t count;
};

// A box of the median cut: a run of the counted colours, with the channel
// along which its colours spread most and how much (the weighted sum of
// squared distances from the mean along it).
struct Box {
    size_t begin, end;
    int axis = 0;
    double spread = 0;
};

void measure(Box& box, const std::vector<Counted>& colours) {
    std::array<double, 3> sum{}, squares{};
    double weight = 0;
    for (size_t i = box.begin; i < box.end; ++i) {
        const double w = colours[i].count;
        for (int c = 0; c < 3; ++c) {
            const double v = channel(colours[i].rgb, c);
            sum[c] += w * v;
            squares[c] += w * v * v;
        }
        weight += w;
    }
    box.spread = -1;
    for (int c = 0; c < 3; ++c) {
        const double spread = squares[c] - sum[c] * sum[c] / weight;
        if (spread > box.spread) box.spread = spread, box.axis = c;
    }
    if (box.end - box.begin < 2) box.spread = -1;  // one colour: nothing to cut
}

// Sorts the box along its axis and cuts it where half its pixels lie on each side.
std::pair<Box, Box> cut(const Box& box, std::vector<Counted>& colours) {
    auto first = colours.begin() + static_cast<std::ptrdiff_t>(box.begin);
    auto last = colours.begin() + static_cast<std::ptrdiff_t>(box.end);
    std::sort(first, last, [&](const Counted& a, const Counted& b) {
        const int ca = channel(a.rgb, box.axis), cb = channel(b.rgb, box.axis);
        return ca != cb ? ca < cb : a.rgb < b.rgb;
    });
    double total = 0, below = 0;
    for (auto i = first; i != last; ++i) total += i->count;
    size_t middle = box.begin + 1;
    for (size_t i = box.begin; i + 1 < box.end; ++i) {
        below += colours[i].count;
        middle = i + 1;
        if (below * 2 >= total) break;
    }
    return {Box{box.begin, middle}, Box{middle, box.end}};
}

uint32_t meanColour(const Box& box, const std::vector<Counted>& colours) {
    std::array<double, 3> sum{};
    double weight = 0;
    for (size_t i = box.begin; i < box.end; ++i) {
        for (int c = 0; c < 3; ++c) sum[c] += double(colours[i].count) * channel(colours[i].rgb, c);
        weight += colours[i].count;
    }
    uint32_t rgb = 0;
    for (int c = 0; c < 3; ++c) rgb = rgb << 8 | static_cast<uint32_t>(sum[c] / weight + 0.5);
    return rgb;
}

}  // namespace

ClipPalette::ClipPalette() : table_(1u << 24), entries_(256, 0) {}

void ClipPalette::count(const Image& image) {
    const uint8_t* pixel = image.pixels;
    for (int32_t i = 0; i < image.count(); ++i, pixel += 4) ++table_[rgbAt(pixel)];
}

void ClipPalette::make() {
    std::vector<Counted> counted;
    for (uint32_t rgb = 0; rgb < table_.size(); ++rgb)
        if (table_[rgb]) counted.push_back({rgb, table_[rgb]});
    std::vector<Box> boxes;
    if (!counted.empty()) boxes.push_back(Box{0, counted.size()});
    if (!boxes.empty()) measure(boxes[0], counted);
    while (boxes.size() < static_cast<size_t>(colours)) {
        auto widest = std::max_element(boxes.begin(), boxes.end(),
                                       [](const Box& a, const Box& b) { return a.spread < b.spread; });
        if (widest == boxes.end() || widest->spread < 0) break;  // every box holds one colour
        auto [low, high] = cut(*widest, counted);
        measure(low, counted);
        measure(high, counted);
        *widest = low;
        boxes.push_back(high);
    }
    // Entries sorted by colour, so that the palette does not depend on the cutting order.
    std::vector<uint32_t> chosen;
    for (const Box& box : boxes) chosen.push_back(meanColour(box, counted));
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    for (size_t i = 0; i < chosen.size(); ++i) entries_[i] = 0xFF000000u | chosen[i];
    entries_[transparent] = 0;  // see-through: the GIF encoder's mark for unchanged pixels
    usedEntries_ = static_cast<int>(chosen.size());
    std::fill(table_.begin(), table_.end(), 0u);
}

uint8_t ClipPalette::nearest(uint32_t rgb) {
    uint32_t& known = table_[rgb];
    if (known) return static_cast<uint8_t>(known - 1);
    int best = 0, bestDistance = 1 << 30;
    for (int i = 0; i < std::max(usedEntries_, 1); ++i) {
        int distance = 0;
        for (int c = 0; c < 3; ++c) {
            const int d = channel(rgb, c) - channel(entries_[static_cast<size_t>(i)], c);
            distance += d * d;
        }
        if (distance < bestDistance) bestDistance = distance, best = i;
    }
    known = static_cast<uint32_t>(best) + 1;
    return static_cast<uint8_t>(best);
}

void ClipPalette::map(const Image& image, int scale, uint8_t* out, int stride) {
    row_.resize(static_cast<size_t>(image.width));
    for (int32_t y = 0; y < image.height; ++y) {
        const uint8_t* pixel = image.pixels + static_cast<size_t>(y) * static_cast<size_t>(image.width) * 4;
        for (int32_t x = 0; x < image.width; ++x, pixel += 4) row_[static_cast<size_t>(x)] = nearest(rgbAt(pixel));
        for (int i = 0; i < scale; ++i, out += stride) {
            uint8_t* target = out;
            for (uint8_t index : row_) target = std::fill_n(target, scale, index);
        }
    }
}
