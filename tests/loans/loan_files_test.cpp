#include "common/file_io.h"
#include "loans/loan_files.h"
#include "loans_test_util.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

const LoanInput kSample = test::loan("12", "1", PaymentSystem::UniformPayment);
const std::string kSampleSlot = "1200000        100            12    1        0.5      21        ";

// The message of the LoanFileError f throws; empty (and a failure) when none.
template <typename F> std::string refusal(F f)
{
    try {
        f();
        ADD_FAILURE() << "accepted";
    } catch (const LoanFileError& e) {
        return e.what();
    }
    return {};
}

TEST(LoanFile, RecordIsByteExactAndRoundTrips)
{
    test::TempDir dir;
    const std::string file = dir.path("a.upa");
    saveLoanFile(file, kSample);
    EXPECT_EQ(readWholeFile(file), kSampleSlot);
    // Loaded back with the texts padded as stored; saved again, the same bytes.
    const LoanInput back = loadLoanFile(file);
    EXPECT_EQ(back,
        test::loan("12    ", "1        ", PaymentSystem::UniformPayment, true, "0.5      ",
            "100            ", "1200000        "));
    EXPECT_EQ(loanRecordBytes(back), kSampleSlot);
    EXPECT_EQ(parseLoanRecord(kSampleSlot.substr(0, 56)), back); // 56 bytes are enough

    // Texts cut to their width, in Windows-1252 (one byte a character).
    const LoanInput other = test::loan(
        "12", "1", PaymentSystem::PresetPayments, false, "0.5", "año", "1234567890123456789");
    const std::string bytes = loanRecordBytes(other);
    ASSERT_EQ(bytes.size(), 64u);
    EXPECT_EQ(bytes.substr(0, 19), "123456789012345a\xF1o ");
    EXPECT_EQ(bytes.substr(54, 2), "32");
    const LoanInput preset = parseLoanRecord(bytes); // "Cuotas Preestablecidas", "En Pesos"
    EXPECT_EQ(preset.system, PaymentSystem::PresetPayments);
    EXPECT_FALSE(preset.enUvr);

    // Saving over a file keeps its bytes beyond the slot, if any.
    writeFileAtomically(file, std::string(64, 'x') + "tail bytes");
    saveLoanFile(file, kSample);
    EXPECT_EQ(readWholeFile(file), kSampleSlot + "tail bytes");
    writeFileAtomically(file, std::string(60, 'y'));
    saveLoanFile(file, kSample);
    EXPECT_EQ(readWholeFile(file), kSampleSlot);
}

TEST(LoanFile, BadFilesAreRefusedNamingTheFileAndTheReason)
{
    test::TempDir dir;
    const std::string file = dir.path("bad.upa");
    const std::pair<std::string, const char*> cases[] = {
        { kSampleSlot.substr(0, 55), "56" },
        { "", "56" },
        { kSampleSlot.substr(0, 54) + "01", "sistema de pago" },
        { kSampleSlot.substr(0, 54) + "41", "sistema de pago" },
        { kSampleSlot.substr(0, 54) + " 1", "sistema de pago" },
        { kSampleSlot.substr(0, 54) + "13", "moneda" },
        { kSampleSlot.substr(0, 54) + "1x", "moneda" },
    };
    for (const auto& [bytes, reason] : cases) {
        SCOPED_TRACE(bytes);
        writeFileAtomically(file, bytes);
        const std::string message = refusal([&] { loadLoanFile(file); });
        EXPECT_NE(message.find(file), std::string::npos) << message;
        EXPECT_NE(message.find(reason), std::string::npos) << message;
    }
    EXPECT_NE(refusal([&] { loadLoanFile(dir.path("missing.upa")); }), "");
    EXPECT_NE(refusal([&] { saveLoanFile(dir.path("no/such/a.upa"), kSample); }), "");
}

TEST(VariationFile, RecordsAreByteExactAndRoundTrip)
{
    // Trimmed, cut at 14 bytes, in Windows-1252, in 64-byte records.
    const std::string bytes = variationTableBytes({ " 0.5 ", "", "123456789012345678", "ñ" });
    ASSERT_EQ(bytes.size(), 4u * 64);
    EXPECT_EQ(bytes.substr(0, 64), "0.5" + std::string(61, ' '));
    EXPECT_EQ(bytes.substr(64, 64), std::string(64, ' '));
    EXPECT_EQ(bytes.substr(128, 64), "12345678901234" + std::string(50, ' '));
    EXPECT_EQ(bytes.substr(192, 2), "\xF1 ");

    test::TempDir dir;
    const std::string file = dir.path("t.cor");
    std::vector<std::string> texts(13);
    texts[3] = "0.5";
    texts[12] = "-1.25";
    saveVariationFile(file, texts);
    EXPECT_EQ(loadVariationFile(file, 13), texts);
    saveVariationFile(file, { "2", "2" });
    texts[0] = texts[1] = "2";
    EXPECT_EQ(loadVariationFile(file, 13), texts);

    // A table written record by record ends after the 14 bytes of its last record.
    std::string written = variationTableBytes(texts).substr(0, 12 * 64 + 14);
    EXPECT_EQ(parseVariationTable(written, 13), texts);
    written.resize(12 * 64);
    EXPECT_THROW(parseVariationTable(written, 13), LoanFileError);

    // Too few records: the message names the file and the months wanted.
    saveVariationFile(dir.path("short.cor"), std::vector<std::string>(5, "1"));
    const std::string message = refusal([&] { loadVariationFile(dir.path("short.cor"), 13); });
    EXPECT_NE(message.find(dir.path("short.cor")), std::string::npos) << message;
    EXPECT_NE(message.find("13"), std::string::npos) << message;
    EXPECT_NE(refusal([&] { loadVariationFile(dir.path("missing.cor"), 1); }), "");
}

TEST(VariationFile, MonthsAreTheRecordsAFileHolds)
{
    // A record counts when it starts inside the file; a term counts at most 32767 months.
    struct Row {
        std::size_t bytes;
        int months; // -1: refused
    } const rows[] = {
        { 0, -1 },
        { 14, 0 },
        { 64, 0 },
        { 65, 1 },
        { 12 * 64 + 14, 12 },
        { 32768u * 64, 32767 },
        { 32768u * 64 + 1, -1 },
    };
    test::TempDir dir;
    const std::string file = dir.path("t.cor");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes);
        writeFileAtomically(file, std::string(row.bytes, ' '));
        if (row.months < 0)
            EXPECT_NE(refusal([&] { variationFileMonths(file); }).find(file), std::string::npos);
        else
            EXPECT_EQ(variationFileMonths(file), row.months);
    }
    EXPECT_NE(refusal([&] { variationFileMonths(dir.path("missing.cor")); }), "");
}

TEST(VariationFile, PercentTextsBecomeFractions)
{
    EXPECT_EQ(variationsFromTexts({ "0.5", "", "abc", "-2", "1e1x" }),
        (std::vector<double> { 0.005, 0.0, 0.0, -0.02, 0.1 }));
}

} // namespace
} // namespace orvex
