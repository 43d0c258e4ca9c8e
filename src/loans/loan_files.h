#pragma once

#include "loans/loan.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvex {

// A loan or variation file that cannot be read, written or understood. The
// message is in Spanish, names the file and says why, ready for a message box.
class LoanFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// ".upa": one 56-byte record (Valores1..5 in 15, 15, 6, 9, 9 bytes, the payment
// system digit, "1" for "En UVR" or "2") in a 64-byte slot.
inline constexpr std::size_t kLoanRecordBytes = 56;
inline constexpr std::size_t kLoanSlotBytes = 64;
inline constexpr std::array<std::size_t, 5> kLoanFieldWidths = { 15, 15, 6, 9, 9 };

// The 64-byte slot: the record in Windows-1252, blanks in bytes 56..63.
std::string loanRecordBytes(const LoanInput& loan);

// The loan of a file's bytes, texts as stored (trailing blanks included).
// Throws LoanFileError (without a file name) when shorter than 56 bytes or an
// option digit lies outside 1..3 (system) or 1..2 (currency).
LoanInput parseLoanRecord(std::string_view bytes);

// Throws LoanFileError; nothing is returned half loaded.
LoanInput loadLoanFile(const std::string& path);

// Writes the slot at the start of the file atomically; a longer existing file
// keeps its bytes beyond the slot. Throws LoanFileError.
void saveLoanFile(const std::string& path, const LoanInput& loan);

// ".cor": record r (from 1) at offset (r - 1) * 64 holds the rate text of month
// r - 1 in its first 14 bytes; the rest of the record is blanks.
inline constexpr std::size_t kVariationRecordBytes = 64;
inline constexpr std::size_t kVariationTextBytes = 14;

// One record per text, each text trimmed, cut at 14 bytes.
std::string variationTableBytes(const std::vector<std::string>& texts);

// The trimmed texts of the first count records. Throws LoanFileError when the
// file holds fewer records (a record counts when it starts inside the file).
std::vector<std::string> parseVariationTable(std::string_view bytes, std::size_t count);

std::vector<std::string> loadVariationFile(const std::string& path, std::size_t count);
// The last month a file holds records for (records - 1). Throws LoanFileError when
// it cannot be read, is empty, or holds more months than a term can count.
int variationFileMonths(const std::string& path);
// A longer existing file keeps its records beyond the new ones. Throws LoanFileError.
void saveVariationFile(const std::string& path, const std::vector<std::string>& texts);

// UvrVariations as the table hands it over: each text's leading number / 100
// (an empty text gives 0, no rate of its own). Throws CalcError on overflow.
std::vector<double> variationsFromTexts(const std::vector<std::string>& texts);

} // namespace orvex
