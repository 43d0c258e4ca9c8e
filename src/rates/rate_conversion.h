#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvex {

// The periods a rate refers to, on a 360-day year.
enum class Period { Ano, Semestre, Trimestre, Bimestre, Mes, Diario };

inline constexpr std::array<Period, 6> kAllPeriods = { Period::Ano, Period::Semestre,
    Period::Trimestre, Period::Bimestre, Period::Mes, Period::Diario };

// Length in days: 360, 180, 90, 60, 30, 1.
std::int16_t periodDays(Period period);

// The caption the windows show: "Año", "Semestre", ..., "Diario" (UTF-8).
const char* periodName(Period period);

// A period from its caption, case-insensitive; "Ano" is accepted for "Año".
std::optional<Period> parsePeriod(std::string_view name);

// Nominal or effective, vencida (paid at the end of the period) or anticipada.
enum class RateKind { NominalVencida, NominalAnticipada, EfectivaVencida, EfectivaAnticipada };

bool isNominal(RateKind kind);
bool isAnticipada(RateKind kind);
RateKind rateKind(bool nominal, bool anticipada);

// "NV", "NA", "EV", "EA", case-insensitive.
std::optional<RateKind> parseRateKind(std::string_view code);

// A rate's kind and periods. An effective rate ignores its reference period.
struct RateTerms {
    RateKind kind = RateKind::EfectivaVencida;
    Period reference = Period::Ano;
    Period capitalization = Period::Ano;
};

// The converter's answer: either the equivalent rate in percent with its display
// text ("##0.##########"), or a period error (a nominal rate whose reference is
// shorter than its capitalization), in which case percent and text are unset.
struct RateConversion {
    bool periodError = false;
    double percent = 0.0;
    std::string text;
};

inline constexpr const char* kPeriodErrorMessage
    = "Ha cometido un Error en la definición de Periodos";
inline constexpr const char* kPeriodErrorTitle = "Error";

// The rate equivalent to knownPercent (a percentage of kind known) in the kind and
// periods of wanted. The known nominal rate's periods are checked before anything
// is computed, the wanted nominal rate's only after the change of capitalization.
// Throws CalcError when a step has no real result: a divisor 1 - x or 1 + x of
// zero, a negative 1 + x raised to 1/n, or a value that is not finite.
RateConversion convertRate(double knownPercent, const RateTerms& known, const RateTerms& wanted);

// The same for the known rate as typed: its leading number, so any text that is
// not a number counts as 0. A number too large for a double throws CalcError.
RateConversion convertRateText(
    std::string_view knownText, const RateTerms& known, const RateTerms& wanted);

} // namespace orvex
