#include "printing/print_settings.h"
#include "printing_test_util.h"

namespace orvex {
namespace {

using PrintSettingsFile = test::PrintingFolder;

TEST_F(PrintSettingsFile, MissingFileIsCreatedWithTheSixDefaultLines)
{
    PrintSettings s;
    s.visorInformes = "otro";
    loadPrintSettings(s);
    EXPECT_EQ(read("Imprime.set"),
        "Archivo para Ver Informes : Q.COM\r\n"
        "Margen Izquierdo CM : 3 \r\n"
        "Margen Derecho CM : 2 \r\n"
        "Longitud Pagina : 58 \r\n"
        "Espaciamiento Lineas : 1 \r\n"
        "MicroFeed : 0 \r\n");
    EXPECT_EQ(s.visorInformes, "Q.COM");
    EXPECT_EQ(s.linesPerPage(), 58);
    EXPECT_EQ(s.printerFont(), "Courier New");
    // Read back, the file gives the same settings.
    PrintSettings again;
    loadPrintSettings(again);
    EXPECT_EQ(again.visorInformes, "Q.COM");
    EXPECT_EQ(again.margenIzquierdoCm, 3);
    EXPECT_EQ(again.microFeed, 0);
}

TEST_F(PrintSettingsFile, LinesAreReadByPositionAndCorrected)
{
    struct Case {
        const char* file;
        const char* viewer;
        double left, right;
        int length;
        double spacing;
        int microFeed;
        std::int64_t perPage;
    };
    const Case cases[] = {
        // Labels do not matter, only positions; values follow the first ":".
        { "x: less -R \r\nA:1.5cm\r\nB: -0.5\r\nC: 60 \r\nD: 2\r\nE: 120\r\n", "less -R", 1.5, -0.5,
            60, 2, 120, 30 },
        // Page length 15 becomes 58, spacing 0 becomes 1.
        { "a:\r\nb:\r\nc:\r\nd: 15\r\ne: 0\r\n", "", 0, 0, 58, 1, 0, 58 },
        // Spacing 2: pages of 29 lines; a spacing above 5 becomes 1.
        { "a:v\r\nb:3\r\nc:2\r\nd:58\r\ne:2\r\n", "v", 3, 2, 58, 2, 0, 29 },
        { "a:v\r\nb:3\r\nc:2\r\nd:58\r\ne:5.5\r\n", "v", 3, 2, 58, 1, 0, 58 },
        // A line without ":" is skipped but counts; a short file keeps the other defaults.
        { "sin dos puntos\r\nb: 7\r\n", "Q.COM", 7, 2, 58, 1, 0, 58 },
        // Line ends of a file edited here, values a 16-bit setting cannot hold.
        { "a:v\nb:1\nc:1\nd: 99999\ne:1\nf: 1e9\n", "v", 1, 1, 58, 1, 0, 58 },
        { "a:v\rb:1\rc:1\rd: 40.5\re:1e999\rf:-3\r", "v", 1, 1, 40, 1, -3, 40 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        write("Imprime.set", c.file);
        PrintSettings s;
        loadPrintSettings(s);
        EXPECT_EQ(s.visorInformes, c.viewer);
        EXPECT_EQ(s.margenIzquierdoCm, c.left);
        EXPECT_EQ(s.margenDerechoCm, c.right);
        EXPECT_EQ(s.longitudPagina, c.length);
        EXPECT_EQ(s.espaciamientoLineas, c.spacing);
        EXPECT_EQ(s.microFeed, c.microFeed);
        EXPECT_EQ(s.linesPerPage(), c.perPage);
        EXPECT_EQ(read("Imprime.set"), c.file) << "an existing file is never rewritten";
    }
}

TEST_F(PrintSettingsFile, GarbageOrAFolderGivesTheDefaults)
{
    std::string garbage(200000, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>(i * 7919 % 251);
    write("Imprime.set", garbage);
    PrintSettings s;
    loadPrintSettings(s);
    EXPECT_GT(s.longitudPagina, 20);
    EXPECT_GT(s.espaciamientoLineas, 0);
    EXPECT_LE(s.espaciamientoLineas, 5);

    std::filesystem::remove("Imprime.set");
    std::filesystem::create_directory("Imprime.set");
    PrintSettings t;
    t.longitudPagina = 70;
    loadPrintSettings(t);
    EXPECT_EQ(t.longitudPagina, 58);
    EXPECT_TRUE(std::filesystem::is_directory("Imprime.set"));
}

TEST_F(PrintSettingsFile, ConservarFormatoKeepsTheHostsPageLengthAndSpacing)
{
    write("Imprime.set", "a:v\r\nb:1\r\nc:1\r\nd:40\r\ne:2\r\n");
    PrintSettings s;
    s.conservarFormato = true;
    s.longitudPagina = 66;
    s.espaciamientoLineas = 1.5;
    loadPrintSettings(s);
    EXPECT_EQ(s.longitudPagina, 66);
    EXPECT_EQ(s.espaciamientoLineas, 1.5);
    EXPECT_EQ(s.linesPerPage(), 44);
}

} // namespace
} // namespace orvex
