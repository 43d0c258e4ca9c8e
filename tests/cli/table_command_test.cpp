#include "cli/commands.h"

#include "common/text.h"
#include "records/table_access.h"
#include "records/table_fixture.h"

#include <sstream>
#include <sys/wait.h>

namespace orvex::cli {
namespace {

using orvex::testing::FieldSpec;

// The exit code, standard output and standard error, joined by "|".
std::string run(const Args& args)
{
    std::ostringstream out, err;
    const int code = runTable(args, out, err);
    return std::to_string(code) + "|" + out.str() + "|" + err.str();
}

class TableCommand : public orvex::testing::TableDir {
protected:
    // Four records through an index: code (int16, protected), name, hidden note, balance.
    void SetUp() override
    {
        TableDir::SetUp();
        std::string data;
        const char* names[] = { "Peña", "Ana", "Luis", "Marta" };
        for (int k = 0; k < 4; ++k)
            data += mki(static_cast<std::int16_t>(100 + k)) + fixedField(names[k], 8) + "note"
                + mkd(k * 1000.125);
        writeBytes("datos.dat", data);
        writeBytes("datos.ndx", "k" + mki(2) + "k" + mki(1) + "k" + mki(3) + "k" + mki(4));
        ConfigRecord record;
        record.dataPath = "datos.dat";
        record.indexPath = "datos.ndx";
        writeConfig("T", record, { "Nro", 1, 1 },
            { { "Código", 2, 2, 0, 1, 0, 4 }, { "Nombre", 8, 0 }, { "Nota", 4, 0, 1 },
                { "Saldo", 8, 80, 0, 0, 0, 9, 2 } });
    }
};

TEST_F(TableCommand, ShowPrintsTheFilledPage)
{
    const std::string header = "Nro\t*Código\tNombre\tSaldo\n";
    struct Case {
        Args args;
        std::string out;
    };
    const Case cases[] = {
        { { "show", "T" },
            header
                + "1\t101\tAna\t1000.12\n2\t100\tPeña\t.00\n3\t102\tLuis\t2000."
                  "25\n4\t103\tMarta\t3000.38\n" },
        { { "show", "T", "--rows", "2" }, header + "1\t101\tAna\t1000.12\n2\t100\tPeña\t.00\n" },
        { { "show", "T", "--from", "3" },
            header + "3\t102\tLuis\t2000.25\n4\t103\tMarta\t3000.38\n" },
        { { "show", "T", "--from", "99", "--rows", "9" }, header + "4\t103\tMarta\t3000.38\n" },
        { { "show", "T", "--from", "0", "--rows", "1" }, header + "1\t101\tAna\t1000.12\n" },
        { { "show", "T", "--rows", "0" }, header },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        EXPECT_EQ(run(c.args), "0|" + c.out + "|");
    }
    // A collapsed record-number column has no texts; the configuration stays in place.
    ConfigRecord record;
    record.dataPath = "datos.dat";
    record.firstRecord = 4;
    writeConfig("C", record, { "Nro", 0, 0, 1 }, { { "Código", 2, 2 }, { "Resto", 20, 0, 1 } });
    writeBytes("lst.cod", "\"C\"");
    EXPECT_EQ(run({ "show", "C" }), "0|\tCódigo\n\t103\n|");
    for (const char* kept : { "lstC.ini", "lstC.cmp", "lstC.rg", "lst.cod" })
        EXPECT_TRUE(std::filesystem::exists(kept)) << kept;
}

TEST_F(TableCommand, SearchAndExport)
{
    struct Case {
        Args args;
        std::string outcome;
    };
    const Case cases[] = {
        { { "search", "T", "peña" }, "0|2\t1\n|" },
        { { "search", "T", "PEÑA", "--case" }, "1||Texto No Encontrado...\n" },
        { { "search", "T", "a", "--field", "2", "--current", "2", "--words" },
            "1||Texto No Encontrado...\n" },
        { { "search", "T", "luis", "--direction", "0", "--current", "4" }, "0|3\t3\n|" },
        { { "search", "T", "ana", "--direction", "2", "--current", "4" }, "0|1\t2\n|" },
        { { "export", "T" }, "0|Archivo [datos.TXT], ha sido creado satisfactoriamente...\n|" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        EXPECT_EQ(run(c.args), c.outcome);
    }
    EXPECT_EQ(readBytes("datos.TXT").substr(0, 31),
        "*C\xF3"
        "digo\tNombre\tSaldo\t\r\n101\tAna\t");

    std::filesystem::rename("datos.dat", "DATOS");
    ConfigRecord record;
    record.dataPath = "DATOS";
    writeConfig("S", record, { "Nro" }, { { "Código", 2, 2 } });
    const std::string refused = run({ "export", "S" });
    EXPECT_TRUE(refused.starts_with("1||Archivo [DATOS]")) << refused;
}

TEST_F(TableCommand, BadFilesAndArgumentsExitTwoWithAClearMessage)
{
    EXPECT_EQ(run({ "show", "X" }), "2||orvex-cli: no existe el archivo \"lstX.ini\"\n");
    writeBytes("lstT.cmp", readBytes("lstT.cmp").substr(0, 1000));
    const std::string truncated = run({ "show", "T" });
    EXPECT_TRUE(truncated.starts_with("2||orvex-cli: El archivo \"lstT.cmp\" está incompleto"))
        << truncated;

    ConfigRecord empty;
    empty.dataPath = "vacio.dat";
    writeBytes("vacio.dat", "");
    writeConfig("V", empty, { "Nro" }, { { "A", 2, 2 } });
    EXPECT_EQ(run({ "search", "V", "x" }), "1||No Existen Registros...\n");

    const Args usage[] = { {}, { "list", "T" }, { "show" }, { "search", "T" },
        { "show", "T", "--rows", "-1" }, { "show", "T", "--from", "x" }, { "show", "T", "--case" },
        { "export", "T", "--rows", "1" }, { "search", "V", "x", "--direction", "3" },
        { "search", "V", "x", "--field", "2" }, { "search", "V", "x", "--current" } };
    for (const auto& args : usage) {
        const std::string outcome = run(args);
        EXPECT_TRUE(outcome.starts_with("2||orvex-cli: ")
            && outcome.find("Uso: orvex-cli table") != std::string::npos)
            << ::testing::PrintToString(args) << outcome;
    }
}

TEST_F(TableCommand, WaitsForAnEditorPrintingTheStatusOnce)
{
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t editor = ::fork();
    if (editor == 0) {
        orvex::testing::RecordingHooks hooks;
        TableConfig config = *loadConfiguration(configPaths("T"), hooks);
        const TableLayout layout = buildTableLayout(config, "lstT.cmp");
        auto access = TableAccess::open(layout, AccessKind::Editing, hooks);
        (void)!::write(fds[1], "r", 1);
        pausa(0.8);
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(fds[0], &c, 1), 1);
    EXPECT_EQ(run({ "show", "T", "--rows", "1" }),
        "0|Nro\t*Código\tNombre\tSaldo\n1\t101\tAna\t1000.12\n"
        "|La tabla [datos.dat] está siendo utilizada por otro usuario...\n");
    int status = 0;
    ::waitpid(editor, &status, 0);
}

} // namespace
} // namespace orvex::cli
