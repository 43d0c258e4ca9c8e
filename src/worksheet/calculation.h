#pragma once

#include "common/shared_state.h"
#include "worksheet/worksheet.h"

#include <optional>
#include <span>
#include <string>

namespace orvex {

// The unknown row as the expansion captured it.
struct UnknownRow {
    std::int16_t kind = 0;
    std::int32_t start = 0; // start − FirstPeriod (start unscaled, years for kind 5)
    std::int32_t end = 0; // end − FirstPeriod
    std::int16_t startYears = 0; // the row's own start, needed to place kind-5 months
    double growth = 0.0;
    double sensitivity = 1.0;
    std::string amountText;
};

// Expands the worksheet into FirstPeriod, LastPeriod and the three flow arrays of
// state (reallocated, all zero, first). Returns the last row marked unknown.
// Throws CalcError; the arrays then hold what was written so far.
std::optional<UnknownRow> expandWorksheet(const Worksheet& sheet, SharedState& state);

// Adds the flows of one row (kind, start, end in the row's own units, amount,
// growth, sensitivity) to the arrays; the array is chosen by the amount's sign.
void addRowFlows(SharedState& state, std::int16_t kind, std::int32_t start, std::int32_t end,
    double amount, double growth, double sensitivity);

// Σ x[k] / (1 + r)^k, the value at the first index. Throws CalcError.
double presentValue(double rate, std::span<const double> flows);

// The rate r > −1 at which presentValue(r, flows) is 0, the one nearest to 0 when
// there are several (a root where the value only touches 0 counts). Throws
// CalcError(NoRate) when there is none.
double internalRateOfReturn(std::span<const double> flows);

enum class CalcMode { Rate, Evaluation, Solve };

// What Calculos leaves for the window to show.
struct CalcOutcome {
    CalcMode mode = CalcMode::Evaluation;
    // Results frame labels (Rate and Solve), set as soon as they were computed.
    std::optional<std::string> comentario;
    std::optional<std::string> respuesta;
    // The new Interes text after Rate mode.
    std::optional<std::string> newRate;
    // The three label pairs of Respuestas (Evaluation), set only when all computed.
    struct Evaluation {
        std::string vpn, bc, tir;
    };
    std::optional<Evaluation> evaluation;
    // The calculation ended with the error message, after showing what is above.
    bool failed = false;
    std::string failure; // why, for tests and the command line's --verbose
};

inline constexpr const char* kLabelVpn = "Valor Presente Neto, VPN";
inline constexpr const char* kLabelBc = "Relación Beneficio - Costo, B/C";
inline constexpr const char* kLabelTir = "Tasa Interna de Retorno, TIR";
inline constexpr const char* kLabelRate = "La tasa de interes es : ";

// The one calculation of the worksheet; never throws.
CalcOutcome calculos(const Worksheet& sheet, SharedState& state);

} // namespace orvex
