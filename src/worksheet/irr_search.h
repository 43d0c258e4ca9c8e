#pragma once

// The searches for a root shared by the rate of return's parts: one root alone
// between two points (irr_alone.cpp), and the proof of the root nearest to
// r = 0 among several (irr_proof.cpp).

#include "common/checked.h"
#include "worksheet/irr_poly.h"

#include <cmath>
#include <cstddef>
#include <limits>

namespace orvex::irr {

// Up to this many flows a search may stop further out, where the correction
// checks its own result (polishShortRate): within kShortReach of its last
// evaluation. A last Halley step that short, or a Newton step below
// kShortAccept, is taken unchecked: its error is then small enough for one
// correction to settle the rate, as a rule.
inline constexpr std::size_t kShortTerms = 64;
inline constexpr double kShortReach = 1e-4;
inline constexpr double kShortAccept = 1e-7;

// The value at u = 0: the first coefficient.
inline PolyValue atZero(double c0) { return { c0, 0.0, std::fabs(c0), 0.0 }; }

inline double ratePositive(double u) { return checkFinite((1.0 - u) / u); }

inline double rateNegative(double u)
{
    const double r = u - 1.0;
    return r > -1.0 ? r : std::nextafter(-1.0, 0.0);
}

// A bound of the relative rounding error of the sums of n terms in four lanes
// (powers of u included), above a touching root's tolerance as well.
inline double roundingBound(std::size_t n)
{
    const double terms = static_cast<double>(n);
    return 2.0 * (terms / 4.0 + 8.0 * std::sqrt(terms) + 512.0) * kEps;
}

// The step from u that Newton's method takes on P / S, S = Σ |c_k| u^k: it is
// bounded, and for flows that look like a level series from some point on it
// is nearly a ratio of linear functions, on which Newton converges from afar.
// Written with ratios to S only, which cannot underflow as products of the sums can.
inline double mobiusStep(double u, const PolyValue& v)
{
    const double g = v.value / v.scale;
    const double d = v.weighted / v.scale - g * (v.weightedScale / v.scale);
    return d != 0.0 ? -u * g / d : std::numeric_limits<double>::quiet_NaN();
}

// A point strictly inside (lo, hi): halfway in 1 − u, the distance to r = 0,
// when lo and hi lie at very different distances from u = 1.
inline double split(double lo, double hi)
{
    const double near = 1.0 - hi, far = 1.0 - lo;
    if (near > 0.0 && far > 8.0 * near)
        return 1.0 - std::sqrt(near * far);
    return 0.5 * (lo + hi);
}

// How near a Newton step may bring the root before the last correction in
// double-double (polishRate) can take over: the step after it would be below
// the rounding of u even where P curves as much as a polynomial of this degree can.
inline double polishReach(std::size_t n) { return std::sqrt(kEps / static_cast<double>(n)); }

// The last point where solveOneRoot evaluated P, and the sums there.
struct Landing {
    double u = -1.0;
    PolyValue v;
};

// The one root of p in (lo, hi) where p has opposite signs at the ends:
// Newton steps on P / S inside the shrinking bracket, splits otherwise. A step
// smaller than accept · x is taken without evaluating P at its end, where the
// caller polishes the root anyway. Alone: p has no other root in [lo, hi].
template <bool Alone = false>
double solveOneRoot(const Polynomial& p, double lo, const PolyValue& vlo, double hi,
    const PolyValue& vhi, int* evaluations = nullptr, double accept = 0.0,
    Landing* landing = nullptr);
extern template double solveOneRoot<false>(
    const Polynomial&, double, const PolyValue&, double, const PolyValue&, int*, double, Landing*);
extern template double solveOneRoot<true>(
    const Polynomial&, double, const PolyValue&, double, const PolyValue&, int*, double, Landing*);

// The rate of the root near u that solveOneRoot<true> left on p (the flows y,
// or y read backwards), after the correction in double-double has proved its
// last bit, in one step or two; NaN when it does not. The root proved lies
// within a few bits of the rate; it must lie strictly inside (lo, hi) in u too,
// where the caller knows there is no other, when it gives them.
double settledShortRate(const Polynomial& p, double u, const Landing& landing,
    double lo = -std::numeric_limits<double>::infinity(), double hi = 1.0);

// The rate of the one root of p (the flows, or them read backwards) between
// u = 0 and u = 1, where the caller knows it is alone. A short series takes the
// search's last step without checking where it lands: the correction in
// double-double tells when it settled the rate.
double aloneRate(const Polynomial& p, const PolyValue& atOneOfP);

// The root of a short series alone in (0, 1), where P(0) = c_0 and P(1) differ
// in sign: from the Möbius step off u = 1, which nearly lands on the root of a
// level series, Halley's steps inside the shrinking bracket, splits otherwise.
// Near the root a step cubes the error, so a step below kShortReach · x is
// taken unchecked and left to the last correction, with the landing where P
// was last evaluated. bracketLow, when given, receives the lower end of the
// last bracket: the root lies above it.
double solveShortAlone(std::span<const double> y, bool reversed, const PolyValue& atOne,
    Landing& landing, double* bracketLow = nullptr);

enum class Outcome { Root, None, Unsure };
struct SideRoot {
    Outcome outcome;
    double u = 0;
    double rate = std::numeric_limits<double>::quiet_NaN(); // when already settled
};

// The root of p in [lowest, 1) nearest to 1, proved to be so. Pieces of
// [lowest, 1] are taken from u = 1 down: a piece where P keeps away from 0 by
// more than the rounding of its evaluation (and than a touching root's
// tolerance) is passed; a piece where P changes sign and P' provably keeps its
// sign holds the answer; any other is split, around a root found inside when P
// changes sign there. Unsure when the proof takes too long.
SideRoot provenNearestRoot(const Polynomial& p, const PolyValue& atOne, double lowest);

} // namespace orvex::irr
