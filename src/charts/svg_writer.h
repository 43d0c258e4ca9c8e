#pragma once

#include "charts/display_list.h"

#include <string>

namespace orvex {

// A display list as a standalone SVG document of widthPx × heightPx pixels on a
// white background: the frame fills the picture, lines keep their pixel width and
// dash style, text keeps its point size (at 96 dpi) with its top-left corner at
// its position, in the named font or a metric-compatible substitute. Lines are cut
// at the picture's edges (a line wholly outside is left out); text beyond them is
// cut by the viewer. A frame without width or height gives an empty picture.
std::string toSvg(const DisplayList& list, int widthPx, int heightPx);

// Text escaped for XML character data and attribute values.
std::string xmlEscape(const std::string& text);

} // namespace orvex
