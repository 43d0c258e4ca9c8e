#include "printing/print_settings.h"

#include "common/calc_error.h"
#include "common/file_io.h"
#include "common/format.h"
#include "common/numbers.h"
#include "common/text.h"
#include "printing/line_reader.h"

#include <algorithm>
#include <cmath>
#include <sys/stat.h>

namespace orvex {
namespace {

constexpr const char* kLabels[6] = {
    "Archivo para Ver Informes : ",
    "Margen Izquierdo CM :",
    "Margen Derecho CM :",
    "Longitud Pagina :",
    "Espaciamiento Lineas :",
    "MicroFeed :",
};

// A settings file is six short lines; anything past this is not read.
constexpr std::size_t kMaxSettingsLine = 4096;
constexpr std::size_t kMaxSettingsBytes = 6 * kMaxSettingsLine;

// A number as the settings file writes it: a sign position (blank when not negative),
// the number, a blank.
std::string numberField(double value)
{
    const std::string text = formatPlainDecimal(value);
    return (text.starts_with('-') ? "" : " ") + text + " ";
}

// Sets one setting from the text after the line's ":"; a value that cannot be held
// leaves the setting as it was.
void applyLine(PrintSettings& s, int n, const std::string& value)
{
    try {
        switch (n) {
        case 1:
            s.visorInformes = trim(value);
            break;
        case 2:
            s.margenIzquierdoCm = leadingNumber(value);
            break;
        case 3:
            s.margenDerechoCm = leadingNumber(value);
            break;
        case 4:
            if (!s.conservarFormato)
                s.longitudPagina = toInt16(leadingNumber(value));
            break;
        case 5:
            if (!s.conservarFormato)
                s.espaciamientoLineas = leadingNumber(value);
            break;
        case 6:
            s.microFeed = toInt16(leadingNumber(value));
            break;
        }
    } catch (const CalcError&) {
    }
}

bool pathExists(const std::string& path)
{
    struct stat st { };
    return ::lstat(path.c_str(), &st) == 0;
}

} // namespace

std::int64_t PrintSettings::linesPerPage() const
{
    // A tiny spacing is allowed and means pages that never fill.
    constexpr double kEndless = 1e18;
    if (!(espaciamientoLineas > 0))
        return longitudPagina;
    return static_cast<std::int64_t>(
        std::min(std::trunc(longitudPagina / espaciamientoLineas), kEndless));
}

std::string PrintSettings::printerFont() const
{
    const std::string font = trim(fuenteImpresora);
    return font.empty() ? kDefaultPrinterFont : font;
}

std::string printSettingsText(const PrintSettings& s)
{
    const double numbers[5]
        = { s.margenIzquierdoCm, s.margenDerechoCm, static_cast<double>(s.longitudPagina),
              s.espaciamientoLineas, static_cast<double>(s.microFeed) };
    std::string text = std::string(kLabels[0]) + s.visorInformes + "\r\n";
    for (int i = 0; i < 5; ++i)
        text += kLabels[i + 1] + numberField(numbers[i]) + "\r\n";
    return text;
}

void loadPrintSettings(PrintSettings& s, const std::string& path)
{
    const PrintSettings defaults;
    s.visorInformes = defaults.visorInformes;
    s.margenIzquierdoCm = defaults.margenIzquierdoCm;
    s.margenDerechoCm = defaults.margenDerechoCm;
    if (!s.conservarFormato) {
        s.longitudPagina = defaults.longitudPagina;
        s.espaciamientoLineas = defaults.espaciamientoLineas;
    }
    s.microFeed = defaults.microFeed;

    if (pathExists(path)) {
        try {
            LineReader reader(
                path, LineReader::Ends::AnyBreak, kMaxSettingsLine, kMaxSettingsBytes);
            std::string line;
            for (int n = 1; n <= 6 && reader.next(line); ++n) {
                const auto colon = line.find(':');
                if (colon != std::string::npos)
                    applyLine(s, n, line.substr(colon + 1));
            }
        } catch (const FileError&) {
        }
    } else {
        try {
            writeFileAtomically(path, printSettingsText(s));
        } catch (const FileError&) {
        }
    }

    if (s.longitudPagina <= 20)
        s.longitudPagina = 58;
    if (!(s.espaciamientoLineas > 0 && s.espaciamientoLineas <= 5))
        s.espaciamientoLineas = 1;
}

} // namespace orvex
