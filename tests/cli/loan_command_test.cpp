#include "cli/commands.h"
#include "common/calc_error.h"
#include "common/file_io.h"
#include "loans/loan_files.h"
#include "worksheet/worksheet_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace orvex::cli {
namespace {

struct Run {
    int code;
    std::string out, err;
};

Run run(int (*command)(const Args&, std::ostream&, std::ostream&), const Args& args)
{
    std::ostringstream out, err;
    const int code = command(args, out, err);
    return { code, out.str(), err.str() };
}

std::size_t count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class LoanCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path()
            / ("orvex-cli-loan-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::string path(const char* name) const { return (m_dir / name).string(); }
    std::string loanFile(const char* name, const char* term, const char* rate, PaymentSystem system,
        bool enUvr, const char* uvr = "100")
    {
        LoanInput loan;
        loan.texts = { "1200000", uvr, term, rate, "0.5" };
        loan.system = system;
        loan.enUvr = enUvr;
        saveLoanFile(path(name), loan);
        return path(name);
    }
    std::filesystem::path m_dir;
};

TEST_F(LoanCommand, PrintsTheScheduleInUvrAndInPesos)
{
    struct Case {
        bool enUvr;
        const char* firstRows;
        const char* lastRow;
    };
    const Case cases[] = {
        { true,
            "Período\tPago Intereses\tCuota\tPago Capital\tSaldo\t\r\n"
            "0\t\t\t\t12000.00000\t\r\n"
            "1\t120.00000\t1066.18546\t946.18546\t11053.81454\t\r\n"
            "2\t110.53815\t1066.18546\t955.64732\t10098.16722\t\r\n",
            "12\t10.55629\t1066.18546\t1055.62917\t0.00000\t\r\n" },
        { false,
            "Período\tPago Intereses\tCuota\tPago Capital\tSaldo\t\r\n"
            "0\t\t\t\t1200000.00\t\r\n"
            "1\t12060.00\t107151.64\t95091.64\t1110908.36\t\r\n",
            "12\t1120.74\t113194.55\t112073.81\t0.00\t\r\n" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.enUvr);
        const auto result = run(
            runLoan, { loanFile("a.upa", "12", "1", PaymentSystem::UniformPayment, c.enUvr) });
        EXPECT_EQ(result.code, kExitOk) << result.err;
        EXPECT_EQ(result.out.rfind(c.firstRows, 0), 0u) << result.out;
        EXPECT_TRUE(result.out.ends_with(c.lastRow)) << result.out;
        EXPECT_EQ(count(result.out, "\r\n"), 14u);
        EXPECT_TRUE(result.err.empty());
    }
}

TEST_F(LoanCommand, VariationTableChangesThePesoValues)
{
    std::vector<std::string> texts(13);
    texts[0] = "1"; // month 1 grows by 1 % instead of 0.5 %
    saveVariationFile(path("t.cor"), texts);
    const std::string loan = loanFile("a.upa", "12", "1", PaymentSystem::UniformPayment, false);
    const auto result = run(runLoan, { loan, "--cor", path("t.cor") });
    ASSERT_EQ(result.code, kExitOk) << result.err;
    // 11053.81454 UVR at 101 pesos.
    EXPECT_NE(result.out.find("\r\n1\t12120.00\t107684.73\t95564.73\t1116435.27\t\r\n"),
        std::string::npos)
        << result.out;
}

TEST_F(LoanCommand, FailuresAndExitCodes)
{
    struct Case {
        const char* what;
        Args args;
        int code;
        const char* errPart;
    };
    const std::string good = loanFile("good.upa", "12", "1", PaymentSystem::UniformPayment, true);
    writeFileAtomically(path("short.upa"), "1200000");
    writeFileAtomically(path("short.cor"), std::string(64 * 3, ' '));
    const Case cases[] = {
        { "zero rate, uniform payment",
            { loanFile("z.upa", "12", "0", PaymentSystem::UniformPayment, true) }, kExitCalcError,
            kCalcErrorMessage },
        { "18 months of preset payments",
            { loanFile("p.upa", "18", "1", PaymentSystem::PresetPayments, true) }, kExitCalcError,
            kCalcErrorMessage },
        { "U0 = 0", { loanFile("u.upa", "12", "1", PaymentSystem::ConstantCapital, false, "0") },
            kExitCalcError, kCalcErrorMessage },
        { "missing loan file", { path("missing.upa") }, kExitUsage, "missing.upa" },
        { "short loan file", { path("short.upa") }, kExitUsage, "short.upa" },
        { "short variation file", { good, "--cor", path("short.cor") }, kExitUsage, "short.cor" },
        { "missing variation file", { good, "--cor", path("none.cor") }, kExitUsage, "none.cor" },
        { "no arguments", {}, kExitUsage, "Uso" },
        { "unknown option", { good, "--x" }, kExitUsage, "--x" },
        { "--cor without a file", { good, "--cor" }, kExitUsage, "--cor" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = run(runLoan, c.args);
        EXPECT_EQ(result.code, c.code);
        EXPECT_NE(result.err.find(c.errPart), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
    }
}

TEST_F(LoanCommand, WorksheetScheduleAfterSolvingTheUnknown)
{
    // A loan of 1000 received at 0, repaid by a uniform series 1..5 solved at 10 %.
    Worksheet sheet;
    sheet.setCell(1, kColTipo, "1. Pago Unico");
    sheet.setCell(1, kColValor, "1000");
    sheet.setCell(1, kColInicio, "0");
    sheet.setCell(2, kColTipo, "2. Serie Uniforme");
    sheet.setCell(2, kColValor, "Incognita");
    sheet.setCell(2, kColInicio, "0");
    sheet.setCell(2, kColFinal, "5");
    sheet.setRate("10");
    saveWorksheetFile(path("loan.ORV"), sheet);

    const auto result = run(runSchedule, { path("loan.ORV") });
    ASSERT_EQ(result.code, kExitOk) << result.err;
    EXPECT_EQ(result.out.rfind("Período\tPago Intereses\tCuota\tPago Capital\tSaldo\t\r\n"
                               "0\t\t\t\t1000.00\t\r\n"
                               "1\t100.00\t263.80\t163.80\t836.20\t\r\n",
                  0),
        0u)
        << result.out;
    EXPECT_TRUE(result.out.ends_with("5\t23.98\t263.80\t239.82\t0.00\t\r\n")) << result.out;
}

TEST_F(LoanCommand, WorksheetScheduleFailures)
{
    Worksheet onlyIncome;
    onlyIncome.setCell(1, kColTipo, "2. Serie Uniforme");
    onlyIncome.setCell(1, kColValor, "100");
    onlyIncome.setCell(1, kColFinal, "3");
    onlyIncome.setRate("Incognita"); // no rate makes only positive flows worth 0
    saveWorksheetFile(path("bad.ORV"), onlyIncome);
    auto result = run(runSchedule, { path("bad.ORV") });
    EXPECT_EQ(result.code, kExitCalcError);
    EXPECT_EQ(result.err, std::string(kCalcErrorMessage) + "\n");

    result = run(runSchedule, { path("missing.ORV") });
    EXPECT_EQ(result.code, kExitUsage);
    EXPECT_NE(result.err.find("missing.ORV"), std::string::npos);
    EXPECT_EQ(run(runSchedule, {}).code, kExitUsage);
}

} // namespace
} // namespace orvex::cli
