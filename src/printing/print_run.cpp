#include "printing/print_run.h"

#include "printing/line_prefix.h"
#include "printing/line_reader.h"
#include "printing/print_error.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <vector>

namespace orvex {
namespace {

// The state of ImprimirArchivo between lines. Page starts and ends drive the device only
// for pages that are output.
class PrintRun {
public:
    PrintRun(const ReportParameters& parameters, const PrintSettings& settings,
        const PrintRange& range, PageDevice& device, const DateTimeText& now)
        : m_parameters(parameters)
        , m_range(range)
        , m_device(device)
        , m_now(now)
        , m_perPage(settings.linesPerPage())
        , m_allPages(range.first == 0 || range.last == 0)
        , m_headers(kMaxHeaderLines)
    {
    }

    void printCopy(const std::string& report);

private:
    void startPage();
    void endPage();
    void printLine(const std::string& line);
    void storeHeader(const std::string& line);

    const ReportParameters& m_parameters;
    const PrintRange& m_range;
    PageDevice& m_device;
    const DateTimeText& m_now;
    const std::int64_t m_perPage;
    const bool m_allPages;

    std::int64_t m_pageNumber = 0;
    std::int64_t m_linesOnPage = 0;
    bool m_printing = false;
    bool m_pageEnded = false;
    bool m_justStarted = false;
    bool m_pageOpen = false; // lines went to the device since its last page end
    int m_headerIndex = 0;
    std::vector<std::string> m_headers;
};

void PrintRun::printCopy(const std::string& report)
{
    LineReader reader(report);
    m_pageNumber = 0;
    m_linesOnPage = 0;
    // A header block left open at the end of the previous copy must not grow into this one's.
    m_headerIndex = 0;
    std::string line;
    while (reader.next(line)) {
        if (line.empty())
            line = defaultPrefix();
        const auto kind = static_cast<unsigned char>(line[0]);
        if (kind == kKindHeader) {
            storeHeader(line);
            continue;
        }
        const bool isBreak = kind == kKindPageBreak;
        if (m_linesOnPage == 0)
            startPage();
        if (m_perPage <= m_linesOnPage || isBreak)
            endPage();
        m_headerIndex = 0;
        if (!m_allPages && m_pageNumber > m_range.last)
            break;
        if (!isBreak) {
            if (m_linesOnPage == 0 && !m_justStarted)
                startPage();
            printLine(line);
        }
    }
    // The last page that got output is ended; a page that was only read (outside the range)
    // gets no form feed, or a range would eject a blank sheet after every copy.
    if (m_pageOpen) {
        m_device.endPage();
        m_pageOpen = false;
    }
    m_pageEnded = true;
}

void PrintRun::storeHeader(const std::string& line)
{
    if (m_headerIndex == 0)
        std::fill(m_headers.begin(), m_headers.end(), std::string());
    if (m_headerIndex == kMaxHeaderLines)
        throw PrintError("more than 100 header lines in one block");
    m_headers[static_cast<std::size_t>(m_headerIndex++)] = line;
    // The next body line starts a new page (without ending this one).
    m_linesOnPage = 0;
}

void PrintRun::startPage()
{
    m_justStarted = true;
    ++m_pageNumber;
    // Every page is output when no range is given, also one past the count the preparation
    // found (a keep-down line or a new header block can add pages; their lines must print).
    if (m_allPages) {
        m_printing = true;
    } else {
        m_printing = m_range.first <= m_pageNumber && m_pageNumber <= m_range.last;
        if (m_pageNumber > m_range.last) {
            m_pageEnded = true;
            m_printing = false;
        }
    }
    m_linesOnPage = 0;
    if (!m_printing) {
        m_linesOnPage = m_parameters.headerCount;
        return;
    }
    if (m_parameters.headerCount > kMaxHeaderLines)
        throw PrintError("more than 100 header lines");
    m_device.beginPage();
    for (std::int64_t h = 0; h < m_parameters.headerCount; ++h)
        printLine(headerLineForPage(m_headers[static_cast<std::size_t>(h)], m_pageNumber, m_now));
}

void PrintRun::endPage()
{
    m_justStarted = false;
    if (m_printing && !m_pageEnded) {
        m_device.endPage();
        m_pageEnded = true;
        m_pageOpen = false;
    }
    m_linesOnPage = 0;
}

void PrintRun::printLine(const std::string& line)
{
    m_pageEnded = false;
    m_justStarted = false;
    if (!line.empty() && static_cast<unsigned char>(line[0]) == kKindKeepDown
        && m_perPage <= m_linesOnPage + 1) {
        endPage();
        startPage();
    }
    if (m_printing) {
        m_device.printLine(line.empty() ? std::string_view(" ") : std::string_view(line));
        m_pageOpen = true;
    }
    ++m_linesOnPage;
}

} // namespace

std::string localDateTimeText()
{
    const std::time_t t = std::time(nullptr);
    std::tm local {};
    ::localtime_r(&t, &local);
    std::array<char, 32> text {};
    const auto n = std::strftime(text.data(), text.size(), "%d/%m/%Y %H:%M:%S", &local);
    return std::string(text.data(), n);
}

std::string headerLineForPage(std::string_view header, std::int64_t page, const DateTimeText& now)
{
    std::string generated;
    bool any = false;
    if (header.find("#pg#") != std::string_view::npos) {
        generated = std::to_string(page);
        any = true;
    }
    if (header.find("#fecha#") != std::string_view::npos) {
        generated += " [" + now() + "]";
        any = true;
    }
    if (!any)
        return std::string(header);
    return std::string(header.substr(0, std::min(header.size(), kPrefixLength))) + generated;
}

void runPrint(const std::string& report, const ReportParameters& parameters,
    const PrintSettings& settings, const PrintRange& range, PageDevice& device,
    const DateTimeText& now)
{
    PrintRun run(parameters, settings, range, device, now);
    const int copies = range.copies < 1 ? 1 : range.copies;
    for (int copy = 0; copy < copies; ++copy)
        run.printCopy(report);
}

} // namespace orvex
