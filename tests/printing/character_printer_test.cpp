#include "printing/character_printer.h"
#include "printing/print_error.h"
#include "printing_test_util.h"

#include <sstream>

namespace orvex {
namespace {

using test::line;
using test::numberedLines;
using CharacterPrinterRun = test::PrintingFolder;

std::string fixedClock() { return "01/02/2024 10:00:00"; }

// The bytes the character printer gets for report, pages of perPage lines.
std::string printed(const std::string& report, int perPage, PrintRange range = {})
{
    writeFileAtomically("informe.rpt", report);
    PrintSettings settings;
    settings.longitudPagina = static_cast<std::int16_t>(perPage);
    const ReportParameters p = prepareReport("informe.rpt", settings, false);
    std::ostringstream out;
    EXPECT_TRUE(printToCharacterPrinter("informe.rpt", p, settings, range, out, fixedClock));
    return out.str();
}

// "L<from>" .. "L<to>" each ended by CR LF.
std::string expectedLines(int from, int to) { return numberedLines(to - from + 1, nullptr, from); }

TEST_F(CharacterPrinterRun, PagesRangesCopiesAndHeaders)
{
    struct Case {
        const char* what;
        std::string report;
        int perPage;
        PrintRange range;
        std::string expected;
    };
    const std::string pg = line("2000", "#pg#") + "\r\n";
    const std::string keep = line("3000", "K") + "\r\n";
    const std::string pageBreak = line("1000", "") + "\r\n";
    const Case cases[] = {
        { "120 lines, the last one too", numberedLines(120), 58, {},
            expectedLines(1, 58) + "\f" + expectedLines(59, 116) + "\f" + expectedLines(117, 120)
                + "\f" },
        { "pages 2 to 3", numberedLines(10), 3, { 2, 3, 1 },
            expectedLines(4, 6) + "\f" + expectedLines(7, 9) + "\f" },
        { "pages 2 to 3, two copies, each from the start", numberedLines(10), 3, { 2, 3, 2 },
            expectedLines(4, 9).insert(12, "\f") + "\f" + expectedLines(4, 9).insert(12, "\f")
                + "\f" },
        // Pages read but not output get no form feed (no blank sheet after each copy).
        { "pages 1 to 1 of 2, two copies", numberedLines(4), 3, { 1, 1, 2 },
            "L1\r\nL2\r\nL3\r\n\fL1\r\nL2\r\nL3\r\n\f" },
        { "a range past the end prints nothing", numberedLines(4), 3, { 5, 6, 1 }, "" },
        { "#pg# at the top of three pages", pg + numberedLines(6), 3, {},
            "1\r\nL1\r\nL2\r\n\f2\r\nL3\r\nL4\r\n\f3\r\nL5\r\nL6\r\n\f" },
        { "#pg# and #fecha#", line("2000", "Pagina #pg# #fecha#") + "\r\n" + numberedLines(1), 3,
            {}, "1 [01/02/2024 10:00:00]\r\nL1\r\n\f" },
        { "a header without placeholders prints unchanged",
            line("2000", "Titulo") + "\r\n" + numberedLines(3), 3, {},
            "Titulo\r\nL1\r\nL2\r\n\fTitulo\r\nL3\r\n\f" },
        { "break lines end pages and do not print",
            numberedLines(2) + pageBreak + numberedLines(1, nullptr, 3) + pageBreak, 10, {},
            "L1\r\nL2\r\n\fL3\r\n\f" },
        { "a keep-down line never ends a page",
            numberedLines(2) + keep + numberedLines(1, nullptr, 4), 3, {},
            "L1\r\nL2\r\n\fK\r\nL4\r\n\f" },
        // The run finds a page more than the preparation counted; its line still prints, and
        // the page is ended before the next copy starts.
        { "a keep-down last line", numberedLines(2) + keep, 3, { 0, 0, 2 },
            "L1\r\nL2\r\n\fK\r\n\fL1\r\nL2\r\n\fK\r\n\f" },
        // A new header block starts a page without ending the one before; its lines print.
        { "a second header block",
            line("2000", "H1") + "\r\nL1\r\n" + line("2000", "H2") + "\r\nL2\r\n", 10, {},
            "H1\r\nL1\r\nH2\r\nL2\r\n\f" },
        // A header block left open at the end of a copy does not leak into the next copy.
        { "trailing header block, two copies",
            line("2000", "H1") + "\r\nL1\r\n" + line("2000", "H2") + "\r\n", 10, { 0, 0, 2 },
            "H1\r\nL1\r\n\fH1\r\nL1\r\n\f" },
        { "an empty line prints empty", "\r\nx\r\n", 10, {}, "\r\nx\r\n\f" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(printed(c.report, c.perPage, c.range), c.expected);
    }
}

TEST_F(CharacterPrinterRun, HeaderBlocksHoldAHundredLines)
{
    std::string block;
    for (int i = 0; i < 100; ++i)
        block += line("2000", "H") + "\r\n";
    EXPECT_TRUE(printed(block + "x\r\n", 200).starts_with("H\r\n"));
    EXPECT_THROW(printed(block + line("2000", "H") + "\r\nx\r\n", 200), PrintError);
}

TEST_F(CharacterPrinterRun, AMissingReportPrintsNothingAndTwentyOnePicturesFail)
{
    std::ostringstream out;
    EXPECT_FALSE(printToCharacterPrinter("no-existe.rpt", {}, {}, {}, out));
    EXPECT_EQ(out.str(), "");

    std::string pictures;
    for (int i = 0; i < 21; ++i)
        pictures += "p.bmp 1 2\r\n";
    writeFileAtomically("informe.rpt.img", pictures);
    EXPECT_THROW(printed("x\r\n", 10), PrintError);
}

TEST(CharacterPrinterText, AlignsShortTextsByTheirCode)
{
    struct Case {
        std::string line;
        int widest;
        std::string expected;
    };
    const Case cases[] = {
        { line("1", "  ab  "), 10, "        ab" }, { line("2", "ab"), 10, "    ab" },
        { line("2", "abc"), 10, "    abc" }, // 3.5 blanks, halves to even
        { line("2", "abcd"), 9, "  abcd" }, // 2.5: 2
        { line("3", "  ab cd ef"), 20, "  ab      cd      ef" },
        { "  ab cd ef", 20, "  ab cd ef" }, // no prefix: left
        { line("1", std::string(12, 'x')), 10, std::string(12, 'x') }, // not shorter: unchanged
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(characterPrinterText(c.line, c.widest), c.expected);
    }
}

TEST(AjusteAnchoMaximoDos, SpreadsBlanksFromTheLeft)
{
    struct Case {
        const char* line;
        int widest;
        const char* expected;
    };
    const Case cases[] = {
        { "  ab cd ef", 20, "  ab      cd      ef" }, // extra 10, 5 a gap
        { "ab cd ef gh", 15, "ab   cd   ef gh" }, // extra 4, 2 a gap, none left for the last
        { "a b c d", 10, "a  b  c  d" }, { "   palabra", 20, "   palabra" }, // one word: unchanged
        { "ab cd", 5, "ab cd" }, // as long as widest
        { "ab cd   ", 10, "ab      cd" }, // trailing blanks give their room
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string result = ajusteAnchoMaximoDos(c.line, c.widest);
        EXPECT_EQ(result, c.expected);
    }
}

} // namespace
} // namespace orvex
