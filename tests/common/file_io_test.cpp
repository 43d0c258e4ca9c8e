#include "common/file_io.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvex {
namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
protected:
    std::string path(const char* name) const { return m_temp.path(name); }
    long files() const
    {
        return std::distance(fs::directory_iterator(m_dir), fs::directory_iterator());
    }
    static mode_t modeOf(const std::string& p)
    {
        struct stat st { };
        ::stat(p.c_str(), &st);
        return st.st_mode & 07777;
    }
    // The error number writing or reading fails with, 0 when it works.
    template <class F> static int errorOf(F&& f)
    {
        try {
            f();
            return 0;
        } catch (const FileError& e) {
            return e.number();
        }
    }
    test::TempDir m_temp;
    const fs::path& m_dir = m_temp.dir;
};

TEST_F(FileIo, AtomicWriteReplacesAndLeavesNoTemporaryFile)
{
    const std::string a = path("a.ORV");
    writeFileAtomically(a, "first and longer");
    writeFileAtomically(a, std::string("sec\0nd", 6));
    EXPECT_EQ(readWholeFile(a), std::string("sec\0nd", 6));
    writeFileAtomically(a, "xy", OldTail::Keep); // a random-access file is not shortened
    EXPECT_EQ(readWholeFile(a), std::string("xyc\0nd", 6));
    EXPECT_EQ(files(), 1);
}

// Only temporary files of this program that no save holds any more are removed: two
// saves of one file at once must not delete each other's, nor anybody else's file.
TEST_F(FileIo, PieceByPieceWriterReplacesOnlyWhenCommitted)
{
    writeFileAtomically(path("a.txt"), "old");
    {
        AtomicFileWriter abandoned(path("a.txt"));
        abandoned.write("half");
    }
    EXPECT_EQ(readWholeFile(path("a.txt")), "old");
    EXPECT_EQ(files(), 1);
    AtomicFileWriter writer(path("a.txt"));
    writer.write("new ");
    writer.write("text");
    writer.commit();
    EXPECT_EQ(readWholeFile(path("a.txt")), "new text");
    EXPECT_EQ(files(), 1);
}

TEST_F(FileIo, OnlyStaleTemporaryFilesAreRemoved)
{
    const std::string target = path("b.ORV");
    const std::string stale = path(".b.ORV.orvex-Ab12Cd.tmp");
    const std::string inFlight = path(".b.ORV.orvex-Zz99Yy.tmp");
    const std::string foreign = path("b.ORV.tmp-Ab12Cd");
    for (const auto& p : { stale, inFlight, foreign })
        std::ofstream(p) << "half";
    const int held = ::open(inFlight.c_str(), O_RDWR | O_CLOEXEC);
    struct flock lock { };
    lock.l_type = F_WRLCK;
    ASSERT_EQ(::fcntl(held, F_OFD_SETLK, &lock), 0);
    writeFileAtomically(target, "whole");
    ::close(held);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(inFlight));
    EXPECT_TRUE(fs::exists(foreign));
    EXPECT_EQ(readWholeFile(target), "whole");
}

TEST_F(FileIo, FailedWriteKeepsTheOldFile)
{
    const std::string keep = path("keep.ORV");
    writeFileAtomically(keep, "precious");
    // A file-size limit makes the write fail even for root (a full disk, in effect).
    struct rlimit old { };
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4;
    ::setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_EQ(errorOf([&] { writeFileAtomically(keep, "a much longer replacement"); }), EFBIG);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    // A folder that cannot be flushed after the rename is reported like any write error.
    const FolderSync sync = setFolderSyncForTests([](int) {
        errno = EIO;
        return -1;
    });
    EXPECT_EQ(errorOf([&] { writeFileAtomically(path("other"), "x"); }), EIO);
    setFolderSyncForTests(sync);
    EXPECT_EQ(readWholeFile(keep), "precious");
}

// A pipe or a device never blocks a reader or a save, and is refused saying what it is.
TEST_F(FileIo, OnlyRegularFilesAreReadOrReplaced)
{
    const std::string fifo = path("fifo.ORV");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    struct Case {
        std::string path;
        int error;
        const char* says;
    };
    const Case cases[] = {
        { fifo, EINVAL, "tubería" },
        { "/dev/zero", EINVAL, "dispositivo" },
        { m_dir.string(), EISDIR, "carpeta" },
        { path("none"), ENOENT, "none" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            readRegularFile(c.path, 100);
            FAIL() << "read";
        } catch (const FileError& e) {
            EXPECT_EQ(e.number(), c.error);
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
        if (c.error != ENOENT) {
            EXPECT_NE(errorOf([&] { touchFile(c.path); }), 0);
            EXPECT_EQ(errorOf([&] { writeFileAtomically(c.path, "x"); }), c.error);
        }
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(FileIo, ReadsStopAtTheLimit)
{
    const std::string big = path("big.ORV");
    std::ofstream(big) << "TASA";
    fs::resize_file(big, 2'000'000'000); // sparse: no disk used
    const FileContent start = readRegularFile(big, 25600);
    EXPECT_EQ(start.bytes.size(), 25600u);
    EXPECT_EQ(start.bytes.substr(0, 4), "TASA");
    EXPECT_TRUE(start.truncated);
    EXPECT_EQ(errorOf([&] { readWholeFile(big, 1000); }), EFBIG);
    std::ofstream(path("small")) << "TASA";
    EXPECT_FALSE(readRegularFile(path("small"), 4).truncated); // exactly full is not more
}

TEST_F(FileIo, SavingKeepsModeOwnerAndLinksAndRespectsReadOnly)
{
    const std::string kept = path("kept.ORV");
    writeFileAtomically(kept, "1");
    ::chmod(kept.c_str(), 0664);
    if (::getuid() == 0) {
        ASSERT_EQ(::chown(kept.c_str(), 1234, 5678), 0);
    }
    writeFileAtomically(kept, "2");
    EXPECT_EQ(modeOf(kept), 0664u);
    if (::getuid() == 0) {
        struct stat st { };
        ::stat(kept.c_str(), &st);
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 5678u);
    }

    const mode_t umask = ::umask(002);
    writeFileAtomically(path("new.ORV"), "n");
    ::umask(umask);
    EXPECT_EQ(modeOf(path("new.ORV")), 0664u);

    const std::string readOnly = path("ro.ORV");
    writeFileAtomically(readOnly, "mine");
    ::chmod(readOnly.c_str(), 0444);
    EXPECT_EQ(errorOf([&] { writeFileAtomically(readOnly, "replaced"); }), EACCES);
    EXPECT_EQ(readWholeFile(readOnly), "mine");

    // Through a link the file it points to is saved; the link stays a link.
    fs::create_symlink("kept.ORV", m_dir / "link.ORV");
    writeFileAtomically(path("link.ORV"), "3");
    EXPECT_TRUE(fs::is_symlink(m_dir / "link.ORV"));
    EXPECT_EQ(readWholeFile(kept), "3");
    EXPECT_EQ(files(), 4);
}

TEST_F(FileIo, TouchCreatesButNeverEmpties)
{
    const std::string t = path("t");
    const mode_t umask = ::umask(002);
    touchFile(t);
    ::umask(umask);
    EXPECT_EQ(readWholeFile(t), "");
    EXPECT_EQ(modeOf(t), 0664u);
    writeFileAtomically(t, "data");
    ::chmod(t.c_str(), 0444); // a read-only file can still be opened
    touchFile(t);
    EXPECT_EQ(readWholeFile(t), "data");
    EXPECT_EQ(errorOf([&] { touchFile(path("no/such/folder")); }), ENOENT);
}

} // namespace
} // namespace orvex
