#pragma once

#include <string>
#include <string_view>

namespace orvex {

// The blank date a date field shows when it holds nothing.
inline constexpr std::string_view kBlankDate = "  /  /    ";

// CompletarAnio: a year of 1000 or more as it is; otherwise its last two digits
// r = |year| mod 100 in the 1900s when r >= 80 (window 0) or r >= 20 (window
// non-zero), else in the 2000s.
int completarAnio(int year, int window = 0);

// Bisiesto: 1 for a leap year of the Gregorian calendar, else 0.
int bisiesto(int year);

// FechaValida: true for a blank date ("", "  /  /  ", "  /  /    ") and for a
// real day written dd/mm/yy or dd/mm/yyyy (a two-digit year below 80 is 20yy). A text
// of blanks only counts as blank.
bool fechaValida(std::string_view date);

// NormalizarFecha: "d/m/y" as dd/mm/yyyy, month clamped to 1..12, day to 1..31 and
// then to the month's last day, the year completed by completarAnio. A blank date
// gives kBlankDate; a text without two "/" comes back unchanged, and so does one
// whose day, month or year is beyond a 16-bit number.
std::string normalizarFecha(std::string_view date, int window = 0);

// normalizarFecha appended to out; false (nothing appended) when the text would come
// back unchanged. putNormalizedDate writes it at out (16 bytes free) and returns its end,
// or nullptr when the text would come back unchanged.
bool appendNormalizedDate(std::string& out, std::string_view date, int window = 0);
char* putNormalizedDate(char* out, std::string_view date, int window = 0);

// FechaCorta: normalizarFecha as dd/mm/yy (its first 6 and last 2 characters).
std::string fechaCorta(std::string_view date);

} // namespace orvex
