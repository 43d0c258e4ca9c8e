#include "common/checked.h"

#include <gtest/gtest.h>

#include <limits>

namespace orvex {
namespace {

TEST(Checked, EachFailureHasItsKind)
{
    struct Case {
        const char* name;
        std::function<void()> op;
        CalcErrorKind kind;
    };
    std::vector<double> v(3);
    const Case cases[] = {
        { "x/0", [] { checkedDiv(1, 0); }, CalcErrorKind::DivisionByZero },
        { "0/0", [] { checkedDiv(0, 0); }, CalcErrorKind::DivisionByZero },
        { "overflowing quotient", [] { checkedDiv(1e308, 1e-308); }, CalcErrorKind::NotFinite },
        { "(-8)^(1/3)", [] { checkedPow(-8, 1.0 / 3); },
            CalcErrorKind::NegativeBaseFractionalPower },
        { "0^-1", [] { checkedPow(0, -1); }, CalcErrorKind::DivisionByZero },
        { "10^400", [] { checkedPow(10, 400); }, CalcErrorKind::Overflow },
        { "NaN", [] { checkFinite(std::numeric_limits<double>::quiet_NaN()); },
            CalcErrorKind::NotFinite },
        { "v[3]", [&v] { checkedAt(v, 3); }, CalcErrorKind::IndexOutOfRange },
        { "v[-1]", [&v] { checkedAt(v, -1); }, CalcErrorKind::IndexOutOfRange },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            c.op();
            ADD_FAILURE() << "no error";
        } catch (const CalcError& e) {
            EXPECT_EQ(e.kind(), c.kind);
        }
    }
}

TEST(Checked, ValidOperationsPassThrough)
{
    EXPECT_DOUBLE_EQ(checkedDiv(1, 4), 0.25);
    EXPECT_DOUBLE_EQ(checkedPow(-2, 3), -8); // negative base, whole exponent
    EXPECT_DOUBLE_EQ(checkedPow(1.1, -1), 1 / 1.1);
    EXPECT_DOUBLE_EQ(checkedPow(0, 0), 1);
    std::vector<double> v { 1, 2, 3 };
    EXPECT_EQ(checkedAt(v, 2), 3);
}

} // namespace
} // namespace orvex
