#pragma once

#include "../temp_dir.h"
#include "records/field_bytes.h"
#include "records/table_config.h"
#include "records/table_lock.h"
#include "test_fields.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace orvex::testing {

// Hooks that never wait in a window (cancelling when told to) and record the status texts.
struct RecordingHooks : TableWaitHooks {
    bool waitWindow(const std::string&, const std::function<BusyTest()>& poll) override
    {
        ++windows;
        while (!cancel && poll().state == BusyTest::Busy)
            pausa(0.005);
        return cancel;
    }
    void status(const std::string& text) override { statuses.push_back(text); }
    void statusPause(double seconds) override
    {
        ++pauses;
        pausa(seconds);
    }

    bool cancel = false;
    int pauses = 0;
    int windows = 0;
    std::vector<std::string> statuses;
};

// A scratch folder that becomes the current directory for the test's duration.
class TableDir : public ::testing::Test {
protected:
    void SetUp() override { m_dir.enter(); }

    static void writeBytes(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    static std::string readBytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // The three configuration files of name in the current folder.
    static void writeConfig(const std::string& name, ConfigRecord record, const FieldSpec& header,
        const std::vector<FieldSpec>& fields, const std::vector<std::int32_t>& map = { 0 })
    {
        record.fieldCount = static_cast<std::int16_t>(fields.size());
        record.mapLast = static_cast<std::int16_t>(map.size() - 1);
        const ConfigPaths paths = configPaths(name);
        writeBytes(paths.ini, encodeConfigRecord(record));
        std::string cmp = encodeFieldDescription(describe(header));
        for (const auto& f : fields)
            cmp += encodeFieldDescription(describe(f));
        writeBytes(paths.cmp, cmp);
        std::string rg;
        for (auto entry : map)
            rg += mkl(entry);
        writeBytes(paths.rg, rg);
    }

    test::TempDir m_dir;
};

} // namespace orvex::testing
