#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace orvex {

struct AppContext;

// "Tabla de Corrección Monetaria Detallada": one UVR variation rate (percent a
// month) per month 0..N of the loan. "Salir" hands the rates over in
// UvrVariations and hides the window, which keeps its typed rates.
//
// Controls: Celdas (grid), Edicion (the current cell's text), TimerCelda, and the
// control arrays named with their index: Grabar0 "Grabar", Grabar1 "Cargar";
// Salir. Celdas shows the header row ("Período", "Corrección") as its horizontal
// header, so the table's row r (1 = month 0) is the grid's row r - 1.
class TablaCorreccion : public QDialog {
    Q_OBJECT
public:
    TablaCorreccion(AppContext& ctx, int months, QWidget* parent = nullptr);

    // Months 0..months; rates typed for months that remain are kept.
    void setMonths(int months);
    int months() const { return m_months; }

    QTableWidget* grid() const { return m_celdas; }
    // The current row counted as the table counts it: 1 is month 0.
    int currentRow() const;
    // Makes row (1 = month 0), column 1 current and shows it.
    void moveTo(int row);
    // The typed rate of every month, trimmed.
    QStringList rateTexts() const;

    // "Cargar", "Grabar", "Salir".
    void load();
    void save();
    void handOver();
    // "Cargar" on a name already chosen; false after the error message.
    bool loadFile(const QString& name);

    // Scrolls so that the current row is within the eight rows shown from the top.
    void keepCurrentRowVisible();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createGrid();
    void createEditor();
    void createButtons();
    void currentCellChanged(int row, int column);
    bool editorKey(int key);
    void showFileError(const QString& text);

    AppContext& m_ctx;
    int m_months = 0;
    bool m_ready = false;
    QTableWidget* m_celdas = nullptr;
    QLineEdit* m_edicion = nullptr;
    QTimer* m_timer = nullptr;
    QPushButton* m_grabar = nullptr;
    QPushButton* m_cargar = nullptr;
    QPushButton* m_salir = nullptr;
};

} // namespace orvex
