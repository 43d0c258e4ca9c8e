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

std::int16_t cvi(std::string_view bytes) { return fromBytes<std::int16_t>(bytes); }
std::int32_t cvl(std::string_view bytes) { return fromBytes<std::int32_t>(bytes); }
float cvs(std::string_view bytes) { return fromBytes<float>(bytes); }
double cvd(std::string_view bytes) { return fromBytes<double>(bytes); }
Money cvc(std::string_view bytes) { return Money::fromRaw(fromBytes<std::int64_t>(bytes)); }

std::string mki(std::int16_t value) { return toBytes(value); }
std::string mkl(std::int32_t value) { return toBytes(value); }
std::string mks(float value) { return toBytes(value); }
std::string mkd(double value) { return toBytes(value); }
std::string mkc(Money value) { return toBytes(value.raw()); }

char upperCp1252(char c) { return kUpper[static_cast<unsigned char>(c)]; }

void upperCp1252(char* bytes, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = kUpper[static_cast<unsigned char>(bytes[i])];
}

std::string_view trimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return trimRightBlanks(text.substr(first));
}

std::string_view trimRightBlanks(std::string_view text)
{
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view {} : text.substr(0, last + 1);
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
