#include "common/file_io.h"
#include "temp_dir.h"
#include "worksheet/worksheet_file.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

Worksheet sample()
{
    Worksheet s;
    s.setRate("Incognita");
    s.setCell(1, kColTipo, "1. Pago Unico");
    s.setCell(1, kColValor, "-1000");
    s.setCell(1, kColInicio, "0");
    s.setCell(3, kColTipo, "3. Serie Gradiente Aritmética");
    s.setCell(3, kColValor, "12345678901234567890"); // cut to 15
    s.setCell(3, kColInicio, "1234567890"); // cut to 7
    s.setCell(3, kColFinal, "5");
    s.setCell(7, kColTipo, "5. Serie Uniforme anual con crec. Geométrico");
    s.setCell(7, kColValor, "*");
    s.setCell(7, kColPorcentaje, "3.5");
    s.setCell(7, kColSensibilidad, "90");
    return s;
}

TEST(WorksheetFile, LayoutIsByteExact)
{
    const std::string bytes = serializeWorksheet(sample());
    ASSERT_EQ(bytes.size(), 4u * 256u); // header + rows 1, 3, 7
    EXPECT_EQ(bytes.substr(0, 4), "TASA");
    EXPECT_EQ(bytes.substr(33, 15), "Incognita      ");
    EXPECT_EQ(bytes.substr(256, 4), "1   ");
    EXPECT_EQ(bytes.substr(256 + 4, 15), "-1000          ");
    EXPECT_EQ(bytes.substr(512, 4), "3   ");
    EXPECT_EQ(bytes.substr(512 + 4, 15), "123456789012345");
    EXPECT_EQ(bytes.substr(512 + 19, 7), "1234567");
    EXPECT_EQ(bytes.substr(768 + 48, 7), "90     ");
    EXPECT_EQ(bytes.find_first_not_of(' ', 768 + 55), std::string::npos); // blank filler
}

TEST(WorksheetFile, RoundTripPacksRowsFromRowOne)
{
    const LoadedWorksheet back = parseWorksheetFile(serializeWorksheet(sample()));
    ASSERT_TRUE(back.rate.has_value());
    EXPECT_EQ(*back.rate, "Incognita");
    EXPECT_EQ(back.sheet.cell(1, kColValor), "-1000");
    EXPECT_EQ(back.sheet.cell(2, kColTipo), "3. Serie Gradiente Aritmética");
    EXPECT_EQ(back.sheet.cell(2, kColValor), "123456789012345");
    EXPECT_EQ(back.sheet.cell(2, kColInicio), "1234567");
    EXPECT_EQ(back.sheet.cell(3, kColTipo), "5. Serie Uniforme anual con crec. Geométrico");
    EXPECT_EQ(back.sheet.cell(3, kColSensibilidad), "90");
    EXPECT_FALSE(back.sheet.rowInUse(4));
    // Saving what was loaded gives the same bytes again.
    Worksheet again = back.sheet;
    again.setRate(*back.rate);
    const LoadedWorksheet twice = parseWorksheetFile(serializeWorksheet(again));
    Worksheet third = twice.sheet;
    third.setRate(*twice.rate);
    EXPECT_EQ(serializeWorksheet(third), serializeWorksheet(again));
}

TEST(WorksheetFile, LengthsThatAreNoMultipleOf256)
{
    std::string header = serializeWorksheet(Worksheet {});
    header.replace(33, 4, "12.5");
    std::string row(256, ' ');
    row.replace(0, 1, "2");
    row.replace(4, 3, "300");
    struct Case {
        const char* name;
        std::string bytes;
        bool hasRate;
        bool hasRow;
    };
    const Case cases[] = {
        { "empty file keeps the rate field", "", false, false },
        { "100 bytes round to no record", header.substr(0, 100), false, false },
        { "200 bytes round to the header", header.substr(0, 200), true, false },
        { "300 bytes: header only", header + row.substr(0, 44), true, false },
        { "400 bytes: a short second record is read", header + row.substr(0, 144), true, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LoadedWorksheet w = parseWorksheetFile(c.bytes);
        EXPECT_EQ(w.rate.has_value(), c.hasRate);
        EXPECT_EQ(w.sheet.rowInUse(1), c.hasRow);
        if (c.hasRow) {
            EXPECT_EQ(w.sheet.cell(1, kColTipo), "2. Serie Uniforme");
            EXPECT_EQ(w.sheet.cell(1, kColValor), "300");
        }
    }
}

TEST(WorksheetFile, KindFieldsThatMatchNoKindLeaveTheRowEmpty)
{
    Worksheet s;
    std::string bytes = serializeWorksheet(s);
    for (const char* kind : { "    ", "9   ", "TASA", "3   " }) {
        std::string rec(256, ' ');
        rec.replace(0, 4, kind);
        rec.replace(4, 2, "77");
        bytes += rec;
    }
    const LoadedWorksheet w = parseWorksheetFile(bytes);
    EXPECT_FALSE(w.sheet.rowInUse(1));
    EXPECT_FALSE(w.sheet.rowInUse(2));
    EXPECT_FALSE(w.sheet.rowInUse(3));
    EXPECT_EQ(w.sheet.cell(4, kColTipo), "3. Serie Gradiente Aritmética");
}

TEST(WorksheetFile, AtMostNinetyNineRowsAndGarbageNeverCrashes)
{
    Worksheet full;
    for (int r = 1; r <= 99; ++r) {
        full.setCell(r, kColTipo, "1. Pago Unico");
        full.setCell(r, kColValor, std::to_string(r));
    }
    std::string bytes = serializeWorksheet(full);
    EXPECT_EQ(bytes.size(), 100u * 256u);
    bytes += bytes.substr(256, 256); // a 101st record is ignored
    const LoadedWorksheet w = parseWorksheetFile(bytes);
    EXPECT_EQ(w.sheet.cell(99, kColValor), "99");

    std::string garbage;
    for (int i = 0; i < 5000; ++i)
        garbage += static_cast<char>((i * 7919) & 0xFF);
    const LoadedWorksheet g = parseWorksheetFile(garbage); // any bytes load as something
    for (int r = 1; r <= 99; ++r) {
        if (g.sheet.rowInUse(r)) {
            EXPECT_TRUE(kindText(g.sheet.rowKind(r)).has_value()) << r;
        }
    }
}

TEST(WorksheetFile, FileNameRule)
{
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        { "datos", "DATOS.ORV" },
        { "", "" },
        { "a.orv", "a.orv" },
        { "/tmp/x.y/datos", "/tmp/x.y/DATOS.ORV" },
        { "/home/ana/préstamo", "/home/ana/PRÉSTAMO.ORV" },
        { "/home/ana/plan.txt", "/home/ana/plan.txt" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(worksheetFileName(c.in), c.out) << c.in;
}

TEST(WorksheetFile, SaveAndLoadThroughTheDisk)
{
    const test::TempDir temp;
    const auto& dir = temp.dir;
    const std::string path = (dir / "DATOS.ORV").string();
    saveWorksheetFile(path, sample());
    EXPECT_EQ(readWholeFile(path), serializeWorksheet(sample()));
    EXPECT_EQ(loadWorksheetFile(path).sheet.cell(2, kColFinal), "5");
    EXPECT_THROW(loadWorksheetFile((dir / "missing.ORV").string()), FileError);
    EXPECT_THROW(saveWorksheetFile((dir / "no-folder" / "x.ORV").string(), sample()), FileError);
}

} // namespace
} // namespace orvex
