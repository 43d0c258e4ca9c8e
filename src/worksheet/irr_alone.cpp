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

} // namespace

template <bool Alone>
double solveOneRoot(const Polynomial& p, double lo, const PolyValue& vlo, double hi,
    const PolyValue& vhi, int* evaluations, double accept, Landing* landing)
{
    const auto mobius = [](double u, const PolyValue& v) {
        return Alone ? quickMobiusStep(u, v) : mobiusStep(u, v);
    };
    const int signLo = sign(vlo.value);
    double x = hi + mobius(hi, vhi);
    if (!(x > lo && x < hi))
        x = lo + mobius(lo, vlo);
    if (!(x > lo && x < hi)) {
        // From u = 1 a long horizon's polynomial is flat: aim between a Newton
        // step on P, too short there, and the far end.
        const double newton = hi == 1.0 && vhi.weighted != 0.0 ? vhi.value / vhi.weighted : 0.0;
        x = newton > 0.0 && newton < 1.0 - lo ? 1.0 - std::sqrt(newton * (1.0 - lo))
                                              : split(lo, hi);
    }
    double lastStep = hi - lo;
    for (int iter = 0; iter < 200; ++iter) {
        const PolyValue v = p.at(x);
        if (evaluations)
            ++*evaluations;
        if (landing)
            *landing = { x, v };
        if (v.value == 0.0)
            return x;
        if (sign(v.value) == signLo)
            lo = x;
        else
            hi = x;
        if (hi - lo <= 2.0 * kEps * hi)
            break;
        const double step = mobius(x, v);
        if (std::fabs(step) <= 2.0 * kEps * x)
            return x; // Newton has converged
        const double next = x + step;
        if (std::fabs(step) <= accept * x && next > lo && next < hi)
            return next;
        if (next > lo && next < hi && std::fabs(step) <= 0.5 * lastStep) {
            lastStep = std::fabs(step);
            x = next;
        } else {
            x = split(lo, hi);
            lastStep = hi - lo;
        }
    }
    return 0.5 * (lo + hi);
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

double aloneRate(const Polynomial& p, const PolyValue& atOneOfP, double accept)
{
    const std::span<const double> y = p.flows();
    const bool above = !p.reversed();
    const PolyValue low = atZero(above ? y.front() : y.back());
    if (y.size() <= kShortTerms) {
        Landing landing;
        const double u = solveOneRoot<true>(p, 0.0, low, 1.0, atOneOfP, nullptr, accept, &landing);
        const double r = settledShortRate(p, u, landing);
        if (!std::isnan(r))
            return r;
    }
    const double u = solveOneRoot(p, 0.0, low, 1.0, atOneOfP, nullptr, polishReach(y.size()));
    return polishRate(y, above ? ratePositive(u) : rateNegative(u), Order::Lanes);
}

} // namespace orvex::irr
