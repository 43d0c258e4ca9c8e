// "lst.cod", the hand-off file that names the table to browse.

#include "fuzz_util.h"
#include "records/table_config.h"

using namespace orvex;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::enterScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::writeScratchFile("lst.cod", { reinterpret_cast<const char*>(data), size });
    // The browser deletes the file after reading it; half of the runs do so too.
    const bool deleteAfter = size > 0 && (data[0] & 1);
    try {
        const auto name = readHandOffName("lst.cod", deleteAfter);
        if (!name)
            fuzz::finding("an existing lst.cod read as missing", {});
        if (name->find_first_of("\r\n") != std::string::npos)
            fuzz::finding("a hand-off name beyond the first line", *name);
        // The name becomes file names the browser writes and deletes: never another folder.
        if (name->find_first_of(std::string_view("/\0", 2)) != std::string::npos)
            fuzz::finding("a hand-off name reaching another folder", *name);
        configPaths(*name);
    } catch (const TableError&) {
    }
    return 0;
}
