#include "records/export.h"

#include "common/text.h"
#include "records/field_bytes.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace orvex {
namespace {

constexpr std::size_t kFlushBytes = 1 << 20;

[[noreturn]] void fail(int err, const std::string& what, const std::string& path)
{
    throw TableError(err, what + " \"" + path + "\": " + std::strerror(err));
}

// A file written under a temporary name beside its target and renamed over it when
// complete, so the target is never seen half written.
class ReplacingFile {
public:
    explicit ReplacingFile(const std::string& path)
        : m_path(path)
    {
        std::random_device random;
        for (int tries = 0; tries < 100 && m_fd < 0; ++tries) {
            char suffix[24];
            std::snprintf(suffix, sizeof suffix, ".orvex-%08x", static_cast<unsigned>(random()));
            m_temp = path + suffix;
            // 0666 under the umask, as any new file.
            m_fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd < 0 && errno != EEXIST)
                fail(errno, "No se puede escribir", path);
        }
        if (m_fd < 0)
            fail(EEXIST, "No se puede escribir", path);
        struct stat old { };
        if (::stat(path.c_str(), &old) == 0)
            ::fchmod(m_fd, old.st_mode & 07777);
    }
    ~ReplacingFile()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
            ::unlink(m_temp.c_str());
        }
    }

    void write(std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                fail(errno, "No se puede escribir", m_path);
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }

    void commit()
    {
        int err = ::fsync(m_fd) == 0 ? 0 : errno;
        if (::close(m_fd) != 0 && err == 0)
            err = errno;
        m_fd = -1;
        if (err == 0 && ::rename(m_temp.c_str(), m_path.c_str()) != 0)
            err = errno;
        if (err != 0) {
            ::unlink(m_temp.c_str());
            fail(err, "No se puede escribir", m_path);
        }
        const auto slash = m_path.find_last_of('/');
        const std::string folder
            = slash == std::string::npos ? "." : m_path.substr(0, std::max<std::size_t>(slash, 1));
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }

private:
    std::string m_path;
    std::string m_temp;
    int m_fd = -1;
};

} // namespace

std::string exportFileName(const std::string& dataPath)
{
    const std::string name = fileNameOf(dataPath);
    const auto dot = name.find('.');
    return dot == std::string::npos ? name : name.substr(0, dot + 1) + "TXT";
}

std::string columnHeader(const FieldDescription& field)
{
    return (field.isProtected() ? "*" : "") + std::string(trimBlanks(field.caption));
}

std::string exportDoneMessage(const std::string& name)
{
    return "Archivo [" + name + "], ha sido creado satisfactoriamente...";
}

std::string exportTable(const TableAccess& access, const std::vector<FieldDescription>& fields,
    std::int32_t count, const std::string& directory)
{
    const TableLayout& layout = access.layout();
    const std::string name = exportFileName(layout.dataPath);
    if (name.empty())
        throw TableError(
            EINVAL, "No hay nombre de archivo para exportar \"" + layout.dataPath + "\"...");
    const std::string path = directory.empty() ? name : directory + "/" + name;
    struct stat out {
    }, data {};
    if (::stat(path.c_str(), &out) == 0) {
        if (::fstat(access.dataFile().fd(), &data) == 0 && out.st_dev == data.st_dev
            && out.st_ino == data.st_ino)
            throw ExportRefused("Archivo [" + name
                + "], es el mismo archivo de datos de la tabla: no se ha creado el archivo "
                  "texto...");
        if (::access(path.c_str(), W_OK) != 0)
            fail(errno, "No se puede escribir", path);
    }

    ReplacingFile file(path);
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
    return name;
}

} // namespace orvex
