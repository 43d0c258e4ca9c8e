// The ".img" picture list beside a report.

#include "common/file_io.h"
#include "fuzz_util.h"
#include "printing/print_error.h"
#include "printing/report_preparation.h"

using namespace orvex;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::enterScratchFolder();
    fuzz::writeScratchFile("informe.rpt", "\x01\x0c\x01\x01linea\r\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::writeScratchFile("informe.rpt.img", { reinterpret_cast<const char*>(data), size });
    try {
        const auto pictures = loadPictureList("informe.rpt");
        if (pictures.size() > kMaxPictures)
            fuzz::finding("more pictures than a page holds", std::to_string(pictures.size()));
        for (const auto& picture : pictures) {
            fuzz::requireFinite(picture.x, "picture x");
            fuzz::requireFinite(picture.y, "picture y");
        }
    } catch (const FileError&) {
    } catch (const PrintError&) {
    }
    return 0;
}
