#pragma once

#include "charts/display_list.h"

#include <QSize>
#include <QString>

#include <functional>

class QWidget;
class QAction;
class QMenuBar;

namespace orvex {

struct AppContext;

enum class ChartImageFormat { Png, Svg, Pdf };

// The format a file name asks for by its extension (any case); .png otherwise.
ChartImageFormat chartImageFormat(const QString& fileName);

// Writes the chart as PNG (white background), SVG or a one-page PDF of the given
// size in pixels. Returns false with a reason when the file cannot be written.
bool saveChartImage(const DisplayList& list, QSize size, const QString& fileName, QString* error);

// "Guardar imagen..." with Ctrl+S in a menu "Archivo" of menuBar (and the window's
// context menu); on trigger it asks for a name through ctx.fileDialogs, saves what
// source() returns and says where, or why it could not.
QAction* addSaveImageAction(QWidget* window, QMenuBar* menuBar, AppContext& ctx,
    const QString& defaultName, std::function<DisplayList()> source, std::function<QSize()> size);

} // namespace orvex
