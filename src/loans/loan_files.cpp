#include "loans/loan_files.h"

#include "common/file_io.h"
#include "common/numbers.h"
#include "common/text.h"

#include <cstdint>

namespace orvex {

namespace {

constexpr std::size_t kSystemOffset = 54;
constexpr std::size_t kCurrencyOffset = 55;

// No more than a reader uses: the rest of a longer file is never looked at.
std::string loadBytes(const std::string& path, std::size_t maxBytes)
{
    try {
        return readRegularFile(path, maxBytes).bytes;
    } catch (const FileError& e) {
        throw LoanFileError(e.what());
    }
}

// Random-access files are never shortened by a save: bytes past the new
// content stay as they were.
void saveKeepingTail(const std::string& path, const std::string& bytes)
{
    try {
        writeFileAtomically(path, bytes, OldTail::Keep);
    } catch (const FileError& e) {
        throw LoanFileError(e.what());
    }
}

int optionDigit(std::string_view bytes, std::size_t offset)
{
    const double value = leadingNumber(readField(bytes, offset, 1));
    return static_cast<int>(nearest(value));
}

[[noreturn]] void rethrowNamed(const LoanFileError& e, const std::string& path)
{
    throw LoanFileError("El archivo \"" + path + "\" " + e.what());
}

} // namespace

std::string loanRecordBytes(const LoanInput& loan)
{
    std::string bytes;
    for (std::size_t k = 0; k < loan.texts.size(); ++k)
        bytes += fixedField(loan.texts[k], kLoanFieldWidths[k]);
    bytes += static_cast<char>('0' + static_cast<int>(loan.system));
    bytes += loan.enUvr ? '1' : '2';
    bytes.resize(kLoanSlotBytes, ' ');
    return bytes;
}

LoanInput parseLoanRecord(std::string_view bytes)
{
    if (bytes.size() < kLoanRecordBytes)
        throw LoanFileError("no es un préstamo: tiene " + std::to_string(bytes.size())
            + " bytes y un préstamo ocupa al menos 56...");
    const int system = optionDigit(bytes, kSystemOffset);
    if (system < 1 || system > 3)
        throw LoanFileError("no es un préstamo válido: el sistema de pago debe ser 1, 2 o 3...");
    const int currency = optionDigit(bytes, kCurrencyOffset);
    if (currency < 1 || currency > 2)
        throw LoanFileError("no es un préstamo válido: la moneda debe ser 1 (UVR) o 2 (Pesos)...");

    LoanInput loan;
    std::size_t offset = 0;
    for (std::size_t k = 0; k < loan.texts.size(); ++k) {
        loan.texts[k] = readField(bytes, offset, kLoanFieldWidths[k]);
        offset += kLoanFieldWidths[k];
    }
    loan.system = static_cast<PaymentSystem>(system);
    loan.enUvr = currency == 1;
    return loan;
}

LoanInput loadLoanFile(const std::string& path)
{
    const std::string bytes = loadBytes(path, kLoanSlotBytes);
    try {
        return parseLoanRecord(bytes);
    } catch (const LoanFileError& e) {
        rethrowNamed(e, path);
    }
}

void saveLoanFile(const std::string& path, const LoanInput& loan)
{
    saveKeepingTail(path, loanRecordBytes(loan));
}

std::string variationTableBytes(const std::vector<std::string>& texts)
{
    std::string bytes;
    bytes.reserve(texts.size() * kVariationRecordBytes);
    for (const auto& text : texts) {
        bytes += fixedField(trim(text), kVariationTextBytes);
        bytes.append(kVariationRecordBytes - kVariationTextBytes, ' ');
    }
    return bytes;
}

std::vector<std::string> parseVariationTable(std::string_view bytes, std::size_t count)
{
    const std::size_t records = (bytes.size() + kVariationRecordBytes - 1) / kVariationRecordBytes;
    if (records < count)
        throw LoanFileError("tiene " + std::to_string(records) + " meses y el plazo pide "
            + std::to_string(count) + " (meses 0 a " + std::to_string(count - 1) + ")...");
    std::vector<std::string> texts;
    texts.reserve(count);
    for (std::size_t r = 0; r < count; ++r)
        texts.push_back(trim(readField(bytes, r * kVariationRecordBytes, kVariationTextBytes)));
    return texts;
}

std::vector<std::string> loadVariationFile(const std::string& path, std::size_t count)
{
    const std::string bytes = loadBytes(path, count * kVariationRecordBytes);
    try {
        return parseVariationTable(bytes, count);
    } catch (const LoanFileError& e) {
        rethrowNamed(e, path);
    }
}

int variationFileMonths(const std::string& path)
{
    constexpr std::size_t kMaxRecords = std::size_t { INT16_MAX } + 1;
    const FileContent content = [&] {
        try {
            return readRegularFile(path, kMaxRecords * kVariationRecordBytes);
        } catch (const FileError& e) {
            throw LoanFileError(e.what());
        }
    }();
    const std::size_t records
        = (content.bytes.size() + kVariationRecordBytes - 1) / kVariationRecordBytes;
    if (records == 0)
        rethrowNamed(LoanFileError("está vacío: no tiene meses..."), path);
    if (content.truncated)
        rethrowNamed(LoanFileError("tiene más de " + std::to_string(kMaxRecords)
                         + " meses, más de los que cuenta un plazo..."),
            path);
    return static_cast<int>(records - 1);
}

void saveVariationFile(const std::string& path, const std::vector<std::string>& texts)
{
    saveKeepingTail(path, variationTableBytes(texts));
}

std::vector<double> variationsFromTexts(const std::vector<std::string>& texts)
{
    std::vector<double> rates;
    rates.reserve(texts.size());
    for (const auto& text : texts)
        rates.push_back(leadingNumber(text) / 100.0);
    return rates;
}

} // namespace orvex
