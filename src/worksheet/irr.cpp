// Present value and internal rate of return of a series of period flows.
//
// The rate is searched in the polynomial variable instead of in r, so that no
// power (1 + r)^k can overflow or underflow, whatever the horizon:
//   r >= 0:  PV(r) = Σ x_k u^k            with u = 1 / (1 + r) in (0, 1]
//   r <  0:  PV(r) · (1 + r)^M = Σ x_{M-k} u^k  with u = 1 + r  in (0, 1)
// Both have the sign and the roots of PV on their side of 0. On each side the
// root nearest to r = 0 is the root nearest to u = 1.

#include "worksheet/calculation.h"

#include "common/checked.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvex {
namespace {

constexpr double kEps = std::numeric_limits<double>::epsilon();

struct PolyValue {
    double value = 0; // Σ c_k u^k
    double weighted = 0; // Σ k c_k u^k, that is u · P'(u)
    double scale = 0; // Σ |c_k| u^k, the size of the rounding error's terms
};

// Σ c_k u^k for 0 < u <= 1. Terms are summed from k = 0 upward in blocks whose
// first power comes from pow() (so rounding does not pile up over long
// horizons), and the sum stops once the rest of the series cannot change it.
template <bool Reversed> PolyValue evaluate(std::span<const double> c, double u, double cmax)
{
    constexpr std::size_t kBlock = 256;
    const std::size_t n = c.size();
    const double u2 = u * u, u4 = u2 * u2;
    const double rest = 1.0 - u;
    double s[4] = {}, w[4] = {}, a[4] = {};
    for (std::size_t k = 0; k < n; k += kBlock) {
        const double first = std::pow(u, static_cast<double>(k));
        if (first == 0.0)
            break;
        if (rest > 0.0 && k > 0) {
            // |tail| <= cmax · u^k / (1 − u), and its weighted sum <= that · (k + 1 / (1 − u)).
            const double tail = cmax * first / rest * (1.0 + static_cast<double>(k) + 1.0 / rest);
            const double size = a[0] + a[1] + a[2] + a[3];
            if (tail <= 1e-18 * size)
                break;
        }
        const std::size_t end = std::min(n, k + kBlock);
        double p[4] = { first, first * u, first * u2, first * u2 * u };
        std::size_t j = k;
        for (; j + 4 <= end; j += 4) {
            for (int l = 0; l < 4; ++l) {
                const std::size_t idx = j + static_cast<std::size_t>(l);
                const double term = (Reversed ? c[n - 1 - idx] : c[idx]) * p[l];
                s[l] += term;
                w[l] += static_cast<double>(j + static_cast<std::size_t>(l)) * term;
                a[l] += std::fabs(term);
                p[l] *= u4;
            }
        }
        for (int l = 0; j < end; ++j, ++l) {
            const double term = (Reversed ? c[n - 1 - j] : c[j]) * p[l];
            s[0] += term;
            w[0] += static_cast<double>(j) * term;
            a[0] += std::fabs(term);
        }
    }
    return { (s[0] + s[1]) + (s[2] + s[3]), (w[0] + w[1]) + (w[2] + w[3]),
        (a[0] + a[1]) + (a[2] + a[3]) };
}

int sign(double x) { return (x > 0) - (x < 0); }

// Σ c_k u^k over the flows, or over the flows read backwards.
class Polynomial {
public:
    Polynomial(std::span<const double> flows, bool reversed, double cmax)
        : m_c(flows)
        , m_reversed(reversed)
        , m_cmax(cmax)
    {
    }
    PolyValue at(double u) const
    {
        return m_reversed ? evaluate<true>(m_c, u, m_cmax) : evaluate<false>(m_c, u, m_cmax);
    }
    // Tolerance under which a value counts as zero at a touching root.
    double zeroTolerance(const PolyValue& v) const
    {
        return 8.0 * std::sqrt(static_cast<double>(m_c.size())) * kEps * v.scale;
    }

private:
    std::span<const double> m_c;
    bool m_reversed;
    double m_cmax;
};

// The root in [lo, hi] of a polynomial whose values at the ends have opposite
// signs: Newton steps kept inside the shrinking bracket, bisection otherwise.
double refineRoot(const Polynomial& p, double lo, double hi, int signLo)
{
    double x = 0.5 * (lo + hi);
    for (int iter = 0; iter < 200; ++iter) {
        const PolyValue v = p.at(x);
        if (v.value == 0.0)
            return x;
        if (sign(v.value) == signLo)
            lo = x;
        else
            hi = x;
        if (hi - lo <= 2.0 * kEps * hi)
            break;
        const double derivative = v.weighted / x;
        if (derivative != 0.0) {
            const double next = x - v.value / derivative;
            if (std::fabs(next - x) <= 2.0 * kEps * x)
                return x; // Newton has converged
            if (next > lo && next < hi) {
                x = next;
                continue;
            }
        }
        x = 0.5 * (lo + hi);
    }
    return 0.5 * (lo + hi);
}

// The point in [lo, hi] where u · P'(u) changes sign (an extremum of P).
double locateExtremum(const Polynomial& p, double lo, double hi, int signLo)
{
    for (int iter = 0; iter < 200 && hi - lo > 2.0 * kEps * hi; ++iter) {
        const double mid = 0.5 * (lo + hi);
        const PolyValue v = p.at(mid);
        if (v.weighted == 0.0)
            return mid;
        if (sign(v.weighted) == signLo)
            lo = mid;
        else
            hi = mid;
    }
    return 0.5 * (lo + hi);
}

// The root of P in (lowest, 1) nearest to 1, a touching root included; NaN when
// there is none. P(1) must not be 0.
double rootNearestOne(const Polynomial& p, double lowest)
{
    // A grid fine enough near u = 1 (steps of about 0.2 % in the rate) and
    // coarse where u is small; between grid points a change of sign of P
    // brackets a root and a change of sign of P' an extremum that may touch 0.
    constexpr int kSteps = 512;
    double uPrev = 1.0;
    PolyValue prev = p.at(uPrev);
    for (int j = 1; j <= kSteps; ++j) {
        const double u = j < kSteps ? 1.0 - static_cast<double>(j) / kSteps : 0.0;
        if (u < lowest)
            return std::numeric_limits<double>::quiet_NaN();
        PolyValue cur;
        if (u == 0.0)
            cur.value = p.at(0.0).value; // the first coefficient
        else
            cur = p.at(u);
        if (cur.value == 0.0 && u > 0.0)
            return u;
        if (sign(cur.value) != sign(prev.value))
            return refineRoot(p, u, uPrev, sign(cur.value));
        if (u > 0.0 && sign(cur.weighted) != 0 && sign(prev.weighted) != 0
            && sign(cur.weighted) != sign(prev.weighted)) {
            const double m = locateExtremum(p, u, uPrev, sign(cur.weighted));
            const PolyValue at = p.at(m);
            if (sign(at.value) != sign(prev.value) && at.value != 0.0)
                return refineRoot(p, m, uPrev, sign(at.value));
            if (std::fabs(at.value) <= p.zeroTolerance(at))
                return m;
        }
        uPrev = u;
        prev = cur;
    }
    return std::numeric_limits<double>::quiet_NaN();
}

[[noreturn]] void noRate() { throw CalcError(CalcErrorKind::NoRate, "no internal rate of return"); }

// Double-double arithmetic for the last correction of a found rate.
struct DD {
    double hi, lo;
};

DD twoSum(double a, double b)
{
    const double s = a + b;
    const double bb = s - a;
    return { s, (a - (s - bb)) + (b - bb) };
}

// a · x + c in double-double.
DD mulAdd(DD a, DD x, double c)
{
    const double ph = a.hi * x.hi;
    const double pl = std::fma(a.hi, x.hi, -ph) + a.hi * x.lo + a.lo * x.hi;
    const DD s = twoSum(ph, c);
    return twoSum(s.hi, s.lo + pl);
}

// One Newton step on PV(r) with the value computed in double-double, so that the
// rate keeps nearly all its digits (the search in u loses some near r = 0).
// The value is the one of the side of 0 the rate lies on; the derivative needs
// no such care.
double polishRate(std::span<const double> y, double r)
{
    const std::size_t n = y.size() - 1;
    const DD onePlusR = twoSum(1.0, r);
    DD value { 0, 0 };
    double slope = 0; // d value / d r
    if (r >= 0.0) {
        const double vh = 1.0 / onePlusR.hi;
        const double rho = std::fma(-vh, onePlusR.hi, 1.0);
        const DD v { vh, vh * (rho - vh * onePlusR.lo) };
        // Terms beyond k stay below 1e-34 of the largest flow: Horner may skip them.
        std::size_t top = n;
        if (vh < 1.0) {
            const double k = std::log(1e-34 * (1.0 - vh)) / std::log(vh);
            if (k < static_cast<double>(n))
                top = static_cast<std::size_t>(k) + 1;
        }
        double weighted = 0;
        for (std::size_t k = top + 1; k-- > 0;) {
            value = mulAdd(value, v, y[k]);
            weighted = weighted * vh + static_cast<double>(k) * y[k];
        }
        slope = -weighted * vh; // Σ −k y_k v^(k+1), with weighted = Σ k y_k v^k
    } else {
        // (1 + r)^n · PV(r) = Σ y_k w^(n−k), w = 1 + r held exactly as a double-double.
        const double w = onePlusR.hi;
        std::size_t from = 0;
        if (w < 1.0) {
            const double k = std::log(1e-34 * (1.0 - w)) / std::log(w);
            if (k < static_cast<double>(n))
                from = n - static_cast<std::size_t>(k) - 1;
        }
        double derivative = 0;
        double plain = 0;
        for (std::size_t k = from; k <= n; ++k) {
            derivative = derivative * w + plain;
            plain = plain * w + y[k];
            value = mulAdd(value, onePlusR, y[k]);
        }
        slope = derivative;
    }
    if (slope == 0.0 || !std::isfinite(slope))
        return r;
    const double next = r - (value.hi + value.lo) / slope;
    // Keep the correction only where it is one: small, and still a rate above −1.
    if (!std::isfinite(next) || next <= -1.0 || std::fabs(next - r) > 1e-6 * (1.0 + std::fabs(r)))
        return r;
    return next;
}

// What one pass over the flows tells before any search.
struct FlowSummary {
    std::size_t first = 0, last = 0; // first and last non-zero flow
    bool any = false;
    int signChanges = 0;
    double sum = 0; // compensated (Neumaier) sum: the value at r = 0
    double cmax = 0; // largest magnitude
};

FlowSummary summarize(std::span<const double> x)
{
    FlowSummary f;
    double compensation = 0;
    int lastSign = 0;
    for (std::size_t k = 0; k < x.size(); ++k) {
        const double v = x[k];
        if (!std::isfinite(v))
            throw CalcError(CalcErrorKind::NotFinite, "flow is not a finite number");
        if (v == 0.0)
            continue;
        if (!f.any) {
            f.first = k;
            f.any = true;
        }
        f.last = k;
        const int s = sign(v);
        if (lastSign != 0 && s != lastSign)
            ++f.signChanges;
        lastSign = s;
        f.cmax = std::max(f.cmax, std::fabs(v));
        const double t = f.sum + v;
        compensation += std::fabs(f.sum) >= std::fabs(v) ? (f.sum - t) + v : (v - t) + f.sum;
        f.sum = t;
    }
    f.sum += compensation;
    return f;
}

} // namespace

double presentValue(double rate, std::span<const double> flows)
{
    const double v = checkedDiv(1.0, 1.0 + rate);
    double sum = 0;
    for (std::size_t k = flows.size(); k-- > 0;)
        sum = sum * v + flows[k];
    return checkFinite(sum);
}

double internalRateOfReturn(std::span<const double> flows)
{
    const FlowSummary f = summarize(flows);
    if (!f.any || f.first == f.last)
        noRate(); // no flow, or a single one: the value is never 0
    if (f.signChanges == 0)
        noRate(); // every flow has one sign: the value never reaches 0
    if (f.sum == 0.0)
        return 0.0;

    // Leading zeros only multiply the value by a power of u; trailing zeros add nothing.
    const std::span<const double> y = flows.subspan(f.first, f.last - f.first + 1);
    const Polynomial positive(y, false, f.cmax);
    const Polynomial negative(y, true, f.cmax);
    const double atZero = f.sum;
    const int changes = f.signChanges;

    auto ratePositive = [](double u) { return checkFinite((1.0 - u) / u); };
    auto rateNegative = [](double u) {
        const double r = u - 1.0;
        return r > -1.0 ? r : std::nextafter(-1.0, 0.0);
    };

    auto polished = [&](double r) { return polishRate(y, r); };
    if (changes == 1) {
        // Descartes: exactly one root, on the side where the ends differ in sign.
        if (sign(atZero) != sign(y.front()))
            return polished(ratePositive(refineRoot(positive, 0.0, 1.0, sign(y.front()))));
        return polished(rateNegative(refineRoot(negative, 0.0, 1.0, sign(y.back()))));
    }

    double best = std::numeric_limits<double>::quiet_NaN();
    const double up = rootNearestOne(positive, 0.0);
    if (!std::isnan(up))
        best = ratePositive(up);
    // A root below 0 only wins when it lies nearer to 0 than the one above.
    const double lowest = std::isnan(best) ? 0.0 : std::max(0.0, 1.0 - best);
    const double un = rootNearestOne(negative, lowest);
    if (!std::isnan(un)) {
        const double r = rateNegative(un);
        if (std::isnan(best) || -r < best)
            best = r;
    }
    if (std::isnan(best))
        noRate();
    return polished(best);
}

} // namespace orvex
