#pragma once

#include "printing/print_settings.h"
#include "printing/report_preparation.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orvex {

// Where a print run puts its pages: the page printer or the character printer.
class PageDevice {
public:
    virtual ~PageDevice() = default;
    // A page that is output starts, before its header lines.
    virtual void beginPage() { }
    // One line, prefix included; never empty.
    virtual void printLine(std::string_view line) = 0;
    // The page that was output ends.
    virtual void endPage() = 0;
};

// The pages and copies asked for. first or last 0 means every page; copies below 1 is 1.
struct PrintRange {
    int first = 0;
    int last = 0;
    int copies = 1;
};

// The header texts at most one block holds.
inline constexpr int kMaxHeaderLines = 100;

// The current date and time as a header's "#fecha#" shows them.
using DateTimeText = std::function<std::string()>;
// "dd/mm/yyyy hh:mm:ss" of the local clock.
std::string localDateTimeText();

// The print run of ImprimirArchivo over a device: each copy re-reads the report. Header
// lines (kind 3) are stored, not printed in place, and printed at the top of each
// following page with "#pg#" and "#fecha#" filled in; a page break line (kind 2) ends the
// page; a keep-down line (kind 4) never ends one. Every body line of the report prints,
// the last one too. With a range, pages outside it are read but not output and reading
// stops after the last one. Throws PrintError for a 101st header line in one block,
// FileError when the report cannot be read, and whatever the device throws.
void runPrint(const std::string& report, const ReportParameters& parameters,
    const PrintSettings& settings, const PrintRange& range, PageDevice& device,
    const DateTimeText& now = localDateTimeText);

// The line a header text prints on a page: its own prefix followed by the page number
// when it holds "#pg#", with " [" date-time "]" appended when it holds "#fecha#"; the
// header unchanged when it holds neither.
std::string headerLineForPage(std::string_view header, std::int64_t page, const DateTimeText& now);

} // namespace orvex
