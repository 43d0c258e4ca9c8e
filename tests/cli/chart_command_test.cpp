#include "cli/commands.h"
#include "common/file_io.h"
#include "worksheet/worksheet_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace orvex::cli {
namespace {

struct Outcome {
    int code;
    std::string out, err;
};

int count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (auto pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1))
        ++n;
    return n;
}

class DiagramCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path()
            / ("orvex-chart-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    Outcome diagram(const Args& args)
    {
        std::ostringstream out, err;
        const int code = runDiagram(args, out, err);
        return { code, out.str(), err.str() };
    }
    std::string write(const char* name, const Worksheet& sheet)
    {
        const std::string path = (m_dir / name).string();
        saveWorksheetFile(path, sheet);
        return path;
    }
    std::string path(const char* name) const { return (m_dir / name).string(); }

    // −1000 at period 0 and 300 at periods 1 to 4, at 10 %.
    std::string example()
    {
        Worksheet s;
        s.setRate("10");
        s.setCell(1, kColTipo, "1. Pago Unico");
        s.setCell(1, kColValor, "-1000");
        s.setCell(1, kColInicio, "0");
        s.setCell(2, kColTipo, "2. Serie Uniforme");
        s.setCell(2, kColValor, "300");
        s.setCell(2, kColInicio, "0");
        s.setCell(2, kColFinal, "4");
        return write("ejemplo.ORV", s);
    }
    std::filesystem::path m_dir;
};

TEST_F(DiagramCommand, WritesTheDiagramOfTheCalculatedWorksheet)
{
    const Outcome r = diagram({ example(), "-o", path("d.svg") });
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string svg = readWholeFile(path("d.svg"));
    EXPECT_EQ(count(svg, ">DIAGRAMA DE FLUJO</text>"), 1);
    EXPECT_EQ(count(svg, "stroke=\"#000000\""), 4); // one line per inflow
    EXPECT_EQ(count(svg, "stroke=\"#800000\""), 1); // and per outflow
    EXPECT_EQ(count(svg, ">-1000</text>"), 1);
    EXPECT_EQ(count(svg, "width=\"612\" height=\"348\" viewBox=\"0 0 612 348\""), 1);

    // Without -o (or with "-") the picture goes to standard output.
    EXPECT_EQ(diagram({ example() }).out, svg);
    EXPECT_EQ(diagram({ example(), "-o", "-" }).out, svg);
}

TEST_F(DiagramCommand, DrawingErrorsPrintTheCalculationMessage)
{
    // A single payment alone: FirstPeriod = LastPeriod, the picture has no width.
    Worksheet single;
    single.setRate("10");
    single.setCell(1, kColTipo, "1. Pago Unico");
    single.setCell(1, kColValor, "-1000");
    single.setCell(1, kColInicio, "3");
    // An amount beyond a double: the calculation itself fails.
    Worksheet huge = single;
    huge.setCell(1, kColValor, "1e400");
    huge.setCell(2, kColTipo, "1. Pago Unico");
    huge.setCell(2, kColValor, "5");
    huge.setCell(2, kColInicio, "5");
    for (const auto* sheet : { &single, &huge }) {
        const Outcome r = diagram({ write("e.ORV", *sheet), "-o", path("e.svg") });
        EXPECT_EQ(r.code, kExitCalcError);
        EXPECT_EQ(r.err, "Error en cálculos, revise la información digitada...\n");
        EXPECT_FALSE(fileExists(path("e.svg")));
    }
}

TEST_F(DiagramCommand, UsageAndFileErrors)
{
    struct Case {
        const char* what;
        Args args;
        const char* inMessage;
    };
    const std::string input = example();
    const Case cases[] = {
        { "no file", {}, "Uso:" },
        { "unknown option", { input, "--bogus" }, "--bogus" },
        { "two inputs", { input, input }, "Uso:" },
        { "-o without a name", { input, "-o" }, "Uso:" },
        { "not an SVG name", { input, "-o", path("d.png") }, "d.png" },
        { "missing worksheet", { path("none.ORV"), "-o", path("x.svg") }, "none.ORV" },
        { "folder that does not exist", { input, "-o", path("no/such/d.svg") }, "d.svg" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome r = diagram(c.args);
        EXPECT_EQ(r.code, kExitUsage);
        EXPECT_NE(r.err.find(c.inMessage), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

} // namespace
} // namespace orvex::cli
