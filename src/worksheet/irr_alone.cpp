// One root of the polynomial alone between two points: a bracketed Newton
// search, and the last correction of a short series' root with its proof.

#include "worksheet/irr_search.h"

namespace orvex::irr {
namespace {

// The same step as −u · V S / (W S − V W_S): one division where the other has
// two in a row. With S far from the ends of the doubles the products can neither
// overflow nor lose digits to underflow. The last bits differ from mobiusStep's,
// which steer a search among close roots: only a search for a root known to be
// alone takes it.
double quickMobiusStep(double u, const PolyValue& v)
{
    constexpr double kLow = 0x1p-250, kHigh = 0x1p250;
    if (!(v.scale >= kLow && v.scale <= kHigh))
        return mobiusStep(u, v);
    const double d = v.weighted * v.scale - v.value * v.weightedScale;
    return d != 0.0 ? -u * (v.value * v.scale) / d : std::numeric_limits<double>::quiet_NaN();
}

// A bound of the second derivative in r of what the last correction zeroes (PV
// above 0, (1 + r)^(n − 1) · PV below) on the few steps around u, from the sums of
// absolute values where the search last evaluated P: for powers below n,
// Σ k (k ± 1) |c_k| u^k <= n · Σ k |c_k| u^k, and within kShortReach of that
// point the sums of n terms move by less than the factor 2 allowed. Zero when
// u is not that near.
double curvatureNear(const Landing& at, double u, std::size_t n, bool above)
{
    if (!(at.u > 0.0) || !(std::fabs(u - at.u) <= kShortReach * at.u)
        || !std::isfinite(at.v.weightedScale))
        return 0.0;
    const double terms = static_cast<double>(n);
    // d²/dr² of Σ y_k v^k is Σ k (k + 1) y_k v^(k+2); of Σ c_m w^m, Σ m (m − 1) c_m w^(m−2).
    const double square = u * u;
    return 2.0 * terms * at.v.weightedScale * (above ? square : 1.0 / square);
}

// The bracket a safeguarded search narrows around a root where P changes sign.
struct Bracket {
    double lo, hi;
    int signLo; // the sign of P at lo
    double lastStep;

    // Keeps the side of x where P still changes sign; true once no double lies
    // between the ends.
    bool narrow(double x, double value)
    {
        if (sign(value) == signLo)
            lo = x;
        else
            hi = x;
        return hi - lo <= 2.0 * kEps * hi;
    }
    bool inside(double x) const { return x > lo && x < hi; }
    // The step's end when it stays inside and at most halves the last step,
    // else a split.
    double follow(double x, double step)
    {
        const double next = x + step;
        if (inside(next) && std::fabs(step) <= 0.5 * lastStep) {
            lastStep = std::fabs(step);
            return next;
        }
        lastStep = hi - lo;
        return split(lo, hi);
    }
};

// The sums of a short series at u in two lanes, even and odd powers, with
// Σ k² c_k u^k beside them for Halley's step.
struct ShortSums {
    PolyValue v;
    double weighted2 = 0;
};

template <bool Reversed> ShortSums shortSums(std::span<const double> y, double u)
{
    const std::size_t n = y.size(), m = n - 1;
    const Pair step = { u * u, u * u }, two = { 2.0, 2.0 };
    Pair power = { 1.0, u }, k = { 0.0, 1.0 };
    Pair s = {}, w = {}, w2 = {}, a = {}, wa = {};
    std::size_t j = 0;
    for (; j + 2 <= n; j += 2) {
        const Pair c = Reversed ? Pair { y[m - j], y[m - j - 1] } : Pair { y[j], y[j + 1] };
        const Pair t = c * power, size = abs(t), kt = k * t;
        s += t;
        w += kt;
        w2 += k * kt;
        a += size;
        wa += k * size;
        power *= step;
        k += two;
    }
    if (j < n) {
        const double t = y[Reversed ? m - j : j] * power[0], kt = k[0] * t;
        s[0] += t;
        w[0] += kt;
        w2[0] += k[0] * kt;
        a[0] += std::fabs(t);
        wa[0] += k[0] * std::fabs(t);
    }
    return { { s[0] + s[1], w[0] + w[1], a[0] + a[1], wa[0] + wa[1] }, w2[0] + w2[1] };
}

// Halley's step on P from u: −2 P P' / (2 P'² − P P''), with u P' = W and
// u² P'' = W₂ − W. Written with ratios to S where the products of the sums
// could leave the doubles.
double halleyStep(double u, const ShortSums& at)
{
    constexpr double kLow = 0x1p-250, kHigh = 0x1p250;
    double v = at.v.value, w = at.v.weighted, w2 = at.weighted2;
    if (!(at.v.scale >= kLow && at.v.scale <= kHigh)) {
        const double inverse = 1.0 / at.v.scale;
        v *= inverse;
        w *= inverse;
        w2 *= inverse;
    }
    const double d = 2.0 * w * w - v * (w2 - w);
    return d != 0.0 ? -2.0 * v * w * u / d : std::numeric_limits<double>::quiet_NaN();
}

} // namespace

double solveShortAlone(std::span<const double> y, bool reversed, const PolyValue& atOne,
    Landing& landing, double* bracketLow)
{
    Bracket bracket { 0.0, 1.0, sign(reversed ? y.back() : y.front()), 1.0 };
    double x = 1.0 + quickMobiusStep(1.0, atOne);
    if (!bracket.inside(x))
        x = split(0.0, 1.0);
    double u = x;
    for (int iter = 0; iter < 200; ++iter) {
        const ShortSums at = reversed ? shortSums<true>(y, x) : shortSums<false>(y, x);
        landing = { x, at.v };
        if (at.v.value == 0.0 || bracket.narrow(x, at.v.value))
            break;
        const double step = halleyStep(x, at);
        if (bracket.inside(x + step) && std::fabs(step) <= kShortReach * x) {
            u = x + step;
            break;
        }
        x = bracket.follow(x, step);
        u = x;
    }
    if (bracketLow)
        *bracketLow = bracket.lo;
    return u;
}

template <bool Alone>
double solveOneRoot(const Polynomial& p, double lo, const PolyValue& vlo, double hi,
    const PolyValue& vhi, int* evaluations, double accept, Landing* landing)
{
    const auto mobius = [](double u, const PolyValue& v) {
        return Alone ? quickMobiusStep(u, v) : mobiusStep(u, v);
    };
    Bracket bracket { lo, hi, sign(vlo.value), hi - lo };
    double x = hi + mobius(hi, vhi);
    if (!bracket.inside(x))
        x = lo + mobius(lo, vlo);
    if (!bracket.inside(x)) {
        // From u = 1 a long horizon's polynomial is flat: aim between a Newton
        // step on P, too short there, and the far end.
        const double newton = hi == 1.0 && vhi.weighted != 0.0 ? vhi.value / vhi.weighted : 0.0;
        x = newton > 0.0 && newton < 1.0 - lo ? 1.0 - std::sqrt(newton * (1.0 - lo))
                                              : split(lo, hi);
    }
    for (int iter = 0; iter < 200; ++iter) {
        const PolyValue v = p.at(x);
        if (evaluations)
            ++*evaluations;
        if (landing)
            *landing = { x, v };
        if (v.value == 0.0)
            return x;
        if (bracket.narrow(x, v.value))
            break;
        const double step = mobius(x, v);
        if (std::fabs(step) <= 2.0 * kEps * x)
            return x; // Newton has converged
        if (std::fabs(step) <= accept * x && bracket.inside(x + step))
            return x + step;
        x = bracket.follow(x, step);
    }
    return 0.5 * (bracket.lo + bracket.hi);
}

template double solveOneRoot<false>(
    const Polynomial&, double, const PolyValue&, double, const PolyValue&, int*, double, Landing*);
template double solveOneRoot<true>(
    const Polynomial&, double, const PolyValue&, double, const PolyValue&, int*, double, Landing*);

double settledShortRate(const Polynomial& p, double u, const Landing& landing, double lo, double hi)
{
    const std::span<const double> y = p.flows();
    const bool above = !p.reversed();
    const double curvature = curvatureNear(landing, u, y.size(), above);
    if (!(curvature > 0.0))
        return std::numeric_limits<double>::quiet_NaN();
    ShortPolish polished
        = polishShortRate(y, above ? ratePositive(u) : rateNegative(u), curvature, above ? u : 0.0);
    if (polished.corrected && !polished.settled)
        polished = polishShortRate(y, polished.rate, curvature);
    const double r = polished.rate;
    if (!polished.settled)
        return std::numeric_limits<double>::quiet_NaN();
    if (std::isfinite(lo)) {
        const double root = above ? 1.0 / (1.0 + r) : 1.0 + r;
        const double room = 8.0 * kEps * root;
        if (!(root - lo > room && hi - root > room))
            return std::numeric_limits<double>::quiet_NaN();
    }
    return r;
}

double aloneRate(const Polynomial& p, const PolyValue& atOneOfP)
{
    const std::span<const double> y = p.flows();
    const bool above = !p.reversed();
    const PolyValue low = atZero(above ? y.front() : y.back());
    if (y.size() <= kShortTerms) {
        Landing landing;
        const double u = solveShortAlone(y, p.reversed(), atOneOfP, landing);
        const double r = settledShortRate(p, u, landing);
        if (!std::isnan(r))
            return r;
    }
    const double u = solveOneRoot(p, 0.0, low, 1.0, atOneOfP, nullptr, polishReach(y.size()));
    return polishRate(y, above ? ratePositive(u) : rateNegative(u), Order::Lanes);
}

} // namespace orvex::irr
