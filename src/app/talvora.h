#pragma once

#include "common/ui/app_context.h"
#include "worksheet/calculation.h"
#include "worksheet/cell_editing.h"
#include "worksheet/worksheet.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <functional>

class QAction;
class QComboBox;
class QDialog;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;
class QToolBar;

namespace orvex {

class FileError;
class UPAC;
struct ValidationFault;

// The main window: the cash-flow worksheet, its calculation and file commands, and
// the hub that opens the other windows.
//
// Controls carry the program's names as objectName: Celdas, Edicion, Tipo, Label1,
// Interes, ConvertirTasaInteres, Respuesta (LabelComentario, LabelRespuesta, Cerrar),
// Barra1 with one button per key (Nuevo, Abrir, Grabar, Calculos, Diagrama,
// Liquidacion, Internet). The menus are MenuArchivo, MenuCalculos, MenuPrestamos and
// MenuSalir; their actions MenuAbrir, MenuGuardar, MenuGuardarComo,
// MenuCalculosFinancieros, MenuDiagramaFlujo, MenuPlanPagos, MenuConsultarWeb,
// MenuSistemasAmortizacion, MenuSalirPrograma, MenuAcercaDe.
//
// Celdas shows the worksheet's fixed header row and numbering column as its header
// views, so the worksheet's row r, column c (1-based) is the table's row r - 1,
// column c - 1; the window keeps a Worksheet mirror of the cells and the rate.
class Talvora : public QMainWindow {
    Q_OBJECT

public:
    explicit Talvora(AppContext& context, QWidget* parent = nullptr);
    ~Talvora() override;

    AppContext& context() { return m_ctx; }
    // The rate field: the rate converter writes into it, the schedule reads it.
    QLineEdit* interes() const { return m_interes; }
    const Worksheet& worksheet() const { return m_sheet; }
    QString currentFileName() const { return m_fileName; }
    CellPos currentCell() const;
    bool gridEventsEnabled() const { return m_gridEventsEnabled; }

    // The program's operations on the worksheet.
    void calculos();
    void nuevos();
    // Reads the current file into the grid; throws FileError.
    void cargar();
    // Validates and writes the current file; false after a validation fault.
    // Throws FileError when the file cannot be written (the old file stays whole).
    bool guardar();

    // "Abrir" on a name already chosen.
    void openFileNamed(const QString& name);
    // `orvex ARCHIVO`: a worksheet opens as "Abrir" would, a loan or a variation
    // table in the loan window, loaded as its "Cargar" would.
    void openGivenFile(const QString& name);

    // What the window does when it becomes active again after one of the program's
    // windows that it opened modally: cell (1, 1) current, the worksheet served.
    void activateAfterChild();

protected:
    // Runs a modal child window; tests override it to stay out of a modal loop.
    virtual int runModal(QDialog& child);
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void toolbarButtonClicked(const QString& key);
    void openFile();
    void saveFile();
    void saveFileAs();
    void newWorksheet();
    void quitProgram();
    void closeResultFrame();

    void openRateConverter();
    void openFlowDiagram();
    void openSchedule();
    void openLoanWindow();
    void openWebViewer();
    void openAbout();

private:
    // Construction (talvora_layout.cpp).
    void createActions();
    void createMenus();
    void createToolBar();
    void createGrid();
    void createEditors();
    void createRateRow();
    void createResultFrame();
    void connectSignals();

    // Shows one of the program's windows modally, then serves the worksheet again.
    int execChild(QDialog& child);
    // The loan window, made ready by prepare before it shows.
    void runLoanWindow(const std::function<void(UPAC&)>& prepare);
    void showEvaluation(const CalcOutcome::Evaluation& evaluation);

    // Results frame and window height go together.
    void showResultFrame();
    void hideResultFrame();
    // The answer no longer matches the inputs (or could not be found): empty and hidden.
    void clearAnswer();
    // The program's own writes into Interes, which do not change the worksheet's meaning.
    void setRateText(const QString& text);
    void rateTextChanged(const QString& text);
    // Interes as wide as its text, at least the designed width; the button moves along.
    void fitRateField();
    // Window width: the design's, plus what the grid's columns needed beyond theirs.
    void fitWindowWidth();

    // Grid and input controls (talvora_editing.cpp).
    void setCell(int row, int column, const QString& text);
    void refreshRow(int row);
    void refreshGrid();
    void makeCurrent(CellPos pos);
    void runCellReaction();
    void currentCellChanged();
    void moveOnFromCurrent();
    bool gridKeyPressed(QKeyEvent* event);
    void startTyping(const QString& character);
    void clearCurrentRow();
    void confirmPaste();
    void editTextChanged(const QString& text);
    void kindChosen(int index);
    void kindListKeyEnter();
    void rateFocusIn();
    void rateFocusOut();

    // Files (talvora_files.cpp).
    void afterFileCommand(const QString& name);
    void showFileError(const FileError& error);
    void showValidationFault(const ValidationFault& fault);

    AppContext& m_ctx;
    Worksheet m_sheet;
    QString m_fileName;
    QString m_dialogName;
    bool m_gridEventsEnabled = false;
    bool m_updatingEditors = false;
    bool m_programSetsRate = false;
    int m_extraWidth = 0; // pixels the grid's columns needed beyond the design
    QPointer<QWidget> m_internet; // modeless: one at a time

    QWidget* m_client = nullptr;
    QToolBar* m_barra1 = nullptr;
    QTableWidget* m_celdas = nullptr;
    QLineEdit* m_edicion = nullptr;
    QComboBox* m_tipo = nullptr;
    QLabel* m_label1 = nullptr;
    QLineEdit* m_interes = nullptr;
    QPushButton* m_convertirTasa = nullptr;
    QGroupBox* m_respuesta = nullptr;
    QLabel* m_labelComentario = nullptr;
    QLabel* m_labelRespuesta = nullptr;
    QPushButton* m_cerrar = nullptr;

    QAction* m_abrir = nullptr;
    QAction* m_guardar = nullptr;
    QAction* m_guardarComo = nullptr;
    QAction* m_calculosFinancieros = nullptr;
    QAction* m_diagramaFlujo = nullptr;
    QAction* m_planPagos = nullptr;
    QAction* m_consultarWeb = nullptr;
    QAction* m_sistemasAmortizacion = nullptr;
    QAction* m_salir = nullptr;
    QAction* m_acercaDe = nullptr;
};

} // namespace orvex
