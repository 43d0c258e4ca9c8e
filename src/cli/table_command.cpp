#include "cli/commands.h"

#include "common/file_io.h"
#include "records/browser_model.h"
#include "records/export.h"
#include "records/search.h"

#include <charconv>
#include <limits>
#include <optional>
#include <ostream>
#include <set>
#include <string>

namespace orvex::cli {
namespace {

const char* kTableUsage
    = "Uso: orvex-cli table show NOMBRE [--from N] [--rows V]\n"
      "     orvex-cli table export NOMBRE\n"
      "     orvex-cli table search NOMBRE TEXTO [--field K] [--case] [--words] [--direction D] "
      "[--current N]\n"
      "  NOMBRE: la tabla de \"lst\" + NOMBRE + \".ini\", \".cmp\" y \".rg\" en la carpeta actual\n"
      "  --field K: 0 todos los campos (TODOS), K el campo K; --case: Minus/Mayus;\n"
      "  --words: Palabras Completas; D: 0 Hacia Arriba, 1 Hacia Abajo, 2 Todo el Archivo\n";

struct UsageError {
    std::string problem;
};

// The command only reads: a table another program edits is waited for on the status
// line, whose message is printed once.
class CommandHooks : public BrowserHost {
public:
    explicit CommandHooks(std::ostream& err)
        : m_err(err)
    {
    }
    bool waitWindow(const std::string&, const std::function<BusyTest()>& poll) override
    {
        while (poll().state == BusyTest::Busy)
            pausa(0.1);
        return false;
    }
    void status(const std::string& text) override
    {
        if (!text.empty() && m_shown.insert(text).second)
            m_err << text << "\n" << std::flush;
    }
    bool confirmSave() override { return false; }

private:
    std::ostream& m_err;
    std::set<std::string> m_shown;
};

std::int64_t integerArgument(const std::string& option, const std::string& text)
{
    std::int64_t value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size())
        throw UsageError { option + " necesita un número entero: " + text };
    return value;
}

std::int32_t toRecordNumber(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The words after NAME (and TEXT): options with a value, and flags.
struct Options {
    std::optional<std::int64_t> from, rows, field, direction, current;
    bool matchCase = false, wholeWords = false;
};

Options parseOptions(const Args& args, std::size_t start, bool search)
{
    Options o;
    for (std::size_t k = start; k < args.size(); ++k) {
        const std::string& a = args[k];
        if (search && a == "--case") {
            o.matchCase = true;
            continue;
        }
        if (search && a == "--words") {
            o.wholeWords = true;
            continue;
        }
        std::optional<std::int64_t>* slot = nullptr;
        if (!search && a == "--from")
            slot = &o.from;
        else if (!search && a == "--rows")
            slot = &o.rows;
        else if (search && a == "--field")
            slot = &o.field;
        else if (search && a == "--direction")
            slot = &o.direction;
        else if (search && a == "--current")
            slot = &o.current;
        if (!slot)
            throw UsageError { "opción desconocida: " + a };
        if (k + 1 >= args.size())
            throw UsageError { a + " necesita un valor" };
        *slot = integerArgument(a, args[++k]);
    }
    if (o.rows && *o.rows < 0)
        throw UsageError { "--rows no puede ser negativo" };
    if (o.direction && (*o.direction < 0 || *o.direction > 2))
        throw UsageError { "--direction debe ser 0, 1 o 2" };
    return o;
}

std::string joined(const std::vector<std::string>& texts)
{
    std::string line;
    for (std::size_t k = 0; k < texts.size(); ++k)
        line += (k ? "\t" : "") + texts[k];
    return line;
}

int show(BrowserModel& model, TableConfig config, const std::string& source, const Options& o,
    std::ostream& out)
{
    if (o.from)
        config.record.firstRecord = toRecordNumber(*o.from);
    // The grid holds the rows asked for, but never more than there are records to fill.
    if (!model.setUp(config, 0, source, true))
        return kExitUsage;
    const std::int64_t filled
        = std::max<std::int64_t>(model.recordCount() - model.firstRecord() + 1, 0);
    const int rows = static_cast<int>(std::min<std::int64_t>(o.rows.value_or(20), filled));
    if (!model.setUp(config, rows, source, true) || !model.fill(model.firstRecord()))
        return kExitUsage;
    for (int row = 0; row <= rows; ++row) {
        if (row > 0 && !model.rowHoldsRecord(row))
            break;
        std::vector<std::string> texts;
        for (int c = 0; c < model.columnCount(); ++c)
            if (!model.columns()[static_cast<std::size_t>(c)].hidden)
                texts.push_back(model.cell({ row, c }));
        out << joined(texts) << "\n";
    }
    return kExitOk;
}

int search(BrowserModel& model, const TableConfig& config, const std::string& source,
    const std::string& text, const Options& o, CommandHooks& hooks, std::ostream& out,
    std::ostream& err)
{
    if (!model.setUp(config, 0, source, true))
        return kExitUsage;
    SearchRequest request;
    request.text = text;
    request.matchCase = o.matchCase;
    request.wholeWords = o.wholeWords;
    request.field = static_cast<int>(o.field.value_or(0));
    request.direction = static_cast<int>(o.direction.value_or(1));
    const auto access = TableAccess::open(model.layout(), AccessKind::Reading, hooks);
    const auto hit
        = findNext(*access, model.recordCount(), toRecordNumber(o.current.value_or(1)), request);
    if (!hit) {
        err << kNotFoundMessage << "\n";
        return kExitCalcError;
    }
    out << hit->logical << "\t" << hit->physical << "\n";
    return kExitOk;
}

int runTableCommand(const Args& args, std::ostream& out, std::ostream& err)
{
    if (args.empty())
        throw UsageError { "table necesita un subcomando: show, export o search" };
    const std::string& what = args[0];
    const bool isSearch = what == "search";
    if (what != "show" && what != "export" && !isSearch)
        throw UsageError { "subcomando desconocido: " + what };
    if (args.size() < (isSearch ? 3u : 2u))
        throw UsageError { "table " + what + " necesita "
            + (isSearch ? "NOMBRE y TEXTO" : "NOMBRE") };
    if (what == "export" && args.size() > 2)
        throw UsageError { "table export no tiene opciones" };
    const Options options = parseOptions(args, isSearch ? 3 : 2, isSearch);

    CommandHooks hooks(err);
    const ConfigPaths paths = configPaths(args[1]);
    for (const auto* path : { &paths.ini, &paths.cmp, &paths.rg })
        if (!fileExists(*path)) {
            err << "orvex-cli: no existe el archivo \"" << *path << "\"\n";
            return kExitUsage;
        }
    auto config = loadConfiguration(paths, hooks);
    if (!config) {
        err << "orvex-cli: falta un archivo de configuración de la tabla " << args[1] << "\n";
        return kExitUsage;
    }
    const std::int64_t fields = static_cast<std::int64_t>(config->fields.size()) - 1;
    if (options.field && (*options.field < 0 || *options.field > fields))
        throw UsageError { "--field debe estar entre 0 y " + std::to_string(fields) };
    if (!tableHasData(config->record)) {
        err << kNoRecordsMessage << "\n";
        return kExitCalcError;
    }
    BrowserModel model(hooks);
    if (what == "show")
        return show(model, *config, paths.cmp, options, out);
    if (isSearch)
        return search(model, *config, paths.cmp, args[2], options, hooks, out, err);
    if (!model.setUp(*config, 0, paths.cmp, true))
        return kExitUsage;
    try {
        const auto message = model.exportText();
        out << message.value_or("") << "\n";
        return kExitOk;
    } catch (const ExportRefused& e) {
        err << e.what() << "\n";
        return kExitCalcError;
    }
}

} // namespace

int runTable(const Args& args, std::ostream& out, std::ostream& err)
{
    try {
        return runTableCommand(args, out, err);
    } catch (const UsageError& e) {
        err << "orvex-cli: " << e.problem << "\n" << kTableUsage;
    } catch (const TableError& e) {
        err << "orvex-cli: " << e.what() << "\n";
    } catch (const FileError& e) {
        err << "orvex-cli: " << e.what() << "\n";
    }
    return kExitUsage;
}

} // namespace orvex::cli
