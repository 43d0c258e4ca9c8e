// Toolbar pictures drawn at 16 x 16 so they stay sharp without image files.
#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace orvex {
namespace {

void drawPage(QPainter& p)
{
    QPainterPath page;
    page.moveTo(3, 1);
    page.lineTo(10, 1);
    page.lineTo(13, 4);
    page.lineTo(13, 15);
    page.lineTo(3, 15);
    page.closeSubpath();
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::black, 1));
    p.drawPath(page);
    p.drawLine(10, 1, 10, 4);
    p.drawLine(10, 4, 13, 4);
}

void drawFolder(QPainter& p)
{
    p.setPen(QPen(QColor(120, 90, 0), 1));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(1, 4, 13, 10);
    p.drawRect(1, 2, 5, 2);
    p.setBrush(QColor(255, 225, 120));
    const QPointF lid[] = { { 3, 7 }, { 15, 7 }, { 13, 14 }, { 1, 14 } };
    p.drawPolygon(lid, 4);
}

void drawDisk(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(40, 70, 160));
    p.drawRect(1, 1, 14, 14);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 8, 5);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(3, 9, 10, 6);
}

void drawCalculator(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(210, 210, 210));
    p.drawRect(2, 0, 12, 15);
    p.setBrush(QColor(170, 220, 170));
    p.drawRect(4, 2, 8, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(4 + col * 3, 7 + row * 3, 2, 2);
}

void drawFlowDiagram(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(1, 8, 15, 8);
    p.setPen(QPen(QColor(0, 130, 0), 2));
    p.drawLine(4, 8, 4, 2);
    p.drawLine(10, 8, 10, 3);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(7, 8, 7, 14);
    p.drawLine(13, 8, 13, 12);
}

void drawSchedule(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(1, 1, 14, 14);
    p.setBrush(QColor(180, 200, 240));
    p.drawRect(1, 1, 14, 3);
    for (int y = 7; y < 15; y += 3)
        p.drawLine(1, y, 15, y);
    p.drawLine(6, 1, 6, 15);
    p.drawLine(11, 1, 11, 15);
}

void drawGlobe(QPainter& p)
{
    p.setPen(QPen(QColor(0, 60, 140), 1));
    p.setBrush(QColor(120, 180, 240));
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(5, 1, 6, 14));
    p.drawLine(1, 8, 15, 8);
    p.drawLine(2, 4, 14, 4);
    p.drawLine(2, 12, 14, 12);
}

} // namespace

QIcon toolbarIcon(const QString& key)
{
    using Draw = void (*)(QPainter&);
    struct Entry {
        const char* key;
        Draw draw;
    };
    static const Entry kEntries[] = {
        { "Nuevo", drawPage },
        { "Abrir", drawFolder },
        { "Grabar", drawDisk },
        { "Calculos", drawCalculator },
        { "Diagrama", drawFlowDiagram },
        { "Liquidacion", drawSchedule },
        { "Internet", drawGlobe },
    };
    for (const Entry& e : kEntries) {
        if (key != QLatin1String(e.key))
            continue;
        QIcon icon;
        for (int scale : { 1, 2 }) {
            QPixmap pixmap(16 * scale, 16 * scale);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.scale(scale, scale);
            e.draw(painter);
            painter.end();
            icon.addPixmap(pixmap);
        }
        return icon;
    }
    return {};
}

} // namespace orvex
