#pragma once

#include "worksheet/worksheet.h"

#include <initializer_list>
#include <string>

namespace orvex::test {

// One worksheet row as typed: kind number, then the texts of "Valor" … "Sensibilidad (%)".
struct RowText {
    int kind;
    const char* valor;
    const char* inicio;
    const char* fin = "";
    const char* pct = "";
    const char* sens = "";
};

// Rows from row 1 down, and the rate text.
inline Worksheet makeSheet(std::initializer_list<RowText> rows, const char* rate = "")
{
    Worksheet sheet;
    int r = 1;
    for (const auto& row : rows) {
        sheet.setCell(r, kColTipo, std::string(*kindText(row.kind)));
        sheet.setCell(r, kColValor, row.valor);
        sheet.setCell(r, kColInicio, row.inicio);
        sheet.setCell(r, kColFinal, row.fin);
        sheet.setCell(r, kColPorcentaje, row.pct);
        sheet.setCell(r, kColSensibilidad, row.sens);
        ++r;
    }
    sheet.setRate(rate);
    return sheet;
}

} // namespace orvex::test
