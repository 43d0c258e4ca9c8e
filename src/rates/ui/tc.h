#pragma once

#include <QDialog>
#include <QPointer>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace orvex {

struct AppContext;

// "Tasa Combinada": compounds two rates of one period into one. Boton1 "&Aceptar"
// puts the displayed result (also an empty one) into knownRate, the converter's
// TasaConocida, and closes; Boton2 "&Salir" closes without passing anything.
// Object names: Componente1, Componente2, TasaCombinada (caption), TCombinada
// (result); control arrays as name + index: Boton0 … Boton2.
class Tc : public QDialog {
    Q_OBJECT
public:
    Tc(AppContext& ctx, QLineEdit* knownRate, QWidget* parent = nullptr);

private:
    void createFields();
    void createButtons();
    void calculate();
    void accept() override;

    AppContext& m_ctx;
    QPointer<QLineEdit> m_knownRate;
    QLineEdit* m_first = nullptr;
    QLineEdit* m_second = nullptr;
    QLabel* m_result = nullptr;
    std::array<QPushButton*, 3> m_boton {};
};

// Opens Tc application-modal over parent and returns at once; it deletes itself
// when closed.
Tc* openCombinedRateWindow(QWidget* parent, AppContext& ctx, QLineEdit* knownRate);

} // namespace orvex
