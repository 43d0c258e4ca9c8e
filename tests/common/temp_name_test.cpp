#include "common/temp_name.h"

#include "common/file_io.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace orvex {
namespace {

namespace fs = std::filesystem;

class TemporaryTableName : public ::testing::Test {
protected:
    std::string dir() const { return m_dir.string(); }
    bool exists(const std::string& name) const { return fs::exists(m_dir / name); }

    test::TempDir m_temp;
    const fs::path& m_dir = m_temp.dir;
};

TEST_F(TemporaryTableName, CountsUpPastTakenNamesAndLeavesThreeEmptyFiles)
{
    struct Case {
        const char* prefix;
        std::int16_t station;
        const char* expected;
    };
    // Each call takes the first free candidate; "t00" is taken by the first call.
    const Case cases[] = {
        { "", 0, "t00" },
        { "", 0, "t10" },
        { "  inf ", 0, "inft00" },
        { "", 7, "t07" },
        { "", 7, "t17" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        const auto name = temporaryTableName(c.prefix, c.station, dir());
        ASSERT_TRUE(name);
        EXPECT_EQ(*name, c.expected);
        for (const char* ext : { "", ".DAT", ".NDX" }) {
            EXPECT_TRUE(exists(*name + ext)) << ext;
            EXPECT_EQ(fs::file_size(m_dir / (*name + ext)), 0u);
        }
    }
}

TEST_F(TemporaryTableName, NeverTruncatesATableInUseAndCleansAHalfTakenCandidate)
{
    // Another copy holds only "t00.NDX"; its data must survive and t00 stays free of our files.
    {
        std::ofstream(m_dir / "t00.NDX") << "in use";
    }
    const auto name = temporaryTableName("", 0, dir());
    ASSERT_TRUE(name);
    EXPECT_EQ(*name, "t10");
    EXPECT_EQ(readWholeFile((m_dir / "t00.NDX").string()), "in use");
    EXPECT_FALSE(exists("t00"));
    EXPECT_FALSE(exists("t00.DAT"));
}

TEST_F(TemporaryTableName, AFolderThatCannotHoldFilesIsAFailureNotALoop)
{
    EXPECT_FALSE(temporaryTableName("", 0, dir() + "/missing"));
}

} // namespace
} // namespace orvex
