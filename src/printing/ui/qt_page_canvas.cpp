#include "printing/ui/qt_page_canvas.h"

#include "common/text.h"
#include "printing/print_error.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPrinter>
#include <cmath>

namespace orvex {
namespace {

QString toQString(std::string_view cp1252) { return QString::fromStdString(cp1252ToUtf8(cp1252)); }

// Far outside any page: such a position (from absurd margins) is not drawn at all.
constexpr double kOffPageTwips = 1e7;

bool onSomePage(double x, double y)
{
    return std::isfinite(x) && std::isfinite(y) && std::abs(x) < kOffPageTwips
        && std::abs(y) < kOffPageTwips;
}

} // namespace

QString printerFontFamily(const QString& wanted)
{
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("Courier New"),
            { QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono") });
        return true;
    }();
    (void)substituted;
    const QString family = wanted.trimmed();
    if (family.isEmpty() || family == QLatin1String(kDefaultPrinterFont))
        return QStringLiteral("Courier New");
    return QFontDatabase::hasFamily(family) || !QFont::substitutes(family).isEmpty()
        ? family
        : QStringLiteral("Courier New");
}

QtPageCanvas::QtPageCanvas(QPrinter& printer)
    : m_printer(printer)
{
    const int resolution = printer.resolution();
    if (resolution > 0)
        m_dpi = resolution;
}

QtPageCanvas::~QtPageCanvas()
{
    if (m_painter.isActive())
        m_painter.end();
}

double QtPageCanvas::toDots(double twips) const { return twips * m_dpi / 1440.0; }
double QtPageCanvas::toTwips(double dots) const { return dots * 1440.0 / m_dpi; }

QFont QtPageCanvas::qfont(const FontSpec& font) const
{
    QFont f(QString::fromStdString(font.family));
    f.setStyleHint(QFont::TypeWriter);
    f.setPointSizeF(font.points);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeout);
    return f;
}

double QtPageCanvas::textWidth(const FontSpec& font, std::string_view text) const
{
    return toTwips(QFontMetricsF(qfont(font), &m_printer).horizontalAdvance(toQString(text)));
}

double QtPageCanvas::givenSize(const FontSpec& font) const
{
    return QFontInfo(qfont(font)).pointSizeF();
}

double QtPageCanvas::lineHeight(const FontSpec& font) const
{
    return toTwips(QFontMetricsF(qfont(font), &m_printer).lineSpacing());
}

void QtPageCanvas::begin()
{
    if (m_painter.isActive())
        return;
    if (!m_painter.begin(&m_printer))
        throw PrintError("the printer could not start the document");
}

void QtPageCanvas::drawText(const FontSpec& font, double x, double top, std::string_view text)
{
    begin();
    if (!onSomePage(x, top))
        return;
    const QFont f = qfont(font);
    m_painter.setFont(f);
    const double ascent = QFontMetricsF(f, &m_printer).ascent();
    m_painter.drawText(QPointF(toDots(x), toDots(top) + ascent), toQString(text));
}

void QtPageCanvas::drawPicture(const std::string& file, double x, double y)
{
    begin();
    const QImage image(QString::fromStdString(file));
    if (image.isNull())
        throw PrintError("the picture " + file + " cannot be loaded");
    if (!onSomePage(x, y))
        return;
    // At its own size: its resolution when it has one, else 96 dots an inch.
    const double dpiX = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() * 0.0254 : 96.0;
    const double dpiY = image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() * 0.0254 : 96.0;
    const QRectF target(
        toDots(x), toDots(y), image.width() * m_dpi / dpiX, image.height() * m_dpi / dpiY);
    m_painter.drawImage(target, image);
}

void QtPageCanvas::newPage()
{
    begin();
    if (!m_printer.newPage())
        throw PrintError("the printer could not start a new page");
}

bool QtPageCanvas::finish()
{
    if (!m_painter.isActive())
        return true;
    return m_painter.end();
}

void QtPageCanvas::abort()
{
    if (m_painter.isActive()) {
        m_printer.abort();
        m_painter.end();
    }
}

bool printReportOnPrinter(QPrinter& printer, const std::string& report,
    const ReportParameters& parameters, const PrintSettings& settings, const PrintRange& range)
{
    QtPageCanvas canvas(printer);
    const QString family = printerFontFamily(QString::fromStdString(settings.printerFont()));
    try {
        if (!printToPagePrinter(report, parameters, settings, range, canvas, family.toStdString()))
            return false;
    } catch (...) {
        canvas.abort();
        throw;
    }
    const bool drew = canvas.begun();
    if (!canvas.finish())
        throw PrintError("the printer could not end the document");
    return drew;
}

} // namespace orvex
