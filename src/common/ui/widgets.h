#pragma once

#include <QRect>
#include <QString>
#include <string>

class QWidget;
class QLineEdit;
class QComboBox;

namespace orvex {

// Twips (1/1440 inch) to pixels at the screen's logical dpi (96 dpi: 15 twips a pixel).
int twipsToPixels(int twips, const QWidget* reference = nullptr);
QRect twipsRect(int left, int top, int width, int height, const QWidget* reference = nullptr);

// The width a window needs to show its whole caption beside the title bar's icon
// and buttons.
int captionWidth(const QWidget* window);

// Puts the window in the middle of its screen, with the hourglass meanwhile.
void centerForm(QWidget* window);

// Selects the whole text of a text box.
void selectAllText(QLineEdit* box);

// Selects the first entry whose first characters equal text (case-insensitive);
// with no match and selectFirstOtherwise, the first entry; else no selection.
void selectListItemByPrefix(QComboBox* list, const QString& text, bool selectFirstOtherwise);

inline QString qs(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<int>(utf8.size()));
}
inline std::string us(const QString& text) { return text.toUtf8().toStdString(); }

} // namespace orvex
