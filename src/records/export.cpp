#include "records/export.h"

#include "common/file_io.h"
#include "common/text.h"
#include "records/field_bytes.h"

#include <cerrno>
#include <sys/stat.h>

namespace orvex {
namespace {

constexpr std::size_t kFlushBytes = 1 << 20;

void writeExport(const TableAccess& access, const std::vector<FieldDescription>& fields,
    std::int32_t count, const std::string& path)
{
    const TableLayout& layout = access.layout();
    AtomicFileWriter file(path);
    std::string buffer;
    buffer.reserve(kFlushBytes + 4096);
    for (std::size_t k = 1; k < fields.size() && k <= layout.fields.size(); ++k)
        if (!layout.fields[k - 1].hidden)
            buffer += utf8ToCp1252(columnHeader(fields[k])) + '\t';
    buffer += "\r\n";

    RecordReader reader(access, 1, count);
    ScannedRecord r;
    while (count > 0 && reader.next(r)) {
        for (const FieldLayout& f : layout.fields) {
            if (f.hidden)
                continue;
            if (r.bytes)
                appendFieldText(buffer, f, r.bytes);
            buffer += '\t';
        }
        buffer += "\r\n";
        if (buffer.size() >= kFlushBytes) {
            file.write(buffer);
            buffer.clear();
        }
    }
    file.write(buffer);
    file.commit();
}

} // namespace

std::string exportFileName(const std::string& dataPath)
{
    const std::string name = fileNameOf(dataPath);
    const auto dot = name.find('.');
    return dot == std::string::npos ? name : name.substr(0, dot + 1) + "TXT";
}

std::string columnHeader(const FieldDescription& field)
{
    std::string header = field.isProtected() ? "*" : "";
    header += trimBlanks(field.caption);
    return header;
}

std::string exportDoneMessage(const std::string& name)
{
    return "Archivo [" + name + "], ha sido creado satisfactoriamente...";
}

std::string exportTable(const TableAccess& access, const std::vector<FieldDescription>& fields,
    std::int32_t count, const std::string& directory)
{
    const std::string& dataPath = access.layout().dataPath;
    const std::string name = exportFileName(dataPath);
    if (name.empty())
        throw TableError(EINVAL, "No hay nombre de archivo para exportar \"" + dataPath + "\"...");
    const std::string path = directory.empty() ? name : directory + "/" + name;
    struct stat out {
    }, data {};
    if (::stat(path.c_str(), &out) == 0 && ::fstat(access.dataFile().fd(), &data) == 0
        && out.st_dev == data.st_dev && out.st_ino == data.st_ino)
        throw ExportRefused("Archivo [" + name
            + "], es el mismo archivo de datos de la tabla: no se ha creado el archivo texto...");
    try {
        writeExport(access, fields, count, path);
    } catch (const FileError& e) {
        throw TableError(e.number(), e.what());
    }
    return name;
}

} // namespace orvex
