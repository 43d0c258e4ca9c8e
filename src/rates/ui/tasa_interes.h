#pragma once

#include <QDialog>
#include <QPointer>
#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvex {

struct AppContext;
struct RateTerms;

// The fields the converter may write its result into, handed over by its opener;
// a null pointer is a destination that does not exist for this opening.
//   The main window passes { interes }; the UVR loan window passes
//   { nullptr, valores4, valores5 } and sets LoanWindowActive and LoanRateField
//   (1: real rate, 2: UVR variation) before opening.
struct RateTargets {
    QLineEdit* worksheetRate = nullptr; // main window: Interes
    QLineEdit* loanRealRate = nullptr; // loan window: Valores4 "Tasa Real (%)"
    QLineEdit* loanVariation = nullptr; // loan window: Valores5 "Variacion UVR %"
};

// "Manejo de Tasas de Interes": converts a rate between kinds and periods.
// Boton0 "&Aceptar" / Boton1 "Ca&ncelar" copy the displayed result:
//   - LoanWindowActive: into loanRealRate (LoanRateField 1) or loanVariation (2),
//     on either button; any other LoanRateField copies nothing;
//   - otherwise into worksheetRate, on Aceptar only.
// Both then close the window. The state is read when the button is pressed.
// Object names: TasaConocida, TasaDesconocida, Conocida/Desconocida + Nominal,
// Efectiva, Vencida, Anticipada; AñoConocidoN … DiarioDesconocidoE (N reference,
// E capitalization); Calculos; control arrays as name + index: Boton0, Boton1;
// menu Menu0 "Utilidad" with the item Menu10 "Tasas Combinadas".
class TasaInteres : public QDialog {
    Q_OBJECT
public:
    TasaInteres(AppContext& ctx, RateTargets targets, QWidget* parent = nullptr);

    // The known-rate field, which the combined-rate window writes into.
    QLineEdit* knownRateField() const { return m_knownRate; }

private:
    // One rate's options: kind pairs and the reference/capitalization groups.
    struct Side {
        QRadioButton* nominal = nullptr;
        QRadioButton* efectiva = nullptr;
        QRadioButton* vencida = nullptr;
        QRadioButton* anticipada = nullptr;
        QButtonGroup* reference = nullptr;
        QButtonGroup* capitalization = nullptr;
        std::array<QRadioButton*, 6> referenceOptions {};
    };

    void createMenus();
    QGroupBox* createRatePanel(const QString& title, const QString& side, const QString& period,
        QWidget* rateControl, Side& options);
    QGroupBox* createPeriodGroup(
        const QString& title, const QString& period, QChar suffix, Side& options, bool reference);
    QWidget* createButtons();
    void setDefaults();
    void connectEvents();

    void updateReferenceEnabling();
    RateTerms terms(const Side& side) const;
    void calculate();
    void finish(int index);
    void openCombinedRate();

    AppContext& m_ctx;
    QPointer<QLineEdit> m_worksheetRate;
    QPointer<QLineEdit> m_loanRealRate;
    QPointer<QLineEdit> m_loanVariation;
    QLineEdit* m_knownRate = nullptr;
    QLabel* m_wantedRate = nullptr;
    Side m_known;
    Side m_wanted;
    QPushButton* m_calculate = nullptr;
    std::array<QPushButton*, 2> m_boton {};
};

// Two ways to open it, both starting from the defaults every time:
//   - an opener with a modal seam builds one per opening and runs it:
//       TasaInteres window(ctx, RateTargets { interes }, this); execChild(window);
//   - openRateConverter() below shows it application-modal and returns at once;
//     the window deletes itself when closed.
TasaInteres* openRateConverter(QWidget* parent, AppContext& ctx, RateTargets targets);

} // namespace orvex
