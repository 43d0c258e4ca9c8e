#pragma once

#include "printing/line_layout.h"
#include "printing/print_run.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvex {

// A page printer's drawing surface, in twips from the top left of the printable area.
class PageCanvas : public FontMetrics {
public:
    // text's top at top (not its baseline).
    virtual void drawText(const FontSpec& font, double x, double top, std::string_view text) = 0;
    // At its own size; throws PrintError when the file is not a picture it can load.
    virtual void drawPicture(const std::string& file, double x, double y) = 0;
    virtual void newPage() = 0;
};

// The page printer as a print run's device: lines laid out by layoutLine, MicroFeed and
// the pictures at each page's start. A page ended is only followed by a new page when
// something is drawn after it, so the document never ends on a blank page.
class PagePrinter : public PageDevice {
public:
    PagePrinter(PageCanvas& canvas, const PrintSettings& settings,
        const ReportParameters& parameters, std::vector<Picture> pictures, std::string family);
    void beginPage() override;
    void printLine(std::string_view line) override;
    void endPage() override;

private:
    void openPage();

    PageCanvas& m_canvas;
    const PrintSettings& m_settings;
    LayoutContext m_context;
    std::vector<Picture> m_pictures;
    double m_y = 0;
    bool m_newPagePending = false;
};

// ImprimirArchivo to a page printer: false, with nothing drawn, when the report does
// not exist. family is the font the printer was given. Throws PrintError, FileError.
bool printToPagePrinter(const std::string& report, const ReportParameters& parameters,
    const PrintSettings& settings, const PrintRange& range, PageCanvas& canvas,
    const std::string& family, const DateTimeText& now = localDateTimeText);

} // namespace orvex
