#include "rates/rate_conversion.h"

#include "common/calc_error.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace orvex {
namespace {

using enum Period;
constexpr RateKind NV = RateKind::NominalVencida;
constexpr RateKind NA = RateKind::NominalAnticipada;
constexpr RateKind EV = RateKind::EfectivaVencida;
constexpr RateKind EA = RateKind::EfectivaAnticipada;
constexpr auto DivByZero = CalcErrorKind::DivisionByZero;

std::string describe(const RateTerms& t)
{
    const char* codes[] = { "NV", "NA", "EV", "EA" };
    return std::string(codes[static_cast<int>(t.kind)]) + ":" + periodName(t.reference) + "/"
        + periodName(t.capitalization);
}

TEST(RateConversion, TypedRatesConvertOrFailWhereTheStepsSay)
{
    struct Case {
        const char* known;
        RateTerms from, to;
        std::variant<const char*, CalcErrorKind> expected; // text, "period error" or a throw
    };
    const Case cases[] = {
        // Checked by hand with the closed forms, e.g. (1 + 0.24/12)^12 - 1.
        { "12", { EV, Ano, Ano }, { EV, Ano, Mes }, "0.9488792935" }, // the window's defaults
        { "24", { NV, Ano, Mes }, { EV, Ano, Ano }, "26.8241794563" },
        { "24", { NV, Ano, Mes }, { EA, Ano, Ano }, "21.1506824418" },
        { "24", { NA, Ano, Mes }, { NV, Ano, Trimestre }, "24.9929876157" },
        { "12", { EV, Ano, Ano }, { NA, Ano, Mes }, "11.2795224684" },
        { "36", { NV, Ano, Ano }, { NA, Ano, Ano }, "26.4705882353" },
        // Trimestre/Bimestre: the ratio 1.5 becomes 2 in both directions.
        { "10", { EV, Ano, Bimestre }, { EV, Ano, Trimestre }, "21." },
        { "10", { EV, Ano, Trimestre }, { EV, Ano, Bimestre }, "4.880884817" },
        { "12", { NV, Trimestre, Bimestre }, { NV, Trimestre, Bimestre }, "12." },
        { "3", { EV, Ano, Mes }, { EV, Ano, Diario }, "0.0985778969" },
        // An effective rate ignores its reference, even one shorter than its capitalization.
        { "12", { EV, Diario, Ano }, { EV, Mes, Mes }, "0.9488792935" },
        // (-0.5)^12 - 1: a negative base to a whole power is real.
        { "-150", { EV, Ano, Mes }, { EV, Ano, Ano }, "-99.9755859375" },
        // The known rate is its leading number: text that is not a number counts as 0.
        { "", { EV, Ano, Ano }, { EV, Ano, Mes }, "0." },
        { "-0", { EV, Ano, Ano }, { EV, Ano, Mes }, "0." },
        { "  12abc", { EV, Ano, Ano }, { EV, Ano, Mes }, "0.9488792935" },
        // A nominal reference shorter than its capitalization, known or wanted; 0 too.
        { "12", { NV, Mes, Ano }, { EV, Ano, Ano }, "period error" },
        { "12", { NA, Trimestre, Semestre }, { EV, Ano, Ano }, "period error" },
        { "12", { EV, Ano, Ano }, { NV, Mes, Ano }, "period error" },
        { "12", { EV, Ano, Ano }, { NA, Bimestre, Trimestre }, "period error" },
        { "0", { NV, Diario, Mes }, { EV, Ano, Ano }, "period error" },
        // The known periods are checked before step 1, which would fail here; the
        // wanted ones only after steps 1 and 2 and the anticipada division.
        { "100", { NA, Mes, Ano }, { EV, Ano, Ano }, "period error" },
        { "100", { EA, Ano, Ano }, { NV, Mes, Ano }, DivByZero },
        { "-100", { EV, Ano, Ano }, { NA, Mes, Ano }, DivByZero },
        // Input with no real result: 100 % anticipada or -100 % vencida per period,
        // a negative base to 1/12, figures beyond a double.
        { "100", { EA, Ano, Ano }, { EV, Ano, Mes }, DivByZero },
        { "1200", { NA, Ano, Mes }, { EV, Ano, Ano }, DivByZero },
        { "-100", { EV, Ano, Mes }, { EA, Ano, Mes }, DivByZero },
        { "-150", { EV, Ano, Ano }, { EV, Ano, Mes }, CalcErrorKind::NegativeBaseFractionalPower },
        { "1e300", { EV, Ano, Diario }, { EV, Ano, Ano }, CalcErrorKind::Overflow },
        { "1e999", { EV, Ano, Ano }, { EV, Ano, Ano }, CalcErrorKind::Overflow },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.known) + " " + describe(c.from) + " -> " + describe(c.to));
        try {
            const RateConversion r = convertRateText(c.known, c.from, c.to);
            const std::string got = r.periodError ? "period error" + r.text : r.text;
            if (std::holds_alternative<CalcErrorKind>(c.expected))
                ADD_FAILURE() << "no error, got " << got;
            else
                EXPECT_EQ(got, std::get<const char*>(c.expected));
        } catch (const CalcError& e) {
            ASSERT_TRUE(std::holds_alternative<CalcErrorKind>(c.expected)) << e.what();
            EXPECT_EQ(e.kind(), std::get<CalcErrorKind>(c.expected));
        }
    }
}

// Every kind and periods of a rate whose nominal reference/capitalization ratio is
// whole and at least 1; effective rates only need one reference.
std::vector<RateTerms> wholeTerms()
{
    std::vector<RateTerms> terms;
    for (RateKind kind : { NV, NA, EV, EA })
        for (Period ref : kAllPeriods)
            for (Period cap : kAllPeriods) {
                const bool nominal = isNominal(kind);
                if ((!nominal && ref == Ano) || (nominal && periodDays(ref) % periodDays(cap) == 0))
                    terms.push_back({ kind, ref, cap });
            }
    return terms;
}

bool wholeRatio(Period a, Period b)
{
    return periodDays(a) % periodDays(b) == 0 || periodDays(b) % periodDays(a) == 0;
}

TEST(RateConversion, ConvertingBackGivesTheOriginal)
{
    const std::vector<RateTerms> terms = wholeTerms();
    int pairs = 0;
    for (const RateTerms& a : terms)
        for (const RateTerms& b : terms) {
            if (!wholeRatio(a.capitalization, b.capitalization))
                continue;
            ++pairs;
            // Annual magnitudes scaled to the rate's own period: -5 % a day compounds
            // to -100 % a year, where no conversion can keep nine decimals.
            const Period quoted = isNominal(a.kind) ? a.reference : a.capitalization;
            for (double annual : { 0.0, 3.0, 12.0, 24.5, 36.0, -5.0, 60.0 }) {
                const double rate = annual * periodDays(quoted) / 360.0;
                SCOPED_TRACE(
                    ::testing::Message() << rate << " " << describe(a) << " -> " << describe(b));
                const RateConversion there = convertRate(rate, a, b);
                ASSERT_FALSE(there.periodError);
                const RateConversion back = convertRate(there.percent, b, a);
                ASSERT_FALSE(back.periodError);
                EXPECT_NEAR(back.percent, rate, 1e-9);
            }
        }
    // 20 + 20 nominal and 6 + 6 effective rates; the count guards the filter.
    EXPECT_GT(pairs, 1500);
}

TEST(RateConversion, EquivalentRatesEarnTheSameOverAYear)
{
    // Independent check: any wanted rate, brought to an effective annual rate by its
    // own definition, earns what the known 18 % effective annual rate earns.
    for (const RateTerms& to : wholeTerms()) {
        if (!wholeRatio(Ano, to.capitalization))
            continue;
        SCOPED_TRACE(describe(to));
        const RateConversion r = convertRate(18.0, { EV, Ano, Ano }, to);
        ASSERT_FALSE(r.periodError);
        double perPeriod = r.percent / 100.0;
        if (isNominal(to.kind))
            perPeriod /= periodDays(to.reference) / periodDays(to.capitalization);
        if (isAnticipada(to.kind))
            perPeriod = perPeriod / (1.0 - perPeriod);
        const double periodsPerYear = 360.0 / periodDays(to.capitalization);
        EXPECT_NEAR(std::pow(1.0 + perPeriod, periodsPerYear), 1.18, 1e-12);
    }
}

TEST(RateConversion, PeriodsKindsAndTheirNames)
{
    // The day counts feed the checks above, so they are pinned here on their own.
    std::vector<int> days;
    for (Period p : kAllPeriods) {
        days.push_back(periodDays(p));
        EXPECT_EQ(parsePeriod(periodName(p)), p) << periodName(p);
    }
    EXPECT_EQ(days, (std::vector<int> { 360, 180, 90, 60, 30, 1 }));
    EXPECT_STREQ(periodName(Ano), "Año");

    const std::pair<const char*, std::optional<Period>> periods[]
        = { { "año", Ano }, { "AÑO", Ano }, { "Ano", Ano }, { "ANO", Ano }, { "mes", Mes },
              { "DIARIO", Diario }, { "trimestre", Trimestre }, { "semana", std::nullopt },
              { "", std::nullopt }, { "Mes ", std::nullopt } };
    for (const auto& [text, period] : periods)
        EXPECT_EQ(parsePeriod(text), period) << text;
    const std::pair<const char*, std::optional<RateKind>> kinds[] = { { "nv", NV }, { "NA", NA },
        { "Ev", EV }, { "eA", EA }, { "EX", std::nullopt }, { "NVA", std::nullopt } };
    for (const auto& [code, kind] : kinds)
        EXPECT_EQ(parseRateKind(code), kind) << code;

    for (RateKind k : { NV, NA, EV, EA })
        EXPECT_EQ(rateKind(isNominal(k), isAnticipada(k)), k);
}

} // namespace
} // namespace orvex
