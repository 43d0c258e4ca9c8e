#pragma once

#include "printing/page_printer.h"

#include <QFont>
#include <QPainter>

class QPrinter;

namespace orvex {

// The page printer's canvas on a QPrinter (a system printer or a PDF file): twips are
// converted to the printer's dots; nothing is begun until the first thing is drawn, so
// a run that outputs no page leaves no document behind.
class QtPageCanvas : public PageCanvas {
public:
    explicit QtPageCanvas(QPrinter& printer);
    ~QtPageCanvas() override;

    double textWidth(const FontSpec& font, std::string_view text) const override;
    double givenSize(const FontSpec& font) const override;
    double lineHeight(const FontSpec& font) const override;
    void drawText(const FontSpec& font, double x, double top, std::string_view text) override;
    void drawPicture(const std::string& file, double x, double y) override;
    void newPage() override;

    // Whether anything was drawn (and so a document started).
    bool begun() const { return m_painter.isActive(); }
    // Ends the document; false when the printer reported a failure.
    bool finish();
    // Drops the document (after a failed run).
    void abort();

private:
    void begin();
    double toDots(double twips) const;
    double toTwips(double dots) const;
    QFont qfont(const FontSpec& font) const;

    QPrinter& m_printer;
    QPainter m_painter;
    double m_dpi = 1200;
};

// The family the page printer uses for a printer font name: the name itself when this
// system has it; "Courier New" is drawn with its metric-compatible Liberation Mono.
QString printerFontFamily(const QString& wanted);

// ImprimirArchivo to printer (a system printer or a PDF file): false when nothing was
// printed (the report does not exist, or no page was in the range). Throws PrintError
// (also for a printer that fails), FileError.
bool printReportOnPrinter(QPrinter& printer, const std::string& report,
    const ReportParameters& parameters, const PrintSettings& settings, const PrintRange& range);

} // namespace orvex
