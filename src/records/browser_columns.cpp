#include "records/browser_columns.h"

#include "common/numbers.h"
#include "common/text.h"
#include "records/export.h"
#include "records/field_bytes.h"
#include "records/field_text.h"

#include <algorithm>
#include <sys/stat.h>

namespace orvex {

std::vector<BrowserColumn> browserColumns(const std::vector<FieldDescription>& fields)
{
    std::vector<BrowserColumn> columns;
    if (fields.empty())
        return columns;
    const FieldDescription& header = fields[0];
    BrowserColumn first;
    if (!header.hidden()) {
        first.header = std::string(trimBlanks(header.caption));
        first.characters = std::max<int>(header.i[4], 0);
        first.headerAlignment = header.i[7];
        first.cellAlignment = header.i[8];
    }
    columns.push_back(first);
    for (std::size_t k = 1; k < fields.size(); ++k) {
        const FieldDescription& f = fields[k];
        BrowserColumn c;
        c.hidden = f.hidden();
        if (!c.hidden) {
            int chars = f.i[4] != 0 ? f.i[4] : f.i[0];
            if (isNumericType(f.type()))
                chars = std::max(chars, f.i[5] + (f.i[6] > 0 ? f.i[6] + 1 : 0));
            c.characters = std::max(chars, 0);
            c.header = columnHeader(f);
            c.headerAlignment = f.i[7];
            c.cellAlignment = f.i[8];
        }
        columns.push_back(c);
    }
    return columns;
}

std::vector<int> browserColumnWidths(
    const std::vector<BrowserColumn>& columns, double fontPoints, int gridWidthTwips)
{
    std::vector<int> widths;
    for (const auto& c : columns)
        widths.push_back(columnWidthTwips(c.characters, fontPoints));
    return fitColumnWidths(std::move(widths), gridWidthTwips);
}

std::vector<int> fitColumnWidths(std::vector<int> widths, int gridWidthTwips)
{
    double total = 0, fields = 0;
    for (std::size_t k = 0; k < widths.size(); ++k) {
        total += widths[k];
        if (k >= 1)
            fields += widths[k];
    }
    const double spare = gridWidthTwips - total;
    if (spare <= 0 || fields <= 0)
        return widths;
    for (std::size_t k = 1; k < widths.size(); ++k)
        if (widths[k] > 1)
            widths[k] = toInt32(widths[k] + widths[k] / fields * spare);
    return widths;
}

CellAlignment cellAlignment(int code, std::string_view text)
{
    CellAlignment a;
    if (code >= 0 && code <= 8) {
        a.horizontal = static_cast<CellAlignment::Horizontal>(code / 3);
        a.vertical = static_cast<CellAlignment::Vertical>(code % 3);
    } else {
        a.horizontal = isNumericText(text) ? CellAlignment::Right : CellAlignment::Left;
    }
    return a;
}

std::string browserTitle(const ConfigRecord& record, bool withPath)
{
    const std::string path(trimBlanks(record.dataPath));
    std::string title(trimBlanks(record.title));
    if (title.empty())
        title = "Listado Archivo : " + path;
    return withPath ? title + " [" + path + "]" : title;
}

bool tableHasData(const ConfigRecord& record)
{
    const std::string path(trimBlanks(record.dataPath));
    struct stat st { };
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)
        && st.st_size >= 1;
}

} // namespace orvex
