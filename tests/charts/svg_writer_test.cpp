#include "charts/svg_writer.h"

#include <gtest/gtest.h>

#include <clocale>
#include <regex>

namespace orvex {
namespace {

int count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (auto pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1))
        ++n;
    return n;
}

DisplayList square()
{
    DisplayList list;
    list.frame = { 0, 10, 10, 0 };
    return list;
}

TEST(SvgWriter, MapsTheFrameOntoThePicture)
{
    struct Case {
        ChartPoint from, to;
        const char* expected;
    };
    // Frame 0..10 both ways on 200 × 100 pixels: y grows upward in the frame, downward on paper.
    const Case cases[] = {
        { { 0, 0 }, { 10, 10 }, "x1=\"0\" y1=\"100\" x2=\"200\" y2=\"0\"" },
        { { 5, 5 }, { 2.5, 7.5 }, "x1=\"100\" y1=\"50\" x2=\"50\" y2=\"25\"" },
        // Cut at the edges of the picture.
        { { -5, 5 }, { 15, 5 }, "x1=\"0\" y1=\"50\" x2=\"200\" y2=\"50\"" },
        { { 5, 20 }, { 5, -20 }, "x1=\"100\" y1=\"0\" x2=\"100\" y2=\"100\"" },
        { { -10, -5 }, { 10, 15 }, "x1=\"0\" y1=\"50\" x2=\"100\" y2=\"0\"" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        DisplayList list = square();
        list.add(ChartLine { c.from, c.to, kDarkRed, 1, DashStyle::Solid });
        const std::string svg = toSvg(list, 200, 100);
        EXPECT_NE(svg.find(c.expected), std::string::npos) << svg;
        EXPECT_NE(svg.find("stroke=\"#800000\""), std::string::npos);
    }
}

TEST(SvgWriter, LinesWhollyOutsideAreLeftOut)
{
    DisplayList list = square();
    list.add(ChartLine { { -5, 0 }, { 0, -5 }, kBlack, 1, DashStyle::Solid }); // passes the corner
    list.add(ChartLine { { -1, 20 }, { -1, -20 }, kBlack, 1, DashStyle::Dot });
    list.add(ChartLine { { 11, 5 }, { 12, 5 }, kBlack, 1, DashStyle::Solid });
    list.add(ChartLine { { 1, 1 }, { 2, 2 }, kDarkRed, 1, DashStyle::Solid });
    const std::string svg = toSvg(list, 100, 100);
    EXPECT_EQ(count(svg, "<line"), 1) << svg;
    EXPECT_EQ(count(svg, "#800000"), 1);
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
        SCOPED_TRACE(c.width);
        DisplayList list = square();
        list.add(ChartLine { { 0, 0 }, { 1, 1 }, kBlack, c.width, c.dash });
        const std::string svg = toSvg(list, 100, 100);
        EXPECT_NE(svg.find("stroke-width=\"" + std::to_string(c.width) + "\""), std::string::npos);
        if (c.expected)
            EXPECT_NE(svg.find(c.expected), std::string::npos) << svg;
        else
            EXPECT_EQ(svg.find("stroke-dasharray"), std::string::npos);
    }
}

TEST(SvgWriter, TextKeepsItsPointSizeAndTopLeftCorner)
{
    for (int width : { 100, 1000 }) {
        SCOPED_TRACE(width);
        DisplayList list = square();
        list.add(ChartText { { 5, 10 }, "DIAGRAMA", "Arial", 7.5 });
        const std::string svg = toSvg(list, width, 100);
        // 7.5 pt at 96 dpi is 10 px; the baseline sits one ascent (0.905 em) below the top.
        EXPECT_NE(svg.find("font-size=\"10px\""), std::string::npos) << svg;
        EXPECT_NE(svg.find("y=\"9.05\""), std::string::npos) << svg;
        EXPECT_NE(svg.find("x=\"" + std::to_string(width / 2) + "\""), std::string::npos);
        EXPECT_NE(
            svg.find("font-family=\"Arial, 'Liberation Sans', sans-serif\""), std::string::npos);
    }
}

TEST(SvgWriter, EscapesTextAndDropsControlCharacters)
{
    struct Case {
        const char* text;
        const char* escaped;
    };
    const Case cases[] = {
        { "a<b>&c", "a&lt;b&gt;&amp;c" },
        { "\"q\" 'a'", "&quot;q&quot; &apos;a&apos;" },
        { "x\x01y\x1f", "xy" },
        { "Período", "Período" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(xmlEscape(c.text), c.escaped);
        DisplayList list = square();
        list.add(ChartText { { 0, 0 }, c.text, "Arial", 7 });
        EXPECT_NE(
            toSvg(list, 10, 10).find(std::string(">") + c.escaped + "</text>"), std::string::npos);
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
    EXPECT_NE(svg.find("width=\"612\" height=\"348\""), std::string::npos);
}

TEST(SvgWriter, NumbersUseAPointWhateverTheLocale)
{
    // The desktop program runs under the user's locale; a comma here would break the file.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    const bool switched
        = std::setlocale(LC_NUMERIC, "es_CO.UTF-8") || std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    DisplayList list = square();
    list.add(ChartLine { { 1.25, 0 }, { 1.25, 10 }, kBlack, 1, DashStyle::Solid });
    const std::string svg = toSvg(list, 100, 100);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_NE(svg.find("x1=\"12.5\""), std::string::npos) << svg;
    EXPECT_FALSE(std::regex_search(svg, std::regex("\"[0-9-]+,[0-9]+\"")))
        << "locale switched: " << switched;
}

} // namespace
} // namespace orvex
