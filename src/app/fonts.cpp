#include "app/fonts.h"

#include <QLabel>
#include <QStringList>

namespace orvex {

QFont msSansSerif(double points, bool bold)
{
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
            { QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                QStringLiteral("DejaVu Sans") });
        return true;
    }();
    (void)substituted;
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void makeValueLabel(QLabel* label)
{
    label->setFont(msSansSerif(12, true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(palette);
}

} // namespace orvex
