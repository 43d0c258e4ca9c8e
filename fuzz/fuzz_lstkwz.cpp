// "lstkwz.b", the search panel's saved options: read over the defaults, matched
// against a table's field list, written back and read again unchanged.

#include "common/file_io.h"
#include "fuzz_util.h"
#include "records/search.h"

using namespace orvex;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::enterScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::writeScratchFile(kSearchSettingsFile, { reinterpret_cast<const char*>(data), size });
    SearchSettings settings;
    if (!readSearchSettings(kSearchSettingsFile, settings))
        return 0;
    if (settings.direction < 0 || settings.direction > 2)
        fuzz::finding("direction", std::to_string(settings.direction));

    std::vector<FieldDescription> fields(3);
    fields[1].caption = "Nombre";
    fields[2].caption = "Saldo";
    const auto items = searchFieldItems(fields);
    const int item = searchFieldItem(items, settings.field);
    if (item < 0 || static_cast<std::size_t>(item) >= items.size())
        fuzz::finding("field item", std::to_string(item));

    try {
        writeSearchSettings("copia.b", settings);
    } catch (const FileError&) {
        return 0;
    }
    SearchSettings again;
    if (!readSearchSettings("copia.b", again) || again.matchCase != settings.matchCase
        || again.wholeWords != settings.wholeWords || again.direction != settings.direction
        || again.text != settings.text || again.field != settings.field)
        fuzz::finding("settings changed by a save", settings.text + "|" + settings.field);
    return 0;
}
