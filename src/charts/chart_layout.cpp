#include "charts/chart_layout.h"

#include <algorithm>

namespace orvex {

// Arial's digits and capitals are 0.56 to 0.72 em wide; 0.68 is on the wide side.
double textWidthPx(std::string_view text, double points)
{
    return 0.68 * points * 96.0 / 72.0 * static_cast<double>(text.size());
}

double textHeightPx(double points) { return 1.15 * points * 96.0 / 72.0; }

namespace {

// Moves low down and high up until low..a and b..high take at least the pixels
// asked for out of size; each step widens the span, so a few rounds settle it.
void widen(double& low, double& high, double a, double b, double lowPx, double highPx, double size)
{
    if (lowPx + highPx >= size)
        return;
    for (int round = 0; round < 16; ++round) {
        const double unit = (high - low) / size; // user units a pixel
        low = std::min(low, a - lowPx * unit);
        high = std::max(high, b + highPx * unit);
    }
}

} // namespace

ChartFrame withPixelMargins(ChartFrame frame, ChartCanvas canvas, const PixelMargins& margins,
    double xLow, double xHigh, double yLow, double yHigh)
{
    if (!frame.drawable())
        return frame;
    widen(frame.left, frame.right, xLow, xHigh, margins.left, margins.right, canvas.width);
    widen(frame.bottom, frame.top, yLow, yHigh, margins.bottom, margins.top, canvas.height);
    return frame;
}

} // namespace orvex
