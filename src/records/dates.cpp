#include "records/dates.h"

#include "common/calc_error.h"
#include "common/numbers.h"
#include "common/text.h"
#include "records/field_bytes.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace orvex {
namespace {

bool isBlankDate(std::string_view s)
{
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

// The numeric value of a text, rounded; nullopt beyond 16 bits. Plain digit runs,
// the usual case in a stored date, skip the general parse.
std::optional<int> datePart(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::string_view digits = text.substr(i);
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

std::string buildDate(int day, int month, int year)
{
    return rellenar(std::to_string(day), 2, '0', 0) + "/"
        + rellenar(std::to_string(month), 2, '0', 0) + "/" + std::to_string(year);
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

std::string normalizarFecha(std::string_view date, int window)
{
    if (isBlankDate(date))
        return std::string(kBlankDate);
    const auto first = date.find('/');
    const auto second = first == std::string_view::npos ? first : date.find('/', first + 1);
    if (second == std::string_view::npos)
        return std::string(date);
    const auto d = datePart(date.substr(0, first));
    const auto m = datePart(date.substr(first + 1, second - first - 1));
    const auto y = datePart(date.substr(second + 1));
    if (!d || !m || !y)
        return std::string(date);
    const int month = std::clamp(*m, 1, 12);
    int day = std::clamp(*d, 1, 31);
    const int year = completarAnio(*y, window);
    std::string result = buildDate(day, month, year);
    if (!fechaValida(result)) {
        day = daysInMonth(month, year);
        result = buildDate(day, month, year);
    }
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
