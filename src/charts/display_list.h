#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace orvex {

// A chart as the core computes it: a user coordinate system and the items to draw
// in order. The renderer (window, SVG file) only maps coordinates and draws.

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Rgb, Rgb) = default;
};

// The sixteen-colour palette entries the charts use.
inline constexpr Rgb kBlack { 0, 0, 0 };
inline constexpr Rgb kDarkBlue { 0, 0, 128 };
inline constexpr Rgb kDarkGreen { 0, 128, 0 };
inline constexpr Rgb kDarkCyan { 0, 128, 128 };
inline constexpr Rgb kDarkRed { 128, 0, 0 };

enum class DashStyle { Solid, Dash, Dot, DashDot, DashDotDot };

struct ChartPoint {
    double x = 0, y = 0;
    friend bool operator==(ChartPoint, ChartPoint) = default;
};

// A straight segment; width in device pixels, whatever the scale.
struct ChartLine {
    ChartPoint from, to;
    Rgb colour;
    int width = 1;
    DashStyle dash = DashStyle::Solid;
};

// Black text on a transparent background whose top-left corner sits at topLeft;
// the point size does not follow the scale.
struct ChartText {
    ChartPoint topLeft;
    std::string text; // UTF-8
    std::string font;
    double points = 0;
};

// The user coordinate system: x of the left and right edges, y of the top and
// bottom edges, y growing upward (top > bottom).
struct ChartFrame {
    double left = 0, top = 1, right = 1, bottom = 0;
    // False when the frame has no width or no height: nothing can be drawn in it.
    bool drawable() const { return right != left && top != bottom; }
};

using ChartItem = std::variant<ChartLine, ChartText>;

struct DisplayList {
    ChartFrame frame;
    std::vector<ChartItem> items;

    void add(ChartLine line) { items.emplace_back(std::move(line)); }
    void add(ChartText text) { items.emplace_back(std::move(text)); }

    std::vector<ChartLine> lines() const;
    std::vector<ChartText> texts() const;
};

inline std::vector<ChartLine> DisplayList::lines() const
{
    std::vector<ChartLine> out;
    for (const auto& item : items)
        if (const auto* line = std::get_if<ChartLine>(&item))
            out.push_back(*line);
    return out;
}

inline std::vector<ChartText> DisplayList::texts() const
{
    std::vector<ChartText> out;
    for (const auto& item : items)
        if (const auto* text = std::get_if<ChartText>(&item))
            out.push_back(*text);
    return out;
}

inline constexpr const char* kChartFont = "Arial";

} // namespace orvex
