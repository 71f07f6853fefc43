#include "flash/flash_plot.h"

#include <algorithm>

#include "flash/plot_canvas.h"

namespace flash {
namespace {

constexpr int plotWidth = 1200;
constexpr int leftMargin = 50, rightMargin = 150;  // the value labels; the limits' labels
constexpr int panelHeight = 170, titleSpace = 24, axisSpace = 40, lineSpace = 20;
constexpr uint32_t paper = 0xFFFFFF, shade = 0xECEEF2, grid = 0xDCDCDC, ink = 0x000000, bound = 0x8C8C8C,
                   warnColour = 0xE08A00, failColour = 0xD21E1E, generalColour = 0x283C96, redColour = 0xE0201E;

// Where frames go across.
struct TimeScale {
    int x0, x1;
    size_t frames;
    int columnOf(size_t frame) const { return x0 + static_cast<int>(frame * static_cast<size_t>(x1 - x0) / frames); }
    size_t frameOf(int x) const { return static_cast<size_t>(x - x0) * frames / static_cast<size_t>(x1 - x0); }
};

void drawScenes(PlotCanvas& canvas, const TimeScale& scale, const std::vector<SceneSpan>& spans, int top, int bottom) {
    for (size_t s = 0; s < spans.size(); ++s) {
        const int x0 = scale.columnOf(spans[s].first), x1 = scale.columnOf(spans[s].end);
        if (s % 2 == 1) canvas.fill(x0, top, x1 - x0, bottom - top, shade);
        if (s > 0) canvas.column(x0, top, bottom, bound);
        const std::string number = spans[s].scene < 0 ? "" : std::to_string(spans[s].scene);
        if (PlotCanvas::textWidth(number, 1) + 4 <= x1 - x0) canvas.text(x0 + 3, top + 3, number, bound, 1);
    }
}

// The most of one kind in each column's frames.
int mostIn(const FlashRecord& record, Reading reading, size_t first, size_t end, bool red) {
    int most = 0;
    for (size_t i = first; i < end; ++i) {
        const KindCounts c = countsOf(record.frames[i], reading);
        most = std::max(most, red ? c.red : c.general);
    }
    return most;
}

bool extendedIn(const FlashRecord& record, size_t first, size_t end) {
    for (size_t i = first; i < end; ++i)
        if (record.frames[i].extendedMs >= extendedLimitMs) return true;
    return false;
}

void drawLimits(PlotCanvas& canvas, const TimeScale& scale, int base, int perUnit, int top) {
    const struct {
        int value;
        uint32_t colour;
        const char* label;
    } limits[] = {{warningFrom, warnColour, "4 TO 6: WARNING"}, {transitionLimit + 1, failColour, "7 AND MORE: FAIL"}};
    for (const auto& limit : limits) {
        const int y = base - limit.value * perUnit;
        if (y < top) continue;
        canvas.row(scale.x0, scale.x1, y, limit.colour, limit.value == warningFrom ? 6 : 0);
        canvas.text(scale.x1 + 6, y - PlotCanvas::textHeight(1) / 2, limit.label, limit.colour, 1);
    }
}

// A grid line and a label every so many transitions that labels stay apart.
void drawValueAxis(PlotCanvas& canvas, const TimeScale& scale, int base, int perUnit, int most) {
    int step = 1;
    while (step * perUnit < 2 * PlotCanvas::textHeight()) step = step == 1 ? 2 : step == 2 ? 5 : step * 2;
    for (int n = 0; n <= most; n += step) {
        const int y = base - n * perUnit;
        if (n > 0) canvas.row(scale.x0, scale.x1, y, grid, 2);
        const std::string label = std::to_string(n);
        canvas.text(scale.x0 - 6 - PlotCanvas::textWidth(label), y - PlotCanvas::textHeight() / 2, label, ink);
    }
}

// One reading's panel with its title above it; returns the y below it.
int drawPanel(PlotCanvas& canvas, const TimeScale& scale, const FlashRecord& record, Reading reading, int top) {
    const std::string title = reading == Reading::Wcag
                                  ? "WCAG 2.3.1: TRANSITIONS IN A SECOND, THE MOST OF ANY " +
                                        std::to_string(record.field.width) + "X" + std::to_string(record.field.height) + " FIELD"
                                  : std::string("BROADCAST: TRANSITIONS IN A SECOND OVER THE WHOLE SCREEN");
    canvas.text(scale.x0, top, title, ink);
    top += titleSpace;
    const Summary s = summarise(record, reading, 0, record.frames.size());
    const int most = std::max({transitionLimit + 2, s.general.transitions + 1, s.red.transitions + 1});
    const int perUnit = std::max(1, (panelHeight - 8) / most), base = top + panelHeight - 1;
    drawScenes(canvas, scale, sceneSpans(record), top, base);
    drawValueAxis(canvas, scale, base, perUnit, most);
    for (int x = scale.x0; x < scale.x1; ++x) {
        const size_t first = scale.frameOf(x), end = std::max(first + 1, scale.frameOf(x + 1));
        const int general = mostIn(record, reading, first, end, false), red = mostIn(record, reading, first, end, true);
        canvas.column(x, base - general * perUnit, base, generalColour);
        if (red > 0) canvas.column(x, base - red * perUnit - 1, base - red * perUnit + 2, redColour);
        if (reading == Reading::Broadcast && extendedIn(record, first, end)) canvas.column(x, base + 3, base + 9, failColour);
    }
    drawLimits(canvas, scale, base, perUnit, top);
    canvas.row(scale.x0, scale.x1, base, ink);
    canvas.column(scale.x0 - 1, top, base + 1, ink);
    if (reading == Reading::Broadcast) canvas.text(scale.x1 + 6, base + 3, "EXTENDED: FAIL", failColour, 1);
    return base + 1;
}

void drawTimeAxis(PlotCanvas& canvas, const TimeScale& scale, int fps, int y, bool titled) {
    for (int64_t second = 0; second * fps < static_cast<int64_t>(scale.frames); second += 10) {
        const int x = scale.columnOf(static_cast<size_t>(second * fps));
        canvas.column(x, y, y + 5, ink);
        const std::string label = std::to_string(second);
        canvas.text(x - PlotCanvas::textWidth(label) / 2, y + 8, label, ink);
    }
    if (!titled) return;
    const std::string title = "TIME IN SECONDS";
    canvas.text((scale.x0 + scale.x1 - PlotCanvas::textWidth(title)) / 2, y + 8 + lineSpace, title, ink);
}

// The legend's words, each one box wide: the colours, then the scenes.
std::vector<std::string> legendItems(const FlashRecord& record, const std::vector<std::string>& names) {
    std::vector<std::string> items = {"GENERAL", "RED", "SCENES:"};
    for (const SceneSpan& span : sceneSpans(record)) {
        if (span.scene >= 0 && span.scene < static_cast<int>(names.size()))
            items.push_back(std::to_string(span.scene) + " " + names[static_cast<size_t>(span.scene)]);
    }
    if (items.size() == 3) items.pop_back();
    return items;
}

// Lays the legend out from `y`, wrapping at the right; returns its height.
int drawLegend(PlotCanvas* canvas, const std::vector<std::string>& items, int y) {
    int x = leftMargin, lines = 1;
    for (size_t i = 0; i < items.size(); ++i) {
        const int box = i < 2 ? 18 : 0, width = box + PlotCanvas::textWidth(items[i]) + 24;
        if (x + width > plotWidth - 10) x = leftMargin, ++lines;
        const int rowY = y + (lines - 1) * lineSpace;
        if (canvas && box) canvas->fill(x, rowY + 1, 12, 12, i == 0 ? generalColour : redColour);
        if (canvas) canvas->text(x + box, rowY, items[i], ink);
        x += width;
    }
    return lines * lineSpace;
}

}  // namespace

bool writeFlashPlot(const FlashRecord& record, const std::vector<std::string>& sceneNames, const std::string& file,
                    std::string& error) {
    const std::vector<std::string> legend = legendItems(record, sceneNames);
    const int panelsEnd = 10 + 2 * (titleSpace + panelHeight + axisSpace) + lineSpace;
    PlotCanvas canvas(plotWidth, panelsEnd + drawLegend(nullptr, legend, 0) + 10, paper);
    const TimeScale scale{leftMargin, plotWidth - rightMargin, std::max<size_t>(1, record.frames.size())};
    int y = drawPanel(canvas, scale, record, Reading::Wcag, 10);
    drawTimeAxis(canvas, scale, record.fps, y + 10, false);
    y = drawPanel(canvas, scale, record, Reading::Broadcast, y + axisSpace);
    drawTimeAxis(canvas, scale, record.fps, y + 10, true);
    drawLegend(&canvas, legend, panelsEnd);
    return canvas.write(file, error);
}

}  // namespace flash
