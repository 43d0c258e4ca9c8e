#include "records/browser_model.h"

#include "common/text.h"
#include "table_fixture.h"

#include <sys/wait.h>

namespace orvex {
namespace {

struct Host : testing::RecordingHooks, BrowserHost {
    bool waitWindow(const std::string& path, const std::function<BusyTest()>& poll) override
    {
        return RecordingHooks::waitWindow(path, poll);
    }
    void status(const std::string& text) override { RecordingHooks::status(text); }
    bool confirmSave() override
    {
        ++questions;
        return answer;
    }
    int questions = 0;
    bool answer = true;
};

// Record k: "Nombre k", int16 k, double k + 0.5678 (shown with two decimals), hidden "hh",
// protected "fijo": 26 bytes.
std::string record(int k)
{
    return fixedField("Nombre " + std::to_string(k), 10) + mki(static_cast<std::int16_t>(k))
        + mkd(k + 0.5678) + "hh" + "fijo";
}

class BrowserModelTest : public testing::TableDir {
protected:
    void setUp(int records, int rows, std::int16_t editMode = 2, std::int32_t first = 0)
    {
        std::string data;
        for (int k = 1; k <= records; ++k)
            data += record(k);
        writeBytes("b.dat", data);
        TableConfig config;
        config.record.dataPath = "b.dat";
        config.record.firstRecord = first;
        config.fields = { testing::describe({ "Nro", 0, 0, 0, editMode, 4 }),
            testing::describe({ "Nombre", 10, 0 }),
            testing::describe({ "Cant", 2, 2, 0, 0, 0, 3, 0 }),
            testing::describe({ "Saldo", 8, 80, 0, 0, 0, 5, 2 }),
            testing::describe({ "Oculto", 2, 0, 1 }), testing::describe({ "Fijo", 4, 0, 0, 1 }) };
        ASSERT_TRUE(model.setUp(config, rows, "b.cmp"));
        ASSERT_TRUE(model.fill(model.firstRecord()));
    }
    std::string column(int col) const
    {
        std::string texts;
        for (int row = 1; row <= model.visibleRows(); ++row)
            texts += model.cell({ row, col }) + "|";
        return texts;
    }
    std::string storedRecord(int k)
    {
        return readBytes("b.dat").substr(static_cast<std::size_t>(k - 1) * 26, 26);
    }

    Host host;
    BrowserModel model { host };
};

TEST_F(BrowserModelTest, ColumnsAndPageTexts)
{
    setUp(5, 7, 2, 99);
    EXPECT_EQ(model.firstRecord(), 5); // beyond the count: cut to it
    ASSERT_EQ(model.columnCount(), 6);
    EXPECT_EQ(model.cell({ 0, 0 }), "Nro");
    EXPECT_EQ(model.cell({ 0, 5 }), "*Fijo");
    EXPECT_EQ(model.columns()[3].characters, 8); // max(I4 = 8, 5 + 2 + 1)
    EXPECT_EQ(model.columns()[4].characters, 0); // hidden
    EXPECT_EQ(column(0), "5|||||||");
    EXPECT_EQ(model.move(2, { 4, 3 }), (GridCell { 1, 1 }));
    EXPECT_EQ(column(0), "1|2|3|4|5|||");
    EXPECT_EQ(column(3), "1.57|2.57|3.57|4.57|5.57|||");
    EXPECT_EQ(column(4), "|||||||"); // hidden fields show nothing

    // Column widths: nearest(chars x 10 x 20 x 0.85 + 1), then the spare room shared out.
    EXPECT_EQ(
        fitColumnWidths({ 851, 1701, 1, 1361 }, 5000), (std::vector<int> { 851, 2304, 1, 1844 }));
    EXPECT_EQ(fitColumnWidths({ 851, 1701 }, 2000), (std::vector<int> { 851, 1701 }));
    EXPECT_EQ(browserColumnWidths({ { "", 0 }, { "A", 5 } }, 10, 0), (std::vector<int> { 1, 851 }));
    EXPECT_EQ(cellAlignment(7, "x").horizontal, CellAlignment::Right);
    EXPECT_EQ(cellAlignment(9, "-1.5").horizontal, CellAlignment::Right);
    EXPECT_EQ(cellAlignment(9, "abc").horizontal, CellAlignment::Left);
}

TEST_F(BrowserModelTest, MovesScrollByOneOrAPageAndStopAtTheEnds)
{
    setUp(10, 3);
    struct Case {
        int index;
        GridCell from;
        GridCell to;
        std::int32_t first;
    };
    // Each row starts where the previous left the page.
    const Case cases[] = {
        { 1, { 1, 1 }, { 2, 1 }, 1 },
        { 1, { 3, 1 }, { 3, 1 }, 2 }, // down on the last row scrolls one
        { 0, { 1, 1 }, { 1, 1 }, 1 }, // up on row 1 scrolls back
        { 0, { 1, 1 }, { 1, 1 }, 1 }, // nothing above record 1
        { 4, { 2, 3 }, { 2, 3 }, 4 }, // page down keeps the row
        { 4, { 2, 3 }, { 2, 3 }, 7 },
        { 4, { 2, 3 }, { 2, 3 }, 10 }, // the new page ends before the row
        { 4, { 2, 3 }, { 1, 3 }, 10 }, // at the end: the last record's row
        { 3, { 1, 3 }, { 1, 3 }, 7 },
        { 2, { 3, 3 }, { 1, 1 }, 1 },
        { 5, { 2, 2 }, { 1, 1 }, 10 }, // the last record alone on row 1
        { 5, { 1, 1 }, { 1, 1 }, 10 },
        { 7, { 1, 3 }, { 1, 5 }, 10 }, // the hidden column is skipped
        { 6, { 1, 5 }, { 1, 3 }, 10 },
        { 6, { 1, 1 }, { 1, 1 }, 10 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(
            ::testing::Message() << c.index << " from " << c.from.row << "," << c.from.column);
        EXPECT_EQ(model.move(c.index, c.from), c.to);
        EXPECT_EQ(model.firstRecord(), c.first);
        EXPECT_EQ(model.cell({ 1, 0 }), std::to_string(c.first));
    }
    EXPECT_EQ(column(1), "Nombre 10|||");
    EXPECT_FALSE(model.goTo("0", { 1, 1 }));
    EXPECT_FALSE(model.goTo("11", { 1, 1 }));
    EXPECT_FALSE(model.goTo("2e9", { 1, 1 }));
    EXPECT_EQ(model.goTo("4", { 1, 3 }), (GridCell { 1, 1 }));
    EXPECT_EQ(model.goTo(" 6x", { 1, 3 }), (GridCell { 3, 3 }));
    EXPECT_EQ(model.scrollTo(9, { 1, 2 }), (GridCell { 1, 1 }));
    EXPECT_EQ(model.firstRecord(), 9);
}

TEST_F(BrowserModelTest, EmptyRowsTakeNothingAndEditsShowTheirTypesText)
{
    setUp(5, 20);
    model.move(1, { 5, 2 });
    const CellEditorState empty = model.editorState({ 6, 2 });
    EXPECT_TRUE(empty.shown);
    EXPECT_FALSE(empty.holdsRecord);
    EXPECT_EQ(empty.maxLength, 1);
    EXPECT_EQ(empty.position, "6 de 5");
    EXPECT_FALSE(model.applyEdit({ 6, 2 }, "9"));

    const CellEditorState cant = model.editorState({ 2, 2 });
    EXPECT_TRUE(cant.editable);
    EXPECT_EQ(cant.maxLength, 3);
    EXPECT_EQ(cant.text, "2");
    EXPECT_EQ(cant.position, "2 de 5");
    EXPECT_FALSE(model.editorState({ 2, 5 }).editable); // protected: grey
    EXPECT_FALSE(model.applyEdit({ 2, 5 }, "x"));
    EXPECT_TRUE(model.applyEdit({ 2, 2 }, "12.6"));
    EXPECT_EQ(model.cell({ 2, 2 }), "13");
    model.move(2, { 2, 2 }); // first stays 1: nothing is saved yet
    EXPECT_TRUE(model.changesPending());
    model.confirmChanges();
    EXPECT_EQ(storedRecord(2), record(2).replace(10, 2, mki(13)));
    EXPECT_EQ(host.questions, 0); // I3 = 2 writes without asking

    const auto& selected = model.armarSeleccion(2);
    EXPECT_EQ(
        selected, (std::vector<std::string> { "2", "2", "Nombre 2", "13", "2.57", "", "fijo" }));
    EXPECT_EQ(model.config().record.selected, -1);
}

TEST_F(BrowserModelTest, SavingAsksWhenToldAndNoDiscards)
{
    setUp(6, 3, 1);
    model.applyEdit({ 1, 1 }, "Otro");
    host.answer = false;
    model.move(5, { 1, 1 }); // the page moves: the question comes first
    EXPECT_EQ(host.questions, 1);
    EXPECT_EQ(storedRecord(1), record(1));
    EXPECT_FALSE(model.changesPending());

    setUp(3, 3, 0);
    EXPECT_FALSE(model.editorState({ 1, 1 }).editable);
    EXPECT_FALSE(model.applyEdit({ 1, 1 }, "Otro"));
}

// Saving one edited cell must neither round the other values shown on the page (1.5678
// shown as "1.57") nor overwrite another user's change to a record this user did not edit.
TEST_F(BrowserModelTest, SavingWritesOnlyTheEditedFieldsOfTheEditedRecords)
{
    setUp(4, 4);
    model.applyEdit({ 1, 1 }, "Editado");
    const std::string changedByOther = record(3).replace(0, 10, fixedField("Otro user", 10));
    const pid_t other = ::fork();
    if (other == 0) {
        testing::RecordingHooks hooks;
        TableConfig config = model.config();
        const TableLayout layout = buildTableLayout(config, "b.cmp");
        auto access = TableAccess::open(layout, AccessKind::Editing, hooks);
        access->write(3, changedByOther.data());
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(other, &status, 0);
    model.confirmChanges();
    EXPECT_EQ(
        storedRecord(1), record(1).replace(0, 10, fixedField("Editado", 10))); // its double kept
    EXPECT_EQ(storedRecord(2), record(2));
    EXPECT_EQ(storedRecord(3), changedByOther);

    // Esc back to the text read: nothing is written for that cell.
    model.applyEdit({ 2, 3 }, "99");
    model.restoreCell({ 2, 3 }, "2.57");
    model.confirmChanges();
    EXPECT_EQ(storedRecord(2), record(2));

    // A value the field cannot hold is reported, the other edits still written.
    model.applyEdit({ 4, 2 }, "40000");
    model.applyEdit({ 4, 1 }, "Cuatro");
    model.applyEdit({ 4, 3 }, "1e40"); // typed key by key: "1e40" must not be what is kept
    model.applyEdit({ 4, 3 }, "1e400");
    EXPECT_EQ(model.cell({ 4, 3 }), "1e400");
    try {
        model.confirmChanges();
        ADD_FAILURE() << "no error";
    } catch (const TableError& e) {
        EXPECT_NE(std::string(e.what()).find("[40000]"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("[1e400]"), std::string::npos) << e.what();
    }
    EXPECT_EQ(storedRecord(4), record(4).replace(0, 10, fixedField("Cuatro", 10)));
}

TEST_F(BrowserModelTest, SearchAndExportThroughTheModel)
{
    setUp(10, 3);
    const auto found = model.findNext({ "nombre 8" }, 1);
    EXPECT_EQ(found, (GridCell { 1, 1 }));
    EXPECT_EQ(model.firstRecord(), 8);
    EXPECT_EQ(model.findNext({ "nombre 9" }, 1), (GridCell { 2, 1 })); // on the page: no move
    EXPECT_EQ(model.firstRecord(), 8);
    EXPECT_FALSE(model.findNext({ "nada" }, 1));

    EXPECT_EQ(model.exportText(), "Archivo [b.TXT], ha sido creado satisfactoriamente...");
    EXPECT_EQ(readBytes("b.TXT").substr(0, 24), "Nombre\tCant\tSaldo\t*Fijo\t");
    EXPECT_EQ(browserTitle(model.config().record), "Listado Archivo : b.dat");
    EXPECT_EQ(browserTitle(model.config().record, true), "Listado Archivo : b.dat [b.dat]");
    EXPECT_TRUE(tableHasData(model.config().record));
}

} // namespace
} // namespace orvex
