#pragma once

#include "charts/display_list.h"

#include <QRectF>
#include <QWidget>

class QPainter;

namespace orvex {

// Paints a display list into target: the frame fills the rectangle, lines keep their
// pixel width, text its point size with its top-left corner at its position, in black
// on a transparent background. Nothing is painted for a frame without size.
void paintDisplayList(QPainter& painter, const DisplayList& list, const QRectF& target);

// A white surface that shows one display list and repaints it whenever asked, so
// the picture never vanishes while the window is open.
class ChartView : public QWidget {
    Q_OBJECT
public:
    explicit ChartView(QWidget* parent = nullptr);

    void setDisplayList(DisplayList list);
    const DisplayList& displayList() const { return m_list; }

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    DisplayList m_list;
};

} // namespace orvex
