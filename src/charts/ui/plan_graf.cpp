#include "charts/ui/plan_graf.h"

#include "charts/ui/chart_image.h"
#include "charts/ui/chart_view.h"
#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/widgets.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace orvex {

namespace {
constexpr int kWidthTwips = 7305;
constexpr int kHeightTwips = 4080;
}

std::vector<ScheduleGridRow> scheduleRowsFromGrid(const QTableWidget& grid)
{
    std::vector<ScheduleGridRow> rows(static_cast<std::size_t>(grid.rowCount()) + 1);
    const int columns = std::min(grid.columnCount(), 5);
    for (int c = 0; c < columns; ++c) {
        const auto column = static_cast<std::size_t>(c);
        rows[0][column] = us(grid.model()->headerData(c, Qt::Horizontal).toString());
        for (int r = 0; r < grid.rowCount(); ++r)
            if (const QTableWidgetItem* item = grid.item(r, c))
                rows[static_cast<std::size_t>(r) + 1][column] = us(item->text());
    }
    return rows;
}

PlanGraf::PlanGraf(AppContext& ctx, std::vector<ScheduleGridRow> gridRows, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_rows(std::move(gridRows))
{
    setObjectName(QStringLiteral("PlanGraf"));
    setWindowTitle(QStringLiteral("PLAN DE PAGOS"));
    createSurface();
    createMenus();
    m_view->setMinimumSize(twipsToPixels(kWidthTwips, this), twipsToPixels(kHeightTwips, this));
    adjustSize();
    m_view->setMinimumSize(40, 30);
}

void PlanGraf::createSurface()
{
    m_view = new ChartView(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    connect(m_view, &ChartView::doubleClicked, this, &QDialog::close);
}

void PlanGraf::createMenus()
{
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    addSaveImageAction(
        this, bar, m_ctx, QStringLiteral("plan_de_pagos.png"),
        [this] { return m_view->displayList(); }, [this] { return m_view->size(); });
    m_verGraficas = bar->addMenu(QStringLiteral("Ver Gráficas"));
    m_verGraficas->setObjectName(QStringLiteral("VerGraficas"));
    const char* captions[]
        = { "", "Pago Intereses", "Pago Cuota", "Pago Capital", "Saldo", "", "Todas las Curvas" };
    for (int i = 1; i <= PlanCurveMenu::kAllCurves; ++i) {
        QAction* item = i == 5 ? m_verGraficas->addSeparator()
                               : m_verGraficas->addAction(QString::fromUtf8(captions[i]));
        item->setObjectName(QStringLiteral("Menu0%1").arg(i));
        if (i == 5)
            continue;
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, i] { clickMenuItem(i); });
        m_items[static_cast<std::size_t>(i)] = item;
    }
}

void PlanGraf::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        clickMenuItem(PlanCurveMenu::kAllCurves);
}

void PlanGraf::clickMenuItem(int index)
{
    m_menu.click(index);
    for (int i = 1; i <= PlanCurveMenu::kAllCurves; ++i)
        if (QAction* item = m_items[static_cast<std::size_t>(i)])
            item->setChecked(m_menu.checked(i));
    draw();
}

void PlanGraf::draw()
{
    // Failing steps are left out by the core; the chart never shows a message.
    m_view->setDisplayList(
        paymentPlan(m_rows, m_ctx.state.FirstPeriod, m_ctx.state.LastPeriod, m_menu.checks()));
}

} // namespace orvex
