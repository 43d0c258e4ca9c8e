#include "cli/commands.h"

#include "common/calc_error.h"
#include "rates/combined_rate.h"
#include "rates/rate_conversion.h"

#include <optional>
#include <ostream>
#include <string>

namespace orvex::cli {
namespace {

const char* kRateUsage
    = "Uso: orvex-cli rate VALOR CONOCIDA DESEADA\n"
      "  CONOCIDA y DESEADA: TIPO:REFERENCIA/CAPITALIZACION o TIPO:CAPITALIZACION\n"
      "  (referencia Año si falta; una tasa efectiva no usa su referencia)\n"
      "  TIPO: NV, NA, EV, EA (nominal/efectiva, vencida/anticipada)\n"
      "  periodos: Año (o Ano), Semestre, Trimestre, Bimestre, Mes, Diario\n"
      "  ejemplo: orvex-cli rate 24 NV:Año/Mes EV:Año\n";

const char* kCombinedUsage = "Uso: orvex-cli combined COMPONENTE1 COMPONENTE2\n";

// "KIND:REF/CAP" or "KIND:CAP"; the reference defaults to the year.
std::optional<RateTerms> parseTerms(const std::string& text)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    const auto kind = parseRateKind(std::string_view(text).substr(0, colon));
    const std::string periods = text.substr(colon + 1);
    const auto slash = periods.find('/');
    std::optional<Period> reference = Period::Ano;
    std::optional<Period> capitalization;
    if (slash == std::string::npos) {
        capitalization = parsePeriod(periods);
    } else {
        reference = parsePeriod(std::string_view(periods).substr(0, slash));
        capitalization = parsePeriod(std::string_view(periods).substr(slash + 1));
    }
    if (!kind || !reference || !capitalization)
        return std::nullopt;
    return RateTerms { *kind, *reference, *capitalization };
}

int usageError(std::ostream& err, const std::string& problem, const char* usage)
{
    err << "orvex-cli: " << problem << "\n" << usage;
    return kExitUsage;
}

} // namespace

// VALOR is read like the window's field: its leading number, so a text without
// one counts as 0.
int runRate(const Args& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 3)
        return usageError(err, "rate necesita tres argumentos", kRateUsage);
    const auto known = parseTerms(args[1]);
    if (!known)
        return usageError(err, "tasa conocida no válida: " + args[1], kRateUsage);
    const auto wanted = parseTerms(args[2]);
    if (!wanted)
        return usageError(err, "tasa deseada no válida: " + args[2], kRateUsage);
    try {
        const RateConversion r = convertRateText(args[0], *known, *wanted);
        if (r.periodError) {
            err << kPeriodErrorMessage << "\n";
            return kExitCalcError;
        }
        out << r.text << "\n";
        return kExitOk;
    } catch (const CalcError&) {
        err << kCalcErrorMessage << "\n";
        return kExitCalcError;
    }
}

int runCombined(const Args& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 2)
        return usageError(err, "combined necesita dos argumentos", kCombinedUsage);
    try {
        out << combinedRateText(args[0], args[1]) << "\n";
        return kExitOk;
    } catch (const CalcError&) {
        err << kCalcErrorMessage << "\n";
        return kExitCalcError;
    }
}

} // namespace orvex::cli
