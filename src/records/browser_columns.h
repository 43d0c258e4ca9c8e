#pragma once

#include "records/table_config.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvex {

// The browser's fixed texts.
inline constexpr const char* kNoRecordsMessage
    = "No Existen Registros..."; // title "LISTAR ARCHIVO"
inline constexpr const char* kWrongRecordMessage = "Registro Incorrecto..."; // title "IR A..."
inline constexpr const char* kSaveQuestion
    = "Quiere Grabar los Cambios Realizados"; // title "CAMBIOS"
inline constexpr const char* kNotFoundMessage = "Texto No Encontrado..."; // title "BUSQUEDA"
inline constexpr const char* kExportQuestion
    = "Desea crear un archivo texto separado por tabuladores con la información almacenada en esta "
      "base?"; // title "CREACION ARCHIVO TEXTO"

// One grid column: 0 is the record-number column, k the field k.
struct BrowserColumn {
    std::string header; // the header cell's text (UTF-8)
    int characters = 0; // width in characters; 0 for a hidden field or a collapsed column 0
    int headerAlignment = 0; // grid alignment code, I7
    int cellAlignment = 0; // I8
    bool hidden = false; // a hidden field: no visible column, never current
};

// The set-up's columns: column 0 from the header description (collapsed when its I2 is
// set: no text, zero characters), then every field: hidden ones empty and zero wide,
// numeric ones max(I4, I5 + I6 + 1 when I6 > 0) characters, others I4, captions trimmed
// with "*" before protected ones.
std::vector<BrowserColumn> browserColumns(const std::vector<FieldDescription>& fields);

// Column widths in twips: nearest(characters x points x 20 x 0.85 + 1) each (1 for zero
// characters), then fitted to the grid: when the columns leave room, every column from 1
// on wider than 1 twip grows by its share (its width / the sum of columns 1..last) of it.
std::vector<int> browserColumnWidths(
    const std::vector<BrowserColumn>& columns, double fontPoints, int gridWidthTwips);
std::vector<int> fitColumnWidths(std::vector<int> widths, int gridWidthTwips);

// A grid alignment code: 0-8 are left/centre/right, each top/centre/bottom (0 left-top,
// 4 centred, 7 right-centre); 9 and others are "general": centred vertically, a number
// to the right and a text to the left.
struct CellAlignment {
    enum Horizontal { Left, Center, Right } horizontal = Left;
    enum Vertical { Top, Middle, Bottom } vertical = Middle;
};
CellAlignment cellAlignment(int code, std::string_view text);

// The window's caption: the trimmed configured title, or "Listado Archivo : " + data path;
// withPath adds " [" + data path + "]" (a double click on the window toggles it).
std::string browserTitle(const ConfigRecord& record, bool withPath = false);

// "has data": a data path, a file there and at least one byte in it.
bool tableHasData(const ConfigRecord& record);

} // namespace orvex
