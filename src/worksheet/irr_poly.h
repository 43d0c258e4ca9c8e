#pragma once

// The flows as a polynomial in the discount variable u, shared by the searches
// for the rate of return (irr.cpp, irr_scan.cpp):
//   r >= 0:  PV(r) = Σ x_k u^k                  with u = 1 / (1 + r) in (0, 1]
//   r <  0:  PV(r) · (1 + r)^M = Σ x_{M-k} u^k  with u = 1 + r  in (0, 1)
// Both have the sign and the roots of PV on their side of 0, and on each side
// the root nearest to r = 0 is the root nearest to u = 1.

#include <cmath>
#include <cstddef>
#include <limits>
#include <span>

namespace orvex::irr {

inline constexpr double kEps = std::numeric_limits<double>::epsilon();

inline int sign(double x) { return (x > 0) - (x < 0); }

// Two doubles in one vector register (GCC's vector extension): the loops over
// every flow keep four lanes in two of them. Each lane adds its terms in the
// same order as plain code would, so results do not depend on the instructions.
typedef double Pair __attribute__((vector_size(16)));
typedef unsigned long long PairBits __attribute__((vector_size(16)));

inline Pair abs(Pair v) { return (Pair)((PairBits)v & PairBits { ~0ULL >> 1, ~0ULL >> 1 }); }
inline Pair loadPair(const double* p) { return Pair { p[0], p[1] }; }
inline Pair loadPairBackwards(const double* p) { return Pair { p[1], p[0] }; }

struct PolyValue {
    double value = 0; // Σ c_k u^k
    double weighted = 0; // Σ k c_k u^k, that is u · P'(u)
    double scale = 0; // Σ |c_k| u^k, the size of the rounding error's terms
    double weightedScale = 0; // Σ k |c_k| u^k

    // The sums of the positive and of the negative terms: both grow with u.
    double positive() const { return 0.5 * (scale + value); }
    double negative() const { return 0.5 * (scale - value); }
    double weightedPositive() const { return 0.5 * (weightedScale + weighted); }
    double weightedNegative() const { return 0.5 * (weightedScale - weighted); }
};

// Σ c_k u^k over the flows, or over the flows read backwards, for 0 <= u <= 1.
class Polynomial {
public:
    Polynomial(std::span<const double> flows, bool reversed, double cmax)
        : m_c(flows)
        , m_reversed(reversed)
        , m_cmax(cmax)
    {
    }
    PolyValue at(double u) const;
    std::size_t size() const { return m_c.size(); }
    std::span<const double> flows() const { return m_c; }
    bool reversed() const { return m_reversed; }
    // Tolerance under which a value counts as zero at a touching root.
    double zeroTolerance(const PolyValue& v) const;

private:
    std::span<const double> m_c;
    bool m_reversed;
    double m_cmax;
};

// The root in [lo, hi] of a polynomial whose values at the ends have opposite
// signs: Newton steps kept inside the shrinking bracket, bisection otherwise.
double refineRoot(const Polynomial& p, double lo, double hi, int signLo);

// The root of P in (lowest, 1) nearest to 1, a touching root included, found by
// scanning a fixed grid; NaN when there is none. P(1) must not be 0.
double rootNearestOneByScan(const Polynomial& p, double lowest);

// Whether the flows' polynomial, and the one of the flows read backwards, have
// at most one root each in (0, 1), counted with multiplicity, as Descartes' rule
// proves it from the running sums of the flows, summed once or twice; false
// when it cannot tell. scale is the sum of the flows' magnitudes. The proof
// holds for every polynomial P + d with |d| <= shift too: neither can come
// within shift of 0 without crossing it (that would give P − P(u) a double root).
bool atMostOneRootEachSide(std::span<const double> y, double scale, double shift);

// The rate of return of the flows found by the grid scan on both sides of 0.
double rateByScan(std::span<const double> flows);

// r after one Newton step on PV computed in double-double arithmetic, where
// that step is a correction (small, and still above −1); y[0] must not be 0.
// Lanes sums in four interleaved chains, InOrder in one (the scan's own).
enum class Order { Lanes, InOrder };
double polishRate(std::span<const double> y, double r, Order order);

// The same step with a bound of the error it leaves, from a bound of the second
// derivative of what it zeroes (PV, or (1 + r)^n · PV below 0) within a few
// steps of r: settled when that bound is below the last bit of the rate. near,
// when above 0, is 1 / (1 + r) to the last bit or so, for r >= 0.
struct ShortPolish {
    double rate;
    bool corrected = false; // the step was taken
    bool settled = false;
};
ShortPolish polishShortRate(
    std::span<const double> y, double r, double curvature, double near = 0.0);

// Whether a root above 0 at rate `above` and one below at `below`, not yet
// polished, lie so nearly as far from 0 that their order is not yet sure.
inline bool closeCall(double above, double below)
{
    return std::fabs(above + below) <= 1e-6 * above;
}

// The rate of a root of the negative side's polynomial as far from 0 as the
// rate `above`, within closeCall of it, where a search for the nearest root
// below 0 that stopped at that distance may have missed it; NaN when the value
// keeps its sign over that span.
double rootJustBeyond(const Polynomial& negative, double above);

// The nearer to 0 of a root above it and one below, both polished: by their
// distances, and where those agree within their rounding, by the sign of the
// value below 0 at the distance of the one above (the root below is the
// nearest on its side).
double nearerOfTwo(std::span<const double> y, double above, double below);

[[noreturn]] void noRate();

} // namespace orvex::irr
