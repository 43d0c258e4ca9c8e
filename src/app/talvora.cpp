#include "app/talvora.h"

#include "app/respuestas.h"
#include "charts/ui/grafica_flujo.h"
#include "common/shared_state.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"
#include "extras/ui/frm_about.h"
#include "extras/ui/web_viewer.h"
#include "loans/ui/liquidacion.h"
#include "loans/ui/upac.h"
#include "rates/ui/tasa_interes.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace orvex {

Talvora::Talvora(AppContext& context, QWidget* parent)
    : QMainWindow(parent)
    , m_ctx(context)
{
    setObjectName(QStringLiteral("Talvora"));
    setWindowTitle(QStringLiteral("TALVORA"));

    createActions();
    createMenus();
    createToolBar();
    createGrid();
    createEditors();
    createRateRow();
    createResultFrame();
    fitWindowWidth();
    connectSignals();

    m_gridEventsEnabled = true;
    activateAfterChild();
}

Talvora::~Talvora() = default;

void Talvora::activateAfterChild()
{
    makeCurrent({ 1, kColTipo });
    m_ctx.state.LoanWindowActive = false;
}

int Talvora::execChild(QDialog& child)
{
    const int result = runModal(child);
    activateAfterChild();
    return result;
}

void Talvora::calculos()
{
    m_gridEventsEnabled = false;
    CalcOutcome outcome;
    try {
        outcome = orvex::calculos(m_sheet, m_ctx.state);
    } catch (const std::exception& e) { // out of memory: the calculation's message all the same
        outcome.failed = true;
    }
    if (outcome.comentario)
        m_labelComentario->setText(qs(*outcome.comentario));
    if (outcome.respuesta)
        m_labelRespuesta->setText(qs(*outcome.respuesta));
    if (outcome.newRate)
        setRateText(qs(*outcome.newRate));
    if (outcome.evaluation) {
        hideResultFrame();
        showEvaluation(*outcome.evaluation);
    }
    m_gridEventsEnabled = true;
    // The return from the evaluation window made (1, 1) current while the grid
    // was not reacting; show its input control now.
    if (outcome.evaluation)
        runCellReaction();
    if (outcome.failed) {
        clearAnswer();
        m_ctx.messages.calcError(this);
        return;
    }
    // After an evaluation the frame shows the earlier answer only while it still holds.
    if (!m_labelRespuesta->text().isEmpty())
        showResultFrame();
}

int Talvora::runModal(QDialog& child) { return child.exec(); }

void Talvora::showEvaluation(const CalcOutcome::Evaluation& evaluation)
{
    Respuestas window(evaluation, this);
    execChild(window);
}

void Talvora::showResultFrame()
{
    if (!m_respuesta->isHidden())
        return;
    m_respuesta->show();
    setFixedHeight(height() + m_respuesta->height());
}

void Talvora::hideResultFrame()
{
    if (m_respuesta->isHidden())
        return;
    m_respuesta->hide();
    setFixedHeight(height() - m_respuesta->height());
}

void Talvora::closeResultFrame() { hideResultFrame(); }

void Talvora::clearAnswer()
{
    m_labelComentario->clear();
    m_labelRespuesta->clear();
    hideResultFrame();
}

void Talvora::setRateText(const QString& text)
{
    m_programSetsRate = true;
    m_interes->setText(text);
    m_programSetsRate = false;
}

void Talvora::rateTextChanged(const QString& text)
{
    m_sheet.setRate(us(text));
    fitRateField();
    if (!m_programSetsRate)
        clearAnswer();
}

void Talvora::toolbarButtonClicked(const QString& key)
{
    if (key == QLatin1String("Nuevo"))
        newWorksheet();
    else if (key == QLatin1String("Abrir"))
        openFile();
    else if (key == QLatin1String("Grabar"))
        saveFileAs();
    else if (key == QLatin1String("Calculos"))
        calculos();
    else if (key == QLatin1String("Diagrama"))
        openFlowDiagram();
    else if (key == QLatin1String("Liquidacion"))
        openSchedule();
    else if (key == QLatin1String("Internet"))
        openWebViewer();
}

void Talvora::quitProgram()
{
    // Nothing is asked and nothing is saved.
    QApplication::closeAllWindows();
    QApplication::quit();
}

// The windows below belong to other parts of the program; each is shown with
// execChild() (modal) so that returning here serves the worksheet again, except
// the web viewer, which is modeless.
void Talvora::openRateConverter()
{
    TasaInteres window(m_ctx, RateTargets { m_interes }, this);
    execChild(window);
}

void Talvora::openFlowDiagram()
{
    GraficaFlujo window(m_ctx, this);
    execChild(window);
}

void Talvora::openSchedule()
{
    Liquidacion window(m_ctx, ScheduleSource::worksheet(us(m_interes->text())), this);
    window.runModal = [this](QDialog& child) { return runModal(child); };
    execChild(window);
}

void Talvora::openLoanWindow() { runLoanWindow({}); }

void Talvora::runLoanWindow(const std::function<void(UPAC&)>& prepare)
{
    UPAC window(m_ctx, this);
    window.runModal = [this](QDialog& child) { return runModal(child); };
    if (prepare)
        prepare(window);
    execChild(window);
}

void Talvora::openWebViewer()
{
    if (!m_internet) {
        QString error;
        m_internet = createWebViewer(this, &error);
        if (!m_internet) {
            m_ctx.messages.show(this,
                { QStringLiteral("No se pudo abrir el navegador: ") + error,
                    QStringLiteral("Internet"), MsgIcon::Exclamation, MsgButtons::Ok });
            return;
        }
        m_internet->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_internet->show();
    m_internet->raise();
    m_internet->activateWindow();
}

void Talvora::openAbout()
{
    frmAbout window(m_ctx, this);
    execChild(window);
}

} // namespace orvex
