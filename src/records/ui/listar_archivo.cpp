#include "records/ui/listar_archivo.h"

#include "common/file_io.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"
#include "records/ui/ocupado.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QThread>

namespace orvex {

ListarArchivo::ListarArchivo(MessageService& messages, QWidget* parent)
    : ListarArchivo(messages, std::nullopt, parent)
{
}

ListarArchivo::ListarArchivo(MessageService& messages, TableConfig config, QWidget* parent)
    : ListarArchivo(messages, std::optional<TableConfig>(std::move(config)), parent)
{
}

ListarArchivo::ListarArchivo(
    MessageService& messages, std::optional<TableConfig> preloaded, QWidget* parent)
    : QDialog(parent)
    , m_messages(messages)
    , m_model(*this)
{
    createGrid();
    createButtons();
    createGoToPanel();
    createSearchPanel();
    layOut();
    load(std::move(preloaded));
}

ListarArchivo::~ListarArchivo() = default;

void ListarArchivo::load(std::optional<TableConfig> preloaded)
{
    try {
        m_scratch = std::make_unique<ScratchFile>();
    } catch (const FileError&) {
        // Only kept for hosts that look for it: browsing does not need it.
    }
    if (preloaded) {
        m_config = std::move(*preloaded);
        m_config.record.preloaded = -1;
        m_fieldsSource = "Campos";
    } else {
        try {
            const auto name = readHandOffName("lst.cod", true);
            if (name) {
                m_handOff = true;
                m_handOffName = *name;
                const ConfigPaths paths = configPaths(*name);
                m_fieldsSource = paths.cmp;
                auto config = loadConfiguration(paths, *this);
                if (!config) {
                    m_configMissing = true;
                    return;
                }
                m_config = std::move(*config);
                m_configRead = true;
            }
        } catch (const std::exception& e) {
            showTableError(e, true);
            return;
        }
    }
    trimConfigurationTexts(m_config.record);
    m_noSelection.assign(
        static_cast<std::size_t>(std::max<int>(m_config.record.fieldCount, 0)) + 2, std::string());
    setWindowTitle(qs(browserTitle(m_config.record)));
    m_hasData = tableHasData(m_config.record);
    if (!m_hasData)
        m_messages.show(this,
            { QString::fromUtf8(kNoRecordsMessage), QStringLiteral("LISTAR ARCHIVO"),
                MsgIcon::Exclamation, MsgButtons::Ok });
}

void ListarArchivo::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    centerForm(this);
    // After the window is painted: the set-up may wait for the table.
    QMetaObject::invokeMethod(this, &ListarArchivo::firstActivation, Qt::QueuedConnection);
}

void ListarArchivo::firstActivation()
{
    if (!m_hasData || m_ended) {
        terminar();
        return;
    }
    if (!inicializar())
        return;
    m_browsed = true;
    guarded([this] { m_model.fill(m_model.firstRecord()); });
    showPage();
    setCurrent({ 1, 1 });
}

bool ListarArchivo::inicializar()
{
    // The columns first: whether they need a horizontal scroll bar decides the rows.
    setUpColumns(browserColumns(m_config.fields));
    bool ready = false;
    m_busy = true;
    try {
        ready = m_model.setUp(m_config, visibleRowsForGrid(), m_fieldsSource);
    } catch (const std::exception& e) {
        showTableError(e, true);
    }
    m_busy = false;
    if (!ready) {
        terminar();
        return false;
    }
    setUpRows(m_model.visibleRows());
    for (const auto& item : searchFieldItems(m_model.config().fields))
        m_busquedaCampo->addItem(qs(item));
    for (const auto direction : kSearchDirections)
        m_busquedaDireccion->addItem(qs(std::string(direction)));
    m_busquedaDireccion->setCurrentIndex(1);
    m_busquedaCampo->setCurrentIndex(0);
    m_porcentaje->clear();
    loadSearchSettings();
    m_setUp = true;
    return true;
}

void ListarArchivo::terminar()
{
    if (m_ended)
        return;
    m_ended = true;
    m_scratch.reset();
    // A hand-off consumes its files; the host reads the selection from ".sel".
    if (m_config.record.preloaded == 0 && m_handOff) {
        deleteConfigurationFiles(configPaths(m_handOffName));
        if (m_configRead) {
            try {
                writeSelectionFile("lst" + m_handOffName + ".sel", seleccionado());
            } catch (const FileError& e) {
                m_selFailed = true;
                showTableError(e);
            }
        }
    }
    done(selectionFlag() ? Accepted : Rejected);
}

void ListarArchivo::salir()
{
    guarded([this] {
        saveSearchSettings();
        terminar();
    });
}

void ListarArchivo::seleccionarYTerminar()
{
    guarded([this] {
        m_model.armarSeleccion(m_current.row);
        saveSearchSettings();
        terminar();
    });
}

bool ListarArchivo::selectionFlag() const
{
    return (m_setUp ? m_model.config() : m_config).record.selected != 0;
}

const std::vector<std::string>& ListarArchivo::seleccionado() const
{
    return m_setUp ? m_model.seleccionado() : m_noSelection;
}

void ListarArchivo::showTableError(const std::exception& error, bool setUp)
{
    int number = 0;
    if (const auto* table = dynamic_cast<const TableError*>(&error))
        number = table->number();
    else if (const auto* file = dynamic_cast<const FileError*>(&error))
        number = file->number();
    m_messages.show(this,
        { QStringLiteral("Ocurrio un error [%1 %2]").arg(number).arg(qs(error.what())),
            QStringLiteral("Listar Archivo"), setUp ? MsgIcon::Critical : MsgIcon::Exclamation,
            MsgButtons::Ok });
}

void ListarArchivo::reject()
{
    if (m_ended)
        QDialog::reject();
    else if (m_busy)
        m_searchCancel = true;
    else
        salir();
}

void ListarArchivo::closeEvent(QCloseEvent* event)
{
    if (m_ended) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    reject();
}

void ListarArchivo::mouseDoubleClickEvent(QMouseEvent* event)
{
    QDialog::mouseDoubleClickEvent(event);
    m_titleWithPath = !m_titleWithPath;
    setWindowTitle(qs(browserTitle(m_config.record, m_titleWithPath)));
}

bool ListarArchivo::waitWindow(const std::string& path, const std::function<BusyTest()>& poll)
{
    QApplication::setOverrideCursor(Qt::BusyCursor);
    Ocupado wait(qs(path), poll, this);
    wait.exec();
    QApplication::restoreOverrideCursor();
    m_waitCancelled = m_waitCancelled || wait.cancelled();
    return wait.cancelled();
}

void ListarArchivo::status(const std::string& text)
{
    m_lbEstado->setText(qs(text));
    m_lbEstado->setVisible(!text.empty());
    m_lbEstado->repaint();
}

void ListarArchivo::statusPause(double seconds)
{
    // Paints and timers go on; what the user types or clicks waits for the table.
    QElapsedTimer clock;
    clock.start();
    const auto total = static_cast<qint64>(seconds * 1000);
    while (clock.elapsed() < total) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(20);
    }
}

bool ListarArchivo::confirmSave()
{
    return m_messages.show(this,
               { QString::fromUtf8(kSaveQuestion), QStringLiteral("CAMBIOS"), MsgIcon::Question,
                   MsgButtons::YesNo })
        == MsgAnswer::Yes;
}

BrowseResult browseTable(TableConfig config, MessageService& messages, QWidget* parent)
{
    ListarArchivo window(messages, std::move(config), parent);
    window.exec();
    return { window.selectionFlag(), window.seleccionado() };
}

} // namespace orvex
