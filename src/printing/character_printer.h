#pragma once

#include "printing/print_run.h"

#include <ostream>
#include <string>
#include <string_view>

namespace orvex {

// AjusteAnchoMaximoDOS: the line justified with blanks to widest characters. Lines as
// long as widest or longer, and lines with no blank between words, are left unchanged;
// the added blanks go to the gaps from the left, ceil(extra / gaps) at a time; leading
// blanks are kept.
std::string ajusteAnchoMaximoDos(std::string_view line, int widest);

// The text the character printer writes for one report line (without its line end): the
// prefix removed and, for a text shorter than widest, aligned by the prefix's code (2
// right, 3 centred, 4 justified) with blanks.
std::string characterPrinterText(std::string_view line, int widest);

// The character printer as a byte stream: each line ended by CR LF, each page by a form
// feed. Windows-1252 bytes pass through unchanged.
class CharacterPrinter : public PageDevice {
public:
    CharacterPrinter(std::ostream& out, int widest)
        : m_out(out)
        , m_widest(widest)
    {
    }
    void printLine(std::string_view line) override;
    void endPage() override;

private:
    std::ostream& m_out;
    int m_widest;
};

// ImprimirArchivo to the character printer: the bytes for report on out. False, with
// nothing written, when the report does not exist. Throws PrintError, FileError.
bool printToCharacterPrinter(const std::string& report, const ReportParameters& parameters,
    const PrintSettings& settings, const PrintRange& range, std::ostream& out,
    const DateTimeText& now = localDateTimeText);

} // namespace orvex
