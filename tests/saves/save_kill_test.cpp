// Saves killed with SIGKILL at random moments: the file afterwards holds its old or its
// new content, never a mix, and the next save leaves no temporary file behind.

#include "common/file_io.h"
#include "loans/loan_files.h"
#include "printing/print_settings.h"
#include "printing/report_preparation.h"
#include "records/browser_model.h"
#include "records/field_text.h"
#include "records/table_fixture.h"
#include "worksheet/worksheet_file.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <random>

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace orvex {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kKills = 200;
const std::string kExamples = ORVEX_EXAMPLES_DIR;

std::optional<std::string> contentOf(const std::string& path)
{
    if (!fs::exists(path))
        return std::nullopt;
    return readWholeFile(path);
}

std::string show(const std::optional<std::string>& content)
{
    return content ? std::to_string(content->size()) + " bytes" : "no file";
}

// Nobody else uses the table: no wait ever shows, and changes are always saved.
struct Host : BrowserHost {
    bool waitWindow(const std::string&, const std::function<BusyTest()>&) override { return false; }
    void status(const std::string&) override { }
    bool confirmSave() override { return true; }
};

class SaveKill : public testing::TableDir {
protected:
    // A kill ends the process, not the machine: the folder may live in memory, where
    // the saves' flushes cost nothing and many more kills fit in the same time. Set
    // before any fixture, whose folder is made when it is built.
    static void SetUpTestSuite()
    {
        std::error_code error;
        if (fs::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0)
            ::setenv("TMPDIR", "/dev/shm", 1);
    }

    // Runs save in a child process and kills it after a random pause up to one and a half
    // times what a whole unkilled run took (the first run measures it). True when the
    // save finished before the kill.
    bool killDuring(const std::function<void()>& save)
    {
        const auto started = Clock::now();
        const pid_t pid = ::fork();
        if (pid < 0)
            ADD_FAILURE() << "fork failed";
        if (pid == 0) {
            try {
                save();
            } catch (...) {
                ::_exit(3);
            }
            ::_exit(0);
        }
        if (m_span.count() > 0) {
            const auto pause = std::uniform_int_distribution<long>(0, m_span.count())(m_random);
            const timespec t { pause / 1000000000, pause % 1000000000 };
            ::nanosleep(&t, nullptr);
            ::kill(pid, SIGKILL);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (m_span.count() == 0)
            m_span = (Clock::now() - started) * 3 / 2;
        if (WIFSIGNALED(status)) {
            ++m_killed;
            return false;
        }
        EXPECT_EQ(WEXITSTATUS(status), 0) << "the save itself failed";
        ++m_finished;
        return true;
    }

    // kKills saves of path killed at random moments. Before each, next(k) sets the stage
    // and returns what the save writes, given what the file holds.
    void killSaves(const std::string& path,
        const std::function<std::optional<std::string>(int k, const std::optional<std::string>&)>&
            next,
        const std::function<void()>& save)
    {
        for (int k = 0; k < kKills; ++k) {
            const auto before = contentOf(path);
            const auto after = next(k, before);
            const auto expectedBefore = contentOf(path); // next may have set the file
            killDuring(save);
            const auto now = contentOf(path);
            if (now != expectedBefore && now != after) {
                ADD_FAILURE() << path << " torn after kill " << k << ": " << show(now) << ", old "
                              << show(expectedBefore) << ", new " << show(after);
                return;
            }
        }
        save();
        expectNoTemporaries();
        EXPECT_GT(m_killed, 0);
        EXPECT_GT(m_finished, 0);
    }

    void expectNoTemporaries()
    {
        for (const auto& entry : fs::directory_iterator("."))
            EXPECT_EQ(entry.path().filename().string().find(".orvex-"), std::string::npos)
                << entry.path();
    }

    std::chrono::nanoseconds m_span {};
    int m_killed = 0;
    int m_finished = 0;
    std::mt19937 m_random { std::random_device {}() };
};

TEST_F(SaveKill, WorksheetFile)
{
    const LoadedWorksheet sheets[] = { loadWorksheetFile(kExamples + "/prestamo-cuota.ORV"),
        loadWorksheetFile(kExamples + "/inversion-evaluada.ORV") };
    int which = 0;
    killSaves(
        "hoja.ORV",
        [&](int k, const auto&) {
            which = k % 2;
            return serializeWorksheet(sheets[which].sheet);
        },
        [&] { saveWorksheetFile("hoja.ORV", sheets[which].sheet); });
}

TEST_F(SaveKill, LoanAndVariationFiles)
{
    // Both keep what lies beyond their own records.
    writeBytes("p.upa", std::string(kLoanSlotBytes, 'x') + "cola");
    LoanInput loans[2];
    loans[0].texts = { "120000000", "300", "24", "0.8", "0.4" };
    loans[1].texts = { "5000", "1", "360", "1.5", "" };
    loans[1].system = PaymentSystem::UniformPayment;
    loans[1].enUvr = true;
    int which = 0;
    killSaves(
        "p.upa",
        [&](int k, const std::optional<std::string>& before) {
            which = k % 2;
            return loanRecordBytes(loans[which]) + before->substr(kLoanSlotBytes);
        },
        [&] { saveLoanFile("p.upa", loans[which]); });

    m_span = {};
    const std::vector<std::string> tables[]
        = { std::vector<std::string>(25, "0.5"), { "1", "", "2.25", "-0.1" } };
    writeBytes("p.cor", variationTableBytes(std::vector<std::string>(30, "9")));
    killSaves(
        "p.cor",
        [&](int k, const std::optional<std::string>& before) {
            which = k % 2;
            const std::string bytes = variationTableBytes(tables[which]);
            return bytes + before->substr(bytes.size());
        },
        [&] { saveVariationFile("p.cor", tables[which]); });
}

TEST_F(SaveKill, PrintSettingsFileIsCreatedWhole)
{
    // The file is written only when missing: each round starts without it.
    killSaves(
        kPrintSettingsFile,
        [](int, const auto&) {
            fs::remove(kPrintSettingsFile);
            return printSettingsText({});
        },
        [] {
            PrintSettings settings;
            loadPrintSettings(settings);
        });
}

TEST_F(SaveKill, PreparedReportCopy)
{
    const std::string reports[]
        = { readWholeFile(kExamples + "/informe.rpt"), "\x01\x0c\x01\x01otro informe\r\n" };
    std::string copies[2];
    for (int k = 0; k < 2; ++k) {
        writeBytes("informe.rpt", reports[k]);
        prepareReport("informe.rpt", {});
        copies[k] = readBytes(preparedFileName("informe.rpt"));
    }
    killSaves(
        preparedFileName("informe.rpt"),
        [&](int k, const auto&) {
            writeBytes("informe.rpt", reports[k % 2]);
            return copies[k % 2];
        },
        [] { prepareReport("informe.rpt", {}); });
}

class TableSaveKill : public SaveKill {
protected:
    void SetUp() override
    {
        SaveKill::SetUp();
        for (const char* name : { "lstCLIENTES.ini", "lstCLIENTES.cmp", "lstCLIENTES.rg",
                 "clientes.dat", "clientes.ndx" })
            fs::copy_file(kExamples + "/" + name, name);
        auto config = loadConfiguration(configPaths("CLIENTES"), host);
        ASSERT_TRUE(config);
        ASSERT_TRUE(model.setUp(*config, kRows, "lstCLIENTES.cmp"));
        ASSERT_TRUE(model.fill(model.firstRecord()));
        ASSERT_TRUE(model.editable());
        // The first visible text field that may be edited.
        for (int c = 1; c < model.columnCount() && !textColumn; ++c) {
            const FieldLayout& f = model.layout().fields[static_cast<std::size_t>(c - 1)];
            if (!f.hidden && !f.isProtected && !isNumericType(f.type) && f.type != kTypeDate
                && f.length >= 6)
                textColumn = c;
        }
        ASSERT_NE(textColumn, 0);
    }

    static constexpr int kRows = 12;
    Host host;
    BrowserModel model { host };
    int textColumn = 0;
};

TEST_F(TableSaveKill, RecordWriteBackLeavesEachRecordOldOrNew)
{
    const FieldLayout& field = model.layout().fields[static_cast<std::size_t>(textColumn - 1)];
    const auto length = static_cast<std::size_t>(model.layout().recordLength);
    for (int k = 0; k < kKills; ++k) {
        ASSERT_TRUE(model.fill(model.firstRecord()));
        const std::string before = readBytes("clientes.dat");
        // Every record of the page gets this round's text in the field.
        const std::string text = k % 2 ? "Alfa Uno" : "Beta Dos";
        std::string after = before;
        {
            auto access = TableAccess::open(model.layout(), AccessKind::Reading, host);
            ASSERT_TRUE(access);
            for (int row = 1; row <= kRows; ++row) {
                const auto at
                    = static_cast<std::size_t>(access->locate(model.logicalOf(row)).position - 1);
                ASSERT_LE(at + length, after.size());
                storeFieldText(field, text, after.data() + at);
            }
        }
        killDuring([&] {
            for (int row = 1; row <= kRows; ++row)
                model.applyEdit({ row, textColumn }, text);
            model.confirmChanges();
        });
        const std::string now = readBytes("clientes.dat");
        ASSERT_EQ(now.size(), before.size());
        for (std::size_t at = 0; at < now.size(); at += length) {
            const std::string record = now.substr(at, length);
            if (record != before.substr(at, length) && record != after.substr(at, length))
                FAIL() << "record at byte " << at << " torn after kill " << k;
        }
    }
    EXPECT_GT(m_killed, 0);
    EXPECT_GT(m_finished, 0);
}

TEST_F(TableSaveKill, Export)
{
    // Two versions of the table, whose exports differ.
    const std::string tables[] = { readBytes("clientes.dat"), [&] {
                                      std::string data = readBytes("clientes.dat");
                                      std::replace(data.begin(), data.end(), 'a', 'o');
                                      return data;
                                  }() };
    std::string exports[2];
    for (int k = 0; k < 2; ++k) {
        writeBytes("clientes.dat", tables[k]);
        ASSERT_TRUE(model.exportText());
        exports[k] = readBytes("clientes.TXT");
    }
    ASSERT_NE(exports[0], exports[1]);
    killSaves(
        "clientes.TXT",
        [&](int k, const auto&) {
            writeBytes("clientes.dat", tables[k % 2]);
            return exports[k % 2];
        },
        [&] { model.exportText(); });
}

} // namespace
} // namespace orvex
