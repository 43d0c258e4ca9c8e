#include "records/directory.h"

#include "table_fixture.h"

namespace orvex {
namespace {

using DirectoryTest = testing::TableDir;

TEST_F(DirectoryTest, CreatesEveryMissingLevelOrSaysWhyNot)
{
    writeBytes("archivo", "x");
    std::filesystem::create_directory("existe");
    struct Row {
        std::string path;
        bool created;
    };
    const Row rows[] = {
        { "a/b/c", true }, { "a/b/c/", true }, // exists already
        { "existe/nuevo/", true }, { (m_dir.dir / "abs" / "uno").string(), true }, { "x//y", true },
        { "archivo", false }, // a file is no directory
        { "archivo/sub", false }, { "", false },
        { std::string("nul\0/x", 6), false }, // never "nul" alone
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        const std::string reason = crearDirectorio(row.path);
        EXPECT_EQ(reason.empty(), row.created) << reason;
        EXPECT_EQ(directoryExists(row.path), row.created);
    }
    EXPECT_TRUE(directoryExists("a/b"));
    EXPECT_FALSE(directoryExists("nul"));
}

} // namespace
} // namespace orvex
