#include "common/calc_error.h"
#include "worksheet/calculation.h"
#include "worksheet/irr_poly.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace orvex {
namespace {

// Σ |x_k| / (1 + r)^k: the size against which a present value counts as zero.
double scaleAt(double r, const std::vector<double>& x)
{
    double s = 0;
    for (std::size_t k = 0; k < x.size(); ++k)
        s += std::fabs(x[k]) * std::pow(1 + r, -static_cast<double>(k));
    return s;
}

std::vector<double> annuity(double principal, double r, int n)
{
    // Payment from the closed form A = P · r / (1 − (1 + r)^−n).
    const double a = principal * r / (1 - std::pow(1 + r, -n));
    std::vector<double> x(static_cast<std::size_t>(n) + 1, a);
    x[0] = -principal;
    return x;
}

TEST(Irr, KnownRoots)
{
    struct Case {
        const char* name;
        std::vector<double> flows;
        double rate;
        double tolerance;
    };
    const std::vector<Case> cases = {
        { "one period", { -1000, 1100 }, 0.1, 1e-15 },
        { "annuity, 5 periods", annuity(1000, 0.1, 5), 0.1, 1e-14 },
        { "annuity, 360 months", annuity(1e6, 0.01, 360), 0.01, 1e-13 },
        { "annuity, 65535 periods at 0.1 %", annuity(1000, 0.001, 65535), 0.001, 1e-12 },
        { "annuity, 65535 periods at 20 %", annuity(1000, 0.2, 65535), 0.2, 1e-13 },
        // −100 + 230v − 132v² has roots 10 % and 20 %: the one nearer 0 wins.
        { "two positive roots", { -100, 230, -132 }, 0.1, 1e-13 },
        // −x² + 1.8x − 0.65 in x = 1 + r: roots −50 % and 30 %.
        { "roots -50 % and 30 %", { -1, 1.8, -0.65 }, 0.3, 1e-13 },
        // −x² + 2.2x − 1.17: roots −10 % and 30 %.
        { "roots -10 % and 30 %", { -1, 2.2, -1.17 }, -0.1, 1e-13 },
        { "-99 %", { 100, -1 }, -0.99, 1e-15 },
        { "-99.99 % the other way", { -10000, 1 }, -0.9999, 1e-15 },
        { "huge rate", { -1, 1e6 }, 999999, 1e-9 },
        { "exactly zero", { -1000, 500, 500 }, 0, 0 },
        { "leading and trailing zeros", { 0, 0, -1000, 1100, 0, 0 }, 0.1, 1e-15 },
        { "zeros inside", { -1000, 0, 0, 0, 1464.1 }, 0.1, 1e-13 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const double r = internalRateOfReturn(c.flows);
        EXPECT_NEAR(r, c.rate, c.tolerance + c.tolerance * std::fabs(c.rate));
        EXPECT_GT(r, -1.0);
    }
}

// Flows with the roots r0 and r1: in v = 1 + r, PV(r) · v^M = c (v − v0)(v − v1) (v + 1)^m,
// whose other root (r = −2) is no rate. With r1 = r0 the value touches 0 without crossing.
std::vector<double> rootsAt(double r0, double r1, double c, int m)
{
    std::vector<double> a { c * (1 + r0) * (1 + r1), -c * (2 + r0 + r1), c }; // ascending in v
    for (int k = 0; k < m; ++k) {
        std::vector<double> next(a.size() + 1, 0.0);
        for (std::size_t i = 0; i < a.size(); ++i) {
            next[i] += a[i];
            next[i + 1] += a[i];
        }
        a = next;
    }
    return { a.rbegin(), a.rend() }; // flow k is the coefficient of v^(M − k)
}

std::vector<double> touching(double r0, double c, int m) { return rootsAt(r0, r0, c, m); }

TEST(Irr, TouchingRootsAtSeveralPlacesAndScales)
{
    for (double r0 : { -0.5, -0.1, 0.005, 0.02, 0.1, 0.5, 2.0 })
        for (double c : { 1e-3, 1.0, 1e6 })
            for (int m : { 0, 4, 20 }) {
                SCOPED_TRACE(testing::Message() << "r0 " << r0 << " c " << c << " m " << m);
                double r = 0;
                ASSERT_NO_THROW(r = internalRateOfReturn(touching(r0, c, m)));
                EXPECT_NEAR(r, r0, 1e-6 * (1 + std::fabs(r0)));
            }
}

// Two roots closer than any grid: the rate is the one nearer to 0, on either side.
TEST(Irr, ClosePairsGiveTheRootNearestZero)
{
    for (double r0 : { -0.45, -0.1, 0.02, 0.5, 3.0 })
        for (double d : { 1e-3, 1e-5 })
            for (int m : { 0, 20 }) {
                SCOPED_TRACE(testing::Message() << "r0 " << r0 << " d " << d << " m " << m);
                const double nearest = std::fabs(r0) < std::fabs(r0 + d) ? r0 : r0 + d;
                double r = 0;
                ASSERT_NO_THROW(r = internalRateOfReturn(rootsAt(r0, r0 + d, 1.0, m)));
                EXPECT_NEAR(r, nearest, 0.1 * d);
            }
}

// A root either side of 0, the one below a little nearer: finding the one
// above first must not hide it.
TEST(Irr, RootsEitherSideOfZeroGiveTheNearer)
{
    for (double r0 : { 0.001, 0.003, 0.2 })
        for (double d : { 1e-4, 1e-6 })
            for (int m : { 0, 10, 30 }) {
                SCOPED_TRACE(testing::Message() << "r0 " << r0 << " d " << d << " m " << m);
                const double nearer = -r0 * (1 - d);
                double r = 0;
                ASSERT_NO_THROW(r = internalRateOfReturn(rootsAt(r0, nearer, 1.0, m)));
                EXPECT_NEAR(r, nearer, 1e-9 * r0);
            }
}

// Roots either side of 0 as far from it to within 1e-10 or less: the rate is
// the nearer (either, where they tie in their last bit), from the careful scan
// as well, whose search below 0 stops at the distance of the root above.
TEST(Irr, NearTiesAcrossZeroGiveTheNearer)
{
    // The root of (1 + r)^M · PV in quadruple precision, by Newton's method from r.
    auto exactRoot = [](const std::vector<double>& x, double r) {
        __float128 root = r;
        for (int i = 0; i < 8; ++i) {
            __float128 value = 0, slope = 0;
            for (double c : x) {
                slope = slope * (1 + root) + value;
                value = value * (1 + root) + c;
            }
            root -= value / slope;
        }
        return static_cast<double>(root);
    };
    for (double r0 : { 0.003, 0.05, 0.7 })
        for (double d : { 1e-10, 1e-12, -1e-12, 1e-13 })
            for (int m : { 0, 10, 30 }) {
                SCOPED_TRACE(testing::Message() << "r0 " << r0 << " d " << d << " m " << m);
                const std::vector<double> x = rootsAt(r0, -r0 * (1 - d), 1.0, m);
                const double above = exactRoot(x, r0), below = exactRoot(x, -r0 * (1 - d));
                const double nearer = std::min(above, -below);
                for (double r : { internalRateOfReturn(x), irr::rateByScan(x) }) {
                    EXPECT_NEAR(std::fabs(r), nearer, 4e-16 * nearer) << "r " << r;
                    EXPECT_NEAR(r, r > 0 ? above : below, 4e-16 * nearer) << "r " << r;
                }
            }
}

// Descartes' rule on the running sums: at most one root in (0, 1) for the flows
// and for them read backwards, with room for the value to move by a shift.
TEST(Irr, RunningSumsBoundTheRootsEachSide)
{
    struct Case {
        const char* name;
        std::vector<double> flows;
        double shift;
        bool atMostOne;
    };
    const std::vector<Case> cases = {
        { "outlays in mid-life and at the end",
            { -1000, 300, 300, 300, 300, -500, 300, 300, 300, -100 }, 0, true },
        { "one sign change each way", { -1000, 600, 600 }, 0, true },
        { "roots 10 % and 20 %", { -100, 230, -132 }, 0, false },
        { "roots -10 % and -20 % (read backwards)", { -132, 230, -100 }, 0, false },
        { "touching at 10 %", { -1, 2.2, -1.21 }, 0, false },
        // 1 − u + u² stays above 3/4; the running sums prove it with a shift of
        // 0.1 (second sums 1, 1, 1 against 3 shifts), not of 0.5.
        { "no root, small shift", { 1, -1, 1 }, 0.1, true },
        { "no root, large shift", { 1, -1, 1 }, 0.5, false },
        { "a running sum of 0", { -1, 1, -1, 1 }, 0, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        double scale = 0;
        for (double v : c.flows)
            scale += std::fabs(v);
        EXPECT_EQ(irr::atMostOneRootEachSide(c.flows, scale, c.shift), c.atMostOne);
    }
}

TEST(Irr, NoRateIsAnError)
{
    struct Case {
        const char* name;
        std::vector<double> flows;
    };
    const std::vector<Case> cases = {
        { "empty", {} },
        { "all zero", { 0, 0, 0 } },
        { "single non-zero", { 0, -5, 0 } },
        { "all positive", { 100, 100, 1 } },
        { "all negative", { -1, -2 } },
        // −x² + 2x − 2 has no real root although the signs change twice.
        { "two sign changes, no root", { -1, 2, -2 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            internalRateOfReturn(c.flows);
            ADD_FAILURE() << "a rate was returned";
        } catch (const CalcError& e) {
            EXPECT_EQ(e.kind(), CalcErrorKind::NoRate);
        }
    }
}

TEST(Irr, NeverReturnsMinusOneOrLess)
{
    // The true rate is −1 + 1e-20, below the resolution of a double near −1.
    const double r = internalRateOfReturn(std::vector<double> { 1e20, -1 });
    EXPECT_GT(r, -1.0);
    EXPECT_LT(r, -0.999999999);
}

TEST(Irr, NotFiniteFlowsAreAnError)
{
    EXPECT_THROW(internalRateOfReturn(std::vector<double> { -1, INFINITY }), CalcError);
    EXPECT_THROW(internalRateOfReturn(std::vector<double> { -1, NAN, 3 }), CalcError);
}

// −1 now and g = (1 + 2^−20)² (exact in a double) after k periods: the rate
// (1 + r)^k = g sits near 0, where only a final correction in more than double
// precision keeps the last digits, in the short chain and in the long lanes alike.
TEST(Irr, RatesNearZeroKeepTheirDigits)
{
    const double g = 1 + std::ldexp(1.0, -19) + std::ldexp(1.0, -40);
    for (int k : { 2, 7, 70, 1000 }) {
        SCOPED_TRACE(k);
        std::vector<double> x(static_cast<std::size_t>(k) + 1, 0.0);
        x[0] = -1;
        x.back() = g;
        const double expected = std::expm1(std::log1p(g - 1) / k);
        EXPECT_NEAR(internalRateOfReturn(x), expected, 4e-16 * expected);
    }
}

// Short series, half of them with an outlay in mid-life as well: a short
// search stops early, and the last correction must see whether it settled the
// rate. A quarter are longer, and a fifth have amounts near the largest
// doubles, where the correction's exact products must not overflow. Every
// digit agrees with Newton's method run in quadruple precision from the
// returned rate.
TEST(Irr, SeriesKeepTheirDigits)
{
    std::mt19937 gen(16);
    std::uniform_real_distribution<double> amount(0, 1000), excess(-0.1, 0.1);
    std::uniform_int_distribution<int> shortLength(4, 64), longLength(65, 300);
    for (int t = 0; t < 400; ++t) {
        std::vector<double> x(static_cast<std::size_t>(t % 4 ? shortLength(gen) : longLength(gen)));
        const std::size_t outlays = 1 + x.size() / 3;
        const std::size_t midLife = t % 2 ? outlays + (x.size() - outlays) / 2 : 0;
        double paid = 0, received = 0;
        for (std::size_t k = 0; k < x.size(); ++k) {
            const bool out = k < outlays || k == midLife;
            x[k] = amount(gen) * (out ? -1 : 1);
            (out ? paid : received) += std::fabs(x[k]);
        }
        // A third with rates near 0, where the search's last step lands farthest.
        const double scale = paid / received * (1 + excess(gen) * (t % 3 ? 1 : 1e-5));
        for (std::size_t k = outlays; k < x.size(); ++k)
            if (k != midLife)
                x[k] *= scale;
        if (t % 5 == 0)
            for (double& v : x)
                v *= 0x1p990;
        const double r = internalRateOfReturn(x);
        __float128 root = r;
        for (int i = 0; i < 3; ++i) {
            const __float128 v = 1 / (1 + root);
            __float128 value = 0, slope = 0; // Σ x_k v^k and its derivative in v
            for (std::size_t k = x.size(); k-- > 0;) {
                slope = slope * v + value;
                value = value * v + x[k];
            }
            root += value / (slope * v * v);
        }
        EXPECT_NEAR(r, static_cast<double>(root), 2.5e-16 * std::fabs(r)) << "case " << t;
    }
}

// For random mixed-sign flows, a returned rate zeroes the present value and no
// rate nearer to 0 does.
TEST(Irr, ReturnedRateZeroesThePresentValue)
{
    std::mt19937 gen(20261206);
    std::uniform_real_distribution<double> amount(-1000, 1000);
    std::uniform_int_distribution<int> length(2, 400);
    int found = 0;
    for (int t = 0; t < 300; ++t) {
        std::vector<double> x(static_cast<std::size_t>(length(gen)));
        for (double& v : x)
            v = amount(gen);
        double r = 0;
        try {
            r = internalRateOfReturn(x);
        } catch (const CalcError&) {
            continue;
        }
        ++found;
        ASSERT_GT(r, -1.0);
        EXPECT_LE(std::fabs(presentValue(r, x)), 1e-9 * scaleAt(r, x))
            << "case " << t << " r " << r;
        // No root nearer to 0 on either side: the value keeps its sign at r = 0
        // (where it can still be computed: near −100 % it overflows).
        const double at0 = presentValue(0, x);
        for (int j = -100; j <= 100; ++j) {
            const double q = 0.99 * std::fabs(r) * j / 100;
            if (q <= -1)
                continue;
            try {
                EXPECT_GT(presentValue(q, x) * at0, 0) << "case " << t << " r " << r << " at " << q;
            } catch (const CalcError&) {
            }
        }
    }
    EXPECT_GT(found, 200);
}

TEST(PresentValue, DiscountsFromTheFirstIndex)
{
    EXPECT_DOUBLE_EQ(presentValue(0.1, std::vector<double> { -1000, 1100 }), 0.0);
    EXPECT_NEAR(presentValue(0.1, annuity(1000, 0.1, 5)), 0.0, 1e-10);
    EXPECT_DOUBLE_EQ(presentValue(0, std::vector<double> { 1, 2, 3 }), 6);
    EXPECT_THROW(presentValue(-1, std::vector<double> { 1, 2 }), CalcError);
    // (1 + r)^−k overflows for r = −90 % over 400 periods.
    EXPECT_THROW(presentValue(-0.9, std::vector<double>(400, 1.0)), CalcError);
}

} // namespace
} // namespace orvex
