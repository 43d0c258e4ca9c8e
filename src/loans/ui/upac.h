#pragma once

#include "loans/loan.h"
#include "loans/ui/loan_ui.h"

#include <QDialog>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvex {

struct AppContext;
class TablaCorreccion;

// "SISTEMA DE FINANCIACION EN UVR": the data of a housing loan in UVR, its
// payment system and currency; "Cálculos" works out the flows and opens the
// schedule. Opening the window makes the converter serve it (LoanWindowActive).
//
// Controls: control arrays are named with their index after the name —
// Valores1..Valores5, LValor1..LValor3, ConvertirTasa1, ConvertirTasa2, Opcion1
// "En UVR", Opcion2 "En Pesos", SistemaPago1..SistemaPago3, Cargar0 "Grabar",
// Cargar1 "Cargar" — plus Command2, Calculos and Salir.
class UPAC : public QDialog {
    Q_OBJECT
public:
    explicit UPAC(AppContext& ctx, QWidget* parent = nullptr);

    // Valores index 1..5.
    QLineEdit* valores(int index) const
    {
        return m_valores.at(static_cast<std::size_t>(index - 1));
    }

    LoanInput loanInput() const;
    void setLoanInput(const LoanInput& loan);

    // The events of the buttons.
    void convertRate(int field);
    void defineVariations();
    void calculos();
    void load();
    void save();
    // "Cargar" on a name already chosen; false after the error message.
    bool loadFile(const QString& name);
    // A ".cor" file opened on its own: the term becomes the months the file holds and
    // the variation table comes up with it loaded once this window shows.
    void openVariationFile(const QString& name);

    // The variation table once Command2 has opened it (null before).
    TablaCorreccion* variationTable() const { return m_tabla; }

    ModalRunner runModal = execModal;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* createInitialData();
    QGroupBox* createRates();
    QGroupBox* createSettlement();
    QGroupBox* createPaymentSystem();
    QWidget* createFileButtons();
    QPushButton* button(const QString& name, const QString& caption);
    void showFileError(const QString& text);
    // The variation table sized to the term, null after the error message.
    TablaCorreccion* variationTableForTerm();

    AppContext& m_ctx;
    std::array<QLineEdit*, 5> m_valores {};
    std::array<QLabel*, 3> m_lvalor {};
    std::array<QPushButton*, 2> m_convertirTasa {};
    QPushButton* m_command2 = nullptr;
    QPushButton* m_calculos = nullptr;
    std::array<QRadioButton*, 2> m_opcion {};
    std::array<QRadioButton*, 3> m_sistemaPago {};
    std::array<QPushButton*, 2> m_cargar {};
    QPushButton* m_salir = nullptr;
    TablaCorreccion* m_tabla = nullptr;
};

} // namespace orvex
