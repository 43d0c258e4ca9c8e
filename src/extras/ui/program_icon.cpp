#include "extras/ui/program_icon.h"

#include <QPainter>
#include <QSvgRenderer>

namespace orvex {

QPixmap programIconPixmap(int side, qreal devicePixelRatio)
{
    QSvgRenderer renderer(QStringLiteral(":/icons/orvex.svg"));
    if (!renderer.isValid() || side <= 0)
        return {};
    const int pixels = qRound(side * devicePixelRatio);
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QIcon programIcon()
{
    QIcon icon;
    for (int side : { 16, 24, 32, 48, 64, 128, 256 })
        icon.addPixmap(programIconPixmap(side));
    return icon;
}

} // namespace orvex
