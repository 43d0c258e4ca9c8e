#include "cli/commands.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvex::cli {
namespace {

struct Outcome {
    int code;
    std::string out, err;
};

Outcome run(int (*command)(const Args&, std::ostream&, std::ostream&), const Args& args)
{
    std::ostringstream out, err;
    const int code = command(args, out, err);
    return { code, out.str(), err.str() };
}

TEST(RateCommand, PrintsTheConvertedRate)
{
    struct Case {
        Args args;
        const char* out;
    };
    // Figures by hand from the closed forms, e.g. (1 + 0.24/12)^12 - 1 = 26.824... %.
    const Case cases[] = {
        { { "24", "NV:Año/Mes", "EV:Año" }, "26.8241794563\n" },
        { { "24", "NV:Año/Mes", "EA:Año" }, "21.1506824418\n" },
        { { "24", "NA:Año/Mes", "NV:Año/Trimestre" }, "24.9929876157\n" },
        { { "12", "EV:Año", "NA:Año/Mes" }, "11.2795224684\n" },
        { { "36", "NV:Año/Año", "NA:Año/Año" }, "26.4705882353\n" },
        { { "10", "EV:Bimestre", "EV:Trimestre" }, "21.\n" },
        { { "10", "EV:Trimestre", "EV:Bimestre" }, "4.880884817\n" },
        { { "3", "EV:Mes", "EV:Diario" }, "0.0985778969\n" },
        { { "12", "EV:Año/Año", "EV:Año/Mes" }, "0.9488792935\n" },
        // Case-insensitive names, "Ano" for "Año", an omitted reference is the year.
        { { "24", "nv:AÑO/mes", "ev:ano" }, "26.8241794563\n" },
        { { "24", "NV:Mes", "EV:Año" }, "26.8241794563\n" },
        // An effective rate ignores its reference, even a shorter one.
        { { "12", "EV:Diario/Año", "EV:Mes/Mes" }, "0.9488792935\n" },
        // The value is read like the window's field.
        { { "", "EV:Año", "EV:Mes" }, "0.\n" },
        { { "12%", "EV:Año", "EV:Mes" }, "0.9488792935\n" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1] + " " + c.args[2]);
        const Outcome r = run(runRate, c.args);
        EXPECT_EQ(r.code, kExitOk);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, "");
    }
}

TEST(RateCommand, ProgramErrorsExitOne)
{
    struct Case {
        Args args;
        const char* err;
    };
    const Case cases[] = {
        { { "12", "NV:Mes/Año", "EV:Año" }, "Ha cometido un Error en la definición de Periodos\n" },
        { { "12", "EV:Año", "NA:Bimestre/Trimestre" },
            "Ha cometido un Error en la definición de Periodos\n" },
        { { "100", "EA:Año", "EV:Mes" }, "Error en cálculos, revise la información digitada...\n" },
        { { "-150", "EV:Año", "EV:Mes" },
            "Error en cálculos, revise la información digitada...\n" },
        { { "1e999", "EV:Año", "EV:Mes" },
            "Error en cálculos, revise la información digitada...\n" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1] + " " + c.args[2]);
        const Outcome r = run(runRate, c.args);
        EXPECT_EQ(r.code, kExitCalcError);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(RateCommand, BadArgumentsExitTwoWithUsage)
{
    const Args cases[] = {
        {},
        { "24", "NV:Año/Mes" },
        { "24", "NV:Año/Mes", "EV:Año", "extra" },
        { "24", "XX:Año/Mes", "EV:Año" },
        { "24", "NV:Año/Semana", "EV:Año" },
        { "24", "NV", "EV:Año" },
        { "24", "NV:", "EV:Año" },
        { "24", "NV:Año/", "EV:Año" },
        { "24", "NV:Año/Mes/Mes", "EV:Año" },
        { "24", "NV:Año/Mes", "EVAño" },
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.size() > 1 ? args[1] : "few arguments");
        const Outcome r = run(runRate, args);
        EXPECT_EQ(r.code, kExitUsage);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("Uso: orvex-cli rate"), std::string::npos);
    }
}

TEST(CombinedCommand, PrintsTheCombinedRate)
{
    struct Case {
        Args args;
        int code;
        const char* out;
        const char* err;
    };
    const Case cases[] = {
        { { "10", "5" }, kExitOk, "15.5\n", "" },
        { { "2", "3" }, kExitOk, "5.06\n", "" },
        { { "1.5", "20" }, kExitOk, "21.8\n", "" },
        { { "-3", "4" }, kExitOk, "0.88\n", "" },
        { { "", "" }, kExitOk, "0.\n", "" },
        { { "1e200", "1e200" }, kExitCalcError, "",
            "Error en cálculos, revise la información digitada...\n" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " and " + c.args[1]);
        const Outcome r = run(runCombined, c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
    }
    for (const Args& bad : { Args {}, Args { "10" }, Args { "1", "2", "3" } }) {
        const Outcome r = run(runCombined, bad);
        EXPECT_EQ(r.code, kExitUsage);
        EXPECT_NE(r.err.find("Uso: orvex-cli combined"), std::string::npos);
    }
}

} // namespace
} // namespace orvex::cli
