#include "cli/commands.h"
#include "printing/printing_test_util.h"

#include <sstream>

namespace orvex::cli {
namespace {

using test::line;
using test::numberedLines;
using ReportCommand = test::PrintingFolder;

// The exit code, standard output and standard error, joined by "|".
std::string run(const Args& args)
{
    std::ostringstream out, err;
    const int code = runReport(args, out, err);
    return std::to_string(code) + "|" + out.str() + "|" + err.str();
}

TEST_F(ReportCommand, PagesPreparesTheReportAndPrintsItsFigures)
{
    write("informe.rpt",
        line("2312", "TITULO") + "\r\n" + std::string(90, 'x') + "\r\n" + numberedLines(120));
    EXPECT_EQ(run({ "pages", "informe.rpt" }),
        "0|Paginas\tm3\nEncabezados\t1\nLineas\t121\nAncho\t90\nPreparado\tinforme.txt\n|");
    EXPECT_TRUE(read("informe.txt").starts_with("TITULO\r\n"));
    EXPECT_TRUE(read("Imprime.set").starts_with("Archivo para Ver Informes : Q.COM\r\n"));

    // The settings in the current directory count: 40-line pages.
    write("Imprime.set", "a:\r\nb:\r\nc:\r\nd: 40\r\n");
    EXPECT_TRUE(run({ "pages", "informe.rpt" }).starts_with("0|Paginas\tm4\n"));
}

TEST_F(ReportCommand, TextPrintsTheCharacterPrintersBytes)
{
    write("informe.rpt", line("2000", "#pg#") + "\r\n" + numberedLines(120));
    const std::string page2 = "2\r\n" + numberedLines(57, nullptr, 58) + "\f";
    EXPECT_EQ(run({ "text", "informe.rpt", "--first", "2", "--last", "2.4", "--copies", "2" }),
        "0|" + page2 + page2 + "|");
    const std::string all = run({ "text", "informe.rpt" });
    EXPECT_EQ(std::count(all.begin(), all.end(), '\f'), 3);
    EXPECT_FALSE(std::filesystem::exists("informe.txt")) << "text does not prepare a copy";

    EXPECT_EQ(run({ "text", "no-existe.rpt" }), "0||");
    EXPECT_TRUE(std::filesystem::exists("Imprime.set"));

    std::string pictures;
    for (int i = 0; i < 21; ++i)
        pictures += "p.bmp 1 2\r\n";
    write("informe.rpt.img", pictures);
    EXPECT_EQ(run({ "text", "informe.rpt" }), "1||Error al imprimir...\n");
}

TEST_F(ReportCommand, BadArgumentsExitTwo)
{
    const Args cases[] = { {}, { "pages" }, { "print", "a" }, { "pages", "a", "b" },
        { "pages", "a", "--first", "1" }, { "text", "a", "--first" },
        { "text", "a", "--copies", "99999" }, { "text", "a", "--desde", "1" } };
    for (const Args& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_TRUE(run(args).starts_with("2||orvex-cli: "));
    }
    EXPECT_TRUE(run({ "pages", "no-existe.rpt" }).starts_with("2||orvex-cli: No se puede leer"));
}

} // namespace
} // namespace orvex::cli
