#include "records/field_text.h"

#include "common/calc_error.h"
#include "common/numbers.h"
#include "common/text.h"
#include "records/dates.h"
#include "records/field_bytes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace orvex {
namespace {

// Room for the longest fixed text of a double (309 digits) plus sign, point and decimals.
constexpr std::size_t kNumberRoom = 320 + kMaxDecimals;

char* putZeros(char* out, int count)
{
    std::memset(out, '0', static_cast<std::size_t>(count));
    return out + count;
}

char* put(char* out, std::string_view text)
{
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// "-0.50" -> "-.50", "0" -> "", "-0.00" -> ".00": a lone zero integer part is a "#"
// place and shows nothing; a value that rounds to zero shows no sign.
char* putShaped(char* out, const char* first, const char* last)
{
    bool negative = first != last && *first == '-';
    if (negative)
        ++first;
    if (negative && std::all_of(first, last, [](char c) { return c == '0' || c == '.'; }))
        negative = false;
    if (last - first >= 1 && *first == '0' && (last - first == 1 || first[1] == '.'))
        ++first;
    if (negative)
        *out++ = '-';
    return put(out, { first, static_cast<std::size_t>(last - first) });
}

constexpr std::uint64_t kPowersOfTen[] = { 1, 10, 100, 1000, 10000 };

// units / 10^kept with its sign (none for 0), the integer part left out when 0 (a "#"
// place), then "." and decimals digits (kept of them from units, the rest zeros).
char* putUnits(char* out, bool negative, std::uint64_t units, int kept, int decimals)
{
    if (negative && units != 0)
        *out++ = '-';
    char digits[24];
    const auto count = units == 0
        ? 0
        : static_cast<int>(std::to_chars(digits, digits + sizeof digits, units).ptr - digits);
    const int whole = std::max(count - kept, 0);
    out = put(out, { digits, static_cast<std::size_t>(whole) });
    if (decimals > 0) {
        *out++ = '.';
        out = putZeros(out, kept - (count - whole));
        out = put(out, { digits + whole, static_cast<std::size_t>(count - whole) });
        out = putZeros(out, decimals - kept);
    }
    return out;
}

char* putNumber(char* out, double value, int decimals)
{
    if (!std::isfinite(value))
        return out;
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    // With up to four decimals, value x 10^decimals needs at most 53 + 10 bits and is exact
    // in an x87 long double; rounding it to an integer (halves to even) then gives the digits
    // the general conversion would, for a fraction of its cost.
    if constexpr (std::numeric_limits<long double>::digits >= 64) {
        if (decimals <= 4 && std::fabs(value) < 1e14) {
            const long double scaled = static_cast<long double>(value) * kPowersOfTen[decimals];
            // The current rounding mode, nearest with halves to even, as fistp rounds.
            const long long units = std::llrint(scaled);
            return putUnits(out, units < 0, static_cast<std::uint64_t>(units < 0 ? -units : units),
                decimals, decimals);
        }
    }
    char buf[kNumberRoom];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return putShaped(out, buf, r.ptr);
}

char* putInteger(char* out, std::int64_t value, int decimals)
{
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    if (value != 0)
        out = std::to_chars(out, out + 24, value).ptr;
    if (decimals > 0) {
        *out++ = '.';
        out = putZeros(out, decimals);
    }
    return out;
}

char* putCurrency(char* out, std::int64_t raw, int decimals)
{
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    const bool negative = raw < 0;
    // The magnitude as unsigned, so that the most negative count has one too.
    const std::uint64_t units
        = negative ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
    const int kept = std::min(decimals, 4);
    const std::uint64_t step = kPowersOfTen[4 - kept];
    std::uint64_t q = units / step;
    const std::uint64_t r = units % step;
    if (step > 1 && (r > step / 2 || (r == step / 2 && (q & 1) != 0)))
        ++q;
    return putUnits(out, negative, q, kept, decimals);
}

// Runs put on room bytes at the end of out and keeps what it wrote.
template <class Put> void appendWith(std::string& out, std::size_t room, Put put)
{
    const std::size_t at = out.size();
    out.resize(at + room);
    out.resize(static_cast<std::size_t>(put(out.data() + at) - out.data()));
}

std::string_view fieldBytes(const FieldLayout& f, const char* record)
{
    return { record + f.offset, f.length };
}

double numberValue(std::string_view text) { return leadingNumber(text); }

} // namespace

bool isNumericType(int type)
{
    return type == kTypeNumberText || type == kTypeInt16 || type == kTypeInt32
        || type == kTypeSingle || type == kTypeDouble || type == kTypeCurrency;
}

void appendNumber(std::string& out, double value, int decimals)
{
    appendWith(out, kNumberRoom, [&](char* at) { return putNumber(at, value, decimals); });
}

void appendInteger(std::string& out, std::int64_t value, int decimals)
{
    appendWith(out, kNumberRoom, [&](char* at) { return putInteger(at, value, decimals); });
}

void appendCurrency(std::string& out, std::int64_t raw, int decimals)
{
    appendWith(out, kNumberRoom, [&](char* at) { return putCurrency(at, raw, decimals); });
}

std::size_t fieldTextRoom(const FieldLayout& field)
{
    if (isNumericType(field.type))
        return kNumberRoom;
    return field.type == kTypeDate ? std::max<std::size_t>(field.length, 16) : field.length;
}

char* putFieldText(char* out, const FieldLayout& f, const char* record)
{
    const std::string_view bytes = fieldBytes(f, record);
    switch (f.type) {
    case kTypeNumberText:
        try {
            return putNumber(out, numberValue(bytes), f.decimals);
        } catch (const CalcError&) {
            return out; // a number beyond a double shows as an empty text
        }
    case kTypeInt16:
        return putInteger(out, cvi(bytes), f.decimals);
    case kTypeInt32:
        return putInteger(out, cvl(bytes), f.decimals);
    case kTypeSingle:
        return putNumber(out, static_cast<double>(cvs(bytes)), f.decimals);
    case kTypeDouble:
        return putNumber(out, cvd(bytes), f.decimals);
    case kTypeCurrency:
        return putCurrency(out, cvc(bytes).raw(), f.decimals);
    case kTypeDate:
        // A text that is no date comes back as stored: show it as other texts are.
        if (char* end = putNormalizedDate(out, bytes))
            return end;
        return put(out, trimRightBlanks(bytes));
    default:
        return put(out, trimRightBlanks(bytes));
    }
}

void appendFieldText(std::string& out, const FieldLayout& f, const char* record)
{
    appendWith(out, fieldTextRoom(f), [&](char* at) { return putFieldText(at, f, record); });
}

std::string fieldDisplayText(const FieldLayout& field, std::string_view record)
{
    std::string text;
    if (field.offset + field.length <= record.size())
        appendFieldText(text, field, record.data());
    return cp1252ToUtf8(text);
}

std::optional<std::string> editedCellText(const FieldLayout& field, std::string_view text)
{
    if (!isNumericType(field.type))
        return std::string(trimRightBlanks(text));
    std::string cell;
    try {
        appendNumber(cell, numberValue(text), field.decimals);
    } catch (const CalcError&) {
        // Kept as typed, so the cell never shows an earlier keystroke's value and saving
        // names the value that does not fit.
        return std::string(trimRightBlanks(text));
    }
    return cell;
}

int editorMaxLength(const FieldLayout& field)
{
    const int stored = static_cast<int>(std::min<std::size_t>(field.length, 32767));
    if (field.type == kTypeDate)
        return 10;
    if (isNumericType(field.type) && field.type != kTypeNumberText)
        return std::max(0, field.digits) + (field.decimals > 0 ? field.decimals + 1 : 0);
    return stored;
}

void storeFieldText(const FieldLayout& field, std::string_view text, char* record)
{
    char* at = record + field.offset;
    auto place = [&](const std::string& bytes) {
        std::memcpy(at, bytes.data(), std::min(bytes.size(), field.length));
    };
    switch (field.type) {
    case kTypeInt16:
        return place(mki(toInt16(numberValue(text))));
    case kTypeInt32:
        return place(mkl(toInt32(numberValue(text))));
    case kTypeSingle: {
        const double v = numberValue(text);
        if (std::fabs(v) > std::numeric_limits<float>::max())
            throw CalcError(CalcErrorKind::Overflow, "value outside the single range");
        return place(mks(static_cast<float>(v)));
    }
    case kTypeDouble:
        return place(mkd(numberValue(text)));
    case kTypeCurrency:
        return place(mkc(Money::fromDouble(numberValue(text))));
    case kTypeDate: {
        const std::string date = field.length == 8 ? fechaCorta(text) : normalizarFecha(text);
        return place(fixedField(date, field.length));
    }
    default:
        place(fixedField(trimRightBlanks(text), field.length));
    }
}

} // namespace orvex
