#include "loans/schedule_report.h"
#include "loans_test_util.h"
#include "printing/line_prefix.h"
#include "printing/report_preparation.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace orvex {
namespace {

TEST(ScheduleReport, HeaderBlockThenOneRightAlignedLinePerPeriod)
{
    ScheduleTable table;
    table.caption = "LIQUIDACION DE PRESTAMOS EN UVRS";
    table.rows = { { "Período", "Pago Intereses", "Cuota", "Pago Capital", "Saldo" },
        { "0", "", "", "", "12000.00000" },
        { "1", "120.00000", "1066.18546", "946.18546", "11053.81454" } };
    const std::string report = scheduleReport(table);
    std::istringstream lines(report);
    std::string line;
    std::vector<std::string> got;
    while (std::getline(lines, line, '\n'))
        got.push_back(line);
    const std::string pad18 = std::string(18, ' ');
    const std::vector<std::string> expected = {
        prefijoLinea("2312") + "LIQUIDACION DE PRESTAMOS EN UVRS\r",
        prefijoLinea("2001") + "#pg#\r",
        prefijoLinea("2000") + "\r",
        prefijoLinea("2010")
            + " Per\xEDodo    Pago Intereses             Cuota      Pago Capital"
              "             Saldo\r",
        prefijoLinea("0000") + "       0" + pad18 + pad18 + pad18 + "       12000.00000\r",
        prefijoLinea("0000")
            + "       1         120.00000        1066.18546         946.18546"
              "       11053.81454\r",
    };
    EXPECT_EQ(got, expected);
    for (std::size_t i = 3; i < got.size(); ++i)
        EXPECT_EQ(got[i].size(), 4u + 80u + 1u) << i;

    // The report printer sees four header lines and two body lines on one page.
    test::TempDir dir;
    const std::string file = dir.path("liquidacion.rpt");
    std::ofstream(file, std::ios::binary) << report;
    const ReportParameters p = prepareReport(file, {}, false);
    EXPECT_EQ(p.headerCount, 4);
    EXPECT_EQ(p.lineTotal, 2);
    EXPECT_EQ(pageCountText(p), "m1");
}

} // namespace
} // namespace orvex
