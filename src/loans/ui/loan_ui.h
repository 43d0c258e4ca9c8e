#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>

class QTableWidget;
class QTableWidgetItem;

namespace orvex {

// Shows a window modally and returns its result. The loan windows open their
// children through one of these so a test can look at a child without a modal loop.
using ModalRunner = std::function<int(QDialog&)>;

inline int execModal(QDialog& dialog) { return dialog.exec(); }

// The grid look of the loan windows: the header row as the horizontal header, no
// vertical header, left-aligned texts, column widths from characters per column.
void setUpLoanGrid(QTableWidget* grid, const QStringList& headers, const QList<int>& characters);

// Column widths: the characters per column at least, and wide enough for the header
// and for the longest text of the column; the grid's minimum width follows, so its
// window grows with it.
void fitLoanGridColumns(QTableWidget* grid, const QList<int>& characters);

// A cell the user cannot edit, shaded like a fixed column.
QTableWidgetItem* fixedCell(const QString& text);
// A read-only number cell.
QTableWidgetItem* numberCell(const QString& text);

} // namespace orvex
