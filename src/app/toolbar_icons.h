#pragma once

#include <QIcon>
#include <QString>

namespace orvex {

// The picture of a toolbar button of the main window, by its key; an empty icon
// for an unknown key.
QIcon toolbarIcon(const QString& key);

} // namespace orvex
