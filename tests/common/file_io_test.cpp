#include "common/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvex {
namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("orvex-fileio-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_dir);
    }
    fs::path m_dir;
};

TEST_F(FileIo, AtomicWriteReplacesAndLeavesNoTemporaryFile)
{
    const std::string path = (m_dir / "a.ORV").string();
    writeFileAtomically(path, "first");
    writeFileAtomically(path, std::string("sec\0nd", 6));
    EXPECT_EQ(readWholeFile(path), std::string("sec\0nd", 6));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(FileIo, StaleTemporaryFilesOfAnInterruptedSaveAreRemoved)
{
    const std::string path = (m_dir / "b.ORV").string();
    std::ofstream(path + ".tmp-Ab12Cd") << "half";
    std::ofstream((m_dir / "other.ORV.tmp-Ab12Cd").string()) << "not ours";
    writeFileAtomically(path, "whole");
    EXPECT_FALSE(fs::exists(path + ".tmp-Ab12Cd"));
    EXPECT_TRUE(fs::exists(m_dir / "other.ORV.tmp-Ab12Cd"));
    EXPECT_EQ(readWholeFile(path), "whole");
}

TEST_F(FileIo, FailedWriteKeepsTheOldFile)
{
    const std::string path = (m_dir / "keep.ORV").string();
    writeFileAtomically(path, "precious");
    // A file-size limit makes the write fail even for root (a full disk, in effect).
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4;
    ::setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(writeFileAtomically(path, "a much longer replacement"), FileError);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(readWholeFile(path), "precious");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(FileIo, MissingFolderAndMissingFileAreReported)
{
    try {
        writeFileAtomically((m_dir / "no" / "x.ORV").string(), "x");
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.number(), ENOENT);
        EXPECT_NE(std::string(e.what()).find("x.ORV"), std::string::npos);
    }
    EXPECT_THROW(readWholeFile((m_dir / "none").string()), FileError);
    EXPECT_THROW(readWholeFile(m_dir.string()), FileError); // a folder is not a file
    EXPECT_FALSE(fileExists(m_dir.string()));
}

TEST_F(FileIo, TouchCreatesButNeverEmpties)
{
    const std::string path = (m_dir / "t").string();
    touchFile(path);
    EXPECT_EQ(readWholeFile(path), "");
    writeFileAtomically(path, "data");
    touchFile(path);
    EXPECT_EQ(readWholeFile(path), "data");
}

} // namespace
} // namespace orvex
