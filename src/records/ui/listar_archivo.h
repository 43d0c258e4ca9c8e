#pragma once

#include "records/browser_model.h"
#include "records/field_bytes.h"

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTableWidget;

namespace orvex {

class MessageService;

// The record browser: a table one page at a time, with moves, go-to, search, in-place
// editing written back on the next page move, tab-separated export and the selection of
// one record for the host. The model (BrowserModel) does the work; the window shows its
// cells and turns events into its calls.
//
// Controls: Malla (grid), Ps (scroll bar), Mover0..Mover5, Buscar0 "&Buscar (F3)...",
// Buscar1 "&Ir a (F2)...", Seleccion, Fin, Ir (frame: IrRegistro, Label5, BotonIr0,
// BotonIr1), Busqueda (frame: BuscarTexto, BusquedaCampo, BusquedaDireccion, BConfig0,
// BConfig1, BotonB0, BotonB1, BotonCancela, Porcentaje), EdicionTexto, EdicionOpciones
// (never offered: the set-up clears every drop-down flag), Label3, lbEstadoListar.
// Malla shows the table's header row and record-number column as its header views, so
// the table's cell (row r, column k) is Malla's (r - 1, k - 1).
//
// After a cancelled table wait the operation that asked for the table is abandoned
// quietly; a table error ends the operation with a message and leaves the window usable.
class ListarArchivo : public QDialog, private BrowserHost {
    Q_OBJECT
public:
    // Hand-off: at load reads "lst.cod" and its configuration files in the current
    // directory; at the end deletes them and writes the ".sel" file.
    explicit ListarArchivo(MessageService& messages, QWidget* parent = nullptr);
    // In memory: a host's configuration (taken as preloaded); the end only closes.
    ListarArchivo(MessageService& messages, TableConfig config, QWidget* parent = nullptr);
    ~ListarArchivo() override;

    // How it went, for the host once the window has ended.
    bool configurationMissing() const { return m_configMissing; } // "lst.cod" named absent files
    bool browsed() const { return m_browsed; } // false: nothing to browse or no set-up
    bool selectionFlag() const; // the configuration's selection flag
    const std::vector<std::string>& seleccionado() const; // Seleccionado(-1..n) at 0..n+1
    bool selectionFileFailed() const { return m_selFailed; }

    const BrowserModel& model() const { return m_model; }
    GridCell currentCell() const { return m_current; }

    // The public operations: the export (after its question), placing the in-cell
    // editor, and a move (0 up, 1 down, 2 first, 3 page up, 4 page down, 5 last, 6 column
    // left, 7 column right).
    void armarTxt();
    void ajustarCajaTexto();
    void mover(int index);

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // BrowserHost: the table waits and the save question.
    bool waitWindow(const std::string& path, const std::function<BusyTest()>& poll) override;
    void status(const std::string& text) override;
    void statusPause(double seconds) override;
    bool confirmSave() override;

    // listar_archivo_layout.cpp: the controls.
    void createGrid();
    void createButtons();
    void createGoToPanel();
    void createSearchPanel();
    void layOut();

    // listar_archivo.cpp: the window's life.
    ListarArchivo(MessageService& messages, std::optional<TableConfig> preloaded, QWidget* parent);
    void load(std::optional<TableConfig> preloaded);
    void firstActivation();
    bool inicializar();
    void terminar();
    void salir();
    void seleccionarYTerminar();
    void showTableError(const std::exception& error, bool setUp = false);

    // listar_archivo_grid.cpp: the page, the current cell and the editor.
    void setUpColumns(const std::vector<BrowserColumn>& columns);
    int visibleRowsForGrid() const;
    void setUpRows(int rows);
    void showPage();
    void setCurrent(GridCell cell);
    void currentCellLogic();
    void editorEdited(const QString& text);
    void scrollBarMoved(int value);
    void armarSeleccion();
    void paintCorner(QWidget* corner);
    // Runs an operation unless another one runs (its waits and the search process
    // events); a table or file error ends it with a message, then the page is read again
    // so that the grid shows what the file holds.
    bool guarded(const std::function<void()>& operation);

    // listar_archivo_keys.cpp: the keyboard, focus and mouse reactions of the controls.
    bool browsingKey(QObject* watched, QKeyEvent* key);
    bool editorKey(QKeyEvent* key);
    void selectAllLater(QLineEdit* box);

    // listar_archivo_panels.cpp: go-to, search, export and the search settings.
    void openGoTo();
    void closeGoTo();
    void irARegistro();
    void openSearch();
    void closeSearch();
    void updateSiguiente();
    void siguiente();
    void setSearching(bool searching);
    void loadSearchSettings();
    void saveSearchSettings();
    bool panelKey(QObject* watched, QKeyEvent* key);
    void setFourButtonsVisible(bool visible);

    MessageService& m_messages;
    BrowserModel m_model;
    TableConfig m_config; // as loaded; the model holds the set-up's copy
    std::unique_ptr<ScratchFile> m_scratch;
    std::string m_handOffName;
    std::string m_fieldsSource;
    bool m_handOff = false; // "lst.cod" existed at load
    bool m_configRead = false;
    bool m_configMissing = false;
    bool m_hasData = false;
    bool m_activated = false;
    bool m_setUp = false;
    bool m_reactions = false; // grid reactions enabled
    bool m_busy = false; // an operation runs (its waits and the search process events)
    bool m_searchCancel = false;
    bool m_waitCancelled = false;
    bool m_ended = false;
    bool m_browsed = false;
    bool m_selFailed = false;
    bool m_titleWithPath = false;
    GridCell m_current;
    QString m_saved; // the current cell's text when it became current (Esc)
    std::vector<std::string> m_noSelection;

    QTableWidget* m_malla = nullptr;
    QScrollBar* m_ps = nullptr;
    std::array<QPushButton*, 6> m_mover {};
    std::array<QPushButton*, 2> m_buscar {};
    QPushButton* m_seleccion = nullptr;
    QPushButton* m_fin = nullptr;
    QGroupBox* m_ir = nullptr;
    QLineEdit* m_irRegistro = nullptr;
    QLabel* m_label5 = nullptr;
    std::array<QPushButton*, 2> m_botonIr {};
    QGroupBox* m_busqueda = nullptr;
    QLineEdit* m_buscarTexto = nullptr;
    QComboBox* m_busquedaCampo = nullptr;
    QComboBox* m_busquedaDireccion = nullptr;
    std::array<QCheckBox*, 2> m_bconfig {};
    std::array<QPushButton*, 2> m_botonB {};
    QPushButton* m_botonCancela = nullptr;
    QLabel* m_porcentaje = nullptr;
    QLineEdit* m_edicionTexto = nullptr;
    QComboBox* m_edicionOpciones = nullptr;
    QLabel* m_label3 = nullptr;
    QLabel* m_lbEstado = nullptr;
    QString m_cornerText; // column 0's header cell, painted in Malla's corner
    Qt::Alignment m_cornerAlignment = Qt::AlignCenter;
};

// The in-memory road for a host in the same process: shows ListarArchivo modally over
// config and returns what it leaves behind.
struct BrowseResult {
    bool selected = false; // the selection flag of the configuration record
    std::vector<std::string> seleccionado; // Seleccionado(-1..n) at 0..n+1
};
BrowseResult browseTable(TableConfig config, MessageService& messages, QWidget* parent = nullptr);

} // namespace orvex
