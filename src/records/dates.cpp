#include "records/dates.h"

#include "common/calc_error.h"
#include "common/numbers.h"
#include "common/text.h"
#include "records/field_bytes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace orvex {
namespace {

bool isBlankDate(std::string_view s)
{
    if (!s.empty() && s[0] != ' ')
        return false;
    return trimBlanks(s).empty() || s == "  /  /  " || s == kBlankDate;
}

int daysInMonth(int month, int year)
{
    if (month == 4 || month == 6 || month == 9 || month == 11)
        return 30;
    if (month == 2)
        return 28 + bisiesto(year);
    return 31;
}

// The numeric value of a text, rounded; nullopt beyond 16 bits. Plain digits within
// blanks, the usual case in a stored date, skip the general parse.
std::optional<int> datePart(std::string_view text)
{
    const std::string_view digits = trimBlanks(text);
    if (!digits.empty() && digits.size() <= 5
        && digits.find_first_not_of("0123456789") == std::string_view::npos) {
        int v = 0;
        for (char c : digits)
            v = v * 10 + (c - '0');
        return v <= 32767 ? std::optional<int>(v) : std::nullopt;
    }
    try {
        const double v = nearest(leadingNumber(text));
        if (v < -32768.0 || v > 32767.0)
            return std::nullopt;
        return static_cast<int>(v);
    } catch (const CalcError&) {
        return std::nullopt;
    }
}

// dd/mm/ + the year's digits, day and month zero-padded (as Rellenar with "0" does).
char* putDate(char* out, int day, int month, int year)
{
    const char head[6] = { static_cast<char>('0' + day / 10), static_cast<char>('0' + day % 10),
        '/', static_cast<char>('0' + month / 10), static_cast<char>('0' + month % 10), '/' };
    out = std::copy(head, head + 6, out);
    return std::to_chars(out, out + 6, year).ptr;
}

// "d/m/y" in plain digits within blanks, the usual stored date, read in one pass; false
// for anything else (the general rules then apply, with the same result for this form).
bool readPlainDate(
    std::string_view s, std::optional<int>& d, std::optional<int>& m, std::optional<int>& y)
{
    std::size_t i = 0;
    int parts[3] = {};
    for (int k = 0; k < 3; ++k) {
        while (i < s.size() && s[i] == ' ')
            ++i;
        int value = 0, digits = 0;
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9' && digits < 6; ++i, ++digits)
            value = value * 10 + (s[i] - '0');
        if (digits == 0 || value > 32767)
            return false;
        while (i < s.size() && s[i] == ' ')
            ++i;
        if (k < 2 && (i == s.size() || s[i++] != '/'))
            return false;
        parts[k] = value;
    }
    if (i != s.size())
        return false;
    d = parts[0], m = parts[1], y = parts[2];
    return true;
}

// The year fechaValida reads back from buildDate's text: the whole year when it has four
// digits, else its first two expanded as a two-digit year.
int yearReadBack(int year)
{
    if (year < 10000)
        return year;
    const int yy = year / 1000;
    return yy >= 80 ? 1900 + yy : 2000 + yy;
}

} // namespace

int completarAnio(int year, int window)
{
    if (year >= 1000)
        return year;
    const int r = std::abs(year) % 100;
    const bool previousCentury = window == 0 ? r >= 80 : r >= 20;
    return (previousCentury ? 1900 : 2000) + r;
}

int bisiesto(int year) { return ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0) ? 1 : 0; }

bool fechaValida(std::string_view date)
{
    if (isBlankDate(date))
        return true;
    auto part = [&](std::size_t from, std::size_t count) {
        return from < date.size() ? date.substr(from, count) : std::string_view {};
    };
    const auto value = [](std::string_view text) {
        try {
            const double v = leadingNumber(text);
            return std::fabs(v) < 1e9 ? static_cast<long>(v) : 0L;
        } catch (const CalcError&) {
            return 0L;
        }
    };
    const long day = value(part(0, 2));
    const long month = value(part(3, 2));
    long year = 0;
    if (date.size() == 10) {
        year = value(part(6, 4));
    } else {
        const long yy = value(part(6, 2));
        year = yy >= 80 ? 1900 + yy : 2000 + yy;
    }
    if (month < 1 || month > 12)
        return false;
    return day >= 1 && day <= daysInMonth(static_cast<int>(month), static_cast<int>(year));
}

char* putNormalizedDate(char* out, std::string_view date, int window)
{
    if (isBlankDate(date))
        return std::copy(kBlankDate.begin(), kBlankDate.end(), out);
    std::optional<int> d, m, y;
    if (!readPlainDate(date, d, m, y)) {
        const auto first = date.find('/');
        const auto second = first == std::string_view::npos ? first : date.find('/', first + 1);
        if (second == std::string_view::npos)
            return nullptr;
        d = datePart(date.substr(0, first));
        m = datePart(date.substr(first + 1, second - first - 1));
        y = datePart(date.substr(second + 1));
        if (!d || !m || !y)
            return nullptr;
    }
    const int month = std::clamp(*m, 1, 12);
    int day = std::clamp(*d, 1, 31);
    const int year = completarAnio(*y, window);
    // The day fechaValida would reject, the month's last day replaces.
    if (day > daysInMonth(month, yearReadBack(year)))
        day = daysInMonth(month, year);
    return putDate(out, day, month, year);
}

bool appendNormalizedDate(std::string& out, std::string_view date, int window)
{
    char text[16];
    char* end = putNormalizedDate(text, date, window);
    if (end)
        out.append(text, end);
    return end != nullptr;
}

std::string normalizarFecha(std::string_view date, int window)
{
    std::string result;
    if (!appendNormalizedDate(result, date, window))
        result = date;
    return result;
}

std::string fechaCorta(std::string_view date)
{
    const std::string full = normalizarFecha(date);
    if (full.size() < 8)
        return full;
    return full.substr(0, 6) + full.substr(full.size() - 2);
}

} // namespace orvex
