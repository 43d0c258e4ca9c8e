#include "loans/loan.h"

#include "common/calc_error.h"
#include "common/checked.h"
#include "common/numbers.h"

#include <cmath>

namespace orvex {

namespace {

double percent(const std::string& text) { return leadingNumber(text) / 100.0; }

// The loan in UVR, L / U0.
double loanInUvr(const LoanInput& loan)
{
    return checkFinite(checkedDiv(leadingNumber(loan.loanText()), leadingNumber(loan.uvrText())));
}

// A payment goes to the outflows when negative, to the inflows otherwise, and
// always to the net flows.
void addPayment(SharedState& state, long long month, double payment)
{
    checkFinite(payment);
    auto& side = payment < 0 ? *state.PeriodOutflows : *state.PeriodInflows;
    checkedAt(side, month) += payment;
    checkedAt(*state.PeriodNetFlows, month) += payment;
}

void constantCapital(const LoanInput& loan, SharedState& state, double principal, int n)
{
    const double i = percent(loan.rateText());
    // The capital part divides by the term as typed, not the rounded one.
    const double capital = checkedDiv(principal, leadingNumber(loan.termText()));
    double balance = principal;
    for (int k = 1; k <= n; ++k) {
        const double interest = i * balance;
        balance -= capital;
        checkFinite(checkedAt(*state.PeriodOutflows, k) -= capital + interest);
    }
}

double presentValueOfNetFlows(const SharedState& state, double i)
{
    double value = 0.0;
    const auto& net = *state.PeriodNetFlows;
    for (std::size_t p = 0; p < net.size(); ++p)
        value += checkedDiv(net[p], checkedPow(1.0 + i, static_cast<double>(p)));
    return checkFinite(value);
}

void uniformPayment(const LoanInput& loan, SharedState& state, int n)
{
    const double i = percent(loan.rateText());
    const double present = presentValueOfNetFlows(state, i);
    const double factor = checkedDiv(1.0 - checkedPow(1.0 + i, -n), i);
    const double payment = checkedDiv(-present, factor);
    for (int k = 1; k <= n; ++k)
        addPayment(state, k, payment);
}

// Payments fall by g month by month and start again at the full payment every
// twelve months; the yearly sums are discounted at the effective yearly rate.
void presetPayments(const LoanInput& loan, SharedState& state)
{
    const double i = percent(loan.rateText());
    const double g = percent(loan.variationText());
    const double present = presentValueOfNetFlows(state, i);
    const double yearFactor = checkedDiv(checkedPow(1.0 - g, 12) - checkedPow(1.0 + i, 12), -g - i);
    const double yearlyRate = checkedPow(1.0 + i, 12) - 1.0;
    const double years = nearest(leadingNumber(loan.termText()) / 12.0);
    const double annuity = checkedDiv(1.0 - checkedPow(1.0 + yearlyRate, -years), yearlyRate);
    const double first = checkedDiv(-present, checkFinite(yearFactor * annuity));
    for (long long y = 0; y < static_cast<long long>(years); ++y) {
        for (int m = 1; m <= 12; ++m)
            addPayment(state, 12 * y + m, first * checkedPow(1.0 - g, m - 1));
    }
}

} // namespace

std::int16_t loanMonths(const std::string& termText)
{
    const std::int16_t months = toInt16(leadingNumber(termText));
    if (months < 0)
        throw CalcError(CalcErrorKind::InvalidInput, "negative term");
    return months;
}

void preciosUpac(const LoanInput& loan, SharedState& state)
{
    const int n = loanMonths(loan.termText());
    std::vector<double> values(static_cast<std::size_t>(n) + 1, 0.0);
    values[0] = leadingNumber(loan.uvrText());
    double running = percent(loan.variationText());
    const std::vector<double> noTable;
    const auto& table = state.UvrVariations ? *state.UvrVariations : noTable;
    for (int k = 1; k <= n; ++k) {
        const std::size_t previous = static_cast<std::size_t>(k) - 1;
        const double own = previous < table.size() ? table[previous] : 0.0;
        const double rate = own != 0.0 ? own : running;
        values[static_cast<std::size_t>(k)] = checkFinite(values[previous] * (1.0 + rate));
        running = rate;
    }
    state.UvrValues = std::move(values);
}

void calculosUpac(const LoanInput& loan, SharedState& state)
{
    const int n = loanMonths(loan.termText());
    state.resetFlows(static_cast<std::size_t>(n) + 1);
    const double principal = loanInUvr(loan);
    (*state.PeriodNetFlows)[0] = principal;
    (*state.PeriodInflows)[0] = principal;
    switch (loan.system) {
    case PaymentSystem::ConstantCapital:
        constantCapital(loan, state, principal, n);
        break;
    case PaymentSystem::UniformPayment:
        uniformPayment(loan, state, n);
        break;
    case PaymentSystem::PresetPayments:
        presetPayments(loan, state);
        break;
    }
}

void runLoanCalculation(const LoanInput& loan, SharedState& state)
{
    const std::size_t count = static_cast<std::size_t>(loanMonths(loan.termText())) + 1;
    if (!state.UvrVariations)
        state.UvrVariations.emplace();
    state.UvrVariations->resize(count, 0.0);
    if (!loan.enUvr)
        preciosUpac(loan, state);
    calculosUpac(loan, state);
}

} // namespace orvex
