#pragma once

#include "../temp_dir.h"
#include "common/file_io.h"
#include "printing/line_prefix.h"

#include <gtest/gtest.h>

#include <string>

namespace orvex::test {

// A fresh folder that is also the current directory while the test runs (the settings
// file and the prepared copies are named relative to it).
class PrintingFolder : public ::testing::Test {
protected:
    void SetUp() override { m_dir.enter(); }
    static void write(const std::string& name, const std::string& bytes)
    {
        writeFileAtomically(name, bytes);
    }
    static std::string read(const std::string& name) { return readWholeFile(name); }

    TempDir m_dir;
};

// A report line: the prefix of digits (PrefijoLinea) followed by text.
inline std::string line(const char* digits, const std::string& text)
{
    return prefijoLinea(digits) + text;
}

// count lines "L1", "L2", ... each ended by CR LF.
inline std::string numberedLines(int count, const char* digits = nullptr, int from = 1)
{
    std::string text;
    for (int i = from; i < from + count; ++i)
        text += (digits ? prefijoLinea(digits) : std::string()) + "L" + std::to_string(i) + "\r\n";
    return text;
}

} // namespace orvex::test
