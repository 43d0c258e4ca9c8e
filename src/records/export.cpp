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
    std::string header;
    std::vector<const FieldLayout*> visible;
    std::size_t lineRoom = 2;
    for (std::size_t k = 1; k < fields.size() && k <= layout.fields.size(); ++k) {
        const FieldLayout& f = layout.fields[k - 1];
        if (f.hidden)
            continue;
        header += utf8ToCp1252(columnHeader(fields[k])) + '\t';
        visible.push_back(&f);
        lineRoom += fieldTextRoom(f) + 1;
    }
    header += "\r\n";
    file.write(header);

    // Lines are written straight into one buffer, flushed before a line could overflow it.
    std::vector<char> buffer(kFlushBytes + lineRoom);
    char* const start = buffer.data();
    char* at = start;
    RecordReader reader(access, 1, count);
    ScannedRecord r;
    while (count > 0 && reader.next(r)) {
        if (static_cast<std::size_t>(at - start) + lineRoom > buffer.size()) {
            file.write({ start, static_cast<std::size_t>(at - start) });
            at = start;
        }
        for (const FieldLayout* f : visible) {
            if (r.bytes)
                at = putFieldText(at, *f, r.bytes);
            *at++ = '\t';
        }
        *at++ = '\r';
        *at++ = '\n';
    }
    file.write({ start, static_cast<std::size_t>(at - start) });
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
