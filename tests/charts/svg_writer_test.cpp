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

TEST(SvgWriter, MapsTheFrameOntoThePictureAndCutsAtItsEdges)
{
    struct Case {
        ChartPoint from, to;
        const char* expected; // nullptr: wholly outside, left out
    };
    // On 200 × 100 pixels: y grows upward in the frame, downward on paper.
    const Case cases[] = {
        { { 0, 0 }, { 10, 10 }, "x1=\"0\" y1=\"100\" x2=\"200\" y2=\"0\"" },
        { { 5, 5 }, { 2.5, 7.5 }, "x1=\"100\" y1=\"50\" x2=\"50\" y2=\"25\"" },
        { { -5, 5 }, { 15, 5 }, "x1=\"0\" y1=\"50\" x2=\"200\" y2=\"50\"" },
        { { 5, 20 }, { 5, -20 }, "x1=\"100\" y1=\"0\" x2=\"100\" y2=\"100\"" },
        { { -10, -5 }, { 10, 15 }, "x1=\"0\" y1=\"50\" x2=\"100\" y2=\"0\"" },
        { { -5, 0 }, { 0, -5 }, nullptr }, // touches the corner only
        { { -1, 20 }, { -1, -20 }, nullptr },
        { { 11, 5 }, { 12, 5 }, nullptr },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected ? c.expected : "outside");
        const std::string svg
            = svgOf(ChartLine { c.from, c.to, kDarkRed, 1, DashStyle::Solid }, 200, 100);
        EXPECT_EQ(count(svg, "<line"), c.expected ? 1 : 0) << svg;
        if (c.expected) {
            EXPECT_EQ(count(svg, c.expected), 1) << svg;
            EXPECT_EQ(count(svg, "stroke=\"#800000\""), 1);
        }
    }
}

TEST(SvgWriter, DashPatternsScaleWithTheLineWidth)
{
    struct Case {
        DashStyle dash;
        int width;
        const char* expected; // nullptr: solid, no pattern
    };
    const Case cases[] = {
        { DashStyle::Solid, 2, nullptr },
        { DashStyle::Dash, 1, "stroke-dasharray=\"4 2\"" },
        { DashStyle::Dot, 1, "stroke-dasharray=\"1 2\"" },
        { DashStyle::DashDot, 2, "stroke-dasharray=\"8 4 2 4\"" },
        { DashStyle::DashDotDot, 1, "stroke-dasharray=\"4 2 1 2 1 2\"" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.dash));
        const std::string svg = svgOf(ChartLine { { 0, 0 }, { 1, 1 }, kBlack, c.width, c.dash });
        EXPECT_EQ(count(svg, "stroke-width=\"" + std::to_string(c.width) + "\""), 1);
        EXPECT_EQ(count(svg, c.expected ? c.expected : "stroke-dasharray"), c.expected ? 1 : 0)
            << svg;
    }
}

TEST(SvgWriter, TextKeepsItsPointSizeAndTopLeftCorner)
{
    for (int width : { 100, 1000 }) {
        SCOPED_TRACE(width);
        const std::string svg = svgOf(ChartText { { 5, 10 }, "DIAGRAMA", "Arial", 7.5 }, width);
        // 7.5 pt at 96 dpi is 10 px; the baseline sits one ascent (0.905 em) below the top.
        EXPECT_EQ(count(svg, "font-size=\"10px\""), 1) << svg;
        EXPECT_EQ(count(svg, "y=\"9.05\""), 1) << svg;
        EXPECT_EQ(count(svg, "x=\"" + std::to_string(width / 2) + "\""), 1);
        EXPECT_EQ(count(svg, "font-family=\"Arial, 'Liberation Sans', sans-serif\""), 1);
    }
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
    EXPECT_EQ(count(svg, "<svg"), 1);
    EXPECT_EQ(count(svg, "</svg>"), 1);
    EXPECT_EQ(count(svg, "width=\"612\" height=\"348\" viewBox=\"0 0 612 348\""), 1);
}

TEST(SvgWriter, NumbersUseAPointWhateverTheLocale)
{
    // The desktop program runs under the user's locale; a comma here would break the file.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    const bool switched
        = std::setlocale(LC_NUMERIC, "es_CO.UTF-8") || std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    const std::string svg = svgOf(ChartLine { { 1.25, 0 }, { 1.25, 10 }, kBlack, 1, DashStyle::Solid });
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(count(svg, "x1=\"12.5\""), 1) << svg;
    EXPECT_FALSE(std::regex_search(svg, std::regex("\"[0-9-]+,[0-9]+\"")))
        << "locale switched: " << switched;
}

} // namespace
} // namespace orvex
