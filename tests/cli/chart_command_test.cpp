#include "charts/charts_test_util.h"
#include "cli/commands.h"
#include "common/file_io.h"
#include "loans/loan_files.h"
#include "worksheet/sheet_builder.h"
#include "worksheet/worksheet_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace orvex::cli {
namespace {

using test::count;
using test::makeSheet;

struct Outcome {
    int code;
    std::string out, err;
};
using Command = int (*)(const Args&, std::ostream&, std::ostream&);

Outcome run(Command command, const Args& args)
{
    std::ostringstream out, err;
    const int code = command(args, out, err);
    return { code, out.str(), err.str() };
}

class ChartCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path()
            / ("orvex-chart-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string path(const char* name) const { return (m_dir / name).string(); }
    std::string write(const char* name, const Worksheet& sheet)
    {
        saveWorksheetFile(path(name), sheet);
        return path(name);
    }
    // −1000 at period 0 and 300 at periods 1 to 4, at 10 %.
    std::string example()
    {
        return write("ejemplo.ORV", makeSheet({ { 1, "-1000", "0" }, { 2, "300", "0", "4" } }, "10"));
    }
    // 1,200,000 pesos at 100 a UVR (12000 UVR), 12 months at 1 %, uniform instalment.
    std::string loanFile(const char* name, const char* uvr)
    {
        LoanInput loan;
        loan.texts = { "1200000", uvr, "12", "1", "0" };
        loan.system = PaymentSystem::UniformPayment;
        loan.enUvr = true;
        saveLoanFile(path(name), loan);
        return path(name);
    }
    std::filesystem::path m_dir;
};

TEST_F(ChartCommands, DiagramGoesToTheFileOrStandardOutput)
{
    const Outcome r = run(runDiagram, { example(), "-o", path("d.svg") });
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string svg = readWholeFile(path("d.svg"));
    EXPECT_EQ(count(svg, ">DIAGRAMA DE FLUJO</text>"), 1);
    EXPECT_EQ(count(svg, "stroke=\"#000000\""), 4); // one line per inflow
    EXPECT_EQ(count(svg, "stroke=\"#800000\""), 1); // and per outflow
    EXPECT_EQ(count(svg, "width=\"612\" height=\"348\" viewBox=\"0 0 612 348\""), 1);
    EXPECT_EQ(run(runDiagram, { example() }).out, svg);
    EXPECT_EQ(run(runDiagram, { example(), "-o", "-" }).out, svg);
}

TEST_F(ChartCommands, PlanOfALoanDrawsItsScheduleWithAllFourCurves)
{
    const Outcome r = run(runPlan, { loanFile("p.upa", "100"), "-o", path("plan.svg") });
    ASSERT_EQ(r.code, kExitOk) << r.err;
    const std::string svg = readWholeFile(path("plan.svg"));
    // Periods 0..12: interest, instalment and capital start at period 1 (11 segments
    // each), the balance at period 0 (12 segments, the last one down to 0).
    const std::pair<const char*, int> cases[] = {
        { "#000080", 11 }, { "#008000", 2 + 11 }, { "#008080", 11 }, { "#800000", 12 }
    };
    for (const auto& [colour, lines] : cases)
        EXPECT_EQ(count(svg, std::string("stroke=\"") + colour + "\""), lines) << colour;
    EXPECT_EQ(count(svg, "<text"), 13); // a label on every period up to 14 periods
    EXPECT_EQ(count(svg, "viewBox=\"0 0 487 272\""), 1);
}

TEST_F(ChartCommands, PlanOfAWorksheetLabelsEveryFifthPeriod)
{
    // 10,000,000 repaid over 36 periods: labels at 0, 5, ..., 35; drawn in millions.
    const Outcome r = run(runPlan,
        { write("w.ORV", makeSheet({ { 1, "10000000", "0" }, { 2, "-361523.96", "0", "36" } }, "1.5")) });
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(count(r.out, "<text"), 8);
    EXPECT_EQ(count(r.out, ">35</text>"), 1);
    EXPECT_EQ(count(r.out, "stroke=\"#800000\""), 36);
}

TEST_F(ChartCommands, FailuresExitWithTheirCodeAndMessage)
{
    const char* calcError = "Error en cálculos, revise la información digitada...\n";
    struct Case {
        const char* what;
        Command command;
        Args args;
        int code;
        const char* inMessage;
    };
    const std::string sheet = example();
    const std::string loan = loanFile("p.upa", "100");
    writeFileAtomically(path("short.cor"), std::string(64, ' '));
    // A single payment alone: FirstPeriod = LastPeriod, the picture has no width.
    const auto single = write("single.ORV", makeSheet({ { 1, "-1000", "3" } }, "10"));
    // An amount beyond a double: the calculation itself fails.
    const auto huge = write("huge.ORV", makeSheet({ { 1, "1e400", "3" }, { 1, "5", "5" } }, "10"));
    const Case cases[] = {
        { "diagram: no file", runDiagram, {}, kExitUsage, "Uso:" },
        { "diagram: unknown option", runDiagram, { sheet, "--bogus" }, kExitUsage, "--bogus" },
        { "diagram: two inputs", runDiagram, { sheet, sheet }, kExitUsage, "Uso:" },
        { "diagram: -o without a name", runDiagram, { sheet, "-o" }, kExitUsage, "Uso:" },
        { "diagram: not an SVG name", runDiagram, { sheet, "-o", path("d.png") }, kExitUsage,
            "d.png" },
        { "diagram: missing worksheet", runDiagram, { path("none.ORV") }, kExitUsage, "none.ORV" },
        { "diagram: no such folder", runDiagram, { sheet, "-o", path("no/such/d.svg") },
            kExitUsage, "d.svg" },
        { "diagram: no width", runDiagram, { single, "-o", path("e.svg") }, kExitCalcError,
            calcError },
        { "diagram: calculation fails", runDiagram, { huge, "-o", path("e.svg") },
            kExitCalcError, calcError },
        { "plan: no file", runPlan, {}, kExitUsage, "Uso:" },
        { "plan: --cor with a worksheet", runPlan, { sheet, "--cor", path("v.cor") }, kExitUsage,
            "--cor" },
        { "plan: missing loan", runPlan, { path("none.upa") }, kExitUsage, "none.upa" },
        { "plan: variation table too short", runPlan, { loan, "--cor", path("short.cor") },
            kExitUsage, "short.cor" },
        { "plan: not an SVG name", runPlan, { loan, "-o", path("p.pdf") }, kExitUsage, "p.pdf" },
        { "plan: UVR value 0", runPlan, { loanFile("zero.upa", "0") }, kExitCalcError,
            calcError },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome r = run(c.command, c.args);
        EXPECT_EQ(r.code, c.code);
        if (c.code == kExitCalcError)
            EXPECT_EQ(r.err, c.inMessage);
        else
            EXPECT_NE(r.err.find(c.inMessage), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(fileExists(path("e.svg")));
}

} // namespace
} // namespace orvex::cli
