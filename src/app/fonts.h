#pragma once

#include <QFont>

class QLabel;

namespace orvex {

// The program's "MS Sans Serif" at a size in points; on Linux it is drawn with a
// metric-alike (Liberation Sans, then DejaVu Sans) so captions keep their widths.
QFont msSansSerif(double points, bool bold = false);

// A bold 12-point red value label, as the results show them.
void makeValueLabel(QLabel* label);

} // namespace orvex
