#include "records/ui/listar_archivo.h"

#include "common/file_io.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"
#include "records/export.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

namespace orvex {
namespace {

const QString kExportTitle = QStringLiteral("CREACION ARCHIVO TEXTO");

} // namespace

void ListarArchivo::setFourButtonsVisible(bool visible)
{
    for (QPushButton* b : { m_buscar[0], m_buscar[1], m_seleccion, m_fin })
        b->setVisible(visible);
}

void ListarArchivo::openGoTo()
{
    if (!m_setUp || m_busy)
        return;
    m_busqueda->hide();
    setFourButtonsVisible(false);
    m_ir->show();
    m_irRegistro->setText(QString::number(m_model.logicalOf(m_current.row)));
    m_label5->setText(QString::number(m_model.recordCount()));
    m_irRegistro->setFocus();
    selectAllText(m_irRegistro);
}

void ListarArchivo::closeGoTo()
{
    m_ir->hide();
    setFourButtonsVisible(true);
    if (m_edicionTexto->isVisible())
        m_edicionTexto->setFocus();
}

void ListarArchivo::irARegistro()
{
    guarded([this] {
        const auto cell = m_model.goTo(us(m_irRegistro->text()), m_current);
        if (!cell) {
            m_messages.show(this,
                { QString::fromUtf8(kWrongRecordMessage), QStringLiteral("IR A..."),
                    MsgIcon::Exclamation, MsgButtons::Ok });
        } else {
            showPage();
            setCurrent(*cell);
        }
    });
    m_irRegistro->setFocus();
    selectAllText(m_irRegistro);
}

void ListarArchivo::openSearch()
{
    if (!m_setUp || m_busy)
        return;
    m_ir->hide();
    setFourButtonsVisible(false);
    m_busqueda->show();
    m_busqueda->repaint();
    updateSiguiente();
    m_buscarTexto->setFocus();
    selectAllText(m_buscarTexto);
}

void ListarArchivo::closeSearch()
{
    if (m_busy)
        return;
    m_busqueda->hide();
    setFourButtonsVisible(true);
    if (m_edicionTexto->isVisible())
        m_edicionTexto->setFocus();
}

void ListarArchivo::updateSiguiente()
{
    m_botonB[1]->setEnabled(
        !m_busquedaDireccion->currentText().isEmpty() && !m_buscarTexto->text().isEmpty());
}

void ListarArchivo::setSearching(bool searching)
{
    for (QWidget* w : m_mover)
        w->setEnabled(!searching);
    for (QWidget* w : std::initializer_list<QWidget*> { m_ps, m_malla, m_bconfig[0], m_bconfig[1],
             m_botonB[0], m_botonB[1], m_busquedaDireccion, m_buscarTexto, m_busquedaCampo })
        w->setEnabled(!searching);
    m_porcentaje->setVisible(searching);
    m_botonCancela->setVisible(searching);
    m_botonCancela->setEnabled(searching);
    if (searching)
        m_botonCancela->setFocus();
    else
        updateSiguiente();
}

void ListarArchivo::siguiente()
{
    if (!m_setUp)
        return;
    guarded([this] {
        const SearchRequest request { us(m_buscarTexto->text()), m_bconfig[0]->isChecked(),
            m_bconfig[1]->isChecked(), std::max(m_busquedaCampo->currentIndex(), 0),
            std::max(m_busquedaDireccion->currentIndex(), 0) };
        m_searchCancel = false;
        std::optional<GridCell> found;
        {
            struct Searching {
                ListarArchivo* w;
                Searching(ListarArchivo* window)
                    : w(window)
                {
                    QApplication::setOverrideCursor(Qt::WaitCursor);
                    w->setSearching(true);
                }
                ~Searching()
                {
                    QApplication::restoreOverrideCursor();
                    w->setSearching(false);
                }
            } searching(this);
            // The window stays painted and Cancelar is seen at each whole-percent step.
            found = m_model.findNext(request, m_current.row, [this](int percent) {
                m_porcentaje->setText(qs(percentText(percent)));
                m_porcentaje->repaint();
                QCoreApplication::processEvents();
                return m_searchCancel;
            });
        }
        if (m_waitCancelled)
            return;
        if (found) {
            showPage();
            setCurrent(*found);
            m_malla->setRangeSelected(QTableWidgetSelectionRange(found->row - 1, 0, found->row - 1,
                                          m_malla->columnCount() - 1),
                true);
            return;
        }
        m_messages.show(this,
            { QString::fromUtf8(kNotFoundMessage), QStringLiteral("BUSQUEDA"), MsgIcon::Exclamation,
                MsgButtons::Ok });
        m_buscarTexto->setFocus();
    });
}

bool ListarArchivo::panelKey(QObject* watched, QKeyEvent* event)
{
    const int key = event->key();
    if (watched == m_irRegistro || watched == m_botonIr[0] || watched == m_botonIr[1]) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            irARegistro();
        else if (key == Qt::Key_Escape)
            closeGoTo();
        else
            return false;
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter
        || (key == Qt::Key_F3 && watched == m_buscarTexto))
        siguiente();
    else if (key == Qt::Key_Escape)
        closeSearch();
    else
        return false;
    return true;
}

void ListarArchivo::loadSearchSettings()
{
    SearchSettings settings;
    if (!readSearchSettings(kSearchSettingsFile, settings))
        return;
    m_bconfig[0]->setChecked(settings.matchCase);
    m_bconfig[1]->setChecked(settings.wholeWords);
    m_busquedaDireccion->setCurrentIndex(settings.direction);
    m_buscarTexto->setText(qs(settings.text));
    m_busquedaCampo->setCurrentIndex(
        searchFieldItem(searchFieldItems(m_model.config().fields), settings.field));
}

void ListarArchivo::saveSearchSettings()
{
    if (!m_setUp)
        return;
    try {
        m_model.confirmChanges();
    } catch (const std::exception& e) {
        showTableError(e);
    }
    const SearchSettings settings { m_bconfig[0]->isChecked(), m_bconfig[1]->isChecked(),
        m_busquedaDireccion->currentIndex(), us(m_buscarTexto->text()),
        us(m_busquedaCampo->currentText()) };
    try {
        writeSearchSettings(kSearchSettingsFile, settings);
    } catch (const FileError& e) {
        showTableError(e);
    }
}

void ListarArchivo::armarTxt()
{
    if (!m_setUp)
        return;
    guarded([this] {
        m_model.confirmChanges();
        if (m_messages.show(this,
                { QString::fromUtf8(kExportQuestion), kExportTitle, MsgIcon::Question,
                    MsgButtons::YesNo })
            != MsgAnswer::Yes)
            return;
        std::optional<std::string> done;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        try {
            done = m_model.exportText();
            QApplication::restoreOverrideCursor();
        } catch (const std::exception& e) {
            QApplication::restoreOverrideCursor();
            const bool refused = dynamic_cast<const ExportRefused*>(&e) != nullptr;
            m_messages.show(this,
                { refused
                        ? qs(e.what())
                        : QStringLiteral("No se pudo crear el archivo texto: %1").arg(qs(e.what())),
                    kExportTitle, MsgIcon::Exclamation, MsgButtons::Ok });
            return;
        }
        if (done)
            m_messages.show(
                this, { qs(*done), kExportTitle, MsgIcon::Information, MsgButtons::Ok });
    });
}

} // namespace orvex
