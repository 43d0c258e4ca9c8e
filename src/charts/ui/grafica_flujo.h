#pragma once

#include <QDialog>

namespace orvex {

struct AppContext;
class ChartView;

// "Grafica Diagrama de Flujo": the cash-flow diagram of the last calculation, on a
// fixed-size white window. It draws when shown; a failure shows the calculation
// message and closes the window. A double-click closes it. "Guardar imagen..."
// (menu "Archivo", context menu, Ctrl+S) writes the picture as PNG, SVG or PDF.
// objectNames: the window "GraficaFlujo", its drawing surface "Grafica", the menu
// "MenuArchivo" with the save action "GuardarImagen".
class GraficaFlujo : public QDialog {
    Q_OBJECT
public:
    explicit GraficaFlujo(AppContext& ctx, QWidget* parent = nullptr);

    // The picture as drawn, for the save action and tests.
    ChartView* view() const { return m_view; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createSurface();
    void createActions();
    void draw();
    void failAndClose();

    AppContext& m_ctx;
    ChartView* m_view = nullptr;
};

} // namespace orvex
