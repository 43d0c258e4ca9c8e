#include "cli/commands.h"
#include "common/file_io.h"
#include "loans/loan_files.h"
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

class PlanCommand : public DiagramCommand {
protected:
    Outcome plan(const Args& args)
    {
        std::ostringstream out, err;
        const int code = runPlan(args, out, err);
        return { code, out.str(), err.str() };
    }
    // 1,200,000 pesos at 100 a UVR (12000 UVR), 12 months at 1 %, uniform instalment.
    std::string loanFile(const char* uvr = "100")
    {
        LoanInput loan;
        loan.texts = { "1200000", uvr, "12", "1", "0" };
        loan.system = PaymentSystem::UniformPayment;
        loan.enUvr = true;
        saveLoanFile(path("p.upa"), loan);
        return path("p.upa");
    }
};

TEST_F(PlanCommand, LoanPlanDrawsAllFourCurves)
{
    const Outcome r = plan({ loanFile(), "-o", path("plan.svg") });
    ASSERT_EQ(r.code, kExitOk) << r.err;
    const std::string svg = readWholeFile(path("plan.svg"));
    // Periods 0..12: interest, instalment and capital start at period 1 (11 segments
    // each), the balance at period 0 (12 segments, the last one down to 0).
    struct Case {
        const char* colour;
        int lines;
    };
    const Case cases[] = {
        { "#000080", 11 },
        { "#008000", 2 + 11 }, // the axes and the instalment share the dark green
        { "#008080", 11 },
        { "#800000", 12 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.colour);
        EXPECT_EQ(count(svg, std::string("stroke=\"") + c.colour + "\""), c.lines);
    }
    EXPECT_EQ(count(svg, "stroke-width=\"2\""), 2);
    EXPECT_EQ(count(svg, "<text"), 13); // a label on every period up to 14 periods
    EXPECT_EQ(count(svg, ">12</text>"), 1);
    EXPECT_EQ(count(svg, "viewBox=\"0 0 487 272\""), 1);
}

TEST_F(PlanCommand, WorksheetPlanLabelsEveryFifthPeriod)
{
    // 36 periods: labels at 0, 5, ..., 35.
    Worksheet s;
    s.setRate("1.5");
    s.setCell(1, kColTipo, "1. Pago Unico");
    s.setCell(1, kColValor, "10000000");
    s.setCell(1, kColInicio, "0");
    s.setCell(2, kColTipo, "2. Serie Uniforme");
    s.setCell(2, kColValor, "-361523.96");
    s.setCell(2, kColInicio, "0");
    s.setCell(2, kColFinal, "36");
    const Outcome r = plan({ write("w.ORV", s) });
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(count(r.out, "<text"), 8);
    EXPECT_EQ(count(r.out, ">35</text>"), 1);
    EXPECT_EQ(count(r.out, ">36</text>"), 0);
    // Balance 10,000,000 at period 0: Max = 10000001 > 9999999, drawn in millions.
    EXPECT_EQ(count(r.out, "stroke=\"#800000\""), 36);
}

TEST_F(PlanCommand, FailuresAndUsage)
{
    struct Case {
        const char* what;
        Args args;
        int code;
        const char* inMessage;
    };
    const std::string loan = loanFile();
    writeFileAtomically(path("short.cor"), std::string(64, ' '));
    const Case cases[] = {
        { "no file", {}, kExitUsage, "Uso:" },
        { "--cor with a worksheet", { example(), "--cor", path("v.cor") }, kExitUsage, "--cor" },
        { "missing loan", { path("none.upa") }, kExitUsage, "none.upa" },
        { "variation table too short", { loan, "--cor", path("short.cor") }, kExitUsage,
            "short.cor" },
        { "not an SVG name", { loan, "-o", path("p.pdf") }, kExitUsage, "p.pdf" },
        { "UVR value 0", { loanFile("0") }, kExitCalcError,
            "Error en cálculos, revise la información digitada...\n" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome r = plan(c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_NE(r.err.find(c.inMessage), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

} // namespace
} // namespace orvex::cli
