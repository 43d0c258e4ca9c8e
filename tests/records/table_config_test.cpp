#include "records/table_config.h"
#include "records/table_layout.h"

#include "table_fixture.h"

namespace orvex {
namespace {

using testing::FieldSpec;

class TableConfigFiles : public testing::TableDir { };

// Bytes laid out by hand at the documented offsets, independent of the encoder.
std::string handMadeIni()
{
    std::string b(782, ' ');
    b[0] = '\xFF', b[1] = '\xFF'; // preloaded True
    b.replace(2, 6, "T\xEDtulo"); // "Título" in Windows-1252
    b.replace(258, 9, " data.dat");
    b.replace(514, 7, "idx.ndx");
    b.replace(770, 4, std::string("\x10\x27\x00\x00", 4)); // 10000
    b.replace(774, 8, std::string("\x00\x00\x07\x00\x03\x00\x02\x00", 8));
    return b;
}

TEST_F(TableConfigFiles, RecordsDecodeAtTheirOffsetsAndEncodeBackByteForByte)
{
    const std::string ini = handMadeIni();
    const ConfigRecord r = decodeConfigRecord(ini, "x.ini");
    EXPECT_EQ(r.preloaded, -1);
    EXPECT_EQ(r.title, "Título" + std::string(250, ' '));
    EXPECT_EQ(r.dataPath.substr(0, 10), " data.dat ");
    EXPECT_EQ(r.firstRecord, 10000);
    EXPECT_EQ(r.unused, 7);
    EXPECT_EQ(r.fieldCount, 3);
    EXPECT_EQ(r.mapLast, 2);
    EXPECT_EQ(encodeConfigRecord(r), ini);

    std::string cmp(566, ' ');
    cmp.replace(0, 6, "Nombre");
    for (int k = 0; k < 11; ++k)
        cmp.replace(32 + 2 * static_cast<std::size_t>(k), 2, mki(static_cast<std::int16_t>(k - 1)));
    cmp.replace(54, 5, "A/B/C");
    cmp.back() = '\x80'; // "€" at the last options byte
    const FieldDescription f = decodeFieldDescription(cmp, "x.cmp");
    EXPECT_EQ(f.i[0], -1);
    EXPECT_EQ(f.i[10], 9);
    EXPECT_EQ(f.options.substr(0, 5), "A/B/C");
    EXPECT_EQ(encodeFieldDescription(f), cmp);

    try {
        decodeConfigRecord(ini.substr(0, 781), "lstx.ini");
        FAIL() << "a truncated record was accepted";
    } catch (const TableError& e) {
        EXPECT_NE(std::string(e.what()).find("lstx.ini"), std::string::npos);
    }
}

TEST_F(TableConfigFiles, LoadingAppliesDefaultsTrimsAndRejectsDamagedFiles)
{
    testing::RecordingHooks hooks;
    ConfigRecord record;
    record.title = "  Clientes  ";
    record.dataPath = " clientes.dat";
    writeConfig("A", record, { " Nro ", 0, 3 },
        { { " Nombre ", 20, 0, 0, 0, 0, 0, 0 }, { "Saldo", 8, 80, 0, 1, 12, 7, 2 } }, { 0, 5, 9 });
    auto config = loadConfiguration(configPaths("A"), hooks);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->record.title, "Clientes");
    EXPECT_EQ(config->record.dataPath, "clientes.dat");
    ASSERT_EQ(config->fields.size(), 3u);
    EXPECT_EQ(config->fields[1].i[4], 20); // I4 = I0 when 0
    EXPECT_EQ(config->fields[1].i[5], 5); // I5 = 5 when 0
    EXPECT_EQ(config->fields[2].i[4], 12);
    EXPECT_EQ(config->fields[2].i[5], 7);
    EXPECT_EQ(config->map, (std::vector<std::int32_t> { 0, 5, 9 }));
    EXPECT_TRUE(hooks.statuses.empty()); // nobody held the files

    // Map entries the ".rg" does not hold read as 0.
    const ConfigPaths paths = configPaths("A");
    writeBytes(paths.rg, mkl(5));
    EXPECT_EQ(loadConfiguration(paths, hooks)->map, (std::vector<std::int32_t> { 5, 0, 0 }));

    // A missing file: nothing to load, nothing thrown.
    std::filesystem::remove(paths.rg);
    EXPECT_FALSE(loadConfiguration(paths, hooks));

    struct Case {
        const char* damage;
        std::string ini, cmp;
        const char* named;
    };
    ConfigRecord negative = record;
    negative.fieldCount = -1;
    const std::string goodIni = readBytes(paths.ini), goodCmp = readBytes(paths.cmp);
    const Case cases[] = {
        { "truncated .ini", goodIni.substr(0, 700), goodCmp, "lstA.ini" },
        { "truncated .cmp", goodIni, goodCmp.substr(0, 566 * 2 + 10), "lstA.cmp" },
        { "negative n", encodeConfigRecord(negative), goodCmp, "lstA.ini" },
    };
    writeBytes(paths.rg, "");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.damage);
        writeBytes(paths.ini, c.ini);
        writeBytes(paths.cmp, c.cmp);
        try {
            loadConfiguration(paths, hooks);
            ADD_FAILURE() << "accepted";
        } catch (const TableError& e) {
            EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << e.what();
        }
    }
    // A folder where the ".ini" should be is a clear error, never a wait.
    std::filesystem::remove(paths.cmp);
    std::filesystem::create_directory(paths.cmp);
    EXPECT_FALSE(loadConfiguration(paths, hooks));
}

TEST_F(TableConfigFiles, HandOffNameAndSelectionFile)
{
    struct Case {
        const char* content;
        const char* name;
    };
    const Case cases[]
        = { { "\"clientes\",1\r\nignored", "clientes" }, { "  ventas , x", "ventas" },
              { "\"con, coma\"", "con, coma" }, { "\"a\xF1o\"", "año" }, { "", "" } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        writeBytes("lst.cod", c.content);
        EXPECT_EQ(readHandOffName("lst.cod", true), c.name);
        EXPECT_FALSE(std::filesystem::exists("lst.cod"));
    }
    EXPECT_EQ(readHandOffName("lst.cod", true), std::nullopt);
    for (const char* content : { "\"../otra/x\"", "/tmp/x, 1" }) {
        SCOPED_TRACE(content);
        writeBytes("lst.cod", content);
        EXPECT_THROW(readHandOffName("lst.cod", true), TableError);
    }

    writeSelectionFile("lstA.sel", { "7", "3", "Peña", "" });
    EXPECT_EQ(readBytes("lstA.sel"),
        "7\r\n3\r\nPe\xF1"
        "a\r\n\r\n");
}

TEST_F(TableConfigFiles, LayoutChecksIndexModesAndRecordLengths)
{
    auto config = [](std::int16_t mode, std::vector<FieldSpec> fields, std::int16_t mapLast = 0) {
        TableConfig c;
        c.record.dataPath = "d.dat";
        c.record.indexPath = "d.ndx";
        c.record.mapLast = mapLast;
        c.fields.push_back(testing::describe({ "Nro", 6, mode }));
        for (const auto& f : fields)
            c.fields.push_back(testing::describe(f));
        c.map.assign(static_cast<std::size_t>(mapLast) + 1, 1);
        return c;
    };
    const std::vector<FieldSpec> fields = { { "A", 4, 0 }, { "B", 10, 80, 1 }, { "C", 26, 0 } };

    struct Case {
        std::int16_t mode, mapLast;
        bool indexExists;
        IndexMode expected;
    };
    const Case cases[] = { { 1, 0, false, IndexMode::None }, { 1, 0, true, IndexMode::Index16 },
        { 2, 0, true, IndexMode::Index32 }, { 3, 0, false, IndexMode::None },
        { 3, 2, false, IndexMode::Map }, { 7, 0, true, IndexMode::None } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        std::filesystem::remove("d.ndx");
        if (c.indexExists)
            writeBytes("d.ndx", "");
        TableConfig cfg = config(c.mode, fields, c.mapLast);
        const TableLayout layout = buildTableLayout(cfg, "lstA.cmp");
        EXPECT_EQ(layout.mode, c.expected);
        EXPECT_EQ(cfg.fields[0].i[1] == 0, c.expected == IndexMode::None && c.mode != 7);
        EXPECT_EQ(layout.pointerWidth, c.expected == IndexMode::Index16 ? 2 : 4);
        EXPECT_EQ(layout.recordLength, 40);
        EXPECT_EQ(layout.fields[2].offset, 14u); // after the hidden field too
    }

    const std::vector<std::vector<FieldSpec>> bad
        = { { { "A", -1, 0 } }, { { "A", 0, 0 } }, { { "A", 30000, 0 }, { "B", 30000, 0 } } };
    for (const auto& b : bad) {
        TableConfig cfg = config(0, b);
        EXPECT_THROW(buildTableLayout(cfg, "lstA.cmp"), TableError);
    }
}

} // namespace
} // namespace orvex
