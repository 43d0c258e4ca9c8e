// Worksheet files: New, Open, Save, Save as, and the caption that names the file.
#include "app/talvora.h"

#include "app/command_line.h"
#include "common/file_io.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"
#include "loans/ui/upac.h"
#include "worksheet/validation.h"
#include "worksheet/worksheet_file.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QTableWidget>

namespace orvex {
namespace {

const QString kFileFilter
    = QStringLiteral("Archivos de Datos [*.ORV] (*.ORV *.orv);;Todos los Archivos [*.*] (*)");

// Grid reactions off and the hourglass on for the length of an operation.
class BusyGrid {
public:
    explicit BusyGrid(bool& gridEventsEnabled)
        : m_flag(gridEventsEnabled)
    {
        m_flag = false;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyGrid()
    {
        QApplication::restoreOverrideCursor();
        m_flag = true;
    }
    BusyGrid(const BusyGrid&) = delete;
    BusyGrid& operator=(const BusyGrid&) = delete;

private:
    bool& m_flag;
};

} // namespace

void Talvora::nuevos()
{
    BusyGrid busy(m_gridEventsEnabled);
    const std::string rate = m_sheet.rate();
    m_sheet.clear();
    m_sheet.setRate(rate);
    refreshGrid();
    m_celdas->setCurrentCell(0, 0);
}

void Talvora::newWorksheet()
{
    m_sheet.clear();
    refreshGrid();
    m_interes->clear();
    clearAnswer();
    runCellReaction();
}

void Talvora::cargar()
{
    if (m_fileName.isEmpty() || !fileExists(us(m_fileName)))
        return;
    // Read first: a file that cannot be read leaves the grid as it was.
    LoadedWorksheet loaded = openWorksheetFile(us(m_fileName));
    nuevos();
    {
        BusyGrid busy(m_gridEventsEnabled);
        const std::string rate = loaded.rate.value_or(us(m_interes->text()));
        m_sheet = std::move(loaded.sheet);
        m_sheet.setRate(rate);
        setRateText(qs(rate));
        refreshGrid();
        m_celdas->setCurrentCell(0, 0);
    }
    clearAnswer();
    runCellReaction();
    m_celdas->setFocus();
}

bool Talvora::guardar()
{
    const CellPos remembered = currentCell();
    if (auto fault = validateWorksheet(m_sheet)) {
        showValidationFault(*fault);
        return false;
    }
    {
        BusyGrid busy(m_gridEventsEnabled);
        saveWorksheetFile(us(m_fileName), m_sheet);
    }
    makeCurrent(remembered);
    m_celdas->setFocus();
    return true;
}

void Talvora::showValidationFault(const ValidationFault& fault)
{
    m_gridEventsEnabled = false;
    m_ctx.messages.show(
        this, { qs(fault.message), QStringLiteral("ERROR"), MsgIcon::Exclamation, MsgButtons::Ok });
    m_gridEventsEnabled = true;
    makeCurrent({ fault.row, fault.column });
    const CellPos pos = currentCell();
    m_celdas->scrollTo(
        m_celdas->model()->index(pos.row - 1, pos.column - 1), QAbstractItemView::PositionAtTop);
    m_celdas->setFocus();
}

void Talvora::openFile()
{
    const QString name = m_ctx.fileDialogs.openOrNewFileName(
        this, QStringLiteral("Abrir"), kFileFilter, m_dialogName);
    if (!name.isEmpty())
        openFileNamed(name);
}

void Talvora::openFileNamed(const QString& name)
{
    // A mistyped name must not empty the worksheet: a missing file is created only when asked.
    if (!QFileInfo::exists(name)
        && m_ctx.messages.show(this,
               { QStringLiteral("El archivo [") + name
                       + QStringLiteral("] no existe. ¿Desea crearlo?"),
                   QStringLiteral("Abrir"), MsgIcon::Question, MsgButtons::YesNo })
            != MsgAnswer::Yes)
        return;
    const QString previous = m_fileName;
    try {
        touchFile(us(name));
        m_fileName = name;
        cargar();
    } catch (const FileError& error) {
        m_fileName = previous;
        showFileError(error);
        return;
    }
    afterFileCommand(name);
}

void Talvora::openGivenFile(const QString& name)
{
    switch (givenFileKind(us(name))) {
    case GivenFileKind::Worksheet:
        openFileNamed(name);
        break;
    case GivenFileKind::Loan:
        runLoanWindow([&name](UPAC& window) { window.loadFile(name); });
        break;
    case GivenFileKind::VariationTable:
        runLoanWindow([&name](UPAC& window) { window.openVariationFile(name); });
        break;
    }
}

void Talvora::saveFile()
{
    if (m_fileName.isEmpty())
        return;
    try {
        if (!guardar())
            return;
    } catch (const FileError& error) {
        showFileError(error);
        return;
    }
    afterFileCommand(m_fileName);
}

void Talvora::saveFileAs()
{
    const QString name = m_ctx.fileDialogs.saveFileName(
        this, QStringLiteral("Guardar como..."), kFileFilter, m_dialogName, QStringLiteral("ORV"));
    if (name.isEmpty())
        return;
    // The name becomes the worksheet's only once something was written under it.
    const QString previous = m_fileName;
    m_fileName = name;
    bool saved = false;
    try {
        saved = guardar();
    } catch (const FileError& error) {
        m_fileName = previous;
        showFileError(error);
        return;
    }
    if (!saved) {
        m_fileName = previous;
        return;
    }
    afterFileCommand(name);
}

void Talvora::afterFileCommand(const QString& name)
{
    m_fileName = qs(worksheetFileName(us(name)));
    if (m_fileName.isEmpty()) {
        m_guardar->setEnabled(false);
        return;
    }
    setWindowTitle(QStringLiteral("TALVORA [") + m_fileName + QStringLiteral("]"));
    m_dialogName = m_fileName;
    m_guardar->setEnabled(true);
    m_guardar->setText(QStringLiteral("Guardar [") + m_fileName + QStringLiteral("]"));
}

void Talvora::showFileError(const FileError& error)
{
    m_ctx.messages.show(this,
        { QStringLiteral("Ocurrió el error [") + QString::number(error.number())
                + QStringLiteral(":") + qs(error.what()) + QStringLiteral("] en el sistema..."),
            QStringLiteral("DATOS NUEVOS"), MsgIcon::None, MsgButtons::OkCancel });
}

} // namespace orvex
