#include "cli/commands.h"
#include "common/file_io.h"
#include "loans/loans_test_util.h"
#include "worksheet/sheet_builder.h"
#include "worksheet/worksheet_file.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvex::cli {
namespace {

struct CliRun {
    int code;
    std::string out, err;
};

CliRun calc(const Args& args)
{
    std::ostringstream out, err;
    const int code = runCalc(args, out, err);
    return { code, out.str(), err.str() };
}

std::string example(const char* name) { return std::string(ORVEX_EXAMPLES_DIR) + "/" + name; }

class CalcCommand : public ::testing::Test {
protected:
    std::string write(const char* name, const Worksheet& sheet)
    {
        saveWorksheetFile(m_dir.path(name), sheet);
        return m_dir.path(name);
    }
    test::TempDir m_dir;
};

TEST_F(CalcCommand, PrintsTheLabelsOfEachMode)
{
    struct Case {
        const char* file;
        const char* output;
    };
    const Case cases[] = {
        // 10,000,000 over 36 months at 1.5 %: A = 150000 / (1 − 1.015^−36).
        { "prestamo-cuota.ORV", "El valor A (Serie Uniforme ) es : \t-361523.96\n" },
        { "tasa-interna.ORV", "La tasa de interes es : \t15.24%\nInteres\t15.2382371166307\n" },
        { "inversion-evaluada.ORV",
            "Valor Presente Neto, VPN\t909290.78\nRelación Beneficio - Costo, B/C\t1.18\n"
            "Tasa Interna de Retorno, TIR\t17.61\n" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const CliRun r = calc({ example(c.file) });
        EXPECT_EQ(r.code, kExitOk);
        EXPECT_EQ(r.out, c.output);
        EXPECT_EQ(r.err, "");
    }
}

TEST_F(CalcCommand, FlowsFollowTheLabels)
{
    // A worksheet from period 2: the period column starts there.
    const Worksheet s = test::makeSheet({ { 1, "-1000", "2" }, { 1, "Incognita", "3" } }, "10");
    const CliRun r = calc({ write("a.ORV", s), "--flows" });
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(r.out,
        "El valor P (Pago Unico ) es : \t1100.00\nFirstPeriod\t2\nLastPeriod\t3\n"
        "2\t0\t-1000\t-1000\n3\t1100\t0\t1100\n");
}

TEST_F(CalcCommand, CalculationErrorPrintsWhatWasShownFirst)
{
    const Worksheet s = test::makeSheet(
        { { 1, "-1000", "0" }, { 1, "1100", "1" }, { 1, "*", "2" } }, "Incognita");
    const CliRun r = calc({ write("b.ORV", s), "--flows" });
    EXPECT_EQ(r.code, kExitCalcError);
    EXPECT_EQ(r.out.substr(0, 43), "La tasa de interes es : \t10.00%\nInteres\t10\n");
    EXPECT_NE(r.out.find("LastPeriod\t2\n"), std::string::npos);
    EXPECT_EQ(r.err, "Error en cálculos, revise la información digitada...\n");
}

TEST_F(CalcCommand, UsageAndUnreadableFiles)
{
    EXPECT_EQ(calc({}).code, kExitUsage);
    EXPECT_EQ(calc({ "a", "b" }).code, kExitUsage);
    EXPECT_EQ(calc({ "--bogus" }).code, kExitUsage);
    const CliRun missing = calc({ m_dir.path("none.ORV") });
    EXPECT_EQ(missing.code, kExitUsage);
    EXPECT_NE(missing.err.find("none.ORV"), std::string::npos);
    EXPECT_EQ(calc({ m_dir.dir.string() }).code, kExitUsage); // a folder

    // An empty file is an empty worksheet: the evaluation has no outflows.
    const std::string empty = m_dir.path("empty.ORV");
    writeFileAtomically(empty, "");
    EXPECT_EQ(calc({ empty }).code, kExitCalcError);
}

} // namespace
} // namespace orvex::cli
