#include "worksheet/calculation.h"

#include "common/checked.h"
#include "common/format.h"
#include "common/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <span>
#include <utility>

namespace orvex {
namespace {

// Four doubles in one vector: two registers of SSE2, one of AVX.
typedef double Quad __attribute__((vector_size(32)));

struct RowValues {
    std::int16_t kind;
    std::int16_t start;
    std::int16_t end;
    double growth;
    double sensitivity;
};

RowValues readRow(const Worksheet& sheet, int row)
{
    RowValues v {};
    v.kind = sheet.rowKind(row);
    v.start = toInt16(leadingNumber(sheet.cell(row, kColInicio)));
    v.end = toInt16(leadingNumber(sheet.cell(row, kColFinal)));
    v.growth = leadingNumber(sheet.cell(row, kColPorcentaje)) / 100.0;
    v.sensitivity = leadingNumber(sheet.cell(row, kColSensibilidad)) / 100.0;
    if (v.sensitivity == 0.0)
        v.sensitivity = 1.0;
    return v;
}

// Years to months for the period range, with the 16-bit overflow of the product.
std::int16_t scaled(std::int16_t kind, std::int16_t period)
{
    return kind == 5 ? toInt16(12.0 * period) : period;
}

// The two arrays a row writes into, from one period on, checked against their
// bounds once. Checked: every sum is tested and the first one that overflows
// stops the row before it is stored, so the arrays never hold a value that is
// not finite; the unchecked sink is used when no sum can overflow.
template <bool Checked> struct RowSink {
    double* net = nullptr;
    double* side = nullptr;

    RowSink(SharedState& state, bool inflow, std::int32_t firstPeriod, std::int32_t count)
    {
        auto& netFlows = *state.PeriodNetFlows;
        auto& sideFlows = inflow ? *state.PeriodInflows : *state.PeriodOutflows;
        const long long first = static_cast<long long>(firstPeriod) - state.FirstPeriod;
        if (count <= 0)
            return;
        checkedAt(netFlows, first);
        checkedAt(netFlows, first + count - 1);
        net = netFlows.data() + first;
        side = sideFlows.data() + first;
    }
    // Four flows from offset on; the unchecked sink adds them as one vector,
    // the sums the same as one by one.
    void add4(std::int32_t offset, const Quad& flows)
    {
        if constexpr (Checked) {
            for (int l = 0; l < 4; ++l)
                add(offset + l, flows[l]);
        } else {
            for (double* a : { net + offset, side + offset }) {
                Quad sum;
                std::memcpy(&sum, a, sizeof sum);
                sum += flows;
                std::memcpy(a, &sum, sizeof sum);
            }
        }
    }
    void add(std::int32_t offset, double flow)
    {
        if constexpr (Checked) {
            const double newNet = net[offset] + flow;
            const double newSide = side[offset] + flow;
            if (!std::isfinite(newNet) || !std::isfinite(newSide))
                throw CalcError(CalcErrorKind::Overflow, "a flow or a period's sum overflows");
            net[offset] = newNet;
            side[offset] = newSide;
        } else {
            net[offset] += flow;
            side[offset] += flow;
        }
    }
};

template <bool Checked>
[[gnu::always_inline]] inline void writeRow(SharedState& state, std::int16_t kind,
    std::int32_t start, std::int32_t end, double amount, double growth, double sensitivity)
{
    using Sink = RowSink<Checked>;
    const bool inflow = amount >= 0.0;
    const std::int32_t n = end - start;
    switch (kind) {
    case 1: {
        Sink sink(state, inflow, start, 1);
        sink.add(0, amount * sensitivity);
        break;
    }
    case 2: {
        Sink sink(state, inflow, start + 1, n);
        const double flow = amount * sensitivity;
        for (std::int32_t k = 0; k < n; ++k)
            sink.add(k, flow);
        break;
    }
    case 3: {
        // Period start + 1 carries the zero first term and is not written.
        Sink sink(state, inflow, start + 2, n - 1);
        for (std::int32_t k = 2; k <= n; ++k)
            sink.add(k - 2, amount * (k - 1) * sensitivity);
        break;
    }
    case 4: {
        Sink sink(state, inflow, start + 1, n);
        // (1 + g)^j comes from pow() at the start of every block of 256 periods and
        // from four interleaved products inside it: within a few ulps of pow()
        // alone, and without a serial chain of multiplications.
        const double q = 1.0 + growth;
        const double q4 = q * q * q * q;
        const double scale = amount * sensitivity;
        for (std::int32_t block = 0; block < n; block += 256) {
            const std::int32_t blockEnd = std::min(n, block + 256);
            double f[4];
            f[0] = checkedPow(q, block);
            for (int l = 1; l < 4; ++l)
                f[l] = f[l - 1] * q;
            Quad powers = { f[0], f[1], f[2], f[3] };
            const Quad step = { q4, q4, q4, q4 }, times = { scale, scale, scale, scale };
            std::int32_t j = block;
            for (; j + 4 <= blockEnd; j += 4) {
                sink.add4(j, times * powers);
                powers *= step;
            }
            for (int l = 0; j < blockEnd; ++j, ++l)
                sink.add(j, scale * powers[l]);
        }
        break;
    }
    case 5: {
        // Months 12·y + m of the years from start to end − 1; growth counts from the row's first
        // year.
        Sink sink(state, inflow, 12 * start + 1, 12 * n);
        for (std::int32_t y = start; y < end; ++y) {
            const double flow = amount * checkedPow(1.0 + growth, y - start) * sensitivity;
            for (std::int32_t m = 0; m < 12; ++m)
                sink.add(12 * (y - start) + m, flow);
        }
        break;
    }
    default:
        break;
    }
}

// An upper bound of the magnitude of a row's flows (infinity when there is none).
double rowFlowBound(
    std::int16_t kind, std::int32_t n, double amount, double growth, double sensitivity)
{
    const double base = std::fabs(amount * sensitivity);
    const double steps = std::max(0, n - 1);
    switch (kind) {
    case 1:
    case 2:
        return base;
    case 3:
        return base * steps;
    case 4:
    case 5:
        return base * std::max(1.0, std::pow(std::fabs(1.0 + growth), steps));
    default:
        return 0.0;
    }
}

// The unchecked row built for AVX2 as well, whose wider vectors add twice the
// flows at a time, and for any processor.
__attribute__((target("avx2"))) void writeRowWide(SharedState& state, std::int16_t kind,
    std::int32_t start, std::int32_t end, double amount, double growth, double sensitivity)
{
    writeRow<false>(state, kind, start, end, amount, growth, sensitivity);
}

void writeRowUnchecked(SharedState& state, std::int16_t kind, std::int32_t start, std::int32_t end,
    double amount, double growth, double sensitivity)
{
    static const bool wide = __builtin_cpu_supports("avx2");
    if (wide)
        writeRowWide(state, kind, start, end, amount, growth, sensitivity);
    else
        writeRow<false>(state, kind, start, end, amount, growth, sensitivity);
}

// Adds a row's flows; bound is an upper bound of every array entry's magnitude
// so far, kept up to date, so that rows which cannot overflow skip the checks.
void addRow(SharedState& state, double& bound, std::int16_t kind, std::int32_t start,
    std::int32_t end, double amount, double growth, double sensitivity)
{
    constexpr double kSafe = 1e300; // far below the largest double, whatever the rounding
    const double next = bound + rowFlowBound(kind, end - start, amount, growth, sensitivity);
    if (next < kSafe) {
        writeRowUnchecked(state, kind, start, end, amount, growth, sensitivity);
        bound = next;
    } else {
        writeRow<true>(state, kind, start, end, amount, growth, sensitivity);
        bound = std::numeric_limits<double>::infinity();
    }
}

double largestMagnitude(const SharedState& state)
{
    double m = 0.0;
    for (const auto* a : { &*state.PeriodInflows, &*state.PeriodOutflows, &*state.PeriodNetFlows })
        for (double x : *a)
            m = std::max(m, std::fabs(x));
    return m;
}

// Value at the row's start of its flows per unit amount.
double unitValue(const UnknownRow& row, double i)
{
    const double n = static_cast<double>(row.end) - row.start;
    switch (row.kind) {
    case 1:
        return 1.0;
    case 2:
        return checkedDiv(1.0 - checkedPow(1.0 + i, -n), i);
    case 3:
        return checkedDiv(
            checkedDiv(1.0 - checkedPow(1.0 + i, -n), i) - n * checkedPow(1.0 + i, -n), i);
    case 4:
        if (i == row.growth)
            return checkedDiv(n, 1.0 + i);
        return checkedDiv(
            checkedPow(checkedDiv(1.0 + row.growth, 1.0 + i), n) - 1.0, row.growth - i);
    case 5: {
        const double a = checkedDiv(checkedPow(1.0 + i, 12.0) - 1.0, i);
        const double yearly = checkedPow(1.0 + i, 12.0) - 1.0;
        const double b = yearly == row.growth
            ? checkedDiv(n, 1.0 + yearly)
            : checkedDiv(checkedPow(checkedDiv(1.0 + row.growth, 1.0 + yearly), n) - 1.0,
                row.growth - yearly);
        return checkFinite(a * b);
    }
    default:
        // A kind outside the list has no flows: nothing can be solved for it.
        throw CalcError(CalcErrorKind::DivisionByZero, "unknown row of no known kind");
    }
}

// presentValue of two series of the same length, side by side: two chains of
// Horner's rule, each waiting only on itself. Checked in the same order.
std::pair<double, double> presentValues(
    double rate, std::span<const double> a, std::span<const double> b)
{
    const double v = checkedDiv(1.0, 1.0 + rate);
    double sa = 0, sb = 0;
    for (std::size_t k = a.size(); k-- > 0;) {
        sa = sa * v + a[k];
        sb = sb * v + b[k];
    }
    return { checkFinite(sa), checkFinite(sb) };
}

const char* solveLabel(int kind)
{
    switch (kind) {
    case 1:
        return "El valor P (Pago Unico ) es : ";
    case 2:
        return "El valor A (Serie Uniforme ) es : ";
    case 3:
        return "El valor g (Serie Gradiente Aritmético) es : ";
    case 4:
        return "El valor A (Serie Gradiente Geométrico ) es : ";
    case 5:
        return "El valor A (Primera Cuota ) es : ";
    default:
        return "";
    }
}

} // namespace

void addRowFlows(SharedState& state, std::int16_t kind, std::int32_t start, std::int32_t end,
    double amount, double growth, double sensitivity)
{
    double bound = largestMagnitude(state);
    addRow(state, bound, kind, start, end, amount, growth, sensitivity);
}

std::optional<UnknownRow> expandWorksheet(const Worksheet& sheet, SharedState& state)
{
    bool firstRow = true;
    std::int16_t firstPeriod = 0, lastPeriod = 0;
    for (int row = 1; row <= kWorksheetRows; ++row) {
        if (!sheet.rowInUse(row))
            continue;
        const RowValues v = readRow(sheet, row);
        const std::int16_t s = scaled(v.kind, v.start);
        const std::int16_t e = scaled(v.kind, v.end);
        if (firstRow) {
            firstPeriod = lastPeriod = s;
            firstRow = false;
        }
        firstPeriod = std::min(firstPeriod, s);
        lastPeriod = std::max(lastPeriod, s);
        if (v.kind >= 2)
            lastPeriod = std::max(lastPeriod, e);
    }
    state.FirstPeriod = firstPeriod;
    state.LastPeriod = lastPeriod;
    state.resetFlows(static_cast<std::size_t>(lastPeriod - firstPeriod) + 1);

    std::optional<UnknownRow> unknown;
    double bound = 0.0;
    for (int row = 1; row <= kWorksheetRows; ++row) {
        if (!sheet.rowInUse(row))
            continue;
        const RowValues v = readRow(sheet, row);
        const std::string& amountText = sheet.cell(row, kColValor);
        if (isUnknownAmount(amountText)) {
            unknown = UnknownRow { v.kind, v.start - firstPeriod, v.end - firstPeriod, v.start,
                v.growth, v.sensitivity, amountText };
            continue;
        }
        const double amount = Money::fromText(amountText).toDouble();
        addRow(state, bound, v.kind, v.start, v.end, amount, v.growth, v.sensitivity);
    }
    return unknown;
}

CalcOutcome calculos(const Worksheet& sheet, SharedState& state)
{
    CalcOutcome out;
    try {
        const std::optional<UnknownRow> unknown = expandWorksheet(sheet, state);
        if (sheet.rate() == kUnknownMarker) {
            out.mode = CalcMode::Rate;
            const double r = internalRateOfReturn(*state.PeriodNetFlows);
            out.comentario = kLabelRate;
            out.respuesta = formatPercent(r);
            out.newRate = formatPlainDecimal(r * 100.0);
            if (unknown) {
                // The marker text is no number: entering the row fails, as it always did.
                throw CalcError(CalcErrorKind::InvalidInput, "unknown amount in rate mode");
            }
            return out;
        }
        const double i = leadingNumber(sheet.rate()) / 100.0;
        if (!unknown) {
            out.mode = CalcMode::Evaluation;
            const auto [pvIn, pvOut]
                = presentValues(i, *state.PeriodInflows, *state.PeriodOutflows);
            const double vpn = checkFinite(pvIn + pvOut);
            const double bc = std::fabs(checkedDiv(pvIn, pvOut));
            const double tir = internalRateOfReturn(*state.PeriodNetFlows);
            out.evaluation = CalcOutcome::Evaluation { formatFixed(vpn, 2), formatFixed(bc, 2),
                formatFixed(checkFinite(tir * 100.0), 2) };
            return out;
        }
        out.mode = CalcMode::Solve;
        const double pv = presentValue(i, *state.PeriodNetFlows);
        // Kind 5 starts at month 12 × start; other kinds at their start period.
        const double shift = unknown->kind == 5 ? 12.0 * unknown->startYears - state.FirstPeriod
                                                : static_cast<double>(unknown->start);
        const double d = checkedPow(1.0 + i, -shift);
        const double f = unitValue(*unknown, i);
        const double x = checkedDiv(-pv, checkFinite(f * d));
        out.comentario = solveLabel(unknown->kind);
        out.respuesta = formatFixed(x, 2);
        addRowFlows(state, unknown->kind, unknown->start + state.FirstPeriod,
            unknown->end + state.FirstPeriod, x, unknown->growth, unknown->sensitivity);
    } catch (const CalcError& e) {
        out.failed = true;
        out.failure = e.what();
    }
    return out;
}

} // namespace orvex
