#include "records/field_bytes.h"

#include "common/file_io.h"

#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace orvex {
namespace {

static_assert(std::endian::native == std::endian::little, "records are stored little-endian");

template <class T> T fromBytes(std::string_view bytes)
{
    std::array<char, sizeof(T)> raw {};
    std::memcpy(raw.data(), bytes.data(), std::min(bytes.size(), raw.size()));
    return std::bit_cast<T>(raw);
}

template <class T> std::string toBytes(T value)
{
    const auto raw = std::bit_cast<std::array<char, sizeof(T)>>(value);
    return std::string(raw.data(), raw.size());
}

constexpr std::array<char, 256> makeUpperTable()
{
    std::array<char, 256> t {};
    for (int b = 0; b < 256; ++b) {
        int u = b;
        if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7))
            u = b - 0x20;
        else if (b == 0x9A || b == 0x9C || b == 0x9E)
            u = b - 0x10;
        else if (b == 0xFF)
            u = 0x9F;
        t[static_cast<std::size_t>(b)] = static_cast<char>(u);
    }
    return t;
}

constexpr std::array<char, 256> kUpper = makeUpperTable();

} // namespace

std::string mki(std::int16_t value) { return toBytes(value); }
std::string mkl(std::int32_t value) { return toBytes(value); }
std::string mks(float value) { return toBytes(value); }
std::string mkd(double value) { return toBytes(value); }
std::string mkc(Money value) { return toBytes(value.raw()); }

char upperCp1252(char c) { return kUpper[static_cast<unsigned char>(c)]; }

// Branch-free, so that the compiler turns it into vector code: a search that ignores
// case upper-cases whole blocks of records.
void upperCp1252(char* bytes, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const unsigned small = (static_cast<unsigned char>(c - 'a') < 26)
            | ((static_cast<unsigned char>(c - 0xE0) < 31) & (c != 0xF7));
        const unsigned accented = (c == 0x9A) | (c == 0x9C) | (c == 0x9E);
        const unsigned lastY = c == 0xFF;
        bytes[i] = static_cast<char>(c - (small << 5) - (accented << 4) - lastY * 0x60);
    }
}

ScratchFile::ScratchFile(const std::string& directory)
{
    const std::string path = directory.empty() ? std::string(kName) : directory + "/" + kName;
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (m_fd < 0) {
        const int err = errno;
        throw FileError(err, "No se puede abrir \"" + path + "\": " + std::strerror(err));
    }
}

ScratchFile::~ScratchFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace orvex
