// A report file: prepared (pages counted, the plain copy written) and run through the
// character printer, whole and for a range of pages with copies.

#include "common/file_io.h"
#include "fuzz_util.h"
#include "printing/character_printer.h"
#include "printing/print_error.h"
#include "printing/report_preparation.h"

#include <ostream>

using namespace orvex;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::enterScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::writeScratchFile("informe.rpt", { reinterpret_cast<const char*>(data), size });
    const PrintSettings settings;
    try {
        const ReportParameters p = prepareReport("informe.rpt", settings);
        fuzz::requireFiniteText(pageCountText(p), "Paginas");
        if (p.pageCount < 1 || p.widest < 80)
            fuzz::finding("report parameters", pageCountText(p));
        fuzz::NullBuffer sink;
        std::ostream out(&sink);
        const auto now = [] { return std::string("06/12/2026 18:00:00"); };
        printToCharacterPrinter("informe.rpt", p, settings, { 0, 0, 1 }, out, now);
        printToCharacterPrinter("informe.rpt", p, settings, { 2, 3, 2 }, out, now);
    } catch (const FileError&) {
    } catch (const PrintError&) {
    }
    return 0;
}
