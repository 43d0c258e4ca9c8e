#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvex {

// Positions on the page printer are in twips; a line is 11520 twips (8 inches) wide.
inline constexpr double kLineWidthTwips = 11520;
inline constexpr double kTwipsPerCm = 11520 / 21.59;
// The fixed pitch of 8 and 8.5-point lines, about 17 characters an inch.
inline constexpr double kSmallPitchTwips = 86;
// A line's advance below 16 points at spacing 1 (6 lines an inch).
inline constexpr double kLineAdvanceTwips = 240;

struct FontSpec {
    std::string family;
    double points = 12;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// What the layout asks of the printer. Texts are Windows-1252 bytes; lengths in twips.
class FontMetrics {
public:
    virtual ~FontMetrics() = default;
    virtual double textWidth(const FontSpec& font, std::string_view text) const = 0;
    // The size the printer really gives when font.points is asked for.
    virtual double givenSize(const FontSpec& font) const = 0;
    // How far down a line end moves in this font.
    virtual double lineHeight(const FontSpec& font) const = 0;
};

// One piece of text drawn at x on the line.
struct TextRun {
    double x = 0;
    std::string text;
    friend bool operator==(const TextRun&, const TextRun&) = default;
};

// What one report line draws: the font, the runs at the line's top y, and where the next
// line starts.
struct LineLayout {
    FontSpec font;
    double y = 0;
    std::vector<TextRun> runs;
    double nextY = 0;
};

// What the layout needs from the report and the settings.
struct LayoutContext {
    std::string family; // the printer font
    int widest = 80; // the report's widest line, in characters
    bool plainText = false; // no line of the report carried a prefix
    double margenDerechoCm = 2;
    double espaciamientoLineas = 1;
};

// Lays out one report line (prefix included) whose top is at y: size, style and
// alignment from the prefix (a plain report gets 12, 10 or 8 points by its width);
// 8 and 8.5-point text at a fixed 86-twip pitch; cell layouts for alignments 5 and 7;
// justified lines by ajusteAnchoMaximo. Below 16 points the next line is
// 240 x spacing twips down, else one line height of the font.
LineLayout layoutLine(
    std::string_view line, double y, const LayoutContext& context, const FontMetrics& metrics);

// AjusteAnchoMaximo: the runs of text spread so that its right end lies at the line
// width less the right margin, the last gap taking the remainder; a text without blanks
// between words, or too wide for that room, is one run. font is the line's font.
std::vector<TextRun> ajusteAnchoMaximo(std::string_view text, const FontSpec& font,
    const LayoutContext& context, const FontMetrics& metrics);

} // namespace orvex
