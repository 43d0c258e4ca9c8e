#include "charts/ui/grafica_flujo.h"

#include "charts/flow_diagram.h"
#include "charts/ui/chart_image.h"
#include "charts/ui/chart_view.h"
#include "common/calc_error.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"

#include <QMenuBar>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace orvex {

namespace {
constexpr int kWidthTwips = 9180;
constexpr int kHeightTwips = 5220;
}

GraficaFlujo::GraficaFlujo(AppContext& ctx, QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("GraficaFlujo"));
    setWindowTitle(QStringLiteral("Grafica Diagrama de Flujo"));
    createSurface();
    createActions();
    setFixedSize(twipsToPixels(kWidthTwips, this),
        twipsToPixels(kHeightTwips, this) + layout()->menuBar()->sizeHint().height());
}

void GraficaFlujo::createSurface()
{
    m_view = new ChartView(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    connect(m_view, &ChartView::doubleClicked, this, &QDialog::close);
}

// The menu bar comes on top of the designed drawing area, which keeps its size.
void GraficaFlujo::createActions()
{
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    addSaveImageAction(
        this, bar, m_ctx, QStringLiteral("diagrama.png"), [this] { return m_view->displayList(); },
        [this] { return m_view->size(); });
}

void GraficaFlujo::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        draw();
}

void GraficaFlujo::draw()
{
    try {
        m_view->setDisplayList(flowDiagram(m_ctx.state));
    } catch (const std::exception&) {
        m_view->setDisplayList({});
        // Out of the show so that a modal exec() has started and can end.
        QTimer::singleShot(0, this, &GraficaFlujo::failAndClose);
    }
}

void GraficaFlujo::failAndClose()
{
    m_ctx.messages.calcError(this);
    close();
}

} // namespace orvex
