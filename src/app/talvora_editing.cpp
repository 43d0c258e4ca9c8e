// The worksheet's input discipline: the grid, the edit box, the kind list and the rate.
#include "app/talvora.h"

#include "common/ui/message_service.h"
#include "common/ui/widgets.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QTimer>

namespace orvex {
namespace {

bool isEnter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

CellPos Talvora::currentCell() const
{
    const int row = m_celdas->currentRow();
    const int column = m_celdas->currentColumn();
    return { row < 0 ? 1 : row + 1, column < 0 ? kColTipo : column + 1 };
}

void Talvora::setCell(int row, int column, const QString& text)
{
    if (m_sheet.cell(row, column) != us(text))
        clearAnswer();
    m_sheet.setCell(row, column, us(text));
    if (QTableWidgetItem* item = m_celdas->item(row - 1, column - 1))
        item->setText(text);
}

void Talvora::refreshRow(int row)
{
    for (int c = kColTipo; c <= kColSensibilidad; ++c) {
        if (QTableWidgetItem* item = m_celdas->item(row - 1, c - 1))
            item->setText(qs(m_sheet.cell(row, c)));
    }
}

void Talvora::refreshGrid()
{
    for (int r = 1; r <= kWorksheetRows; ++r)
        refreshRow(r);
}

void Talvora::makeCurrent(CellPos pos)
{
    // Making the current cell current again still shows its input control.
    const bool unchanged = currentCell() == pos && m_celdas->currentRow() >= 0;
    m_celdas->setCurrentCell(pos.row - 1, pos.column - 1);
    if (unchanged)
        runCellReaction();
}

void Talvora::currentCellChanged() { runCellReaction(); }

void Talvora::runCellReaction()
{
    if (!m_gridEventsEnabled)
        return;
    // Its own moves of the current cell must not run it again.
    m_gridEventsEnabled = false;
    const CellPos pos = currentCell();
    const CellReactionResult result = cellReaction(m_sheet, pos);
    if (result.rowCleared)
        refreshRow(pos.row);
    m_updatingEditors = true;
    m_edicion->hide();
    m_tipo->hide();
    if (result.editor == CellEditor::KindList) {
        selectListItemByPrefix(m_tipo, qs(result.kindPrefix), false);
        m_tipo->show();
    } else if (result.editor == CellEditor::EditBox) {
        m_edicion->setText(qs(result.editText));
        m_edicion->show();
    }
    m_updatingEditors = false;
    if (result.column != pos.column)
        m_celdas->setCurrentCell(pos.row - 1, result.column - 1);
    m_gridEventsEnabled = true;
}

void Talvora::moveOnFromCurrent() { makeCurrent(moveOn(currentCell())); }

bool Talvora::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_celdas && event->type() == QEvent::KeyPress)
        return gridKeyPressed(static_cast<QKeyEvent*>(event));
    if (watched == m_edicion && event->type() == QEvent::KeyPress
        && isEnter(static_cast<QKeyEvent*>(event))) {
        moveOnFromCurrent();
        m_celdas->setFocus();
        return true;
    }
    if (watched == m_tipo && event->type() == QEvent::KeyPress
        && isEnter(static_cast<QKeyEvent*>(event))) {
        kindListKeyEnter();
        return true;
    }
    if (watched == m_interes && event->type() == QEvent::FocusIn)
        rateFocusIn();
    else if (watched == m_interes && event->type() == QEvent::FocusOut)
        rateFocusOut();
    return QMainWindow::eventFilter(watched, event);
}

bool Talvora::gridKeyPressed(QKeyEvent* event)
{
    if (isEnter(event)) {
        moveOnFromCurrent();
        return true;
    }
    if (event->matches(QKeySequence::Paste)) {
        confirmPaste();
        return true;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false; // arrows, page keys and the like move around the grid
    // Printable keys never reach the grid's own type-ahead search.
    if (text.size() == 1 && startsTyping(text.at(0).unicode()))
        startTyping(text);
    return true;
}

void Talvora::startTyping(const QString& character)
{
    const CellPos pos = currentCell();
    if (pos.column == kColTipo) {
        selectListItemByPrefix(m_tipo, character, false);
        if (m_tipo->currentIndex() >= 0)
            kindChosen(m_tipo->currentIndex());
        m_tipo->show();
        m_tipo->setFocus();
        return;
    }
    if (!isEditableCell(editingKind(m_sheet, pos.row), pos.column))
        return;
    m_edicion->show();
    m_edicion->setText(character);
    m_edicion->setCursorPosition(static_cast<int>(character.size()));
    m_edicion->setFocus();
}

void Talvora::clearCurrentRow()
{
    const int row = currentCell().row;
    m_sheet.clearRow(row);
    refreshRow(row);
    clearAnswer();
}

void Talvora::confirmPaste()
{
    const MsgAnswer answer = m_ctx.messages.show(this,
        { QStringLiteral("Confirme el proceso..."), QStringLiteral("Pegar de Clipoboard"),
            MsgIcon::Question, MsgButtons::YesNo });
    if (answer != MsgAnswer::Yes)
        return;
    // Pasted into a copy: a paste that fails leaves the grid as it was.
    Worksheet pasted = m_sheet;
    PasteResult result;
    if (!m_ctx.messages.guarded(this, [&] {
            result = pasteText(pasted, currentCell(), us(QGuiApplication::clipboard()->text()));
        }))
        return;
    if (result.cellsWritten == 0)
        return;
    m_sheet = std::move(pasted);
    refreshGrid();
    clearAnswer();
    runCellReaction();
}

void Talvora::editTextChanged(const QString& text)
{
    if (m_updatingEditors)
        return;
    const CellPos pos = currentCell();
    if (pos.column <= kColTipo)
        return;
    setCell(pos.row, pos.column, qs(cellTextFromEdit(pos.column, us(text))));
}

void Talvora::kindChosen(int index)
{
    if (m_updatingEditors || index < 0)
        return;
    const CellPos pos = currentCell();
    if (pos.column == kColTipo)
        setCell(pos.row, kColTipo, m_tipo->itemText(index));
}

void Talvora::kindListKeyEnter()
{
    makeCurrent({ currentCell().row, kColValor });
    m_celdas->setFocus();
}

// "Incognita" and "*" are the same rate: showing one for the other changes no answer.
void Talvora::rateFocusIn()
{
    setRateText(qs(rateTextOnFocusIn(us(m_interes->text()))));
    // After the mouse press that gave the focus has placed the caret.
    QTimer::singleShot(0, m_interes, [this] { selectAllText(m_interes); });
}

void Talvora::rateFocusOut() { setRateText(qs(rateTextOnFocusOut(us(m_interes->text())))); }

} // namespace orvex
