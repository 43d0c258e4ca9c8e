#pragma once

#include "loans/schedule.h"

#include <string>

namespace orvex {

// Characters of the period column and of each amount column in a printed schedule;
// 8 + 4 x 18 = 80 characters, one line of 12-point Courier.
inline constexpr int kReportPeriodWidth = 8;
inline constexpr int kReportAmountWidth = 18;

// The schedule as a report file for the report printer (Windows-1252, CR LF lines): a
// header block repeated on every page (the caption centred in 14-point bold, the page
// number at the right, a blank line, the column titles in bold), then one line per
// period with the numbers right-aligned in fixed columns.
std::string scheduleReport(const ScheduleTable& table);

} // namespace orvex
