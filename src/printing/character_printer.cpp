#include "printing/character_printer.h"

#include "common/file_io.h"
#include "common/numbers.h"
#include "printing/line_prefix.h"
#include "printing/print_error.h"

#include <algorithm>

namespace orvex {

std::string ajusteAnchoMaximoDos(std::string_view line, int widest)
{
    if (widest < 0 || line.size() >= static_cast<std::size_t>(widest))
        return std::string(line);
    const std::size_t lead = leadingSpaces(line);
    const std::string_view text = trimSpaces(line);
    const auto gaps = static_cast<std::size_t>(std::count(text.begin(), text.end(), ' '));
    if (gaps == 0)
        return std::string(line);
    // Positive: the line is shorter than widest, so lead + text fall short of it too.
    std::size_t extra = static_cast<std::size_t>(widest) - lead - text.size();
    const std::size_t each = (extra + gaps - 1) / gaps;
    std::string result(lead, ' ');
    for (char c : text) {
        result += c;
        if (c == ' ' && extra > 0) {
            const std::size_t add = std::min(each, extra);
            result.append(add, ' ');
            extra -= add;
        }
    }
    return result;
}

std::string characterPrinterText(std::string_view line, int widest)
{
    const SplitLine split = splitLine(line);
    const std::string_view text = split.text;
    if (widest < 0 || text.size() >= static_cast<std::size_t>(widest))
        return std::string(text);
    const std::string_view trimmed = trimSpaces(text);
    const std::size_t room = static_cast<std::size_t>(widest) - trimmed.size();
    switch (split.alignment()) {
    case kAlignRight:
        return std::string(room, ' ').append(trimmed);
    case kAlignCentre:
        return std::string(static_cast<std::size_t>(nearest(static_cast<double>(room) / 2)), ' ')
            .append(trimmed);
    case kAlignJustified:
        return ajusteAnchoMaximoDos(text, widest);
    default:
        return std::string(text);
    }
}

void CharacterPrinter::printLine(std::string_view line)
{
    m_out << characterPrinterText(line, m_widest) << "\r\n";
    if (!m_out)
        throw PrintError("the character printer's file cannot be written");
}

void CharacterPrinter::endPage()
{
    m_out << '\f';
    if (!m_out)
        throw PrintError("the character printer's file cannot be written");
}

bool printToCharacterPrinter(const std::string& report, const ReportParameters& parameters,
    const PrintSettings& settings, const PrintRange& range, std::ostream& out,
    const DateTimeText& now)
{
    if (!fileExists(report))
        return false;
    loadPictureList(report);
    CharacterPrinter printer(out, parameters.widest);
    runPrint(report, parameters, settings, range, printer, now);
    out.flush();
    return true;
}

} // namespace orvex
