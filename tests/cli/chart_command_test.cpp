#include "charts/charts_test_util.h"
#include "cli/commands.h"
#include "common/file_io.h"
#include "loans/loan_files.h"
#include "loans/loans_test_util.h"
#include "worksheet/sheet_builder.h"
#include "worksheet/worksheet_file.h"

#include <gtest/gtest.h>

#include <sstream>

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
    std::string path(const char* name) const { return m_dir.path(name); }
    std::string write(const char* name, const Worksheet& sheet)
    {
        saveWorksheetFile(path(name), sheet);
        return path(name);
    }
    // −1000 at period 0 and 300 at periods 1 to 4, at 10 %.
    std::string example()
    {
        return write(
            "ejemplo.ORV", makeSheet({ { 1, "-1000", "0" }, { 2, "300", "0", "4" } }, "10"));
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
    test::TempDir m_dir;
};

TEST_F(ChartCommands, DrawingsGoToStandardOutputOrTheNamedFile)
{
    using Counts = std::vector<std::pair<std::string, int>>;
    const std::pair<Args, Counts> cases[] = {
        { { "diagram", example() },
            { { ">DIAGRAMA DE FLUJO</text>", 1 }, { "stroke=\"#000000\"", 4 }, // one per inflow
                { "stroke=\"#800000\"", 1 }, { "viewBox=\"0 0 612 348\"", 1 } } },
        // Periods 0..12, the balance from period 0 down to 0; a label on every period.
        { { "plan", loanFile("p.upa", "100") },
            { { "stroke=\"#800000\"", 12 }, { "<text", 13 }, { "viewBox=\"0 0 487 272\"", 1 } } },
    };
    for (const auto& [args, counts] : cases) {
        SCOPED_TRACE(args[1]);
        const Command command = args[0] == "plan" ? runPlan : runDiagram;
        const Outcome r = run(command, { args[1] });
        ASSERT_EQ(r.code, kExitOk) << r.err;
        for (const auto& [what, n] : counts)
            EXPECT_EQ(count(r.out, what), n) << what;
        EXPECT_EQ(run(command, { args[1], "-o", "-" }).out, r.out);
        const Outcome toFile = run(command, { args[1], "-o", path("f.svg") });
        EXPECT_EQ(toFile.out + toFile.err, "");
        EXPECT_EQ(readWholeFile(path("f.svg")), r.out);
    }
}

TEST_F(ChartCommands, FailuresExitWithTheirCodeAndMessage)
{
    const char* calcError = "Error en cálculos, revise la información digitada...\n";
    struct Case {
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
    const Case cases[] = {
        { runDiagram, {}, kExitUsage, "Uso:" },
        { runDiagram, { sheet, "--bogus" }, kExitUsage, "--bogus" },
        { runDiagram, { sheet, "-o", path("d.png") }, kExitUsage, "d.png" },
        { runDiagram, { path("none.ORV") }, kExitUsage, "none.ORV" },
        { runDiagram, { sheet, "-o", path("no/such/d.svg") }, kExitUsage, "d.svg" },
        { runDiagram, { single, "-o", path("e.svg") }, kExitCalcError, calcError },
        { runPlan, { sheet, "--cor", path("v.cor") }, kExitUsage, "--cor" }, // a worksheet
        { runPlan, { path("none.upa") }, kExitUsage, "none.upa" },
        { runPlan, { loan, "--cor", path("short.cor") }, kExitUsage, "short.cor" },
        { runPlan, { loanFile("zero.upa", "0") }, kExitCalcError, calcError }, // UVR value 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "" : c.args.back());
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
