#include "cli/commands.h"
#include "common/calc_error.h"
#include "common/file_io.h"
#include "loans/loan_files.h"
#include "loans/loans_test_util.h"
#include "worksheet/sheet_builder.h"
#include "worksheet/worksheet_file.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvex::cli {
namespace {

using Command = int (*)(const Args&, std::ostream&, std::ostream&);
using enum PaymentSystem;

struct Case {
    Command command;
    Args args;
    int code;
    std::string part; // of the output when the command succeeds, else of the error
};

class LoanCommand : public ::testing::Test {
protected:
    std::string loanFile(const char* name, const LoanInput& loan)
    {
        saveLoanFile(m_dir.path(name), loan);
        return m_dir.path(name);
    }
    std::string sheetFile(const char* name, const Worksheet& sheet)
    {
        saveWorksheetFile(m_dir.path(name), sheet);
        return m_dir.path(name);
    }
    void check(const Case& c)
    {
        std::ostringstream out, err;
        EXPECT_EQ(c.command(c.args, out, err), c.code) << err.str();
        const std::string text = c.code == kExitOk ? out.str() : err.str();
        EXPECT_NE(text.find(c.part), std::string::npos) << text;
        EXPECT_EQ((c.code == kExitOk ? err : out).str(), "");
        if (c.code == kExitCalcError) {
            EXPECT_EQ(err.str(), std::string(kCalcErrorMessage) + "\n");
        }
    }
    test::TempDir m_dir;
};

TEST_F(LoanCommand, PrintsTheScheduleAsTabSeparatedLines)
{
    std::vector<std::string> rates(13);
    rates[0] = "1"; // month 1 grows by 1 % instead of 0.5 %
    saveVariationFile(m_dir.path("t.cor"), rates);
    const auto header = std::string("Período\tPago Intereses\tCuota\tPago Capital\tSaldo\t\r\n0\t");
    const Case cases[] = {
        // 11053.81454 UVR at 101 pesos.
        { runLoan,
            { loanFile("p.upa", test::loan("12", "1", UniformPayment, false)), "--cor",
                m_dir.path("t.cor") },
            kExitOk,
            header + "\t\t\t1200000.00\t\r\n1\t12120.00\t107684.73\t95564.73\t1116435.27\t\r\n" },
        // A loan of 1000 received at 0, repaid by a uniform series 1..5 solved at 10 %.
        { runSchedule,
            { sheetFile("loan.ORV",
                test::makeSheet({ { 1, "1000", "0" }, { 2, "Incognita", "0", "5" } }, "10")) },
            kExitOk, header + "\t\t\t1000.00\t\r\n1\t100.00\t263.80\t163.80\t836.20\t\r\n" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        check(c);
    }
}

TEST_F(LoanCommand, FailuresAndExitCodes)
{
    const std::string good = loanFile("good.upa", test::loan("12", "1", UniformPayment));
    writeFileAtomically(m_dir.path("short.cor"), std::string(64 * 3, ' '));
    const Case cases[] = {
        { runLoan, { loanFile("z.upa", test::loan("12", "0", UniformPayment)) }, kExitCalcError,
            kCalcErrorMessage },
        { runLoan, { m_dir.path("missing.upa") }, kExitUsage, "missing.upa" },
        { runLoan, { good, "--cor", m_dir.path("short.cor") }, kExitUsage, "short.cor" },
        { runLoan, {}, kExitUsage, "Uso" },
        { runLoan, { good, "--x" }, kExitUsage, "--x" },
        { runLoan, { good, "--cor" }, kExitUsage, "--cor" },
        // No rate makes a worksheet of only income worth 0.
        { runSchedule,
            { sheetFile("bad.ORV", test::makeSheet({ { 2, "100", "", "3" } }, "Incognita")) },
            kExitCalcError, kCalcErrorMessage },
        { runSchedule, { m_dir.path("missing.ORV") }, kExitUsage, "missing.ORV" },
        { runSchedule, {}, kExitUsage, "Uso" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "no arguments" : c.args.back());
        check(c);
    }
}

} // namespace
} // namespace orvex::cli
