#pragma once

#include "charts/payment_plan.h"

#include <QDialog>

#include <array>
#include <vector>

class QAction;
class QMenu;
class QTableWidget;

namespace orvex {

struct AppContext;
class ChartView;

// The texts of a schedule grid as displayed: its horizontal header becomes row 0,
// grid row r becomes row r + 1 (columns 0–4).
std::vector<ScheduleGridRow> scheduleRowsFromGrid(const QTableWidget& grid);

// "PLAN DE PAGOS": the payment-plan chart of the schedule rows the opener hands
// over, over FirstPeriod..LastPeriod of ctx.state. The menu "Ver Gráficas" chooses
// the curves; showing the window acts as a click on "Todas las Curvas", so a new
// window shows all four. A double-click closes it. "Guardar imagen..." (menu
// "Archivo", context menu, Ctrl+S) writes the picture as PNG, SVG or PDF.
// objectNames: the window "PlanGraf", the menu "VerGraficas", its items as the
// control array Menu0 with the index appended ("Menu01" … "Menu04", the separator
// "Menu05", "Menu06" "Todas las Curvas"), the drawing surface "Grafica", the menu
// "MenuArchivo" with the save action "GuardarImagen".
class PlanGraf : public QDialog {
    Q_OBJECT
public:
    PlanGraf(AppContext& ctx, std::vector<ScheduleGridRow> gridRows, QWidget* parent = nullptr);

    ChartView* view() const { return m_view; }
    const PlanCurveMenu& curveMenu() const { return m_menu; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createMenus();
    void createSurface();
    void clickMenuItem(int index);
    void draw();

    AppContext& m_ctx;
    std::vector<ScheduleGridRow> m_rows;
    PlanCurveMenu m_menu;
    std::array<QAction*, 7> m_items {};
    QMenu* m_verGraficas = nullptr;
    ChartView* m_view = nullptr;
};

} // namespace orvex
