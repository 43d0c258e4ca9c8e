#include "printing/page_printer.h"

#include "common/file_io.h"

namespace orvex {

PagePrinter::PagePrinter(PageCanvas& canvas, const PrintSettings& settings,
    const ReportParameters& parameters, std::vector<Picture> pictures, std::string family)
    : m_canvas(canvas)
    , m_settings(settings)
    , m_pictures(std::move(pictures))
{
    m_context.family = std::move(family);
    m_context.widest = parameters.widest;
    m_context.plainText = parameters.plainText;
    m_context.margenDerechoCm = settings.margenDerechoCm;
    m_context.espaciamientoLineas = settings.espaciamientoLineas;
}

void PagePrinter::openPage()
{
    if (m_newPagePending) {
        m_canvas.newPage();
        m_newPagePending = false;
    }
}

void PagePrinter::beginPage()
{
    openPage();
    if (m_settings.microFeed > 0)
        m_y = m_settings.microFeed;
    const double left = m_settings.margenIzquierdoCm * kTwipsPerCm;
    for (const Picture& picture : m_pictures)
        if (fileExists(picture.file))
            m_canvas.drawPicture(picture.file, left + picture.x, picture.y);
}

void PagePrinter::printLine(std::string_view line)
{
    openPage();
    const LineLayout layout = layoutLine(line, m_y, m_context, m_canvas);
    for (const TextRun& run : layout.runs)
        m_canvas.drawText(layout.font, run.x, layout.y, run.text);
    m_y = layout.nextY;
}

void PagePrinter::endPage()
{
    m_newPagePending = true;
    m_y = 0;
}

bool printToPagePrinter(const std::string& report, const ReportParameters& parameters,
    const PrintSettings& settings, const PrintRange& range, PageCanvas& canvas,
    const std::string& family, const DateTimeText& now)
{
    if (!fileExists(report))
        return false;
    PagePrinter printer(canvas, settings, parameters, loadPictureList(report), family);
    runPrint(report, parameters, settings, range, printer, now);
    return true;
}

} // namespace orvex
