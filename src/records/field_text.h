#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvex {

// Field type codes (I1).
enum FieldType : int {
    kTypeNumberText = 1,
    kTypeInt16 = 2,
    kTypeDate = 10,
    kTypeInt32 = 40,
    kTypeSingle = 41,
    kTypeDouble = 80,
    kTypeCurrency = 81,
};

bool isNumericType(int type); // 1, 2, 40, 41, 80, 81

// Decimals beyond this are not shown (no stored table needs more; it bounds the text).
inline constexpr int kMaxDecimals = 99;

// One field as the record holds it, from its description.
struct FieldLayout {
    std::size_t offset = 0; // from the start of the record
    std::size_t length = 0; // I0
    int type = 0; // I1
    bool hidden = false; // I2
    bool isProtected = false; // I3
    int digits = 5; // I5, the "#" places: they only size the column and the editor
    int decimals = 0; // I6 within 0..kMaxDecimals
    std::size_t searchWidth = 0; // the stored characters a search reads: I4 (I0 when 0), at most I0
};

// The column number format: "#" places then, with decimals, "." and that many "0".
// The value is rounded to the decimals (ties as the C library prints them); a zero
// integer part is not shown (0.5 -> ".50", 0 with no decimals -> ""), a value that
// rounds to zero has no sign, "." is the decimal point whatever the locale, and a
// NaN or infinity shows as an empty text. Appends to out.
void appendNumber(std::string& out, double value, int decimals);
void appendInteger(std::string& out, std::int64_t value, int decimals);
// Currency from its raw count of 1/10,000 units, rounded exactly (ties to even).
void appendCurrency(std::string& out, std::int64_t raw, int decimals);

// The display text of a field, in Windows-1252, appended to out: type 1 the leading
// number of the text, the numeric types their value, in the number format; type 10
// normalizarFecha of the trimmed text; other types the text without trailing blanks.
void appendFieldText(std::string& out, const FieldLayout& field, const char* record);

// The same written at out, which must have fieldTextRoom(field) bytes free; returns the
// end of what was written. For scans that fill a buffer of their own.
std::size_t fieldTextRoom(const FieldLayout& field);
char* putFieldText(char* out, const FieldLayout& field, const char* record);

// The same as UTF-8, for a grid cell. record must hold offset + length bytes.
std::string fieldDisplayText(const FieldLayout& field, std::string_view record);

// The cell text after the user typed text (UTF-8) into a field: types 1 and the
// numeric types the number format of its leading number, other types the text
// without trailing blanks; a number beyond a double stays as typed (saving refuses it).
std::optional<std::string> editedCellText(const FieldLayout& field, std::string_view text);

// The editor's maximum length: I0 for text types, 10 for dates, digits plus decimals
// and point for the numeric types.
int editorMaxLength(const FieldLayout& field);

// Writes a cell's text (UTF-8) back into the field's bytes of record: texts cut to
// I0 and blank-padded (dates first as fechaCorta when I0 = 8, else normalizarFecha),
// numbers converted by type (int16 and int32 rounded to nearest, currency to
// 1/10,000). Only the field's own bytes change. Throws CalcError when the value does
// not fit the type.
void storeFieldText(const FieldLayout& field, std::string_view text, char* record);

} // namespace orvex
