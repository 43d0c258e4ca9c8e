#pragma once

#include "common/shared_state.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace orvex {

inline constexpr const char* kScheduleCaption = "LIQUIDACION DE PRESTAMOS";
inline constexpr const char* kScheduleSuffixPesos = " EN PESOS";
inline constexpr const char* kScheduleSuffixUvr = " EN UVRS";

inline constexpr std::array<const char*, 5> kScheduleHeaders = {
    "Período",
    "Pago Intereses",
    "Cuota",
    "Pago Capital",
    "Saldo",
};
// Characters per column for columnWidthTwips.
inline constexpr std::array<int, 5> kScheduleColumnCharacters = { 8, 10, 10, 10, 10 };

// What the schedule reads from the window that opened it; the opener hands it over.
struct ScheduleSource {
    bool loanMode = false;
    std::string rateText; // worksheet mode: the Interes text; loan mode: Valores4
    std::string termText; // loan mode: Valores3
    bool enUvr = false; // loan mode: "En UVR" selected

    static ScheduleSource worksheet(std::string interesText)
    {
        return { false, std::move(interesText), {}, false };
    }
    static ScheduleSource loan(std::string termText, std::string rateText, bool enUvr)
    {
        return { true, std::move(rateText), std::move(termText), enUvr };
    }
};

// The amortization schedule as the window's grid shows it: row 0 holds the five
// headers, row r >= 1 the period FirstPeriod + r - 1 (UTF-8 texts, formatted).
// The payment-plan chart reads these texts.
struct ScheduleTable {
    std::string caption;
    std::vector<std::array<std::string, 5>> rows;
};

// Builds the schedule from the flow arrays of state: the payment of a period is
// |PeriodOutflows|, interest is the rate times the previous balance. Loan mode
// sets FirstPeriod = 0 and LastPeriod = the rounded term; UvrValues is replaced
// by ones except in loan mode in pesos. Amounts are shown "###0.00000" in UVR,
// "###0.00" otherwise. Throws CalcError (no flows yet, a bad term, overflow).
ScheduleTable buildSchedule(const ScheduleSource& source, SharedState& state);

// The "Archivo Excel" text: every cell followed by TAB, every row ended by CR LF.
std::string scheduleClipboardText(const ScheduleTable& table);

} // namespace orvex
