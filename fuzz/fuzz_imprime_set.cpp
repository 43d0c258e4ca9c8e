// "Imprime.set": read over the defaults (with and without a host's page format),
// then a small report paginated and printed with what was read.

#include "common/file_io.h"
#include "fuzz_util.h"
#include "printing/character_printer.h"
#include "printing/print_error.h"
#include "printing/print_settings.h"
#include "printing/report_preparation.h"

#include <ostream>

using namespace orvex;

namespace {

void checkSettings(const PrintSettings& s)
{
    fuzz::requireFinite(s.margenIzquierdoCm, "MargenIzquierdo");
    fuzz::requireFinite(s.margenDerechoCm, "MargenDerecho");
    fuzz::requireFinite(s.espaciamientoLineas, "Espaciamiento");
    if (s.linesPerPage() < 1)
        fuzz::finding("a page holds no line", std::to_string(s.linesPerPage()));
    // The first line is the viewer's name, a text of the file's own.
    const std::string text = printSettingsText(s);
    fuzz::requireFiniteText(std::string_view(text).substr(text.find('\n')), "settings text");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::enterScratchFolder();
    std::string report;
    for (int k = 1; k <= 130; ++k)
        report += std::string("\x01\x0c\x01\x01") + "linea " + std::to_string(k) + "\r\n";
    fuzz::writeScratchFile("corto.rpt", "\x03\x0c\x01\x02#pg##fecha#\r\n" + report);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::writeScratchFile(kPrintSettingsFile, { reinterpret_cast<const char*>(data), size });
    PrintSettings kept;
    kept.conservarFormato = true;
    kept.longitudPagina = 30;
    kept.espaciamientoLineas = 2;
    loadPrintSettings(kept, kPrintSettingsFile);
    checkSettings(kept);

    PrintSettings settings;
    loadPrintSettings(settings, kPrintSettingsFile);
    checkSettings(settings);
    try {
        const ReportParameters p = prepareReport("corto.rpt", settings, false);
        fuzz::requireFiniteText(pageCountText(p), "Paginas");
        fuzz::NullBuffer sink;
        std::ostream out(&sink);
        printToCharacterPrinter("corto.rpt", p, settings, { 0, 0, 1 }, out,
            [] { return std::string("06/12/2026 18:00:00"); });
    } catch (const FileError&) {
    } catch (const PrintError&) {
    }
    return 0;
}
