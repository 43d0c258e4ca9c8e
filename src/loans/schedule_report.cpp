#include "loans/schedule_report.h"

#include "common/text.h"
#include "printing/line_prefix.h"

namespace orvex {
namespace {

// Right-aligned in width with at least one blank before it; a longer text is kept whole.
std::string column(const std::string& utf8, int width)
{
    return " " + rellenar(utf8ToCp1252(utf8), width - 1, ' ', 0);
}

std::string reportLine(const std::array<std::string, 5>& cells)
{
    std::string line = column(cells[0], kReportPeriodWidth);
    for (std::size_t c = 1; c < cells.size(); ++c)
        line += column(cells[c], kReportAmountWidth);
    return line;
}

} // namespace

std::string scheduleReport(const ScheduleTable& table)
{
    std::string report = prefijoLinea("2312") + utf8ToCp1252(table.caption) + "\r\n";
    report += prefijoLinea("2001") + "#pg#\r\n";
    report += prefijoLinea("2000") + "\r\n";
    std::array<std::string, 5> titles;
    for (std::size_t c = 0; c < titles.size(); ++c)
        titles[c] = kScheduleHeaders[c];
    report += prefijoLinea("2010") + reportLine(titles) + "\r\n";
    for (std::size_t r = 1; r < table.rows.size(); ++r)
        report += prefijoLinea("0000") + reportLine(table.rows[r]) + "\r\n";
    return report;
}

} // namespace orvex
