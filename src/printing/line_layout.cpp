#include "printing/line_layout.h"

#include "common/numbers.h"
#include "printing/line_prefix.h"

#include <algorithm>

namespace orvex {
namespace {

double widthAt(const FontMetrics& metrics, FontSpec font, double points, std::string_view text)
{
    font.points = points;
    return metrics.textWidth(font, text);
}

void applyStyle(FontSpec& font, unsigned char style)
{
    font.bold = style == kStyleBold || style == kStyleBoldItalic || style == kStyleBoldUnderlined;
    font.italic = style == kStyleItalic || style == kStyleBoldItalic;
    font.underline = style == kStyleUnderlined || style == kStyleBoldUnderlined;
}

// The size a prefix asks for: code 8 is 8.5 points, or 8 when the printer would round
// 8.5 up; code 0 is read as the smallest size a font can have.
double sizeFor(unsigned char code, FontSpec font, const FontMetrics& metrics)
{
    if (code != 8)
        return std::max<double>(code, 1);
    font.points = 8.5;
    return metrics.givenSize(font) > 8.5 ? 8 : 8.5;
}

// Each character on its own: at a fixed pitch, or centred in the width of "A" (cells);
// blanks draw nothing but take their room.
void printCharacters(
    LineLayout& out, std::string_view text, double x, bool cells, const FontMetrics& metrics)
{
    const double pts = out.font.points;
    const bool pitched = pts > 7.6 && pts <= 8.5;
    if (!pitched && !cells) {
        out.runs.push_back({ x, std::string(text) });
        return;
    }
    const double cell = pitched ? 0 : metrics.textWidth(out.font, "A");
    for (char c : text) {
        const double x0 = x;
        if (pitched) {
            if (c != ' ')
                out.runs.push_back({ x0, std::string(1, c) });
            x = x0 + kSmallPitchTwips;
            continue;
        }
        const double w = metrics.textWidth(out.font, std::string_view(&c, 1));
        if (c != ' ')
            out.runs.push_back({ x0 + (cell - w) / 2, std::string(1, c) });
        x = x0 + cell;
    }
}

} // namespace

LineLayout layoutLine(
    std::string_view line, double y, const LayoutContext& context, const FontMetrics& metrics)
{
    LineLayout out;
    out.y = y;
    out.font.family = context.family;
    const SplitLine split = splitLine(line);
    out.font.points = sizeFor(split.size(), out.font, metrics);
    applyStyle(out.font, split.style());
    if (context.plainText)
        out.font.points = context.widest > 96 ? 8 : context.widest > 80 ? 10 : 12;

    const unsigned char align = split.alignment();
    std::string_view text = split.text;
    double x = 0;
    if (align == kAlignJustified) {
        out.runs = ajusteAnchoMaximo(text, out.font, context, metrics);
    } else {
        if (align == kAlignRight || align == kAlignCentre) {
            text = trimSpaces(text);
            const double room = kLineWidthTwips - metrics.textWidth(out.font, text);
            x = align == kAlignRight ? room : room / 2;
        } else if (align == kAlignLeadIndent || align == kAlignLeadIndentCells) {
            const std::size_t lead = leadingSpaces(text);
            if (lead > 0 && lead < text.size()) {
                x = widthAt(metrics, out.font, 11, text.substr(0, lead));
                text.remove_prefix(lead);
            }
        }
        const bool cells = align == kAlignCells || align == kAlignLeadIndentCells;
        if (!trimSpaces(text).empty())
            printCharacters(out, text, x, cells, metrics);
    }
    out.nextY = out.font.points < 16 ? y + kLineAdvanceTwips * context.espaciamientoLineas
                                     : y + metrics.lineHeight(out.font);
    return out;
}

std::vector<TextRun> ajusteAnchoMaximo(std::string_view text, const FontSpec& font,
    const LayoutContext& context, const FontMetrics& metrics)
{
    const std::size_t lead = leadingSpaces(text);
    const std::string leadBlanks(lead, ' ');
    const double leadWidth = metrics.textWidth(font, leadBlanks);
    const double avail
        = nearest(kLineWidthTwips - leadWidth - context.margenDerechoCm * kTwipsPerCm);
    const std::string_view words = trimSpaces(text);
    // The first word starts where lead blanks at 11 points end.
    double x = widthAt(metrics, font, 11, leadBlanks);
    const auto gaps = std::count(words.begin(), words.end(), ' ');
    std::vector<TextRun> runs;
    if (gaps < 1) {
        if (!words.empty())
            runs.push_back({ x, std::string(words) });
        return runs;
    }
    const double room = avail - metrics.textWidth(font, words);
    // A text wider than the room would need negative gaps and print its words over each
    // other; it prints as it is instead.
    if (room < 0) {
        runs.push_back({ x, std::string(words) });
        return runs;
    }
    const double gap = nearest(room / static_cast<double>(gaps));
    const double last = room - gap * static_cast<double>(gaps - 1);
    double at = leadWidth;
    long blank = 0;
    bool inWord = false;
    for (char c : words) {
        const double w = metrics.textWidth(font, std::string_view(&c, 1));
        at += w;
        if (c != ' ') {
            // A word is drawn as one run where its first character would print.
            if (!inWord)
                runs.push_back({ x, {} });
            inWord = true;
            runs.back().text += c;
            x += w;
            continue;
        }
        inWord = false;
        ++blank;
        at += blank == gaps ? last : gap;
        x = at;
    }
    return runs;
}

} // namespace orvex
