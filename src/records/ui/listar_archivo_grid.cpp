#include "records/ui/listar_archivo.h"

#include "common/ui/widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QTableWidget>

namespace orvex {
namespace {

// Twips to whole pixels, rounding down so that fitted columns never overrun the grid.
int twipsDown(int twips, const QWidget* reference)
{
    return static_cast<int>(static_cast<qint64>(twips) * reference->logicalDpiX() / 1440);
}

Qt::Alignment qtAlignment(int code, const QString& text)
{
    const CellAlignment a = cellAlignment(code, us(text));
    const Qt::Alignment horizontal = a.horizontal == CellAlignment::Left ? Qt::AlignLeft
        : a.horizontal == CellAlignment::Center                          ? Qt::AlignHCenter
                                                                         : Qt::AlignRight;
    const Qt::Alignment vertical = a.vertical == CellAlignment::Top ? Qt::AlignTop
        : a.vertical == CellAlignment::Middle                       ? Qt::AlignVCenter
                                                                    : Qt::AlignBottom;
    return horizontal | vertical;
}

// The hourglass for as long as an operation runs.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

void ListarArchivo::setUpColumns(const std::vector<BrowserColumn>& columns)
{
    const double points = QFontInfo(m_malla->font()).pointSizeF();
    const int inner = m_malla->contentsRect().width();
    const int innerTwips
        = static_cast<int>(static_cast<qint64>(inner) * 1440 / std::max(m_malla->logicalDpiX(), 1));
    const std::vector<int> widths = browserColumnWidths(columns, points, innerTwips);
    m_malla->setColumnCount(std::max<int>(static_cast<int>(columns.size()) - 1, 0));
    const int first = twipsDown(widths.empty() ? 0 : widths[0], this);
    m_malla->verticalHeader()->setVisible(first > 0);
    m_malla->verticalHeader()->setFixedWidth(first);
    if (!columns.empty()) {
        m_cornerText = qs(columns[0].header);
        m_cornerAlignment = qtAlignment(columns[0].headerAlignment, m_cornerText);
    }
    for (std::size_t k = 1; k < columns.size(); ++k) {
        const int column = static_cast<int>(k) - 1;
        auto* header = new QTableWidgetItem(qs(columns[k].header));
        header->setTextAlignment(qtAlignment(columns[k].headerAlignment, header->text()));
        m_malla->setHorizontalHeaderItem(column, header);
        const int width = twipsDown(widths[k], this);
        m_malla->setColumnHidden(column, columns[k].hidden || width == 0);
        m_malla->setColumnWidth(column, width);
    }
}

int ListarArchivo::visibleRowsForGrid() const
{
    int height
        = m_malla->contentsRect().height() - m_malla->horizontalHeader()->sizeHint().height();
    int total = m_malla->verticalHeader()->isVisible() ? m_malla->verticalHeader()->width() : 0;
    for (int c = 0; c < m_malla->columnCount(); ++c)
        total += m_malla->isColumnHidden(c) ? 0 : m_malla->columnWidth(c);
    if (total > m_malla->contentsRect().width())
        height -= m_malla->horizontalScrollBar()->sizeHint().height();
    return std::max(1, height / m_malla->verticalHeader()->defaultSectionSize());
}

void ListarArchivo::setUpRows(int rows)
{
    m_malla->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        m_malla->setVerticalHeaderItem(r, new QTableWidgetItem);
        for (int c = 0; c < m_malla->columnCount(); ++c)
            m_malla->setItem(r, c, new QTableWidgetItem);
    }
    m_ps->blockSignals(true);
    m_ps->setRange(1, std::max<int>(m_model.recordCount(), 1));
    m_ps->setPageStep(rows);
    m_ps->blockSignals(false);
}

void ListarArchivo::showPage()
{
    if (!m_setUp && m_malla->rowCount() == 0)
        return;
    const auto& columns = m_model.columns();
    for (int r = 1; r <= m_model.visibleRows(); ++r) {
        const QString number = qs(m_model.cell({ r, 0 }));
        QTableWidgetItem* header = m_malla->verticalHeaderItem(r - 1);
        header->setText(number);
        header->setTextAlignment(qtAlignment(columns[0].cellAlignment, number));
        for (int k = 1; k < m_model.columnCount(); ++k) {
            QTableWidgetItem* item = m_malla->item(r - 1, k - 1);
            item->setText(qs(m_model.cell({ r, k })));
            item->setTextAlignment(
                qtAlignment(columns[static_cast<std::size_t>(k)].cellAlignment, item->text()));
        }
    }
    m_ps->blockSignals(true);
    m_ps->setValue(m_model.firstRecord());
    m_ps->blockSignals(false);
}

void ListarArchivo::setCurrent(GridCell cell)
{
    m_current = cell;
    m_reactions = false;
    m_malla->setCurrentCell(cell.row - 1, cell.column - 1);
    m_reactions = true;
    currentCellLogic();
}

void ListarArchivo::currentCellLogic()
{
    m_malla->scrollTo(m_malla->model()->index(m_current.row - 1, m_current.column - 1));
    const CellEditorState state = m_model.editorState(m_current);
    if (!state.shown) {
        m_edicionTexto->hide();
        m_malla->setFocus();
        return;
    }
    m_saved = qs(state.text);
    // A stored text longer than the typing limit is shown whole, as typing never cut it.
    m_edicionTexto->setMaxLength(std::max<int>(state.maxLength, static_cast<int>(m_saved.size())));
    QPalette palette = m_edicionTexto->palette();
    palette.setColor(QPalette::Text, state.editable ? QColor(Qt::black) : QColor(0xC0, 0xC0, 0xC0));
    m_edicionTexto->setPalette(palette);
    m_edicionTexto->setText(m_saved);
    const QTableWidgetItem* item = m_malla->item(m_current.row - 1, m_current.column - 1);
    m_edicionTexto->setAlignment(
        (Qt::Alignment(item->textAlignment()) & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);
    ajustarCajaTexto();
    selectAllText(m_edicionTexto);
    m_label3->setText(qs(state.position));
}

void ListarArchivo::ajustarCajaTexto()
{
    const QRect cell
        = m_malla->visualRect(m_malla->model()->index(m_current.row - 1, m_current.column - 1));
    m_edicionTexto->setGeometry(
        cell.x(), cell.y(), std::min(cell.width(), twipsDown(6000, this)), cell.height());
    m_edicionOpciones->hide();
    m_edicionTexto->show();
    if (m_edicionTexto->isVisible() && m_edicionTexto->isEnabled())
        m_edicionTexto->setFocus();
}

void ListarArchivo::editorEdited(const QString& text)
{
    if (!m_reactions || !m_model.applyEdit(m_current, us(text)))
        return;
    m_malla->item(m_current.row - 1, m_current.column - 1)->setText(qs(m_model.cell(m_current)));
}

bool ListarArchivo::guarded(const std::function<void()>& operation)
{
    if (m_busy || m_ended)
        return false;
    m_busy = true;
    m_waitCancelled = false;
    bool ok = true;
    try {
        operation();
    } catch (const std::exception& e) {
        ok = false;
        showTableError(e);
    }
    if (!ok && m_setUp && !m_ended) {
        try {
            m_model.fill(m_model.firstRecord());
        } catch (const std::exception&) {
            // The grid keeps what it showed; the message above said why.
        }
        showPage();
        setCurrent(m_current);
    }
    m_busy = false;
    return ok;
}

void ListarArchivo::mover(int index)
{
    if (!m_setUp)
        return;
    guarded([&] {
        const GridCell cell = m_model.move(index, m_current);
        showPage();
        setCurrent(cell);
    });
}

void ListarArchivo::scrollBarMoved(int value)
{
    if (!m_reactions || !m_setUp)
        return;
    if (!guarded([&] {
            const GridCell cell = m_model.scrollTo(value, m_current);
            showPage();
            setCurrent(cell);
        }))
        showPage();
}

void ListarArchivo::armarSeleccion()
{
    if (!m_setUp)
        return;
    guarded([this] {
        const WaitCursor hourglass;
        m_model.armarSeleccion(m_current.row);
    });
}

void ListarArchivo::paintCorner(QWidget* corner)
{
    QStyleOptionHeader option;
    option.initFrom(corner);
    // The corner takes no clicks, yet it is no disabled header.
    option.state |= QStyle::State_Enabled;
    option.palette.setCurrentColorGroup(QPalette::Active);
    option.rect = corner->rect();
    option.text = m_cornerText;
    option.textAlignment = m_cornerAlignment;
    option.position = QStyleOptionHeader::OnlyOneSection;
    QPainter painter(corner);
    corner->style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
}

} // namespace orvex
