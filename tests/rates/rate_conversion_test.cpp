#include "rates/rate_conversion.h"

#include "common/calc_error.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace orvex {
namespace {

constexpr RateKind NV = RateKind::NominalVencida;
constexpr RateKind NA = RateKind::NominalAnticipada;
constexpr RateKind EV = RateKind::EfectivaVencida;
constexpr RateKind EA = RateKind::EfectivaAnticipada;

TEST(RateConversion, WorkedExamples)
{
    struct Case {
        const char* known;
        RateTerms from;
        RateTerms to;
        const char* text;
    };
    // Figures checked by hand with the closed forms, e.g. (1 + 0.24/12)^12 - 1.
    const Case cases[] = {
        // The window's defaults: effective vencida per year to per month.
        { "12", { EV, Period::Ano, Period::Ano }, { EV, Period::Ano, Period::Mes },
            "0.9488792935" },
        { "24", { NV, Period::Ano, Period::Mes }, { EV, Period::Ano, Period::Ano },
            "26.8241794563" },
        { "24", { NV, Period::Ano, Period::Mes }, { EA, Period::Ano, Period::Ano },
            "21.1506824418" },
        { "24", { NA, Period::Ano, Period::Mes }, { NV, Period::Ano, Period::Trimestre },
            "24.9929876157" },
        { "12", { EV, Period::Ano, Period::Ano }, { NA, Period::Ano, Period::Mes },
            "11.2795224684" },
        { "36", { NV, Period::Ano, Period::Ano }, { NA, Period::Ano, Period::Ano },
            "26.4705882353" },
        // Trimestre/Bimestre: the ratio 1.5 becomes 2 in both directions.
        { "10", { EV, Period::Ano, Period::Bimestre }, { EV, Period::Ano, Period::Trimestre },
            "21." },
        { "10", { EV, Period::Ano, Period::Trimestre }, { EV, Period::Ano, Period::Bimestre },
            "4.880884817" },
        { "3", { EV, Period::Ano, Period::Mes }, { EV, Period::Ano, Period::Diario },
            "0.0985778969" },
        // An effective rate ignores its reference, even one shorter than its capitalization.
        { "12", { EV, Period::Diario, Period::Ano }, { EV, Period::Mes, Period::Mes },
            "0.9488792935" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const RateConversion r = convertRateText(c.known, c.from, c.to);
        EXPECT_FALSE(r.periodError);
        EXPECT_EQ(r.text, c.text);
    }
}

TEST(RateConversion, TextThatIsNotANumberCountsAsZero)
{
    struct Case {
        const char* known;
        const char* text;
    };
    const Case cases[] = { { "", "0." }, { "abc", "0." }, { "  12abc", "0.9488792935" },
        { "1.2e1", "0.9488792935" }, { "-0", "0." } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.known);
        const RateConversion r = convertRateText(
            c.known, { EV, Period::Ano, Period::Ano }, { EV, Period::Ano, Period::Mes });
        EXPECT_EQ(r.text, c.text);
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
                if (!isNominal(kind) && ref != Period::Ano)
                    continue;
                if (isNominal(kind) && periodDays(ref) % periodDays(cap) != 0)
                    continue;
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
                SCOPED_TRACE(::testing::Message()
                    << rate << " kinds " << static_cast<int>(a.kind) << "->"
                    << static_cast<int>(b.kind) << " periods " << periodName(a.reference) << "/"
                    << periodName(a.capitalization) << " -> " << periodName(b.reference) << "/"
                    << periodName(b.capitalization));
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
        if (!wholeRatio(Period::Ano, to.capitalization))
            continue;
        SCOPED_TRACE(::testing::Message()
            << static_cast<int>(to.kind) << " " << periodName(to.reference) << "/"
            << periodName(to.capitalization));
        const RateConversion r = convertRate(18.0, { EV, Period::Ano, Period::Ano }, to);
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

TEST(RateConversion, PeriodErrorComesWhereTheStepsCheckIt)
{
    struct Case {
        const char* why;
        double known;
        RateTerms from;
        RateTerms to;
        bool periodError;
        bool calcError;
    };
    const Case cases[] = {
        { "known nominal reference shorter than capitalization", 12,
            { NV, Period::Mes, Period::Ano }, { EV, Period::Ano, Period::Ano }, true, false },
        { "known anticipada likewise", 12, { NA, Period::Trimestre, Period::Semestre },
            { EV, Period::Ano, Period::Ano }, true, false },
        { "wanted nominal reference shorter than capitalization", 12,
            { EV, Period::Ano, Period::Ano }, { NV, Period::Mes, Period::Ano }, true, false },
        { "wanted anticipada likewise", 12, { EV, Period::Ano, Period::Ano },
            { NA, Period::Bimestre, Period::Trimestre }, true, false },
        { "a zero rate is still checked", 0, { NV, Period::Diario, Period::Mes },
            { EV, Period::Ano, Period::Ano }, true, false },
        // Known periods are tested before anything is computed: 100 % anticipada per
        // period would have no real result, but the period error wins.
        { "known check before the first step", 100, { NA, Period::Mes, Period::Ano },
            { EV, Period::Ano, Period::Ano }, true, false },
        // Wanted periods are tested only after steps 1 and 2, which fail first here.
        { "wanted check after step 1", 100, { EA, Period::Ano, Period::Ano },
            { NV, Period::Mes, Period::Ano }, false, true },
        // The wanted anticipada division is a step of its own before the check.
        { "wanted check after the anticipada step", -100, { EV, Period::Ano, Period::Ano },
            { NA, Period::Mes, Period::Ano }, false, true },
        { "Trimestre/Bimestre rounds up to a valid 2", 12,
            { NV, Period::Trimestre, Period::Bimestre },
            { NV, Period::Trimestre, Period::Bimestre }, false, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        try {
            const RateConversion r = convertRate(c.known, c.from, c.to);
            EXPECT_FALSE(c.calcError);
            EXPECT_EQ(r.periodError, c.periodError);
            if (r.periodError) {
                EXPECT_TRUE(r.text.empty());
            }
        } catch (const CalcError&) {
            EXPECT_TRUE(c.calcError);
        }
    }
}

TEST(RateConversion, InputWithNoRealResultThrows)
{
    struct Case {
        const char* why;
        const char* known;
        RateTerms from;
        RateTerms to;
        CalcErrorKind kind;
    };
    const Case cases[] = {
        { "effective anticipada of 100 %", "100", { EA, Period::Ano, Period::Ano },
            { EV, Period::Ano, Period::Mes }, CalcErrorKind::DivisionByZero },
        { "nominal anticipada of 100 % per month", "1200", { NA, Period::Ano, Period::Mes },
            { EV, Period::Ano, Period::Ano }, CalcErrorKind::DivisionByZero },
        { "vencida of -100 % wanted anticipada", "-100", { EV, Period::Ano, Period::Mes },
            { EA, Period::Ano, Period::Mes }, CalcErrorKind::DivisionByZero },
        { "negative base to 1/12", "-150", { EV, Period::Ano, Period::Ano },
            { EV, Period::Ano, Period::Mes }, CalcErrorKind::NegativeBaseFractionalPower },
        { "compounding overflows", "1e300", { EV, Period::Ano, Period::Diario },
            { EV, Period::Ano, Period::Ano }, CalcErrorKind::Overflow },
        { "a rate beyond a double", "1e999", { EV, Period::Ano, Period::Ano },
            { EV, Period::Ano, Period::Ano }, CalcErrorKind::Overflow },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        try {
            const RateConversion r = convertRateText(c.known, c.from, c.to);
            ADD_FAILURE() << "no error, got " << r.text;
        } catch (const CalcError& e) {
            EXPECT_EQ(e.kind(), c.kind);
        }
    }
}

TEST(RateConversion, NegativeBaseToAWholePowerIsReal)
{
    // -150 % per month compounds to (−0.5)^12 − 1 a year: odd but real.
    const RateConversion r
        = convertRate(-150, { EV, Period::Ano, Period::Mes }, { EV, Period::Ano, Period::Ano });
    EXPECT_NEAR(r.percent, (std::pow(-0.5, 12) - 1) * 100, 1e-9);
}

TEST(RateConversion, PeriodsHaveTheirDaysAndNames)
{
    struct Case {
        Period period;
        int days;
        const char* name;
    };
    const Case cases[] = { { Period::Ano, 360, "Año" }, { Period::Semestre, 180, "Semestre" },
        { Period::Trimestre, 90, "Trimestre" }, { Period::Bimestre, 60, "Bimestre" },
        { Period::Mes, 30, "Mes" }, { Period::Diario, 1, "Diario" } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(periodDays(c.period), c.days);
        EXPECT_STREQ(periodName(c.period), c.name);
        EXPECT_EQ(parsePeriod(c.name), c.period);
    }
}

TEST(RateConversion, NamesParseCaseInsensitively)
{
    struct Case {
        const char* text;
        std::optional<Period> period;
    };
    const Case cases[] = { { "año", Period::Ano }, { "AÑO", Period::Ano }, { "Ano", Period::Ano },
        { "ANO", Period::Ano }, { "mes", Period::Mes }, { "DIARIO", Period::Diario },
        { "trimestre", Period::Trimestre }, { "semana", std::nullopt }, { "", std::nullopt },
        { "Mes ", std::nullopt } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parsePeriod(c.text), c.period);
    }
    EXPECT_EQ(parseRateKind("nv"), NV);
    EXPECT_EQ(parseRateKind("NA"), NA);
    EXPECT_EQ(parseRateKind("Ev"), EV);
    EXPECT_EQ(parseRateKind("eA"), EA);
    EXPECT_EQ(parseRateKind("EX"), std::nullopt);
    EXPECT_EQ(parseRateKind("NVA"), std::nullopt);
}

TEST(RateConversion, KindFromTheTwoOptionPairs)
{
    EXPECT_EQ(rateKind(true, false), NV);
    EXPECT_EQ(rateKind(true, true), NA);
    EXPECT_EQ(rateKind(false, false), EV);
    EXPECT_EQ(rateKind(false, true), EA);
    for (RateKind k : { NV, NA, EV, EA })
        EXPECT_EQ(rateKind(isNominal(k), isAnticipada(k)), k);
}

} // namespace
} // namespace orvex
