#include "charts/ui/chart_view.h"

#include "common/ui/widgets.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>

namespace orvex {
namespace {

Qt::PenStyle penStyle(DashStyle dash)
{
    switch (dash) {
    case DashStyle::Dash:
        return Qt::DashLine;
    case DashStyle::Dot:
        return Qt::DotLine;
    case DashStyle::DashDot:
        return Qt::DashDotLine;
    case DashStyle::DashDotDot:
        return Qt::DashDotDotLine;
    case DashStyle::Solid:
        break;
    }
    return Qt::SolidLine;
}

QFont chartFont(const ChartText& text)
{
    QFont font(qs(text.font));
    // Where the named font is missing, a metric-compatible face keeps the layout.
    font.setFamilies(
        { qs(text.font), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans") });
    font.setPointSizeF(text.points);
    return font;
}

} // namespace

void paintDisplayList(QPainter& painter, const DisplayList& list, const QRectF& target)
{
    const ChartFrame& f = list.frame;
    if (!f.drawable() || target.isEmpty())
        return;
    const auto map = [&](ChartPoint p) {
        return QPointF(target.left() + (p.x - f.left) / (f.right - f.left) * target.width(),
            target.top() + (f.top - p.y) / (f.top - f.bottom) * target.height());
    };

    painter.save();
    painter.setClipRect(target);
    painter.setBackgroundMode(Qt::TransparentMode);
    for (const auto& item : list.items) {
        if (const auto* line = std::get_if<ChartLine>(&item)) {
            // Crisp single-pixel lines, as a plotter would draw them.
            painter.setRenderHint(QPainter::Antialiasing, false);
            QPen pen(QColor(line->colour.r, line->colour.g, line->colour.b));
            pen.setWidth(line->width);
            pen.setStyle(penStyle(line->dash));
            pen.setCapStyle(Qt::FlatCap);
            painter.setPen(pen);
            painter.drawLine(map(line->from), map(line->to));
        } else if (const auto* text = std::get_if<ChartText>(&item)) {
            painter.setRenderHint(QPainter::Antialiasing, true);
            const QFont font = chartFont(*text);
            painter.setFont(font);
            painter.setPen(Qt::black);
            const QFontMetricsF metrics(font, painter.device());
            const QString label = qs(text->text);
            QPointF topLeft = map(text->topLeft);
            // A text that would run past either side (the diagram's title on a short
            // horizon, or far from period 0) is moved inside instead of being cut.
            const double overflow
                = topLeft.x() + metrics.horizontalAdvance(label) - painter.device()->width();
            if (overflow > 0)
                topLeft.setX(topLeft.x() - overflow);
            topLeft.setX(std::max(0.0, topLeft.x()));
            painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), label);
        }
    }
    painter.restore();
}

ChartView::ChartView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Grafica"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void ChartView::setDisplayList(DisplayList list)
{
    m_list = std::move(list);
    update();
}

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintDisplayList(painter, m_list, QRectF(rect()));
}

void ChartView::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    emit doubleClicked();
}

} // namespace orvex
