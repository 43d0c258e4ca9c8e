#pragma once

#include <cstdint>
#include <string>

namespace orvex {

inline constexpr const char* kPrintSettingsFile = "Imprime.set";
inline constexpr const char* kDefaultPrinterFont = "Courier New";

// The report printer's settings. Sizes in cm are converted to twips by x 11520 / 21.59.
struct PrintSettings {
    std::string visorInformes = "Q.COM"; // the screen destination's viewer
    double margenIzquierdoCm = 3; // shifts the pictures of a page
    double margenDerechoCm = 2; // where justified lines end
    std::int16_t longitudPagina = 58; // lines a page holds at spacing 1
    double espaciamientoLineas = 1;
    std::int16_t microFeed = 0; // first printing position of a page, twips; 0 = none
    std::string fuenteImpresora; // empty: kDefaultPrinterFont
    // True keeps the page length and spacing a host set instead of reading them.
    bool conservarFormato = false;

    // Lines a page holds, header lines included: trunc(longitudPagina / espaciamientoLineas).
    // A spacing that was never checked (not above 0) counts as 1.
    std::int64_t linesPerPage() const;
    // fuenteImpresora trimmed, or kDefaultPrinterFont when that is empty.
    std::string printerFont() const;
};

// CargarAjustesImpresion: resets the six file settings to their defaults (page length and
// spacing only without conservarFormato), then reads them from the file at path by line
// position (line n sets setting n, from the text after its first ":"; a line without ":"
// is skipped), or creates the file with the six default lines when there is none. Then a
// page length <= 20 becomes 58 and a spacing outside (0, 5] becomes 1. Never fails: a
// setting that cannot be read or a file that cannot be written is skipped.
void loadPrintSettings(PrintSettings& settings, const std::string& path = kPrintSettingsFile);

// The six lines the settings file is created with, CR LF ended.
std::string printSettingsText(const PrintSettings& settings);

} // namespace orvex
