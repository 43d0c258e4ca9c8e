#pragma once

#include "records/browser_columns.h"
#include "records/search.h"
#include "records/table_access.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace orvex {

// What the browser window lends the model: the wait window and status line of a table
// wait, and the save question.
class BrowserHost : public TableWaitHooks {
public:
    // kSaveQuestion (Yes/No, question icon, title "CAMBIOS"); true on Yes.
    virtual bool confirmSave() = 0;
};

// A grid cell: row 1..visibleRows (0 is the header row), column 0..n.
struct GridCell {
    int row = 1;
    int column = 1;
    friend bool operator==(const GridCell&, const GridCell&) = default;
};

// What the current-cell logic shows in the in-cell editor.
struct CellEditorState {
    bool shown = false; // false on a hidden field's column
    bool holdsRecord = false; // false on an empty row below the last record
    bool editable = false; // typing reaches the grid: black text, else light grey (C0C0C0)
    int maxLength = 1;
    std::string text; // the cell's text without trailing blanks: also the text Esc restores
    std::string position; // Label3: r + " de " + N
};

enum class FillMode { Full = 0, ScrolledUp = 1, ScrolledDown = 2 };

// The record browser's logic without a screen: set-up, the page of grid texts, moves,
// edits and their writing back, selection, search and export. The window shows cell()
// for every cell after each call and turns its events into these calls. Calls that
// touch the table wait through the host; when the user cancels that wait the call
// changes nothing and returns as documented. TableError leaves a call with the
// system's reason, for the window's message.
//
// A window's road through it: at load, ScratchFile, then readHandOffName("lst.cod") and
// loadConfiguration(configPaths(name)) (nullopt: stay empty), tableHasData (else
// kNoRecordsMessage), browserTitle; at first activation setUp with the grid's rows,
// fill(firstRecord()), editorState({1, 1}); at the end saveSearchSettings, and when not
// preloaded deleteConfigurationFiles and, after a hand-off, writeSelectionFile with
// seleccionado().
class BrowserModel {
public:
    explicit BrowserModel(BrowserHost& host);

    // Inicializar: layout, columns and record count (one table access), first record
    // shown from the configuration (below 1 taken as 1, beyond the count cut to it).
    // readOnly forces reading accesses whatever the table's I3 (the command line).
    // false when the user cancelled the table wait. Throws TableError.
    bool setUp(TableConfig config, int visibleRows, const std::string& fieldsSource,
        bool readOnly = false);

    const TableConfig& config() const { return m_config; }
    const TableLayout& layout() const { return m_layout; }
    const std::vector<BrowserColumn>& columns() const { return m_columns; }
    int columnCount() const { return static_cast<int>(m_columns.size()); }
    int visibleRows() const { return m_rows; }
    // The record count: also Ps's Max (its Min is 1, its LargeChange visibleRows()).
    std::int32_t recordCount() const { return m_count; }
    std::int32_t firstRecord() const { return m_first; } // logical record in row 1, Ps's value
    bool editable() const; // I3 of the header >= 1: edits are possible and saved

    // A cell's text: headers in row 0, the page in rows 1..visibleRows ("" beyond the table).
    const std::string& cell(GridCell c) const;
    bool rowHoldsRecord(int row) const;
    std::int32_t logicalOf(int row) const { return m_first + row - 1; }

    // LlenarMalla: confirms pending changes, then reads the page that starts at first
    // (ScrolledUp/Down only re-read the new row). false, nothing changed, when the table
    // wait was cancelled.
    bool fill(std::int32_t first, FillMode mode = FillMode::Full);

    // The current-cell logic for cell.
    CellEditorState editorState(GridCell cell) const;

    // Mover(index): 0 up, 1 down, 2 first record, 3 page up, 4 page down, 5 last record,
    // 6 column left, 7 column right, from the current cell; refills the page when the
    // first record changes. Returns the new current cell.
    GridCell move(int index, GridCell current);
    // Ps changed to value: a record off the page becomes the first (cell 1, 1), else the row moves
    // to it.
    GridCell scrollTo(std::int32_t value, GridCell current);
    // "&Ir" with IrRegistro's text: nullopt (show kWrongRecordMessage) for 2000000000 or
    // more or a record outside 1..count; else the new current cell, as scrollTo.
    std::optional<GridCell> goTo(std::string_view text, GridCell current);

    // Applying an edit of typed (UTF-8) in cell: only in an editable table, on a field that
    // is not protected, in a row that holds a record. The cell shows the typed text as its
    // type shows it (a number that does not fit a double leaves the cell as it was). true
    // when the cell changed hands to the edit.
    bool applyEdit(GridCell cell, std::string_view typed);
    // Esc: the cell gets saved back; a cell back at the text the page was read with is no
    // longer an edit.
    void restoreCell(GridCell cell, std::string_view saved);
    bool changesPending() const { return m_pending; }
    // ConfirmarCambios: with changes pending in an editable table, asks the host (I3 = 1)
    // or not (I3 >= 2), then writes the edited fields of the edited records, each record
    // re-read inside one editing access and written in place only when it differs.
    // Pending edits are dropped in every case. Throws TableError naming what could not be
    // written (the other edits are written).
    void confirmChanges();

    // ArmarSeleccion for a row: Seleccionado(-1..n) = physical, logical, the row's texts
    // (empty when the row holds no record: Seleccionado stays as it was). The selection
    // flag becomes True in every case.
    const std::vector<std::string>& armarSeleccion(int row);
    const std::vector<std::string>& seleccionado() const { return m_selected; }

    // "&Siguiente" from the current row: the found record's cell (column 1; the page moves
    // when it is off the page), or nullopt for kNotFoundMessage (also when cancelled).
    std::optional<GridCell> findNext(
        const SearchRequest& request, int currentRow, const SearchProgress& progress = {});

    // ArmarTXT after its question: confirms changes, then writes the export in directory.
    // Returns exportDoneMessage, or nullopt when the table wait was cancelled. Throws
    // ExportRefused or TableError.
    std::optional<std::string> exportText(const std::string& directory = {});

    // Saving the search settings: confirms changes, then writes "lstkwz.b". Throws FileError.
    void saveSearchSettings(
        const SearchSettings& settings, const std::string& path = kSearchSettingsFile);

private:
    std::optional<TableAccess> openAccess() const;
    void readRow(const TableAccess& access, int row);
    void clearRow(int row);
    GridCell placeRecord(std::int32_t logical, GridCell current);

    BrowserHost& m_host;
    TableConfig m_config;
    TableLayout m_layout;
    std::vector<BrowserColumn> m_columns;
    bool m_readOnly = false;
    int m_rows = 0;
    std::int32_t m_count = 0;
    std::int32_t m_first = 1;
    std::vector<std::vector<std::string>> m_cells; // rows 0..v, columns 0..n
    std::vector<std::vector<std::string>> m_loaded; // the page's texts as read
    std::vector<std::int64_t> m_physical; // per row
    std::map<std::int32_t, std::set<int>> m_edited; // logical record -> edited columns
    bool m_pending = false;
    std::vector<std::string> m_selected;
    std::string m_empty;
};

} // namespace orvex
