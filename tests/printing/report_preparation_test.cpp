#include "printing/line_reader.h"
#include "printing/print_error.h"
#include "printing/report_preparation.h"
#include "printing_test_util.h"

#include <sys/stat.h>

namespace orvex {
namespace {

using test::line;
using test::numberedLines;
using ReportPreparation = test::PrintingFolder;

PrintSettings pageOf(int lines)
{
    PrintSettings s;
    s.longitudPagina = static_cast<std::int16_t>(lines);
    return s;
}

TEST_F(ReportPreparation, CountsPagesHeadersLinesAndWidth)
{
    struct Case {
        const char* what;
        std::string report;
        PrintSettings settings;
        std::string pages; // as Paginas shows them
        std::int64_t headers, lines;
        int widest;
        bool plain;
    };
    const std::string tenPoint = line("9200", "diez") + "\r\n"; // prefix bytes 10, 10, 1, 1
    const Case cases[] = {
        { "120 lines: 58 + 58 + 4", numberedLines(120), {}, "3", 0, 120, 80, true },
        { "58 lines", numberedLines(58), {}, "1", 0, 58, 80, true },
        { "a final page break adds no page", numberedLines(58) + line("1000", "") + "\r\n", {}, "1",
            0, 59, 80, false },
        { "a break mid-report", numberedLines(10) + line("1000", "") + "\r\n" + numberedLines(10),
            {}, "2", 0, 21, 80, false },
        { "two headers leave 56 body lines a page",
            line("2000", "T1") + "\r\n" + line("2000", "T2") + "\r\n" + numberedLines(113), {}, "3",
            2, 113, 80, false },
        { "spacing 2: 29 lines a page", numberedLines(59),
            [] {
                PrintSettings s;
                s.espaciamientoLineas = 2;
                return s;
            }(),
            "3", 0, 59, 80, true },
        { "81 .. 96 wide", std::string(90, 'x') + "\r\n", {}, "m1", 0, 1, 90, true },
        { "97 and wider", std::string(100, 'x') + "\r\n", {}, "c1", 0, 1, 100, true },
        { "trailing blanks do not count", std::string(10, 'x') + std::string(100, ' '), {}, "1", 0,
            1, 80, true },
        // A line feed inside a prefix does not end the line.
        { "10-point lines", tenPoint + tenPoint + tenPoint, pageOf(2), "2", 0, 3, 80, false },
        { "CR alone ends a line", "a\rb\rc", pageOf(2), "2", 0, 3, 80, true },
        { "empty lines count, LF is text", "\r\n\r\na\nb\r\n", pageOf(2), "2", 0, 3, 80, true },
        { "empty report", "", {}, "1", 0, 0, 80, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        write("informe.rpt", c.report);
        const ReportParameters p = prepareReport("informe.rpt", c.settings);
        EXPECT_EQ(pageCountText(p), c.pages);
        EXPECT_EQ(p.headerCount, c.headers);
        EXPECT_EQ(p.lineTotal, c.lines);
        EXPECT_EQ(p.widest, c.widest);
        EXPECT_EQ(p.plainText, c.plain);
        EXPECT_EQ(p.preparedFile, "informe.txt");
    }
}

TEST_F(ReportPreparation, PreparedCopyDropsPrefixesAndBreaksPages)
{
    const std::string report = line("2312", "TITULO") + "\r\n" + "uno\r\n" + line("1", "dos")
        + "\r\n" + line("1000", "") + "\r\n" + "tres\r\n" + "\r\n" + "cinco\r\n" + line("1000", "")
        + "\r\n";
    write("informe.rpt", report);
    const ReportParameters p = prepareReport("informe.rpt", pageOf(3));
    // The header stays in place; pages hold 3 lines counting the header.
    EXPECT_EQ(read("informe.txt"), "TITULO\r\nuno\r\ndos\r\n\ftres\r\n\r\n\fcinco\r\n\f");
    EXPECT_EQ(p.pageCount, 3);
}

TEST_F(ReportPreparation, PreparedNameUsesTheFirstDotButNeverTheReportItself)
{
    struct Case {
        const char* report;
        const char* prepared;
    };
    const Case cases[] = {
        { "informe.rpt", "informe.txt" },
        { "informe", "informe.txt" },
        { "informe.2024.rpt", "informe.txt" },
        { "datos.d/informe", "datos.txt" },
        { "informe.txt", "informe.txt.txt" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.report);
        EXPECT_EQ(preparedFileName(c.report), c.prepared);
    }
    const std::string report = line("0312", "Titulo") + "\r\n";
    write("informe.txt", report);
    prepareReport("informe.txt", {});
    EXPECT_EQ(read("informe.txt"), report);
    EXPECT_EQ(read("informe.txt.txt"), "Titulo\r\n");
}

TEST_F(ReportPreparation, HugeLinesAndBinaryBytesAreCutNotFatal)
{
    std::string binary;
    for (int b = 0; b < 256; ++b)
        if (b != '\r')
            binary += static_cast<char>(b);
    write("informe.rpt", std::string(10 << 20, 'x') + "\r\n" + binary + "\r\nfin\r\n");
    const ReportParameters p = prepareReport("informe.rpt", {});
    EXPECT_EQ(p.lineTotal, 3);
    EXPECT_EQ(p.widest, static_cast<int>(kMaxReportLine));
    EXPECT_FALSE(p.plainText);
    const std::string copy = read("informe.txt");
    EXPECT_EQ(copy.size(), kMaxReportLine + 2 + (binary.size() - 4) + 2 + 5);
    EXPECT_TRUE(copy.ends_with("\r\nfin\r\n"));
}

TEST_F(ReportPreparation, AMissingOrSpecialReportIsAFileError)
{
    EXPECT_THROW(prepareReport("no-existe.rpt", {}), FileError);
    ASSERT_EQ(::mkfifo("tubo.rpt", 0600), 0);
    EXPECT_THROW(prepareReport("tubo.rpt", {}), FileError);
    EXPECT_FALSE(std::filesystem::exists("tubo.txt"));
}

TEST_F(ReportPreparation, PictureListHoldsAtMostTwentyPictures)
{
    EXPECT_TRUE(loadPictureList("informe.rpt").empty());
    std::string list = "solo.bmp 10\r\n\r\nlogo.bmp 100.5 200x extra\r\n";
    write("informe.rpt.img", list);
    const auto pictures = loadPictureList("informe.rpt");
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].file, "logo.bmp");
    EXPECT_EQ(pictures[0].x, 100.5);
    EXPECT_EQ(pictures[0].y, 200);

    for (int i = 1; i < 20; ++i)
        list += "p" + std::to_string(i) + ".bmp 1 2\n";
    write("informe.rpt.img", list);
    EXPECT_EQ(loadPictureList("informe.rpt").size(), 20u);
    write("informe.rpt.img", list + "otra.bmp 1 2\n");
    EXPECT_THROW(loadPictureList("informe.rpt"), PrintError);
}

} // namespace
} // namespace orvex
