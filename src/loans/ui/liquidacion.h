#pragma once

#include "loans/schedule.h"
#include "loans/ui/loan_ui.h"
#include "loans/ui/schedule_printer.h"

#include <QDialog>

class QAction;
class QMenu;
class QMenuBar;
class QPushButton;
class QTableWidget;

namespace orvex {

struct AppContext;

// "LIQUIDACION DE PRESTAMOS": the amortization schedule of the last loan or
// worksheet calculation, rebuilt each time the window is shown and each time a
// window it opened closes. A failed rebuild shows the calculation message and
// closes the window.
//
// Controls: Celdas (grid), GraficarPlan "Graficar", Cerrar "C&errar", menu Menu0
// "Utilidad" with the actions Menu10 "Archivo Excel" and Menu11 "Imprimir..." (control
// arrays carry their index after the name). Celdas shows the schedule's header row as its
// horizontal header: schedule row r, column c is the grid's row r - 1, column c.
class Liquidacion : public QDialog {
    Q_OBJECT
public:
    Liquidacion(AppContext& ctx, ScheduleSource source, QWidget* parent = nullptr);

    QTableWidget* grid() const { return m_celdas; }
    // The schedule as last built (row 0 = headers), the same texts as the grid.
    const ScheduleTable& table() const { return m_table; }

    // Rebuilds the table from the shared state; false after a failure, when the
    // message was shown and the window is closing.
    bool rebuild();

    // "Graficar": the payment-plan chart of the grid, then the table is rebuilt.
    void openPlanChart();
    // "Archivo Excel": the table on the clipboard as tab-separated text.
    void copyToClipboard();

    ModalRunner runModal = execModal;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createMenus();
    void createGrid();
    void createButtons();
    void fillGrid();

    AppContext& m_ctx;
    ScheduleSource m_source;
    ScheduleTable m_table;
    QMenuBar* m_menuBar = nullptr;
    QAction* m_archivoExcel = nullptr;
    QAction* m_imprimir = nullptr;
    SchedulePrinter m_schedulePrinter { m_ctx, this };
    QTableWidget* m_celdas = nullptr;
    QPushButton* m_graficar = nullptr;
    QPushButton* m_cerrar = nullptr;
};

} // namespace orvex
