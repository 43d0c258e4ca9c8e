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

void appendZeros(std::string& out, int count) { out.append(static_cast<std::size_t>(count), '0'); }

// "-0.50" -> "-.50", "0" -> "", "-0.00" -> ".00": a lone zero integer part is a "#"
// place and shows nothing; a value that rounds to zero shows no sign.
void appendShaped(std::string& out, const char* first, const char* last)
{
    bool negative = first != last && *first == '-';
    if (negative)
        ++first;
    if (negative && std::all_of(first, last, [](char c) { return c == '0' || c == '.'; }))
        negative = false;
    if (last - first >= 1 && *first == '0' && (last - first == 1 || first[1] == '.'))
        ++first;
    if (negative)
        out += '-';
    out.append(first, last);
}

constexpr std::uint64_t kPowersOfTen[] = { 1, 10, 100, 1000, 10000 };

// units / 10^kept with its sign (none for 0), the integer part left out when 0 (a "#"
// place), then "." and decimals digits (kept of them from units, the rest zeros).
void appendUnits(std::string& out, bool negative, std::uint64_t units, int kept, int decimals)
{
    const std::uint64_t whole = units / kPowersOfTen[kept];
    const std::uint64_t fraction = units % kPowersOfTen[kept];
    if (negative && units != 0)
        out += '-';
    char buf[24];
    if (whole != 0)
        out.append(buf, std::to_chars(buf, buf + sizeof buf, whole).ptr);
    if (decimals > 0) {
        out += '.';
        const auto end = std::to_chars(buf, buf + sizeof buf, fraction).ptr;
        appendZeros(out, kept - static_cast<int>(end - buf));
        if (kept > 0)
            out.append(buf, end);
        appendZeros(out, decimals - kept);
    }
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
    if (!std::isfinite(value))
        return;
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    // With up to four decimals, value x 10^decimals needs at most 53 + 10 bits and is exact
    // in an x87 long double; rounding it to an integer (halves to even) then gives the digits
    // the general conversion would, for a fraction of its cost.
    if constexpr (std::numeric_limits<long double>::digits >= 64) {
        if (decimals <= 4 && std::fabs(value) < 1e14) {
            const long double scaled = static_cast<long double>(value) * kPowersOfTen[decimals];
            // The current rounding mode, nearest with halves to even, as fistp rounds.
            const long long units = std::llrint(scaled);
            appendUnits(out, units < 0, static_cast<std::uint64_t>(units < 0 ? -units : units),
                decimals, decimals);
            return;
        }
    }
    char buf[kNumberRoom];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    appendShaped(out, buf, r.ptr);
}

void appendInteger(std::string& out, std::int64_t value, int decimals)
{
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    if (value != 0) {
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, value);
        out.append(buf, r.ptr);
    }
    if (decimals > 0) {
        out += '.';
        appendZeros(out, decimals);
    }
}

void appendCurrency(std::string& out, std::int64_t raw, int decimals)
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
    appendUnits(out, negative, q, kept, decimals);
}

void appendFieldText(std::string& out, const FieldLayout& f, const char* record)
{
    const std::string_view bytes = fieldBytes(f, record);
    switch (f.type) {
    case kTypeNumberText:
        try {
            appendNumber(out, numberValue(bytes), f.decimals);
        } catch (const CalcError&) {
            // A number beyond a double shows as an empty text.
        }
        return;
    case kTypeInt16:
        return appendInteger(out, cvi(bytes), f.decimals);
    case kTypeInt32:
        return appendInteger(out, cvl(bytes), f.decimals);
    case kTypeSingle:
        return appendNumber(out, static_cast<double>(cvs(bytes)), f.decimals);
    case kTypeDouble:
        return appendNumber(out, cvd(bytes), f.decimals);
    case kTypeCurrency:
        return appendCurrency(out, cvc(bytes).raw(), f.decimals);
    case kTypeDate:
        // A text that is no date comes back as stored: show it as other texts are.
        if (!appendNormalizedDate(out, bytes))
            out += trimRightBlanks(bytes);
        return;
    default:
        out += trimRightBlanks(bytes);
    }
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
        return std::nullopt;
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
