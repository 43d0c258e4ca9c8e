#pragma once

#include <QString>

class QWidget;

namespace orvex {

// The web viewer (Internet) as a window of its own, parent its opener. It lives with the
// web engine in a module loaded on first use, so that a start without it stays quick.
// Null, with the reason in error, when the module cannot be loaded.
QWidget* createWebViewer(QWidget* parent, QString* error = nullptr);

} // namespace orvex
