#include "printing/page_printer.h"
#include "printing_test_util.h"

#include <sstream>

namespace orvex {
namespace {

using test::line;

// A monospaced printer font, 0.6 em a character ('i' half that), whose 8.5 points may
// come out as 9.
class FakeMetrics : public FontMetrics {
public:
    double textWidth(const FontSpec& font, std::string_view text) const override
    {
        double w = 0;
        for (char c : text)
            w += font.points * (c == 'i' ? 6 : 12);
        return w;
    }
    double givenSize(const FontSpec& font) const override
    {
        return roundsUp && font.points == 8.5 ? 9 : font.points;
    }
    double lineHeight(const FontSpec& font) const override { return font.points * 25; }
    bool roundsUp = false;
};

std::string runs(const LineLayout& layout)
{
    std::ostringstream out;
    for (const auto& run : layout.runs)
        out << run.text << "@" << run.x << " ";
    return out.str();
}

TEST(LayoutLine, SizeStyleAlignmentAndAdvance)
{
    struct Case {
        const char* what;
        std::string line;
        LayoutContext context;
        bool roundsUp;
        double points;
        bool bold;
        std::string runs;
        double nextY; // from a line top at 1000
    };
    const LayoutContext prefixed { "Courier New", 80, false, 2, 1 };
    const LayoutContext doubled { "Courier New", 80, false, 2, 2 };
    auto plain = [](int widest) { return LayoutContext { "Courier New", widest, true, 2, 1 }; };
    const Case cases[] = {
        { "14-point bold centred", line("0312", "Hola"), prefixed, false, 14, true, "Hola@5424 ",
            1240 },
        { "no prefix: 12 points at the left", "  Hola", prefixed, false, 12, false, "  Hola@0 ",
            1240 },
        { "right: trimmed text ends at 11520", line("1", "ab  "), prefixed, false, 12, false,
            "ab@11232 ", 1240 },
        { "8.5 points at an 86-twip pitch", line("0100", "ab c"), prefixed, false, 8.5, false,
            "a@0 b@86 c@258 ", 1240 },
        { "8.5 rounded up falls back to 8", line("0100", "ab c"), prefixed, true, 8, false,
            "a@0 b@86 c@258 ", 1240 },
        { "spacing 2", line("0", "x"), doubled, false, 12, false, "x@0 ", 1480 },
        { "20 points: the font's own line end", line("0600", "x"), doubled, false, 20, false,
            "x@0 ", 1500 },
        { "plain 100 wide: 8 points, pitched", "ab", plain(100), false, 8, false, "a@0 b@86 ",
            1240 },
        { "plain 90 wide: 10 points", "x", plain(90), false, 10, false, "x@0 ", 1240 },
        { "plain 70 wide: 12 points", "x", plain(70), false, 12, false, "x@0 ", 1240 },
        // Cells: each character centred in the width of "A" (144 twips at 12 points).
        { "cells", line("4", "AiA"), prefixed, false, 12, false, "A@0 i@180 A@288 ", 1240 },
        // Leading blanks become an indent measured at 11 points (3 x 132).
        { "indent", line("5", "   ab"), prefixed, false, 12, false, "ab@396 ", 1240 },
        { "indent in cells", line("6", " Ai"), prefixed, false, 12, false, "A@132 i@312 ", 1240 },
        { "blank text draws nothing", line("2", "    "), prefixed, false, 12, false, "", 1240 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeMetrics metrics;
        metrics.roundsUp = c.roundsUp;
        const LineLayout layout = layoutLine(c.line, 1000, c.context, metrics);
        EXPECT_EQ(layout.font.points, c.points);
        EXPECT_EQ(layout.font.bold, c.bold);
        EXPECT_EQ(layout.font.family, "Courier New");
        EXPECT_EQ(layout.y, 1000);
        EXPECT_EQ(runs(layout), c.runs);
        EXPECT_EQ(layout.nextY, c.nextY);
    }
}

TEST(LayoutLine, StylesFollowTheThirdCode)
{
    FakeMetrics metrics;
    const LayoutContext context { "F", 80, false, 2, 1 };
    const char* codeDigits[] = { "0000", "0010", "0020", "0030", "0040", "0050", "0060" };
    const char* expected[] = { "", "b", "i", "bi", "u", "bu", "" };
    for (int k = 0; k < 7; ++k) {
        SCOPED_TRACE(codeDigits[k]);
        const FontSpec f = layoutLine(line(codeDigits[k], "x"), 0, context, metrics).font;
        EXPECT_EQ(std::string(f.bold ? "b" : "") + (f.italic ? "i" : "") + (f.underline ? "u" : ""),
            expected[k]);
    }
}

TEST(AjusteAnchoMaximo, TheTextEndsAtTheRightMargin)
{
    FakeMetrics metrics;
    const LayoutContext context { "F", 80, false, 2, 1 };
    // Avail = nearest(11520 - 2 cm) = 10453; 8 characters take 1152; gaps 4650 and 4651.
    const LineLayout layout = layoutLine(line("3", "ab cd ef"), 0, context, metrics);
    EXPECT_EQ(runs(layout), "ab@0 cd@5082 ef@10165 ");
    EXPECT_EQ(layout.runs.back().x + metrics.textWidth(layout.font, "ef"), 10453);

    // Leading blanks: the first word after them measured at 11 points (264), the others
    // from their width in the line's font (288); the end stays at 10453.
    const FontSpec font { "F", 12 };
    EXPECT_EQ(runs(LineLayout { font, 0, ajusteAnchoMaximo("  ab cd", font, context, metrics), 0 }),
        "ab@264 cd@10165 ");
    EXPECT_EQ(runs(LineLayout { font, 0, ajusteAnchoMaximo("  uno", font, context, metrics), 0 }),
        "uno@264 ");
    // 80 characters take 11520 twips, more than the 10453 there is: printed unspread.
    const std::string wide = std::string(39, 'x') + " " + std::string(40, 'y');
    EXPECT_EQ(runs(LineLayout { font, 0, ajusteAnchoMaximo(wide, font, context, metrics), 0 }),
        wide + "@0 ");
}

// Records what a page printer draws.
class FakeCanvas : public PageCanvas {
public:
    double textWidth(const FontSpec& f, std::string_view t) const override
    {
        return metrics.textWidth(f, t);
    }
    double givenSize(const FontSpec& f) const override { return metrics.givenSize(f); }
    double lineHeight(const FontSpec& f) const override { return metrics.lineHeight(f); }
    void drawText(const FontSpec&, double x, double top, std::string_view text) override
    {
        log << "T(" << text << "@" << x << "," << top << ")";
    }
    void drawPicture(const std::string& file, double x, double y) override
    {
        log << "P(" << file << "@" << static_cast<int>(x) << "," << y << ")";
    }
    void newPage() override { log << "|"; }

    FakeMetrics metrics;
    std::ostringstream log;
};

using PagePrinterRun = test::PrintingFolder;

TEST_F(PagePrinterRun, PicturesMicroFeedAndNoBlankLastPage)
{
    write("informe.rpt", test::numberedLines(3));
    write("logo.png", "not really a picture; the fake canvas does not load it");
    write("informe.rpt.img", "logo.png 100 50\r\nfalta.png 1 1\r\n");
    PrintSettings settings;
    settings.longitudPagina = 2;
    settings.microFeed = 300;
    settings.margenIzquierdoCm = 1;
    const ReportParameters p = prepareReport("informe.rpt", settings, false);
    FakeCanvas canvas;
    ASSERT_TRUE(printToPagePrinter("informe.rpt", p, settings, {}, canvas, "F"));
    // 1 cm = 533.58 twips; the missing picture is skipped.
    EXPECT_EQ(
        canvas.log.str(), "P(logo.png@633,50)T(L1@0,300)T(L2@0,540)|P(logo.png@633,50)T(L3@0,300)");
    FakeCanvas none;
    EXPECT_FALSE(printToPagePrinter("no-existe.rpt", p, settings, {}, none, "F"));
    EXPECT_EQ(none.log.str(), "");
}

} // namespace
} // namespace orvex
