#include "cli/commands.h"

#include "common/calc_error.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "printing/character_printer.h"
#include "printing/print_error.h"
#include "printing/report_preparation.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <unistd.h>

namespace orvex::cli {
namespace {

const char* kReportUsage
    = "Uso: orvex-cli report pages ARCHIVO\n"
      "       orvex-cli report text ARCHIVO [--first A] [--last B] [--copies N]\n"
      "  pages: prepara el informe (escribe la copia .txt) y muestra Paginas, Encabezados,\n"
      "         Lineas, Ancho y Preparado, separados por tabulador\n"
      "  text:  los bytes que recibe la impresora MS-DOS para las páginas A a B (0 = todas)\n"
      "         y N copias\n"
      "  Ambos leen Imprime.set del directorio actual y lo crean si falta.\n";

int usageError(std::ostream& err, const std::string& problem)
{
    err << "orvex-cli: " << problem << "\n" << kReportUsage;
    return kExitUsage;
}

int runPages(const std::string& file, std::ostream& out, std::ostream& err)
{
    PrintSettings settings;
    loadPrintSettings(settings);
    try {
        const ReportParameters p = prepareReport(file, settings);
        out << "Paginas\t" << pageCountText(p) << "\n"
            << "Encabezados\t" << p.headerCount << "\n"
            << "Lineas\t" << p.lineTotal << "\n"
            << "Ancho\t" << p.widest << "\n"
            << "Preparado\t" << p.preparedFile << "\n";
        return kExitOk;
    } catch (const FileError& e) {
        err << "orvex-cli: " << e.what() << "\n";
        return kExitUsage;
    }
}

// A scratch file that disappears when closed: the printer's bytes wait there until the
// run has succeeded, so a failed run prints nothing.
std::fstream scratchStream()
{
    std::string path = (std::filesystem::temp_directory_path() / "orvex-report-XXXXXX").string();
    const int fd = ::mkstemp(path.data());
    if (fd < 0)
        throw FileError(
            errno, std::string("No se puede crear un archivo temporal: ") + std::strerror(errno));
    ::close(fd);
    std::fstream stream(path, std::ios::in | std::ios::out | std::ios::binary | std::ios::trunc);
    ::unlink(path.c_str());
    if (!stream)
        throw FileError(EIO, "No se puede abrir el archivo temporal");
    return stream;
}

int runText(const std::string& file, const PrintRange& range, std::ostream& out, std::ostream& err)
{
    PrintSettings settings;
    loadPrintSettings(settings);
    if (!fileExists(file))
        return kExitOk;
    try {
        const ReportParameters p = prepareReport(file, settings, false);
        std::fstream scratch = scratchStream();
        printToCharacterPrinter(file, p, settings, range, scratch);
        scratch.seekg(0);
        if (scratch.peek() != std::char_traits<char>::eof())
            out << scratch.rdbuf();
        out.flush();
        return kExitOk;
    } catch (const std::exception& e) {
        err << kPrintErrorMessage << "\n";
        return kExitCalcError;
    }
}

} // namespace

// Page numbers and copies are read like the window's fields: the leading number,
// rounded to a 16-bit integer.
int runReport(const Args& args, std::ostream& out, std::ostream& err)
{
    if (args.empty())
        return usageError(err, "report necesita pages o text");
    const std::string& mode = args[0];
    if (mode != "pages" && mode != "text")
        return usageError(err, "modo desconocido: " + mode);
    std::string file;
    PrintRange range;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        int* option = a == "--first" ? &range.first
            : a == "--last"          ? &range.last
            : a == "--copies"        ? &range.copies
                                     : nullptr;
        if (option && mode == "text") {
            if (i + 1 == args.size())
                return usageError(err, a + " necesita un valor");
            try {
                *option = toInt16(leadingNumber(args[++i]));
            } catch (const CalcError&) {
                return usageError(err, "valor fuera de rango: " + args[i]);
            }
        } else if (a.starts_with("--") || !file.empty()) {
            return usageError(err, "argumento de más: " + a);
        } else {
            file = a;
        }
    }
    if (file.empty())
        return usageError(err, "falta ARCHIVO");
    return mode == "pages" ? runPages(file, out, err) : runText(file, range, out, err);
}

} // namespace orvex::cli
