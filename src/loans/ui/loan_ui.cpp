#include "loans/ui/loan_ui.h"

#include "common/text.h"
#include "common/ui/widgets.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

namespace orvex {

namespace {
constexpr double kGridFontPoints = 8.25;
}

void setUpLoanGrid(QTableWidget* grid, const QStringList& headers, const QList<int>& characters)
{
    QFont font = grid->font();
    font.setPointSizeF(kGridFontPoints);
    grid->setFont(font);
    grid->setColumnCount(static_cast<int>(headers.size()));
    grid->setHorizontalHeaderLabels(headers);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    int total = 0;
    for (int c = 0; c < characters.size(); ++c) {
        const int width = twipsToPixels(columnWidthTwips(characters[c], kGridFontPoints), grid);
        grid->setColumnWidth(c, width);
        total += width;
    }
    // Wide enough for every column and the scroll bar, so no empty band is left over.
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setMinimumWidth(
        total + grid->verticalScrollBar()->sizeHint().width() + 2 * grid->frameWidth());
    grid->setMaximumWidth(grid->minimumWidth());
}

QTableWidgetItem* fixedCell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setBackground(QPalette().button());
    item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return item;
}

QTableWidgetItem* numberCell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return item;
}

} // namespace orvex
