#include "loans/schedule.h"

#include "common/calc_error.h"
#include "common/checked.h"
#include "common/format.h"
#include "common/numbers.h"

#include <cmath>

namespace orvex {

namespace {

std::vector<double> ones(long long count)
{
    if (count < 0)
        throw CalcError(CalcErrorKind::InvalidInput, "negative table size");
    return std::vector<double>(static_cast<std::size_t>(count), 1.0);
}

std::array<std::string, 5> headerRow()
{
    std::array<std::string, 5> row;
    for (std::size_t c = 0; c < row.size(); ++c)
        row[c] = kScheduleHeaders[c];
    return row;
}

} // namespace

ScheduleTable buildSchedule(const ScheduleSource& source, SharedState& state)
{
    if (!state.hasFlows())
        throw CalcError(CalcErrorKind::InvalidInput, "no flows calculated yet");
    const auto& inflows = *state.PeriodInflows;
    const auto& outflows = *state.PeriodOutflows;
    const long long periods = static_cast<long long>(state.PeriodNetFlows->size());

    ScheduleTable table;
    table.caption = kScheduleCaption;
    table.rows.reserve(static_cast<std::size_t>(periods) + 1);
    table.rows.push_back(headerRow());

    long long term = 0;
    if (source.loanMode) {
        state.FirstPeriod = 0;
        state.LastPeriod = toInt16(leadingNumber(source.termText));
        term = state.LastPeriod;
    }

    int decimals = 2;
    if (!source.loanMode) {
        state.UvrValues = ones(periods + 1);
    } else if (source.enUvr) {
        state.UvrValues = ones(term + 1);
        table.caption += kScheduleSuffixUvr;
        decimals = 5;
    } else {
        table.caption += kScheduleSuffixPesos;
    }
    if (!state.UvrValues)
        throw CalcError(CalcErrorKind::InvalidInput, "no UVR values calculated yet");
    const auto& uvr = *state.UvrValues;
    const double i = leadingNumber(source.rateText) / 100.0;
    const auto show = [decimals](double value) { return formatFixed(value, decimals); };

    double balance = 0.0;
    for (long long j = 0; j < periods; ++j) {
        std::array<std::string, 5> row;
        row[0] = std::to_string(static_cast<long long>(state.FirstPeriod) + j);
        const double v = checkedAt(uvr, j);
        if (j == 0) {
            balance = checkedAt(outflows, 0) + checkedAt(inflows, 0);
        } else {
            const double interest = i * balance;
            const double payment = std::fabs(checkedAt(outflows, j));
            const double capital = payment - interest;
            balance = checkFinite(balance - capital + checkedAt(inflows, j));
            row[1] = show(interest * v);
            row[2] = show(payment * v);
            row[3] = show(capital * v);
        }
        row[4] = show(balance * v);
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::string scheduleClipboardText(const ScheduleTable& table)
{
    std::string text;
    for (const auto& row : table.rows) {
        for (const auto& cell : row) {
            text += cell;
            text += '\t';
        }
        text += "\r\n";
    }
    return text;
}

} // namespace orvex
