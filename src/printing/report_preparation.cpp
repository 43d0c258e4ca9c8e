#include "printing/report_preparation.h"

#include "common/calc_error.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "common/text.h"
#include "printing/line_prefix.h"
#include "printing/line_reader.h"
#include "printing/print_error.h"

#include <algorithm>
#include <memory>
#include <sys/stat.h>

namespace orvex {
namespace {

bool sameFile(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    struct stat sa {
    }, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev
        && sa.st_ino == sb.st_ino;
}

// The prepared copy goes out in pieces of about this size.
constexpr std::size_t kCopyChunk = 1 << 16;

} // namespace

std::string preparedFileName(std::string_view report)
{
    const std::string name(report);
    const auto dot = name.find('.');
    const std::string prepared
        = dot == std::string::npos ? name + ".txt" : name.substr(0, dot + 1) + "txt";
    return sameFile(prepared, name) ? name + ".txt" : prepared;
}

ReportParameters prepareReport(
    const std::string& report, const PrintSettings& settings, bool writeCopy)
{
    ReportParameters p;
    p.widest = 0;
    p.preparedFile = preparedFileName(report);
    LineReader reader(report);
    std::unique_ptr<AtomicFileWriter> copy;
    if (writeCopy)
        copy = std::make_unique<AtomicFileWriter>(p.preparedFile);
    std::string out;

    const std::int64_t perPage = settings.linesPerPage();
    std::int64_t linesOnPage = 0;
    bool atStart = true;
    bool lastWasBreak = false;
    std::string line;
    while (reader.next(line)) {
        line.resize(trimSpacesRight(line).size());
        if (p.plainText && !line.empty() && hasPrefix(line))
            p.plainText = false;
        if (line.empty())
            line = defaultPrefix();
        const auto kind = static_cast<unsigned char>(line[0]);
        const bool isBreak = kind == kKindPageBreak;
        const bool isHeader = kind == kKindHeader;
        if (!isHeader) {
            if (atStart)
                linesOnPage = p.headerCount;
            atStart = false;
        } else if (atStart) {
            ++p.headerCount;
        }
        if (!isBreak) {
            lastWasBreak = false;
            const std::string_view text = hasPrefix(line)
                ? std::string_view(line).substr(std::min(line.size(), kPrefixLength))
                : std::string_view(line);
            out.append(text).append("\r\n");
        }
        if (!isHeader) {
            ++p.lineTotal;
            ++linesOnPage;
            if (perPage <= linesOnPage || isBreak) {
                if (!lastWasBreak) {
                    out += '\f';
                    ++p.pageCount;
                    lastWasBreak = true;
                }
                linesOnPage = p.headerCount;
            }
        }
        p.widest = std::max(p.widest, static_cast<int>(line.size()));
        if (out.size() >= kCopyChunk) {
            if (copy)
                copy->write(out);
            out.clear();
        }
    }
    if (copy) {
        copy->write(out);
        copy->commit();
    }
    if (lastWasBreak)
        --p.pageCount;
    p.widest = std::max(p.widest, 80);
    return p;
}

std::string pageCountText(const ReportParameters& p)
{
    const std::string count = std::to_string(p.pageCount);
    if (p.widest >= 97)
        return "c" + count;
    if (p.widest >= 81)
        return "m" + count;
    return count;
}

std::vector<Picture> loadPictureList(const std::string& report)
{
    const std::string list = report + ".img";
    std::vector<Picture> pictures;
    if (!fileExists(list))
        return pictures;
    LineReader reader(list, LineReader::Ends::AnyBreak, 4096);
    std::string line;
    while (reader.next(line)) {
        if (line.empty())
            continue;
        line += ' ';
        const auto first = line.find(' ');
        const auto second = line.find(' ', first + 1);
        const auto third = second == std::string::npos ? second : line.find(' ', second + 1);
        if (third == std::string::npos)
            continue;
        if (pictures.size() == kMaxPictures)
            throw PrintError("more than 20 pictures in " + list);
        Picture picture;
        picture.file = cp1252ToUtf8(trim(line.substr(0, first)));
        try {
            picture.x = leadingNumber(line.substr(first + 1, second - first - 1));
            picture.y = leadingNumber(line.substr(second + 1, third - second - 1));
        } catch (const CalcError&) {
            throw PrintError("a picture position out of range in " + list);
        }
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

} // namespace orvex
