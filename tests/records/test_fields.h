#pragma once

#include "records/table_config.h"

#include <cstdint>
#include <string>

namespace orvex::testing {

// A field as a test describes it: caption, I0 length, I1 type, then I2..I6.
struct FieldSpec {
    std::string caption;
    std::int16_t length = 0, type = 0, hidden = 0, isProtected = 0, width = 0, digits = 0,
                 decimals = 0;
};

inline FieldDescription describe(const FieldSpec& s)
{
    FieldDescription d;
    d.caption = s.caption;
    d.i = { s.length, s.type, s.hidden, s.isProtected, s.width, s.digits, s.decimals, 0, 0, 0, 0 };
    return d;
}

} // namespace orvex::testing
