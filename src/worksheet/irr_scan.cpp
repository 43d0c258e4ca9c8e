// The polynomial's evaluation and the careful search for the root nearest to
// u = 1 by a fixed grid: the answer whenever the faster search in irr.cpp
// cannot prove its own.

#include "worksheet/irr_poly.h"

#include "common/checked.h"

#include <algorithm>
#include <cmath>

namespace orvex::irr {
namespace {

// Σ c_k u^k for 0 < u <= 1. Terms are summed from k = 0 upward in blocks whose
// first power comes from pow() (so rounding does not pile up over long
// horizons), and the sum stops once the rest of the series cannot change it.
// Four lanes take every fourth term each, lanes 0-1 in one pair, 2-3 in the other.
template <bool Reversed> PolyValue evaluate(std::span<const double> c, double u, double cmax)
{
    constexpr std::size_t kBlock = 256;
    const std::size_t n = c.size();
    const double u2 = u * u, u4 = u2 * u2;
    const double rest = 1.0 - u;
    const Pair step4 = { u4, u4 }, four = { 4.0, 4.0 };
    Pair s[2] = {}, w[2] = {}, a[2] = {}, wa[2] = {};
    auto coefficients = [&](std::size_t j) {
        return Reversed ? loadPairBackwards(&c[n - 2 - j]) : loadPair(&c[j]);
    };
    for (std::size_t k = 0; k < n; k += kBlock) {
        const double first = k == 0 ? 1.0 : std::pow(u, static_cast<double>(k));
        if (first == 0.0)
            break;
        if (rest > 0.0 && k > 0) {
            // |tail| <= cmax · u^k / (1 − u), and its weighted sum <= that · (k + 1 / (1 − u)).
            const double tail = cmax * first / rest * (1.0 + static_cast<double>(k) + 1.0 / rest);
            const double size = (a[0][0] + a[0][1]) + (a[1][0] + a[1][1]);
            if (tail <= 1e-18 * size)
                break;
        }
        const std::size_t end = std::min(n, k + kBlock);
        Pair p[2] = { { first, first * u }, { first * u2, first * u2 * u } };
        const double kk = static_cast<double>(k);
        Pair kd[2] = { { kk, kk + 1.0 }, { kk + 2.0, kk + 3.0 } };
        std::size_t j = k;
        for (; j + 4 <= end; j += 4) {
            for (int h = 0; h < 2; ++h) {
                const Pair term = coefficients(j + 2 * static_cast<std::size_t>(h)) * p[h];
                const Pair size = abs(term);
                s[h] += term;
                w[h] += kd[h] * term;
                a[h] += size;
                wa[h] += kd[h] * size;
                p[h] *= step4;
                kd[h] += four;
            }
        }
        for (int l = 0; j < end; ++j, ++l) {
            const double term = (Reversed ? c[n - 1 - j] : c[j]) * p[l / 2][l % 2];
            const double kj = static_cast<double>(j);
            s[0][0] += term;
            w[0][0] += kj * term;
            a[0][0] += std::fabs(term);
            wa[0][0] += kj * std::fabs(term);
        }
    }
    auto total = [](const Pair* v) { return (v[0][0] + v[0][1]) + (v[1][0] + v[1][1]); };
    return { total(s), total(w), total(a), total(wa) };
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

PolyValue Polynomial::at(double u) const
{
    return m_reversed ? evaluate<true>(m_c, u, m_cmax) : evaluate<false>(m_c, u, m_cmax);
}

double Polynomial::zeroTolerance(const PolyValue& v) const
{
    return 8.0 * std::sqrt(static_cast<double>(m_c.size())) * kEps * v.scale;
}

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

double rootNearestOneByScan(const Polynomial& p, double lowest)
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

void noRate() { throw CalcError(CalcErrorKind::NoRate, "no internal rate of return"); }

double rootJustBeyond(const Polynomial& negative, double above)
{
    const double lo = std::max(0.0, 1.0 - above * (1.0 + 1e-6)), hi = 1.0 - above * (1.0 - 1e-6);
    if (!(lo < hi))
        return std::numeric_limits<double>::quiet_NaN();
    const int signLo = sign(negative.at(lo).value);
    if (signLo * sign(negative.at(hi).value) >= 0)
        return std::numeric_limits<double>::quiet_NaN();
    const double r = refineRoot(negative, lo, hi, signLo) - 1.0;
    return r > -1.0 ? r : std::nextafter(-1.0, 0.0);
}

double rateByScan(std::span<const double> flows)
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

    auto polished = [&](double r) { return polishRate(y, r, Order::InOrder); };
    if (changes == 1) {
        // Descartes: exactly one root, on the side where the ends differ in sign.
        if (sign(atZero) != sign(y.front()))
            return polished(ratePositive(refineRoot(positive, 0.0, 1.0, sign(y.front()))));
        return polished(rateNegative(refineRoot(negative, 0.0, 1.0, sign(y.back()))));
    }

    double best = std::numeric_limits<double>::quiet_NaN();
    const double up = rootNearestOneByScan(positive, 0.0);
    if (!std::isnan(up))
        best = ratePositive(up);
    // A root below 0 only wins when it lies nearer to 0 than the one above.
    const double lowest = std::isnan(best) ? 0.0 : std::max(0.0, 1.0 - best);
    const double un = rootNearestOneByScan(negative, lowest);
    if (std::isnan(un) && !std::isnan(best)) {
        const double r = rootJustBeyond(negative, best);
        if (!std::isnan(r))
            return nearerOfTwo(y, polished(best), polished(r));
    }
    if (!std::isnan(un)) {
        const double r = rateNegative(un);
        if (!std::isnan(best) && closeCall(best, r))
            return nearerOfTwo(y, polished(best), polished(r));
        if (std::isnan(best) || -r < best)
            best = r;
    }
    if (std::isnan(best))
        noRate();
    return polished(best);
}

} // namespace orvex::irr
