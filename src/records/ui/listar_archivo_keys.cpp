#include "records/ui/listar_archivo.h"

#include "common/ui/widgets.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

namespace orvex {

bool ListarArchivo::browsingKey(QObject* watched, QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_T:
        if (!ctrl || !(event->modifiers() & Qt::ShiftModifier))
            break;
        armarTxt();
        return true;
    case Qt::Key_F2:
        openGoTo();
        return true;
    case Qt::Key_F3:
        openSearch();
        return true;
    case Qt::Key_PageUp:
        mover(3);
        return true;
    case Qt::Key_PageDown:
        mover(4);
        return true;
    case Qt::Key_Up:
        mover(0);
        return true;
    case Qt::Key_Down:
        mover(1);
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (!ctrl)
            break;
        mover(event->key() == Qt::Key_Home ? 2 : 5);
        return true;
    default:
        break;
    }
    if (watched == m_edicionTexto)
        return editorKey(event);
    switch (event->key()) {
    case Qt::Key_Escape:
        salir();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (watched != m_malla)
            return false;
        seleccionarYTerminar();
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (watched != m_malla)
            return false;
        mover(event->key() == Qt::Key_Left ? 6 : 7);
        return true;
    default:
        return false;
    }
}

// Enter, Esc, Left and Right browse while the editor's whole text is selected (as right
// after a move) and edit otherwise.
bool ListarArchivo::editorKey(QKeyEvent* event)
{
    const QString text = m_edicionTexto->text();
    const bool whole = text.isEmpty()
        || (m_edicionTexto->selectionStart() == 0
            && m_edicionTexto->selectedText().size() == text.size());
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (whole) {
            seleccionarYTerminar();
        } else {
            editorEdited(text);
            m_edicionTexto->setText(qs(m_model.cell(m_current)));
        }
        return true;
    case Qt::Key_Escape:
        if (whole) {
            salir();
        } else {
            m_model.restoreCell(m_current, us(m_saved));
            m_malla->item(m_current.row - 1, m_current.column - 1)->setText(m_saved);
            m_edicionTexto->setText(m_saved);
            selectAllText(m_edicionTexto);
        }
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (!whole)
            return false;
        mover(event->key() == Qt::Key_Left ? 6 : 7);
        return true;
    default:
        return false;
    }
}

void ListarArchivo::selectAllLater(QLineEdit* box)
{
    // After the click that gave the focus has placed its cursor.
    QTimer::singleShot(0, box, [box] { selectAllText(box); });
}

bool ListarArchivo::eventFilter(QObject* watched, QEvent* event)
{
    const bool inSearch = watched == m_buscarTexto || watched == m_busquedaCampo
        || watched == m_busquedaDireccion || watched == m_bconfig[0] || watched == m_bconfig[1]
        || watched == m_botonB[0] || watched == m_botonB[1];
    const bool inGoTo
        = watched == m_irRegistro || watched == m_botonIr[0] || watched == m_botonIr[1];
    switch (event->type()) {
    case QEvent::KeyPress:
        if (auto* pressed = qobject_cast<QPushButton*>(watched)) {
            // No button is the dialog's default: Enter presses the one that has the focus.
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                pressed->click();
                return true;
            }
        }
        if (inSearch || inGoTo)
            return panelKey(watched, static_cast<QKeyEvent*>(event));
        if (watched == m_botonCancela)
            break;
        return browsingKey(watched, static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
        if (watched == m_edicionTexto || watched == m_buscarTexto || watched == m_irRegistro)
            selectAllLater(static_cast<QLineEdit*>(watched));
        break;
    case QEvent::FocusOut:
        if (watched == m_busquedaCampo && m_busquedaCampo->currentText().isEmpty())
            m_busquedaCampo->setCurrentIndex(0);
        break;
    case QEvent::MouseButtonDblClick:
        // The editor lies over the current cell: a double click there is one on the grid.
        if (watched == m_edicionTexto && m_reactions) {
            seleccionarYTerminar();
            return true;
        }
        break;
    case QEvent::Wheel:
        if (watched == m_malla->viewport() && m_malla->isEnabled()) {
            const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
            if (delta != 0)
                mover(delta > 0 ? 0 : 1);
            return true;
        }
        break;
    case QEvent::Paint:
        if (qobject_cast<QAbstractButton*>(watched) && watched->parent() == m_malla) {
            paintCorner(static_cast<QWidget*>(watched));
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvex
