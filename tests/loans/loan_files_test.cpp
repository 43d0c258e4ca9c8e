#include "common/file_io.h"
#include "loans/loan_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace orvex {
namespace {

namespace fs = std::filesystem;

class LoanFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("orvex-loans-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string path(const char* name) const { return (m_dir / name).string(); }
    fs::path m_dir;
};

LoanInput sampleLoan()
{
    LoanInput loan;
    loan.texts = { "1200000", "100", "12", "1", "0.5" };
    loan.system = PaymentSystem::UniformPayment;
    loan.enUvr = true;
    return loan;
}

const std::string kSampleSlot = "1200000        "
                                "100            "
                                "12    "
                                "1        "
                                "0.5      "
                                "21"
                                "        ";

TEST_F(LoanFiles, LoanRecordIsByteExact)
{
    EXPECT_EQ(loanRecordBytes(sampleLoan()), kSampleSlot);

    LoanInput loan = sampleLoan();
    loan.texts[0] = "1234567890123456789"; // cut at 15
    loan.texts[1] = "año"; // one byte a character in Windows-1252
    loan.system = PaymentSystem::PresetPayments;
    loan.enUvr = false;
    const std::string bytes = loanRecordBytes(loan);
    ASSERT_EQ(bytes.size(), 64u);
    EXPECT_EQ(bytes.substr(0, 15), "123456789012345");
    EXPECT_EQ(bytes.substr(15, 4), "a\xF1o ");
    EXPECT_EQ(bytes.substr(54, 2), "32");
}

TEST_F(LoanFiles, LoanRoundTripKeepsTextsPadded)
{
    const std::string file = path("a.upa");
    saveLoanFile(file, sampleLoan());
    EXPECT_EQ(readWholeFile(file), kSampleSlot);
    const LoanInput back = loadLoanFile(file);
    EXPECT_EQ(back.texts[0], "1200000        ");
    EXPECT_EQ(back.texts[2], "12    ");
    EXPECT_EQ(back.texts[4], "0.5      ");
    EXPECT_EQ(back.system, PaymentSystem::UniformPayment);
    EXPECT_TRUE(back.enUvr);
    // Saving what was loaded writes the same bytes again.
    EXPECT_EQ(loanRecordBytes(back), kSampleSlot);
}

TEST_F(LoanFiles, SavingKeepsTheTailOfALongerFile)
{
    const std::string file = path("long.upa");
    const std::string old = std::string(64, 'x') + "tail bytes";
    writeFileAtomically(file, old);
    saveLoanFile(file, sampleLoan());
    EXPECT_EQ(readWholeFile(file), kSampleSlot + "tail bytes");

    const std::string shorter = path("short.upa");
    writeFileAtomically(shorter, std::string(60, 'y'));
    saveLoanFile(shorter, sampleLoan());
    EXPECT_EQ(readWholeFile(shorter), kSampleSlot);
}

TEST_F(LoanFiles, ReaderNeedsOnlyTheFirst56Bytes)
{
    const LoanInput loan = parseLoanRecord(kSampleSlot.substr(0, 56));
    EXPECT_EQ(loan.texts[1], "100            ");
    EXPECT_EQ(loan.system, PaymentSystem::UniformPayment);
}

TEST_F(LoanFiles, BadLoanFilesAreRefusedWithAMessage)
{
    struct Case {
        const char* what;
        std::string bytes;
        const char* messagePart;
    };
    const Case cases[] = {
        { "too short", kSampleSlot.substr(0, 55), "56" },
        { "empty", "", "56" },
        { "system 0", kSampleSlot.substr(0, 54) + "01", "sistema de pago" },
        { "system 4", kSampleSlot.substr(0, 54) + "41", "sistema de pago" },
        { "system blank", kSampleSlot.substr(0, 54) + " 1", "sistema de pago" },
        { "currency 3", kSampleSlot.substr(0, 54) + "13", "moneda" },
        { "currency letter", kSampleSlot.substr(0, 54) + "1x", "moneda" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = path("bad.upa");
        writeFileAtomically(file, c.bytes);
        try {
            loadLoanFile(file);
            ADD_FAILURE() << "accepted";
        } catch (const LoanFileError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(file), std::string::npos) << message;
            EXPECT_NE(message.find(c.messagePart), std::string::npos) << message;
        }
    }
    EXPECT_THROW(loadLoanFile(path("missing.upa")), LoanFileError);
    EXPECT_THROW(saveLoanFile(path("no/such/folder/a.upa"), sampleLoan()), LoanFileError);
}

TEST_F(LoanFiles, VariationTableIsByteExact)
{
    const std::vector<std::string> texts = { " 0.5 ", "", "123456789012345678", "ñ" };
    const std::string bytes = variationTableBytes(texts);
    ASSERT_EQ(bytes.size(), 4u * 64);
    EXPECT_EQ(bytes.substr(0, 64), "0.5" + std::string(61, ' '));
    EXPECT_EQ(bytes.substr(64, 64), std::string(64, ' '));
    EXPECT_EQ(bytes.substr(128, 64), "12345678901234" + std::string(50, ' '));
    EXPECT_EQ(bytes.substr(192, 2), "\xF1 ");
}

TEST_F(LoanFiles, VariationRoundTripAndShortLastRecord)
{
    const std::string file = path("t.cor");
    std::vector<std::string> texts(13);
    texts[3] = "0.5";
    texts[12] = "-1.25";
    saveVariationFile(file, texts);
    EXPECT_EQ(loadVariationFile(file, 13), texts);
    EXPECT_EQ(
        loadVariationFile(file, 4), std::vector<std::string>(texts.begin(), texts.begin() + 4));

    // A table written record by record ends after the 14 bytes of its last record.
    std::string bytes = variationTableBytes(texts).substr(0, 12 * 64 + 14);
    EXPECT_EQ(parseVariationTable(bytes, 13), texts);
    bytes.resize(12 * 64);
    EXPECT_THROW(parseVariationTable(bytes, 13), LoanFileError);
}

TEST_F(LoanFiles, VariationSaveKeepsLaterRecords)
{
    const std::string file = path("keep.cor");
    saveVariationFile(file, std::vector<std::string>(6, "1"));
    saveVariationFile(file, { "2", "2" });
    EXPECT_EQ(
        loadVariationFile(file, 6), (std::vector<std::string> { "2", "2", "1", "1", "1", "1" }));
}

TEST_F(LoanFiles, ShortVariationFileNamesTheFileAndTheMonths)
{
    const std::string file = path("short.cor");
    saveVariationFile(file, std::vector<std::string>(5, "1"));
    try {
        loadVariationFile(file, 13);
        ADD_FAILURE() << "accepted";
    } catch (const LoanFileError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find(file), std::string::npos) << message;
        EXPECT_NE(message.find("13"), std::string::npos) << message;
    }
    EXPECT_THROW(loadVariationFile(path("missing.cor"), 1), LoanFileError);
}

TEST(VariationRates, PercentTextsBecomeFractions)
{
    const std::vector<double> rates = variationsFromTexts({ "0.5", "", "abc", "-2", "1e1x" });
    EXPECT_EQ(rates, (std::vector<double> { 0.005, 0.0, 0.0, -0.02, 0.1 }));
}

} // namespace
} // namespace orvex
