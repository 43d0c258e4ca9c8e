#pragma once

#include <QIcon>
#include <QPixmap>

namespace orvex {

// The program's icon (data/icons/orvex.svg, built into the program), drawn at side × side
// logical pixels for the screen of reference; a null pixmap if it cannot be drawn.
QPixmap programIconPixmap(int side, qreal devicePixelRatio = 1.0);
// The same icon at the usual window-icon sizes.
QIcon programIcon();

} // namespace orvex
