#pragma once

#include "printing/print_settings.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvex {

// What preparing a report finds (CargarParametros).
struct ReportParameters {
    std::int64_t headerCount = 0; // header lines before the first other line
    std::int64_t pageCount = 1;
    int widest = 80; // longest line, prefix included, at least 80
    bool plainText = true; // no non-empty line started with a control character
    std::int64_t lineTotal = 0; // lines that are not header lines
    std::string preparedFile; // the plain copy for the screen viewer
};

// The prepared copy's name: up to and including the first "." of the whole name (also
// when it belongs to a folder) followed by "txt"; without ".", the name followed by
// ".txt". When that would be the report itself ("informe.txt"), the name followed by
// ".txt", so preparing never overwrites the report.
std::string preparedFileName(std::string_view report);

// CargarParametros: paginates the report with settings and, when writeCopy, writes the
// prepared copy (prefixes removed, header lines kept in place, a form feed where a page
// ends; replaced atomically). Throws FileError when the report cannot be read or the copy
// cannot be written.
ReportParameters prepareReport(
    const std::string& report, const PrintSettings& settings, bool writeCopy = true);

// The page count as Paginas shows it: "m" before it for a widest line of 81 .. 96
// characters, "c" for 97 or more ("c12").
std::string pageCountText(const ReportParameters& parameters);

// A picture drawn on every printed page: its file and where, in twips.
struct Picture {
    std::string file;
    double x = 0;
    double y = 0;
};
inline constexpr std::size_t kMaxPictures = 20;

// The pictures of a report, from the file named like it with ".img" appended: per line
// "name x y" (a line with fewer than three blank-separated items is ignored). No such
// file gives none. Throws PrintError for a 21st picture, FileError when the list cannot
// be read.
std::vector<Picture> loadPictureList(const std::string& report);

} // namespace orvex
