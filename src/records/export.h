#pragma once

#include "records/table_access.h"

#include <stdexcept>
#include <string>

namespace orvex {

// The export was refused: what() is the message to show as it is.
class ExportRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The export's file name: the data file's name (after the last "/" or "\") cut after
// its first "." and followed by "TXT" (CLIENTES.DAT -> CLIENTES.TXT, A.B.C -> A.TXT);
// a name without "." is kept as it is.
std::string exportFileName(const std::string& dataPath);

// A column's header cell: the trimmed caption, with a leading "*" when protected.
std::string columnHeader(const FieldDescription& field);

// ArmarTXT's file, written into directory (empty: the current one) under
// exportFileName: a header line of the visible fields' header cells, then one line per
// logical record 1..count in browsing order with the visible fields' display texts;
// every value followed by TAB, every line by CR LF, in Windows-1252. A record the index
// points past the data file gives empty values. The file is written beside its final
// name and renamed over it when complete; an existing file keeps its permissions.
// Returns the file name. Throws ExportRefused when that name is the data file itself
// (nothing is written), TableError when a file cannot be read or written.
std::string exportTable(const TableAccess& access, const std::vector<FieldDescription>& fields,
    std::int32_t count, const std::string& directory = {});

// "Archivo [" + name + "], ha sido creado satisfactoriamente..."
std::string exportDoneMessage(const std::string& name);

} // namespace orvex
