#include "loans/ui/loan_ui.h"

#include "common/text.h"
#include "common/ui/widgets.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

#include <algorithm>

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
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    fitLoanGridColumns(grid, characters);
    grid->setMaximumWidth(grid->minimumWidth());
}

void fitLoanGridColumns(QTableWidget* grid, const QList<int>& characters)
{
    const QFontMetrics metrics(grid->font());
    int total = 0;
    for (int c = 0; c < characters.size(); ++c) {
        // The numbers of a column differ mostly in length: measure the longest.
        QString longest;
        for (int r = 0; r < grid->rowCount(); ++r) {
            const QTableWidgetItem* item = grid->item(r, c);
            if (item && item->text().size() > longest.size())
                longest = item->text();
        }
        const int width
            = std::max({ twipsToPixels(columnWidthTwips(characters[c], kGridFontPoints), grid),
                grid->horizontalHeader()->sectionSizeHint(c),
                metrics.horizontalAdvance(longest) + 2 * metrics.averageCharWidth() });
        grid->setColumnWidth(c, width);
        total += width;
    }
    // Wide enough for every column and the scroll bar, so no empty band is left over.
    grid->setMinimumWidth(
        total + grid->verticalScrollBar()->sizeHint().width() + 2 * grid->frameWidth());
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
