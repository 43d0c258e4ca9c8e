#include "records/export.h"

#include "common/text.h"
#include "table_fixture.h"

#include <cmath>
#include <sys/stat.h>

namespace orvex {
namespace {

using testing::FieldSpec;

class ExportTest : public testing::TableDir {
protected:
    std::string exportOf(
        const std::string& dataPath, std::vector<FieldSpec> fields, std::int16_t mode = 0)
    {
        TableConfig config;
        config.record.dataPath = dataPath;
        config.record.indexPath = "e.ndx";
        config.fields = { testing::describe({ "Nro", 0, mode }) };
        for (const auto& f : fields)
            config.fields.push_back(testing::describe(f));
        m_layout = buildTableLayout(config, "e.cmp");
        testing::RecordingHooks hooks;
        const auto access = TableAccess::open(m_layout, AccessKind::Reading, hooks);
        return exportTable(*access, config.fields, access->countRecords());
    }
    TableLayout m_layout;
};

TEST_F(ExportTest, OutputNameFollowsTheDataFilesName)
{
    const std::pair<const char*, const char*> cases[]
        = { { "C:\\DATOS\\CLIENTES.DAT", "CLIENTES.TXT" }, { "A.B.C", "A.TXT" },
              { "/srv/datos/ventas", "ventas" }, { "x.", "x.TXT" } };
    for (const auto& [path, name] : cases)
        EXPECT_EQ(exportFileName(path), name) << path;
}

TEST_F(ExportTest, HeaderAndRecordsInBrowsingOrderEachValueFollowedByATab)
{
    // Code (int16, I6 = 2), name, a hidden note, balance (double, protected), amount (int16, I6 =
    // 0).
    std::string data;
    data += mki(1234) + fixedField("Peña", 8) + "nota" + mkd(0.5) + mki(0);
    data += mki(-7) + fixedField("tab\there", 8) + "xxxx" + mkd(std::nan("")) + mki(12);
    writeBytes("clientes.dat", data);
    writeBytes("e.ndx", mkl(2) + mkl(1) + mkl(9));
    const std::vector<FieldSpec> fields = { { "Código", 2, 2, 0, 0, 0, 5, 2 }, { " Nombre ", 8, 0 },
        { "Nota", 4, 0, 1 }, { "Saldo", 8, 80, 0, 1, 0, 5, 2 }, { "Cant", 2, 2 } };
    EXPECT_EQ(exportOf("clientes.dat", fields, 2), "clientes.TXT");
    EXPECT_EQ(readBytes("clientes.TXT"),
        "C\xF3"
        "digo\tNombre\t*Saldo\tCant\t\r\n"
        "-7.00\ttab\there\t\t12\t\r\n"
        "1234.00\tPe\xF1"
        "a\t.50\t\t\r\n"
        "\t\t\t\t\r\n"); // the third entry points past the data file

    // Every field hidden: bare line ends.
    EXPECT_EQ(exportOf("clientes.dat", { { "A", 26, 0, 1 } }), "clientes.TXT");
    EXPECT_EQ(readBytes("clientes.TXT"), "\r\n\r\n\r\n");
}

TEST_F(ExportTest, NeverOverwritesTheDataFileAndKeepsAnOldExportsMode)
{
    writeBytes("TABLA", mki(5));
    try {
        exportOf("TABLA", { { "A", 2, 2 } });
        FAIL() << "the data file was overwritten";
    } catch (const ExportRefused& e) {
        EXPECT_NE(std::string(e.what()).find("TABLA"), std::string::npos);
    }
    EXPECT_EQ(readBytes("TABLA"), mki(5));

    writeBytes("t.dat", mki(5));
    writeBytes("t.TXT", "old");
    ::chmod("t.TXT", 0640);
    exportOf("t.dat", { { "A", 2, 2 } });
    EXPECT_EQ(readBytes("t.TXT"), "A\t\r\n5\t\r\n");
    struct stat st { };
    ASSERT_EQ(::stat("t.TXT", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 3); // no temporary left
}

} // namespace
} // namespace orvex
