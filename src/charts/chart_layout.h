#pragma once

#include "charts/display_list.h"

#include <string_view>

namespace orvex {

// The pixel size a chart is laid out for: its window's drawing area. A renderer
// may scale the picture; texts keep their point size, so the layout holds best at
// this size.
struct ChartCanvas {
    double width = 0, height = 0;
};

inline constexpr ChartCanvas kFlowDiagramCanvas { 612, 348 };
inline constexpr ChartCanvas kPaymentPlanCanvas { 487, 272 };

// A rectangle in canvas pixels, y growing downward.
struct PixelBox {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool intersects(const PixelBox& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    bool inside(ChartCanvas canvas) const
    {
        return left >= 0 && top >= 0 && right <= canvas.width && bottom <= canvas.height;
    }
};

// Text size in pixels at 96 dpi, estimated on the wide side of Arial (and its
// metric twin Liberation Sans), so that texts judged apart are apart on screen.
double textWidthPx(std::string_view text, double points);
double textHeightPx(double points);

// Maps a frame onto a canvas.
class ChartLayout {
public:
    ChartLayout(const ChartFrame& frame, ChartCanvas canvas)
        : m_frame(frame)
        , m_canvas(canvas)
    {
    }
    double px(double x) const
    {
        return (x - m_frame.left) / (m_frame.right - m_frame.left) * m_canvas.width;
    }
    double py(double y) const
    {
        return (m_frame.top - y) / (m_frame.top - m_frame.bottom) * m_canvas.height;
    }
    ChartPoint toUser(double x, double y) const
    {
        return { m_frame.left + x / m_canvas.width * (m_frame.right - m_frame.left),
            m_frame.top - y / m_canvas.height * (m_frame.top - m_frame.bottom) };
    }
    // The box of a text whose top-left corner is at pixel (x, y).
    PixelBox textBox(double x, double y, std::string_view text, double points) const
    {
        return { x, y, x + textWidthPx(text, points), y + textHeightPx(points) };
    }
    ChartCanvas canvas() const { return m_canvas; }

private:
    ChartFrame m_frame;
    ChartCanvas m_canvas;
};

// Pixels to keep free between a frame's edges and the values the picture must
// show whole: left of xLow, right of xHigh, below yLow, above yHigh.
struct PixelMargins {
    double left = 0, right = 0, bottom = 0, top = 0;
};

// frame widened (never narrowed) so that on canvas the margins hold around the
// given extents.
ChartFrame withPixelMargins(ChartFrame frame, ChartCanvas canvas, const PixelMargins& margins,
    double xLow, double xHigh, double yLow, double yHigh);

} // namespace orvex
