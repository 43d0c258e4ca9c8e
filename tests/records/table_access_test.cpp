#include "records/table_access.h"

#include "table_fixture.h"

#include <chrono>
#include <cmath>
#include <sys/stat.h>
#include <sys/wait.h>

namespace orvex {
namespace {

using testing::FieldSpec;

class TableAccessTest : public testing::TableDir {
protected:
    // A table of count 8-byte records: an int32 counter and an int32 record number.
    TableLayout makeTable(std::int32_t count, std::int16_t mode = 0, std::int16_t keyLength = 0)
    {
        std::string data;
        for (std::int32_t p = 1; p <= count; ++p)
            data += mkl(0) + mkl(p);
        writeBytes("t.dat", data);
        TableConfig config;
        config.record.dataPath = "t.dat";
        config.record.indexPath = "t.ndx";
        config.fields = { testing::describe({ "Nro", keyLength, mode }),
            testing::describe({ "Cuenta", 4, 40 }), testing::describe({ "Nro", 4, 40 }) };
        config.map = { 0 };
        return buildTableLayout(config, "t.cmp");
    }

    // Runs body in a child process; returns a pipe end that reads "r" once the child is
    // ready, and the child's id. The child exits after body returns.
    template <class Body> pid_t spawn(Body body, int& ready)
    {
        int fds[2];
        EXPECT_EQ(::pipe(fds), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            body([&] { (void)!::write(fds[1], "r", 1); });
            ::_exit(0);
        }
        ::close(fds[1]);
        ready = fds[0];
        return pid;
    }

    static void awaitReady(int fd)
    {
        char c = 0;
        EXPECT_EQ(::read(fd, &c, 1), 1);
        ::close(fd);
    }

    static int exitCode(pid_t pid)
    {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(TableAccessTest, BusyTestCountsOnlyLockConflictsAndNeverWaitsOnAnUnopenableFile)
{
    EXPECT_EQ(tablaOcupada("missing.dat", BusyMode::Writers).state, BusyTest::Free);
    std::filesystem::create_directory("folder.dat");
    ASSERT_EQ(::mkfifo("pipe.dat", 0600), 0);
    for (const char* path : { "folder.dat", "pipe.dat" }) {
        SCOPED_TRACE(path);
        EXPECT_EQ(tablaOcupada(path, BusyMode::Writers).state, BusyTest::Failed);
        EXPECT_EQ(tablaOcupada(path, BusyMode::Readers).state, BusyTest::Failed);
        testing::RecordingHooks hooks;
        try {
            esperarTabla(path, hooks, BusyMode::Readers);
            ADD_FAILURE() << "no error";
        } catch (const TableError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
        }
        EXPECT_THROW(esperarTabla(path, hooks, BusyMode::Writers), TableError);
        EXPECT_TRUE(hooks.statuses.empty());
        EXPECT_EQ(hooks.windows, 0);
    }
    EXPECT_EQ(busyStatusMessage("C:\\DATOS\\CLIENTES.DAT"),
        "La tabla [CLIENTES.DAT] está siendo utilizada por otro usuario...");
    EXPECT_EQ(
        busyStatusMessage("tabla"), "La tabla [tabla] está siendo utilizada por otro usuario...");

    const auto start = std::chrono::steady_clock::now();
    pausa(0.05);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    pausa(-1.0);
    pausa(std::nan(""));
}

TEST_F(TableAccessTest, AnEditorMakesEveryoneWaitAndReadersMakeNobodyWait)
{
    const TableLayout layout = makeTable(3);
    int ready = -1;
    // The editor holds the table, then writes a mark into record 1 just before it closes.
    const pid_t editor = spawn(
        [&](auto signal) {
            testing::RecordingHooks hooks;
            auto access = TableAccess::open(layout, AccessKind::Editing, hooks);
            signal();
            pausa(0.7);
            std::string record = mkl(77) + mkl(1);
            access->write(1, record.data());
        },
        ready);
    awaitReady(ready);
    EXPECT_EQ(tablaOcupada("t.dat", BusyMode::Writers).state, BusyTest::Busy);
    EXPECT_EQ(tablaOcupada("t.dat", BusyMode::Readers).state, BusyTest::Busy);

    // A cancelled editing access opens nothing and returns at once.
    testing::RecordingHooks cancelling;
    cancelling.cancel = true;
    EXPECT_FALSE(TableAccess::open(layout, AccessKind::Editing, cancelling));
    EXPECT_EQ(cancelling.windows, 1);

    // A reader waits on the status line until the editor is done, then sees its change.
    testing::RecordingHooks hooks;
    auto reader = TableAccess::open(layout, AccessKind::Reading, hooks);
    ASSERT_TRUE(reader);
    EXPECT_EQ(hooks.statuses,
        (std::vector<std::string> {
            "La tabla [t.dat] está siendo utilizada por otro usuario...", "" }));
    EXPECT_GE(hooks.pauses, 1);
    char record[8];
    ASSERT_TRUE(reader->read(1, record));
    EXPECT_EQ(cvl({ record, 4 }), 77);
    EXPECT_EQ(exitCode(editor), 0);

    // Readers hold no lock: a reading child leaves the table free for everyone.
    const pid_t other = spawn(
        [&](auto signal) {
            testing::RecordingHooks h;
            auto access = TableAccess::open(layout, AccessKind::Reading, h);
            signal();
            pausa(0.3);
        },
        ready);
    awaitReady(ready);
    EXPECT_EQ(tablaOcupada("t.dat", BusyMode::Writers).state, BusyTest::Free);
    testing::RecordingHooks editorHooks;
    EXPECT_TRUE(TableAccess::open(layout, AccessKind::Editing, editorHooks));
    EXPECT_EQ(editorHooks.windows, 0);
    EXPECT_EQ(exitCode(other), 0);
}

TEST_F(TableAccessTest, EightProcessesAddingTwoHundredEachLoseNoUpdate)
{
    const TableLayout layout = makeTable(2);
    std::vector<pid_t> children;
    for (int c = 0; c < 8; ++c) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            testing::RecordingHooks hooks;
            for (int k = 0; k < 200; ++k) {
                auto access = TableAccess::open(layout, AccessKind::Editing, hooks);
                char record[8];
                if (!access || !access->read(1, record))
                    ::_exit(1);
                const std::string next = mkl(cvl({ record, 4 }) + 1) + std::string(record + 4, 4);
                access->write(1, next.data());
            }
            ::_exit(0);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children)
        EXPECT_EQ(exitCode(pid), 0);
    EXPECT_EQ(cvl(readBytes("t.dat").substr(0, 4)), 1600);
}

TEST_F(TableAccessTest, LocatesThroughIndexAndMapAndCountsToNearest)
{
    // Index mode 1, key length 6, record length 40: logical 3 reads the int16 at byte
    // position 8 * 2 + 6 + 1 = 23 of the index file; a pointer of 10 is position 361.
    writeBytes("t.ndx", std::string(22, 'k') + mki(10) + std::string(6, 'k'));
    TableConfig config;
    config.record.dataPath = "t.dat";
    config.record.indexPath = "t.ndx";
    config.fields = { testing::describe({ "Nro", 6, 1 }), testing::describe({ "A", 40, 0 }) };
    const TableLayout layout = buildTableLayout(config, "t.cmp");
    writeBytes("t.dat", std::string(400, 'x'));
    testing::RecordingHooks hooks;
    auto access = TableAccess::open(layout, AccessKind::Reading, hooks);
    EXPECT_EQ(access->locate(3).physical, 10);
    EXPECT_EQ(access->locate(3).position, 361);
    EXPECT_EQ(access->countRecords(), 4); // 30 bytes / 8 = 3.75
    char record[40];
    EXPECT_TRUE(access->read(3, record));
    EXPECT_FALSE(access->read(1, record)); // pointer "kk" is beyond the data file

    struct Case {
        std::size_t bytes;
        std::int32_t count;
    };
    // Flat file of 100-byte records: halves go to the even count.
    const Case cases[] = { { 250, 2 }, { 350, 4 }, { 260, 3 }, { 0, 0 } };
    TableConfig flat;
    flat.record.dataPath = "f.dat";
    flat.fields = { testing::describe({ "Nro", 0, 0 }), testing::describe({ "A", 100, 0 }) };
    const TableLayout flatLayout = buildTableLayout(flat, "f.cmp");
    for (const auto& c : cases) {
        writeBytes("f.dat", std::string(c.bytes, 'x'));
        auto a = TableAccess::open(flatLayout, AccessKind::Reading, hooks);
        EXPECT_EQ(a->countRecords(), c.count) << c.bytes;
    }
    auto a = TableAccess::open(flatLayout, AccessKind::Reading, hooks);
    char big[100];
    EXPECT_FALSE(a->read(3, big)); // the short last record is not read
}

TEST_F(TableAccessTest, ReaderGivesTheSameRecordsAsOneReadPerRecordInEveryMode)
{
    const std::int32_t count = 70000; // more than one block of 8-byte records
    std::string index16, index32;
    std::vector<std::int32_t> map = { 0 };
    for (std::int32_t i = 1; i <= count; ++i) {
        // Runs of consecutive records, a reversed stretch and pointers to nowhere.
        std::int32_t p = i % 1000 == 0 ? (i % 3000 == 0 ? -4 : count + 5)
            : i <= 40000               ? i
                                       : count + 40001 - i;
        index16 += "kk" + mki(static_cast<std::int16_t>(p % 30000));
        index32 += "kk" + mkl(p);
        map.push_back(p);
    }
    for (const std::int16_t mode :
        { std::int16_t(0), std::int16_t(1), std::int16_t(2), std::int16_t(3) }) {
        SCOPED_TRACE(mode);
        writeBytes("t.ndx", mode == 1 ? index16 : index32);
        TableLayout layout = makeTable(count, mode, 2);
        if (mode == 3)
            layout.map = map, layout.mode = IndexMode::Map;
        testing::RecordingHooks hooks;
        auto access = TableAccess::open(layout, AccessKind::Reading, hooks);
        ASSERT_EQ(access->countRecords(), count);
        for (auto [from, to] :
            { std::pair { 1, count }, std::pair { count, 1 }, std::pair { 5, 5 } }) {
            RecordReader reader(*access, from, to);
            ScannedRecord r;
            std::int32_t expected = from, seen = 0;
            char record[8];
            while (reader.next(r)) {
                ASSERT_EQ(r.logical, expected);
                const bool present = access->read(r.logical, record);
                ASSERT_EQ(r.bytes != nullptr, present) << r.logical;
                ASSERT_EQ(r.physical, access->locate(r.logical).physical);
                if (present) {
                    ASSERT_EQ(std::string(r.bytes, 8), std::string(record, 8));
                }
                expected += from <= to ? 1 : -1;
                ++seen;
            }
            EXPECT_EQ(seen, std::abs(to - from) + 1);
        }
    }
}

} // namespace
} // namespace orvex
