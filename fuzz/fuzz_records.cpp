// A record table as the browser meets it: "lst" + name + ".ini", ".cmp" and ".rg", a
// data file and an index file, the five cut from one input at the part separator.
// The configuration is loaded, the table set up and a page filled, then the moves, a
// search, an edit written back and the export.

#include "common/calc_error.h"
#include "common/file_io.h"
#include "fuzz_util.h"
#include "records/browser_model.h"
#include "records/export.h"
#include "records/field_text.h"

using namespace orvex;

namespace {

struct Host : BrowserHost {
    bool waitWindow(const std::string&, const std::function<BusyTest()>&) override { return false; }
    void status(const std::string&) override { }
    bool confirmSave() override { return true; }
};

// A numeric column shows digits, sign and point only; "" where a value has none.
void checkPage(const BrowserModel& model)
{
    for (int row = 1; row <= model.visibleRows(); ++row) {
        for (int column = 1; column < model.columnCount(); ++column) {
            const auto& field = model.layout().fields[static_cast<std::size_t>(column - 1)];
            if (!isNumericType(field.type))
                continue;
            const std::string& text = model.cell({ row, column });
            if (text.find_first_not_of("0123456789.-") != std::string::npos)
                fuzz::finding("numeric cell", text);
        }
    }
}

void browse(TableConfig config)
{
    Host host;
    BrowserModel model(host);
    if (!model.setUp(std::move(config), 6, "lstF.cmp") || !model.fill(model.firstRecord()))
        return;
    checkPage(model);
    GridCell cell = model.move(5, { 1, 1 });
    cell = model.move(3, cell);
    cell = model.move(7, cell);
    checkPage(model);
    model.editorState(cell);
    model.armarSeleccion(cell.row);
    SearchRequest request;
    request.text = "a";
    request.direction = 2;
    if (const auto hit = model.findNext(request, cell.row))
        cell = *hit;
    try {
        if (model.applyEdit({ 1, 1 }, "-12.5"))
            model.confirmChanges();
    } catch (const CalcError&) {
        // a value the field's type cannot hold: the window shows the message
    }
    checkPage(model);
    try {
        model.exportText(".");
    } catch (const ExportRefused&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::enterScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parts = fuzz::splitParts(data, size, 5);
    const ConfigPaths paths = configPaths("F");
    fuzz::writeScratchFile(paths.ini.c_str(), parts[0]);
    fuzz::writeScratchFile(paths.cmp.c_str(), parts[1]);
    fuzz::writeScratchFile(paths.rg.c_str(), parts[2]);
    fuzz::writeScratchFile("d.dat", parts[3]);
    fuzz::writeScratchFile("d.ndx", parts[4]);
    Host host;
    try {
        auto config = loadConfiguration(paths, host);
        if (!config)
            fuzz::finding("configuration files read as missing", {});
        browserTitle(config->record, true);
        // The table is the one cut from the input, wherever the configuration says it is.
        config->record.dataPath = "d.dat";
        if (!config->record.indexPath.empty())
            config->record.indexPath = "d.ndx";
        if (!tableHasData(config->record))
            return 0;
        browse(std::move(*config));
    } catch (const TableError&) {
    } catch (const FileError&) {
    }
    return 0;
}
