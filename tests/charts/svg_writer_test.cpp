#include "charts/charts_test_util.h"
#include "charts/svg_writer.h"

#include <gtest/gtest.h>

#include <clocale>
#include <regex>

namespace orvex {
namespace {

using test::count;

// Frame 0..10 both ways.
std::string svgOf(ChartItem item, int widthPx = 100, int heightPx = 100)
{
    DisplayList list;
    list.frame = { 0, 10, 10, 0 };
    list.items.push_back(std::move(item));
    return toSvg(list, widthPx, heightPx);
}

TEST(SvgWriter, LinesMapOntoThePictureCutAtItsEdgesWithTheirPattern)
{
    struct Case {
        ChartPoint from, to;
        DashStyle dash;
        int width;
        std::array<int, 4> pixels; // x1 y1 x2 y2; −1: wholly outside, left out
        const char* pattern; // scales with the width; "" when solid
    };
    // On 200 × 100 pixels: y grows upward in the frame, downward on paper.
    const Case cases[] = {
        { { 0, 0 }, { 10, 10 }, DashStyle::Solid, 2, { 0, 100, 200, 0 }, "" },
        { { 5, 5 }, { 2.5, 7.5 }, DashStyle::Dash, 1, { 100, 50, 50, 25 }, "4 2" },
        { { -5, 5 }, { 15, 5 }, DashStyle::Dot, 1, { 0, 50, 200, 50 }, "1 2" },
        { { 5, 20 }, { 5, -20 }, DashStyle::DashDot, 2, { 100, 0, 100, 100 }, "8 4 2 4" },
        { { -10, -5 }, { 10, 15 }, DashStyle::DashDotDot, 1, { 0, 50, 100, 0 }, "4 2 1 2 1 2" },
        { { -5, 0 }, { 0, -5 }, DashStyle::Solid, 1, { -1 }, "" }, // touches the corner
        { { -1, 20 }, { -1, -20 }, DashStyle::Solid, 1, { -1 }, "" },
        { { 11, 5 }, { 12, 5 }, DashStyle::Solid, 1, { -1 }, "" },
    };
    for (const auto& c : cases) {
        const auto& p = c.pixels;
        const std::string at = "x1=\"" + std::to_string(p[0]) + "\" y1=\"" + std::to_string(p[1])
            + "\" x2=\"" + std::to_string(p[2]) + "\" y2=\"" + std::to_string(p[3]) + "\"";
        SCOPED_TRACE(at);
        const std::string svg
            = svgOf(ChartLine { c.from, c.to, kDarkRed, c.width, c.dash }, 200, 100);
        EXPECT_EQ(count(svg, "<line"), p[0] < 0 ? 0 : 1) << svg;
        if (p[0] < 0)
            continue;
        EXPECT_EQ(count(svg, at + " stroke=\"#800000\""), 1) << svg;
        EXPECT_EQ(count(svg, "stroke-width=\"" + std::to_string(c.width) + "\""), 1);
        const std::string dash = *c.pattern ? "=\"" + std::string(c.pattern) + "\"" : "";
        EXPECT_EQ(count(svg, "stroke-dasharray" + dash), *c.pattern ? 1 : 0);
    }
}

TEST(SvgWriter, TextKeepsItsPointSizeAndTopLeftCorner)
{
    for (int width : { 200, 1000 }) {
        SCOPED_TRACE(width);
        const std::string svg = svgOf(ChartText { { 5, 10 }, "DIAGRAMA", "Arial", 7.5 }, width);
        // 7.5 pt at 96 dpi is 10 px; the baseline sits one ascent (0.905 em) below the top.
        EXPECT_EQ(count(svg, "font-size=\"10px\""), 1) << svg;
        EXPECT_EQ(count(svg, "y=\"9.05\""), 1) << svg;
        EXPECT_EQ(count(svg, "x=\"" + std::to_string(width / 2) + "\""), 1);
        EXPECT_EQ(count(svg, "text-anchor"), 0);
        EXPECT_EQ(count(svg, "font-family=\"Arial, 'Liberation Sans', sans-serif\""), 1);
    }
    // Placed at mid-width of a 100-pixel picture the text would run past the
    // right edge: it ends at the edge instead of being cut.
    const std::string edge = svgOf(ChartText { { 5, 10 }, "DIAGRAMA", "Arial", 7.5 }, 100);
    EXPECT_EQ(count(edge, "x=\"100\" y=\"9.05\" text-anchor=\"end\""), 1) << edge;
    // Left of the picture, it starts at the left edge.
    const std::string left = svgOf(ChartText { { -3, 10 }, "0", "Arial", 7.5 }, 1000);
    EXPECT_EQ(count(left, "x=\"0\" y=\"9.05\""), 1) << left;
}

TEST(SvgWriter, EscapesTextAndDropsControlCharacters)
{
    const std::pair<const char*, const char*> cases[] = {
        { "a<b>&c", "a&lt;b&gt;&amp;c" },
        { "\"q\" 'a'", "&quot;q&quot; &apos;a&apos;" },
        { "x\x01y\x1f", "xy" },
        { "Período", "Período" },
    };
    for (const auto& [text, escaped] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(xmlEscape(text), escaped);
        const std::string svg = svgOf(ChartText { { 0, 0 }, text, "Arial", 7 }, 10, 10);
        EXPECT_EQ(count(svg, std::string(">") + escaped + "</text>"), 1) << svg;
    }
}

TEST(SvgWriter, FrameWithoutSizeGivesAnEmptyPicture)
{
    DisplayList list;
    list.frame = { 3, 1, 3, 0 };
    list.add(ChartLine { { 0, 0 }, { 1, 1 }, kBlack, 1, DashStyle::Solid });
    const std::string svg = toSvg(list, 612, 348);
    EXPECT_EQ(count(svg, "<line"), 0);
    EXPECT_EQ(count(svg, "width=\"612\" height=\"348\" viewBox=\"0 0 612 348\""), 1);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

TEST(SvgWriter, NumbersUseAPointWhateverTheLocale)
{
    // The desktop program runs under the user's locale; a comma here would break the file.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    const bool switched
        = std::setlocale(LC_NUMERIC, "es_CO.UTF-8") || std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    const std::string svg
        = svgOf(ChartLine { { 1.25, 0 }, { 1.25, 10 }, kBlack, 1, DashStyle::Solid });
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(count(svg, "x1=\"12.5\""), 1) << svg;
    EXPECT_FALSE(std::regex_search(svg, std::regex("\"[0-9-]+,[0-9]+\"")))
        << "locale switched: " << switched;
}

} // namespace
} // namespace orvex
