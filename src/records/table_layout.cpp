#include "records/table_layout.h"

#include "common/file_io.h"
#include "records/field_bytes.h"

#include <algorithm>

namespace orvex {
namespace {

[[noreturn]] void badDescription(const std::string& source, const std::string& problem)
{
    throw TableError(0, "El archivo \"" + source + "\" " + problem + "...");
}

} // namespace

TableLayout buildTableLayout(TableConfig& config, const std::string& fieldsSource)
{
    if (config.fields.empty())
        badDescription(fieldsSource, "no tiene la descripción de la tabla");
    trimConfigurationTexts(config.record);
    TableLayout layout;
    layout.dataPath = config.record.dataPath;
    layout.indexPath = config.record.indexPath;

    FieldDescription& header = config.fields[0];
    header.caption = std::string(trimBlanks(header.caption));
    const int mode = header.i[1];
    if ((mode == 1 || mode == 2) && (layout.indexPath.empty() || !fileExists(layout.indexPath)))
        header.i[1] = 0;
    if (mode == 3 && config.record.mapLast == 0)
        header.i[1] = 0;
    switch (header.i[1]) {
    case 1:
        layout.mode = IndexMode::Index16;
        break;
    case 2:
        layout.mode = IndexMode::Index32;
        break;
    case 3:
        layout.mode = IndexMode::Map;
        break;
    default:
        layout.mode = IndexMode::None;
    }
    layout.pointerWidth = layout.mode == IndexMode::Index16 ? 2 : 4;
    layout.keyLength = header.i[0];
    if (layout.usesIndexFile() && layout.keyLength < 0)
        badDescription(fieldsSource,
            "indica una longitud de llave negativa (" + std::to_string(layout.keyLength) + ")");
    if (layout.mode == IndexMode::Map)
        layout.map = config.map;

    std::int64_t position = 0;
    for (std::size_t k = 1; k < config.fields.size(); ++k) {
        FieldDescription& d = config.fields[k];
        d.caption = std::string(trimBlanks(d.caption));
        if (d.length() < 0)
            badDescription(fieldsSource,
                "indica una longitud negativa (" + std::to_string(d.length()) + ") para el campo "
                    + std::to_string(k));
        if (!d.hidden())
            d.i[10] = 0;
        FieldLayout f;
        f.offset = static_cast<std::size_t>(position);
        f.length = static_cast<std::size_t>(d.length());
        f.type = d.type();
        f.hidden = d.hidden();
        f.isProtected = d.isProtected();
        f.digits = d.i[5];
        f.decimals = std::clamp<int>(d.i[6], 0, kMaxDecimals);
        // As for the column's width, a width of 0 stands for the field's length.
        const int width = d.i[4] != 0 ? d.i[4] : d.length();
        f.searchWidth
            = std::min<std::size_t>(static_cast<std::size_t>(std::max(width, 0)), f.length);
        layout.fields.push_back(f);
        position += d.length();
    }
    if (position == 0)
        badDescription(fieldsSource, "describe registros de longitud 0");
    if (position > kMaxRecordLength)
        badDescription(fieldsSource,
            "describe registros de " + std::to_string(position) + " bytes, más de "
                + std::to_string(kMaxRecordLength));
    layout.recordLength = static_cast<std::int32_t>(position);
    return layout;
}

} // namespace orvex
