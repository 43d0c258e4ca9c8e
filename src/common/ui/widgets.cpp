#include "common/ui/widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace orvex {

int twipsToPixels(int twips, const QWidget* reference)
{
    double dpi = 96.0;
    if (reference)
        dpi = reference->logicalDpiY();
    else if (QGuiApplication::primaryScreen())
        dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    if (!(dpi > 0))
        dpi = 96.0;
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

QRect twipsRect(int left, int top, int width, int height, const QWidget* reference)
{
    return QRect(twipsToPixels(left, reference), twipsToPixels(top, reference),
        twipsToPixels(width, reference), twipsToPixels(height, reference));
}

int captionWidth(const QWidget* window)
{
    // The title bar's font is the window manager's; the application's title font is
    // the best guess, with room for the icon and three buttons.
    const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
    return metrics.horizontalAdvance(window->windowTitle()) + 4 * metrics.height() + 48;
}

void centerForm(QWidget* window)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        const QSize size = window->frameGeometry().size();
        window->move(area.left() + area.width() / 2 - size.width() / 2,
            area.top() + area.height() / 2 - size.height() / 2);
    }
    QApplication::restoreOverrideCursor();
}

void selectAllText(QLineEdit* box)
{
    box->setSelection(0, static_cast<int>(box->text().size()));
    box->update();
}

void selectListItemByPrefix(QComboBox* list, const QString& text, bool selectFirstOtherwise)
{
    list->setCurrentIndex(-1);
    if (!text.isEmpty()) {
        for (int i = 0; i < list->count(); ++i) {
            if (list->itemText(i).startsWith(text, Qt::CaseInsensitive)) {
                list->setCurrentIndex(i);
                return;
            }
        }
    }
    if (selectFirstOtherwise && list->count() > 0)
        list->setCurrentIndex(0);
}

} // namespace orvex
