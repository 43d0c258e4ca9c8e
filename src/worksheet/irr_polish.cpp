// The last correction of a found rate, in double-double arithmetic. The error-free
// products use Dekker's splitting, which needs every product rounded on its own:
// this file is built without contraction into fused multiply-adds.

#include "worksheet/irr_poly.h"

#include <cmath>

namespace orvex::irr {
namespace {

constexpr double kSplitter = 134217729.0; // 2^27 + 1

// A double-double: hi + lo, |lo| <= half an ulp of hi.
struct DD {
    double hi = 0, lo = 0;
};

DD twoSum(double a, double b)
{
    const double s = a + b;
    const double bb = s - a;
    return { s, (a - (s - bb)) + (b - bb) };
}

DD twoProduct(double a, double b)
{
    const double p = a * b;
    const double ta = kSplitter * a, tb = kSplitter * b;
    const double ah = ta - (ta - a), al = a - ah;
    const double bh = tb - (tb - b), bl = b - bh;
    return { p, ((ah * bh - p) + ah * bl + al * bh) + al * bl };
}

// The same pair from a fused multiply-add, which cannot overflow in the splitting.
template <bool Fma> DD exactProduct(double a, double b)
{
    if constexpr (Fma) {
        const double p = a * b;
        return { p, __builtin_fma(a, b, -p) };
    }
    return twoProduct(a, b);
}

template <bool Fma> DD multiply(DD a, DD b)
{
    const DD p = exactProduct<Fma>(a.hi, b.hi);
    return twoSum(p.hi, p.lo + a.hi * b.lo + a.lo * b.hi);
}

DD add(DD a, DD b)
{
    const DD s = twoSum(a.hi, b.hi);
    return twoSum(s.hi, s.lo + a.lo + b.lo);
}

// Two lanes of double-doubles.
struct PairDD {
    Pair hi = {}, lo = {};
};

// One step of Horner's rule, acc · x + c, in each lane; x = xh + xl with xh
// already split into xhh + xhl. The value runs along acc.hi in plain arithmetic,
// and the exact errors of its products and sums along acc.lo beside it
// (compensated Horner): each step waits on one product and one sum only, and the
// value keeps the accuracy of double-double arithmetic. With Fma the exact error
// of acc.hi · xh comes from fused multiply-adds instead of the splitting.
template <bool Fma>
[[gnu::always_inline]] inline void hornerStep(
    PairDD& acc, Pair xh, Pair xhh, Pair xhl, Pair xl, Pair c)
{
    const Pair ph = acc.hi * xh;
    Pair pe;
    if constexpr (Fma) {
        pe[0] = __builtin_fma(acc.hi[0], xh[0], -ph[0]);
        pe[1] = __builtin_fma(acc.hi[1], xh[1], -ph[1]);
    } else {
        const Pair splitter = { kSplitter, kSplitter };
        const Pair t = splitter * acc.hi;
        const Pair ah = t - (t - acc.hi), al = acc.hi - ah;
        pe = ((ah * xhh - ph) + ah * xhl + al * xhh) + al * xhl;
    }
    const Pair s = ph + c;
    const Pair bb = s - ph;
    const Pair se = (ph - (s - bb)) + (c - bb);
    acc.lo = acc.lo * xh + ((pe + se) + acc.hi * xl);
    acc.hi = s;
}

struct Sums {
    DD value; // Σ c_m x^m
    double weighted = 0; // Σ m c_m x^m
    double derivative = 0; // Σ m c_m x^(m − 1)
};

// Σ c_m x^m for m = 0 … top, c_m = y[m], or y[n − m] when reversed: four lanes
// of Horner's rule on x^4, each taking every fourth coefficient.
template <bool Reversed, bool Fma>
[[gnu::always_inline]] inline Sums horner(std::span<const double> y, std::size_t top, DD x)
{
    const std::size_t n = y.size() - 1;
    auto coefficient = [&](std::size_t m) { return m > top ? 0.0 : y[Reversed ? n - m : m]; };
    const DD x2 = multiply<Fma>(x, x), x4 = multiply<Fma>(x2, x2);
    const double t = kSplitter * x4.hi;
    const double x4hh = t - (t - x4.hi);
    const Pair xh = { x4.hi, x4.hi }, xhh = { x4hh, x4hh }, xhl = xh - xhh, xl = { x4.lo, x4.lo };
    PairDD acc[2];
    Pair weighted[2] = {};
    for (std::size_t j = top / 4 + 1; j-- > 0;) {
        const std::size_t m = 4 * j;
        for (int h = 0; h < 2; ++h) {
            const std::size_t m0 = m + 2 * static_cast<std::size_t>(h);
            const Pair c = { coefficient(m0), coefficient(m0 + 1) };
            const Pair power = { static_cast<double>(m0), static_cast<double>(m0 + 1) };
            hornerStep<Fma>(acc[h], xh, xhh, xhl, xl, c);
            weighted[h] = weighted[h] * xh + power * c;
        }
    }
    // Lane l holds Σ c_m x^(m − l) over m ≡ l (mod 4).
    DD value { acc[1].hi[1], acc[1].lo[1] };
    value = add(multiply<Fma>(value, x), DD { acc[1].hi[0], acc[1].lo[0] });
    value = add(multiply<Fma>(value, x), DD { acc[0].hi[1], acc[0].lo[1] });
    value = add(multiply<Fma>(value, x), DD { acc[0].hi[0], acc[0].lo[0] });
    const double w = ((weighted[1][1] * x.hi + weighted[1][0]) * x.hi + weighted[0][1]) * x.hi
        + weighted[0][0];
    return { value, w, w / x.hi };
}

// A short series in Horner steps on x², even and odd powers side by side,
// carrying the exact errors of each product and sum along a second chain beside
// each (compensated Horner): as accurate as the lanes, without their set-up and
// recombination, which cost more than a few terms. The chains run at x.hi alone,
// and x.lo enters at the end as P'(x.hi) · x.lo = weighted · (x.lo / x.hi), given
// as loRatio: they need not wait for it. The errors of the error chains and of
// that term stay far below the last bit of the value.
template <bool Reversed, bool Fma>
[[gnu::always_inline]] inline Sums hornerChain(
    std::span<const double> y, std::size_t top, double x, double loRatio)
{
    const std::size_t n = y.size() - 1;
    auto coefficient = [&](std::size_t m) { return m > top ? 0.0 : y[Reversed ? n - m : m]; };
    // x² = sh + sl exactly.
    const double sh = x * x;
    const double sl = exactProduct<Fma>(x, x).lo;
    const Pair xh = { sh, sh }, xl = { sl, sl }, two = { 2.0, 2.0 };
    std::size_t j = top / 2;
    Pair power = { static_cast<double>(2 * j), static_cast<double>(2 * j + 1) };
    Pair s = { coefficient(2 * j), coefficient(2 * j + 1) };
    Pair e = {}, weighted = power * s;
    while (j-- > 0) {
        const Pair c = { y[Reversed ? n - 2 * j : 2 * j], y[Reversed ? n - 2 * j - 1 : 2 * j + 1] };
        power -= two;
        const Pair p = s * xh;
        Pair pe;
        if constexpr (Fma) {
            pe[0] = __builtin_fma(s[0], sh, -p[0]);
            pe[1] = __builtin_fma(s[1], sh, -p[1]);
        } else {
            const DD even = twoProduct(s[0], sh), odd = twoProduct(s[1], sh);
            pe = Pair { even.lo, odd.lo };
        }
        const Pair t = p + c, bb = t - p;
        const Pair te = (p - (t - bb)) + (c - bb);
        e = e * xh + ((pe + te) + s * xl);
        weighted = weighted * xh + power * c;
        s = t;
    }
    // even + x · odd, with the errors of that product and sum.
    const DD odd = exactProduct<Fma>(s[1], x);
    const DD sum = twoSum(s[0], odd.hi);
    const double w = weighted[0] + weighted[1] * x;
    const double lo = ((sum.lo + odd.lo) + (e[0] + e[1] * x)) + w * loRatio;
    return { DD { sum.hi, lo }, w, w / x };
}

// Below this many terms one chain is quicker than four lanes.
constexpr std::size_t kChainTerms = 64;

// The same sums along one chain from the highest power down, for the scan: its
// answers stay exactly those it always gave. The slope of the value in x comes
// along by Horner's rule.
template <bool Reversed> Sums hornerInOrder(std::span<const double> y, std::size_t top, DD x)
{
    const std::size_t n = y.size() - 1;
    DD value;
    double weighted = 0, derivative = 0, plain = 0;
    for (std::size_t m = top + 1; m-- > 0;) {
        const double c = y[Reversed ? n - m : m];
        const DD p = twoProduct(value.hi, x.hi);
        const DD s = twoSum(p.hi, c);
        value = twoSum(s.hi, s.lo + (p.lo + value.hi * x.lo + value.lo * x.hi));
        weighted = weighted * x.hi + static_cast<double>(m) * c;
        derivative = derivative * x.hi + plain;
        plain = plain * x.hi + c;
    }
    return { value, weighted, derivative };
}

// The highest power of x (0 <= x < 1) whose terms can matter: beyond it they
// stay below 1e-34 of the largest flow, summed.
std::size_t lastPower(double x, std::size_t n)
{
    if ((1.0 - x) * static_cast<double>(n) < 64.0)
        return n; // no term small enough to drop
    const double k = std::log(1e-34 * (1.0 - x)) / std::log(x);
    return k < static_cast<double>(n) ? static_cast<std::size_t>(k) + 1 : n;
}

// One Newton step on PV(r) with the value computed in double-double, so that the
// rate keeps nearly all its digits (the search in u loses some near r = 0).
// The value is the one of the side of 0 the rate lies on; the derivative needs
// no such care.
struct Step {
    double next = 0; // r after the step, or r itself when the step is no correction
    bool corrected = false;
    double slope = 0; // d value / d r at r
};

// loRatio is x.lo / x.hi, for the chain.
template <bool Reversed, bool Fma>
[[gnu::always_inline]] inline Sums sumsAt(
    std::span<const double> y, DD x, double loRatio, Order order)
{
    const std::size_t top = lastPower(x.hi, y.size() - 1);
    if (order == Order::InOrder)
        return hornerInOrder<Reversed>(y, top, x);
    if (top < kChainTerms)
        return hornerChain<Reversed, Fma>(y, top, x.hi, loRatio);
    return horner<Reversed, Fma>(y, top, x);
}

// With Fma the exact products come from fused multiply-adds (the same pairs as
// the splitting gives); near 1 / (1 + r) saves a division where the caller has it.
template <bool Fma>
[[gnu::always_inline]] inline Step newtonStep(
    std::span<const double> y, double r, Order order, double near = 0.0)
{
    const DD onePlusR = twoSum(1.0, r);
    Sums sums;
    Step step { r };
    if (r >= 0.0) {
        const double vh = near > 0.0 ? near : 1.0 / onePlusR.hi;
        const double vr = vh * onePlusR.hi;
        double vre; // vh · (1 + r) = vr + vre = 1 − rho exactly
        if constexpr (Fma)
            vre = __builtin_fma(vh, onePlusR.hi, -vr);
        else
            vre = twoProduct(vh, onePlusR.hi).lo;
        const double rho = (1.0 - vr) - vre;
        const double loRatio = rho - vh * onePlusR.lo;
        sums = sumsAt<false, Fma>(y, DD { vh, vh * loRatio }, loRatio, order);
        step.slope = -sums.weighted * vh; // Σ −k y_k v^(k+1), with weighted = Σ k y_k v^k
    } else {
        // (1 + r)^n · PV(r) = Σ y_k w^(n−k), w = 1 + r held exactly as a double-double.
        sums = sumsAt<true, Fma>(y, onePlusR, onePlusR.lo / onePlusR.hi, order);
        step.slope = sums.derivative;
    }
    if (step.slope == 0.0 || !std::isfinite(step.slope))
        return step;
    // The lanes' step divides by a reciprocal worked out beside the value's last
    // terms; the scan keeps its own answers.
    const double value = sums.value.hi + sums.value.lo;
    const double next
        = order == Order::InOrder ? r - value / step.slope : r - value * (1.0 / step.slope);
    // Keep the correction only where it is one: small, and still a rate above −1.
    if (!std::isfinite(next) || next <= -1.0 || std::fabs(next - r) > 1e-6 * (1.0 + std::fabs(r)))
        return step;
    step.next = next;
    step.corrected = true;
    return step;
}

__attribute__((target("fma"))) Step newtonStepFma(std::span<const double> y, double r, double near)
{
    return newtonStep<true>(y, r, Order::Lanes, near);
}

// The lanes' step, built for processors with fused multiply-adds and without.
Step lanesStep(std::span<const double> y, double r, double near = 0.0)
{
    static const bool fma = __builtin_cpu_supports("fma");
    return fma ? newtonStepFma(y, r, near) : newtonStep<false>(y, r, Order::Lanes, near);
}

} // namespace

double polishRate(std::span<const double> y, double r, Order order)
{
    return order == Order::Lanes ? lanesStep(y, r).next
                                 : newtonStep<false>(y, r, Order::InOrder).next;
}

ShortPolish polishShortRate(std::span<const double> y, double r, double curvature, double near)
{
    const Step step = lanesStep(y, r, near);
    if (!step.corrected)
        return { r };
    // With |c| · M2 <= |PV'(r)| / 4 the root lies within 2 |c| of r, where |PV'|
    // keeps above half its value at r, and Newton leaves an error of at most
    // M2 / (2 · |PV'| / 2) · (2 c)²: the step settles the rate when that is below
    // a quarter of its last bit. M2 holds over that span only while it is a tiny
    // part of 1 + r.
    const double c = std::fabs(step.next - r), m1 = std::fabs(step.slope);
    const bool settled = 4.0 * c <= 1e-4 * (1.0 + r) && 4.0 * c * curvature <= m1
        && 16.0 * curvature * c * c <= kEps * std::fabs(step.next) * m1;
    return { step.next, true, settled };
}

} // namespace orvex::irr
