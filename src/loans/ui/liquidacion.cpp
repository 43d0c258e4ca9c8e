#include "loans/ui/liquidacion.h"

#include "charts/ui/plan_graf.h"
#include "common/calc_error.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvex {

Liquidacion::Liquidacion(AppContext& ctx, ScheduleSource source, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_source(std::move(source))
{
    setObjectName(QStringLiteral("Liquidacion"));
    setWindowTitle(QString::fromUtf8(kScheduleCaption));
    auto* layout = new QVBoxLayout(this);
    createMenus();
    layout->setMenuBar(m_menuBar);
    createGrid();
    layout->addWidget(m_celdas);
    createButtons();
    resize(sizeHint().width(), twipsToPixels(5200, this));
}

void Liquidacion::createMenus()
{
    m_menuBar = new QMenuBar(this);
    QMenu* utilidad = m_menuBar->addMenu(QStringLiteral("Utilidad"));
    utilidad->setObjectName(QStringLiteral("Menu0"));
    m_archivoExcel = utilidad->addAction(QStringLiteral("Archivo Excel"));
    m_archivoExcel->setObjectName(QStringLiteral("Menu10"));
    connect(m_archivoExcel, &QAction::triggered, this, &Liquidacion::copyToClipboard);
    m_imprimir = utilidad->addAction(QStringLiteral("Imprimir..."));
    m_imprimir->setObjectName(QStringLiteral("Menu11"));
    // Like every window it opens, the printer's window rebuilds the table when it closes.
    connect(m_imprimir, &QAction::triggered, this, [this] {
        m_schedulePrinter.print(m_table, runModal);
        rebuild();
    });
}

void Liquidacion::createGrid()
{
    m_celdas = new QTableWidget(this);
    m_celdas->setObjectName(QStringLiteral("Celdas"));
    QStringList headers;
    for (const char* header : kScheduleHeaders)
        headers << QString::fromUtf8(header);
    QList<int> characters;
    for (int count : kScheduleColumnCharacters)
        characters << count;
    setUpLoanGrid(m_celdas, headers, characters);
    // The grid follows its window; the last column takes what is left over.
    m_celdas->setMaximumWidth(QWIDGETSIZE_MAX);
    m_celdas->horizontalHeader()->setStretchLastSection(true);
    m_celdas->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void Liquidacion::createButtons()
{
    m_graficar = new QPushButton(QStringLiteral("Graficar"), this);
    m_graficar->setObjectName(QStringLiteral("GraficarPlan"));
    m_cerrar = new QPushButton(QStringLiteral("C&errar"), this);
    m_cerrar->setObjectName(QStringLiteral("Cerrar"));
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : { m_graficar, m_cerrar }) {
        button->setAutoDefault(false);
        row->addWidget(button);
    }
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    connect(m_graficar, &QPushButton::clicked, this, &Liquidacion::openPlanChart);
    connect(m_cerrar, &QPushButton::clicked, this, &QDialog::reject);
}

void Liquidacion::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    centerForm(this);
    rebuild();
}

bool Liquidacion::rebuild()
{
    try {
        m_table = buildSchedule(m_source, m_ctx.state);
    } catch (const std::exception&) {
        m_table = {};
        m_celdas->setRowCount(0);
        m_ctx.messages.calcError(this);
        // Queued: closing from inside the showing would leave a modal loop running.
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return false;
    }
    fillGrid();
    return true;
}

void Liquidacion::fillGrid()
{
    setWindowTitle(qs(m_table.caption));
    const int rows = static_cast<int>(m_table.rows.size()) - 1;
    m_celdas->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const auto& row = m_table.rows[static_cast<std::size_t>(r) + 1];
        m_celdas->setItem(r, 0, fixedCell(qs(row[0])));
        for (int c = 1; c < 5; ++c)
            m_celdas->setItem(r, c, numberCell(qs(row[static_cast<std::size_t>(c)])));
    }
    QList<int> characters;
    for (int count : kScheduleColumnCharacters)
        characters << count;
    fitLoanGridColumns(m_celdas, characters); // a balance of billions shows whole
    if (rows > 0)
        m_celdas->setCurrentCell(0, 1);
}

void Liquidacion::openPlanChart()
{
    PlanGraf chart(m_ctx, scheduleRowsFromGrid(*m_celdas), this);
    runModal(chart);
    rebuild();
}

void Liquidacion::copyToClipboard()
{
    QApplication::clipboard()->setText(qs(scheduleClipboardText(m_table)));
}

} // namespace orvex
