#include "charts/svg_writer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace orvex {
namespace {

// Locale-independent number text: a program under a Spanish locale must still
// write "12.5", never "12,5".
std::string num(double value)
{
    if (!std::isfinite(value))
        value = 0;
    value = std::round(value * 100) / 100;
    if (value == 0)
        value = 0; // no "-0"
    std::array<char, 64> buffer {};
    const auto result = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    return std::string(buffer.data(), result.ptr);
}

std::string colour(Rgb c)
{
    static const char* hex = "0123456789abcdef";
    std::string s = "#";
    for (std::uint8_t part : { c.r, c.g, c.b }) {
        s += hex[part >> 4];
        s += hex[part & 15];
    }
    return s;
}

// Dash patterns in multiples of the line width, as the window's painter draws them.
const char* dashPattern(DashStyle dash)
{
    switch (dash) {
    case DashStyle::Dash:
        return "4 2";
    case DashStyle::Dot:
        return "1 2";
    case DashStyle::DashDot:
        return "4 2 1 2";
    case DashStyle::DashDotDot:
        return "4 2 1 2 1 2";
    case DashStyle::Solid:
        break;
    }
    return nullptr;
}

std::string scaledPattern(const char* pattern, int width)
{
    std::string out;
    for (const char* p = pattern; *p; ++p) {
        if (*p == ' ')
            out += ' ';
        else
            out += std::to_string((*p - '0') * width);
    }
    return out;
}

// Ascent of Arial and Liberation Sans as a fraction of the font size: the
// baseline lies this far below the text's top.
constexpr double kAscent = 0.905;
// A generous average character width of Arial as a fraction of the font size.
constexpr double kWideCharacter = 0.7;

// Drops bytes XML 1.0 does not allow (control characters other than tab and
// line breaks) so the document always parses.
bool allowedInXml(unsigned char c) { return c >= 0x20 || c == '\t' || c == '\n' || c == '\r'; }

// Liang–Barsky: cuts the segment to the picture, or returns false when nothing of
// it lies inside. Done here rather than with a clip path, which some renderers
// (ImageMagick among them) drop together with everything inside it.
bool clipToPicture(double& x1, double& y1, double& x2, double& y2, double width, double height)
{
    double t0 = 0, t1 = 1;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = { -dx, dx, -dy, dy };
    const double q[4] = { x1, width - x1, y1, height - y1 };
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const double ox = x1, oy = y1;
    x1 = ox + t0 * dx;
    y1 = oy + t0 * dy;
    x2 = ox + t1 * dx;
    y2 = oy + t1 * dy;
    return true;
}

struct Mapper {
    ChartFrame frame;
    double width, height;
    double x(double ux) const { return (ux - frame.left) / (frame.right - frame.left) * width; }
    double y(double uy) const { return (frame.top - uy) / (frame.top - frame.bottom) * height; }
};

} // namespace

std::string xmlEscape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            if (allowedInXml(static_cast<unsigned char>(ch)))
                out += ch;
        }
    }
    return out;
}

std::string toSvg(const DisplayList& list, int widthPx, int heightPx)
{
    const std::string w = std::to_string(widthPx);
    const std::string h = std::to_string(heightPx);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\""
        + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n";
    svg += "<rect x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h
        + "\" fill=\"#ffffff\" stroke=\"none\"/>\n";
    if (!list.frame.drawable() || widthPx <= 0 || heightPx <= 0)
        return svg + "</svg>\n";

    const Mapper map { list.frame, double(widthPx), double(heightPx) };
    for (const auto& item : list.items) {
        if (const auto* line = std::get_if<ChartLine>(&item)) {
            double x1 = map.x(line->from.x), y1 = map.y(line->from.y);
            double x2 = map.x(line->to.x), y2 = map.y(line->to.y);
            if (!clipToPicture(x1, y1, x2, y2, map.width, map.height))
                continue;
            svg += "<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2)
                + "\" y2=\"" + num(y2) + "\" stroke=\"" + colour(line->colour)
                + "\" shape-rendering=\"crispEdges\" stroke-width=\"" + std::to_string(line->width)
                + "\" stroke-linecap=\"butt\"";
            if (const char* pattern = dashPattern(line->dash))
                svg += " stroke-dasharray=\"" + scaledPattern(pattern, line->width) + "\"";
            svg += "/>\n";
        } else if (const auto* text = std::get_if<ChartText>(&item)) {
            const double px = text->points * 96.0 / 72.0;
            // A text that may run past either side is moved inside instead of being
            // cut (its width is only known to the viewer: estimate it wide).
            const double left = std::max(0.0, map.x(text->topLeft.x));
            const bool atEdge
                = left + kWideCharacter * px * static_cast<double>(text->text.size()) > map.width;
            svg += "<text x=\"" + num(atEdge ? map.width : left) + "\" y=\""
                + num(map.y(text->topLeft.y) + kAscent * px) + "\""
                + (atEdge ? " text-anchor=\"end\"" : "") + " font-family=\"" + xmlEscape(text->font)
                + ", 'Liberation Sans', sans-serif\" font-size=\"" + num(px)
                + "px\" fill=\"#000000\" xml:space=\"preserve\">" + xmlEscape(text->text)
                + "</text>\n";
        }
    }
    return svg + "</svg>\n";
}

} // namespace orvex
