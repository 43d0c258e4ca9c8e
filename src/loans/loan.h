#pragma once

#include "common/shared_state.h"

#include <array>
#include <cstdint>
#include <string>

namespace orvex {

// The payment systems, numbered as the option group SistemaPago (1..3).
enum class PaymentSystem : int {
    ConstantCapital = 1, // "Pago Constante a Capital en UVR"
    UniformPayment = 2, // "Cuota Uniforme en UVR"
    PresetPayments = 3, // "Cuotas Preestablecidas"
};

// The loan window's data as typed: texts[0..4] are Valores1..Valores5 (loan in
// pesos, initial UVR value, term in months, real rate % a month, UVR variation %
// a month), read with leadingNumber at the moment of use.
struct LoanInput {
    std::array<std::string, 5> texts;
    PaymentSystem system = PaymentSystem::ConstantCapital;
    bool enUvr = false; // "En UVR" selected; otherwise "En Pesos"

    const std::string& loanText() const { return texts[0]; }
    const std::string& uvrText() const { return texts[1]; }
    const std::string& termText() const { return texts[2]; }
    const std::string& rateText() const { return texts[3]; }
    const std::string& variationText() const { return texts[4]; }

    friend bool operator==(const LoanInput&, const LoanInput&) = default;
};

// N: the term text rounded to whole months (halves to even), the last index of
// every per-month array. Throws CalcError when negative or beyond 16 bits.
std::int16_t loanMonths(const std::string& termText);

// The value of one UVR in pesos for months 0..N into UvrValues: month k grows by
// UvrVariations[k - 1] when that is not 0, else by the running rate (starting as
// the "Variacion UVR %"). UvrVariations is only read. Throws CalcError.
void preciosUpac(const LoanInput& loan, SharedState& state);

// The loan's monthly flows in UVR into the three flow arrays (0..N): the loan
// L / U0 at month 0, the payments of the chosen system, negative, from month 1.
// Throws CalcError (U0 = 0, zero rate with the uniform payment, a payment month
// beyond N, overflow); the arrays then keep what was written.
void calculosUpac(const LoanInput& loan, SharedState& state);

// "Cálculos" up to the schedule: UvrVariations resized to 0..N keeping its
// entries, PreciosUpac when in pesos, then CalculosUpac. Throws CalcError.
void runLoanCalculation(const LoanInput& loan, SharedState& state);

} // namespace orvex
