#include "rates/rate_conversion.h"

#include "common/checked.h"
#include "common/format.h"
#include "common/numbers.h"

#include <string>

namespace orvex {
namespace {

// Every step of the conversion reads the carried percentage as a fraction,
// applies its formula and hands a percentage on again; keeping that rhythm keeps
// the last digits the same as the program's users have always seen.
template <class Formula> double step(double percent, Formula formula)
{
    const double x = percent * 0.01;
    return checkFinite(formula(x) * 100.0);
}

double dayRatio(Period numerator, Period denominator)
{
    return static_cast<double>(periodDays(numerator))
        / static_cast<double>(periodDays(denominator));
}

RateConversion periodError()
{
    RateConversion result;
    result.periodError = true;
    return result;
}

std::string foldCase(std::string_view text)
{
    std::string folded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        // "Ñ" is C3 91 in UTF-8, "ñ" C3 B1.
        if (c == '\xC3' && i + 1 < text.size() && text[i + 1] == '\x91') {
            folded += "\xC3\xB1";
            ++i;
        } else if (c >= 'A' && c <= 'Z') {
            folded += static_cast<char>(c - 'A' + 'a');
        } else {
            folded += c;
        }
    }
    return folded;
}

} // namespace

std::int16_t periodDays(Period period)
{
    switch (period) {
    case Period::Ano:
        return 360;
    case Period::Semestre:
        return 180;
    case Period::Trimestre:
        return 90;
    case Period::Bimestre:
        return 60;
    case Period::Mes:
        return 30;
    case Period::Diario:
        return 1;
    }
    return 360;
}

const char* periodName(Period period)
{
    switch (period) {
    case Period::Ano:
        return "Año";
    case Period::Semestre:
        return "Semestre";
    case Period::Trimestre:
        return "Trimestre";
    case Period::Bimestre:
        return "Bimestre";
    case Period::Mes:
        return "Mes";
    case Period::Diario:
        return "Diario";
    }
    return "Año";
}

std::optional<Period> parsePeriod(std::string_view name)
{
    const std::string folded = foldCase(name);
    if (folded == "ano")
        return Period::Ano;
    for (Period p : kAllPeriods)
        if (folded == foldCase(periodName(p)))
            return p;
    return std::nullopt;
}

bool isNominal(RateKind kind)
{
    return kind == RateKind::NominalVencida || kind == RateKind::NominalAnticipada;
}

bool isAnticipada(RateKind kind)
{
    return kind == RateKind::NominalAnticipada || kind == RateKind::EfectivaAnticipada;
}

RateKind rateKind(bool nominal, bool anticipada)
{
    if (nominal)
        return anticipada ? RateKind::NominalAnticipada : RateKind::NominalVencida;
    return anticipada ? RateKind::EfectivaAnticipada : RateKind::EfectivaVencida;
}

std::optional<RateKind> parseRateKind(std::string_view code)
{
    const std::string folded = foldCase(code);
    if (folded == "nv")
        return RateKind::NominalVencida;
    if (folded == "na")
        return RateKind::NominalAnticipada;
    if (folded == "ev")
        return RateKind::EfectivaVencida;
    if (folded == "ea")
        return RateKind::EfectivaAnticipada;
    return std::nullopt;
}

RateConversion convertRate(double knownPercent, const RateTerms& known, const RateTerms& wanted)
{
    double p = checkFinite(knownPercent);

    // To an effective vencida rate per known capitalization period.
    const double knownRatio = dayRatio(known.reference, known.capitalization);
    if (isNominal(known.kind)) {
        if (knownRatio < 1.0)
            return periodError();
        const double n = nearest(knownRatio);
        p = step(p, [n](double x) { return x / n; });
    }
    if (isAnticipada(known.kind))
        p = step(p, [](double x) { return checkedDiv(x, 1.0 - x); });

    // Compounding to the wanted capitalization period; a Trimestre/Bimestre pair
    // has a ratio of 1.5, which rounds to 2 either way.
    const double capRatio = dayRatio(known.capitalization, wanted.capitalization);
    if (capRatio < 1.0) {
        const double n = nearest(dayRatio(wanted.capitalization, known.capitalization));
        p = step(p, [n](double x) { return checkedPow(1.0 + x, n) - 1.0; });
    } else {
        const double n = nearest(capRatio);
        p = step(p, [n](double x) { return checkedPow(1.0 + x, 1.0 / n) - 1.0; });
    }

    // To the wanted kind.
    if (isAnticipada(wanted.kind))
        p = step(p, [](double x) { return checkedDiv(x, 1.0 + x); });
    if (isNominal(wanted.kind)) {
        const double wantedRatio = dayRatio(wanted.reference, wanted.capitalization);
        if (wantedRatio < 1.0)
            return periodError();
        const double n = nearest(wantedRatio);
        p = step(p, [n](double x) { return n * x; });
    }

    RateConversion result;
    result.percent = p;
    result.text = formatUpToTenDecimals(p);
    return result;
}

RateConversion convertRateText(
    std::string_view knownText, const RateTerms& known, const RateTerms& wanted)
{
    return convertRate(leadingNumber(knownText), known, wanted);
}

} // namespace orvex
