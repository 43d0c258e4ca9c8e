// Present value and internal rate of return of a series of period flows.
//
// The search works in the polynomial variable u of irr_poly.h. With one change
// of sign in the flows there is exactly one root (Descartes) and a bracketed
// Newton search finds it. With more, the search steps down from u = 1 over
// intervals where the increasing positive and negative parts of P prove that P
// keeps its sign, until an interval where P changes sign and P' provably does
// not: the root inside is then the one nearest to r = 0. Where no such proof
// comes quickly (touching roots, close pairs) the grid scan of irr_scan.cpp
// answers instead.

#include "worksheet/calculation.h"

#include "common/checked.h"
#include "worksheet/irr_poly.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <optional>
#include <type_traits>

namespace orvex {

using namespace irr;

namespace {

// What one pass over the flows tells before any search; the sums are those of
// the polynomial at u = 1, the powers counted from the first non-zero flow.
struct FlowScan {
    std::size_t first = 0, last = 0; // first and last non-zero flow
    int signChanges = 0; // 0, 1, or 2 for two and more; −1 when the sums overflow
    double cmax = 0; // largest magnitude
    PolyValue atOne;
};

// The sums at u = 1 in four lanes; returns false when they are not finite
// (a flow that is not finite, or sums beyond the largest double).
bool sumFlows(std::span<const double> y, FlowScan& f)
{
    const Pair four = { 4.0, 4.0 };
    Pair s[2] = {}, a[2] = {}, w[2] = {}, wa[2] = {}, mx[2] = {};
    Pair kd[2] = { { 0, 1 }, { 2, 3 } };
    const std::size_t n = y.size();
    std::size_t k = 0;
    for (; k + 4 <= n; k += 4) {
        for (int h = 0; h < 2; ++h) {
            const Pair v = loadPair(&y[k + 2 * static_cast<std::size_t>(h)]);
            const Pair size = abs(v);
            s[h] += v;
            a[h] += size;
            w[h] += kd[h] * v;
            wa[h] += kd[h] * size;
            mx[h] = size > mx[h] ? size : mx[h];
            kd[h] += four;
        }
    }
    for (; k < n; ++k) {
        const double v = y[k], kk = static_cast<double>(k);
        s[0][0] += v;
        a[0][0] += std::fabs(v);
        w[0][0] += kk * v;
        wa[0][0] += kk * std::fabs(v);
        mx[0][0] = std::max(mx[0][0], std::fabs(v));
    }
    auto total = [](const Pair* v) { return (v[0][0] + v[0][1]) + (v[1][0] + v[1][1]); };
    f.atOne = { total(s), total(w), total(a), total(wa) };
    f.cmax = std::max(std::max(mx[0][0], mx[0][1]), std::max(mx[1][0], mx[1][1]));
    return std::isfinite(f.atOne.scale) && std::isfinite(f.atOne.weightedScale);
}

// The number of sign changes, capped at 2. y[0] is not 0.
int signChanges(std::span<const double> y)
{
    const double s0 = y[0] > 0 ? 1.0 : -1.0;
    std::size_t k = 1;
    while (k < y.size() && !(s0 * y[k] < 0.0))
        ++k;
    if (k == y.size())
        return 0;
    // One change when no flow of the first sign comes after the first of the other.
    const Pair toward = { s0, s0 };
    Pair most = {};
    for (; k + 2 <= y.size(); k += 2) {
        const Pair v = toward * loadPair(&y[k]);
        most = v > most ? v : most;
    }
    if (k < y.size() && s0 * y[k] > 0.0)
        return 2;
    return most[0] > 0.0 || most[1] > 0.0 ? 2 : 1;
}

// Returns nullopt when there is no flow, or a flow that is not finite.
std::optional<FlowScan> scanFlows(std::span<const double> x)
{
    FlowScan f;
    std::size_t first = 0, last = x.size();
    while (first < x.size() && x[first] == 0.0)
        ++first;
    if (first == x.size())
        return f; // all zero: first == last
    while (x[last - 1] == 0.0)
        --last;
    f.first = first;
    f.last = last - 1;
    const std::span<const double> y = x.subspan(first, last - first);
    if (!sumFlows(y, f)) {
        if (std::any_of(y.begin(), y.end(), [](double v) { return !std::isfinite(v); }))
            return std::nullopt;
        f.signChanges = -1; // finite flows whose sums overflow
        return f;
    }
    f.signChanges = signChanges(y);
    return f;
}

// The same sums for the polynomial read backwards (degree m), at u = 1.
PolyValue reversedAtOne(const PolyValue& v, double m)
{
    return { v.value, m * v.value - v.weighted, v.scale, m * v.scale - v.weightedScale };
}

// The value at u = 0: the first coefficient.
PolyValue atZero(double c0) { return { c0, 0.0, std::fabs(c0), 0.0 }; }

// The step from u that Newton's method takes on P / S, S = Σ |c_k| u^k: it is
// bounded, and for flows that look like a level series from some point on it
// is nearly a ratio of linear functions, on which Newton converges from afar.
// Written with ratios to S only, which cannot underflow as products of the sums can.
double mobiusStep(double u, const PolyValue& v)
{
    const double g = v.value / v.scale;
    const double d = v.weighted / v.scale - g * (v.weightedScale / v.scale);
    return d != 0.0 ? -u * g / d : std::numeric_limits<double>::quiet_NaN();
}

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

// A point strictly inside (lo, hi): halfway in 1 − u, the distance to r = 0,
// when lo and hi lie at very different distances from u = 1.
double split(double lo, double hi)
{
    const double near = 1.0 - hi, far = 1.0 - lo;
    if (near > 0.0 && far > 8.0 * near)
        return 1.0 - std::sqrt(near * far);
    return 0.5 * (lo + hi);
}

// How near a Newton step may bring the root before the last correction in
// double-double (polishRate) can take over: the step after it would be below
// the rounding of u even where P curves as much as a polynomial of this degree can.
double polishReach(std::size_t n) { return std::sqrt(kEps / static_cast<double>(n)); }

// Up to this many flows the search may stop further out, where the correction
// checks its own result (polishShortRate).
constexpr std::size_t kShortTerms = 64;
constexpr double kShortReach = 1e-4;

// The last point where solveOneRoot evaluated P, and the sums there.
struct Landing {
    double u = -1.0;
    PolyValue v;
};

// The one root of p in (lo, hi) where p has opposite signs at the ends:
// Newton steps on P / S inside the shrinking bracket, splits otherwise. A step
// smaller than accept · x is taken without evaluating P at its end, where the
// caller polishes the root anyway. Alone: p has no other root in [0, 1].
template <bool Alone = false>
double solveOneRoot(const Polynomial& p, double lo, const PolyValue& vlo, double hi,
    const PolyValue& vhi, int* evaluations = nullptr, double accept = 0.0,
    Landing* landing = nullptr)
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

enum class Outcome { Root, None, Unsure };
struct SideRoot {
    Outcome outcome;
    double u = 0;
};

// A bound of the relative rounding error of the sums of n terms in four lanes
// (powers of u included), above a touching root's tolerance as well.
double roundingBound(std::size_t n)
{
    const double terms = static_cast<double>(n);
    return 2.0 * (terms / 4.0 + 8.0 * std::sqrt(terms) + 512.0) * kEps;
}

// What the increasing parts of P tell about s · P on [a, b], s the sign of P(b).
struct Interval {
    double a, b;
    const PolyValue &va, &vb;
    int s;
    double rounding; // roundingBound of the polynomial

    // Bounds of the slope of s · P on [a, b]: A' and B' grow with u, so
    // A'(a) − B'(b) <= P' <= A'(b) − B'(a); widened by their rounding.
    struct Slopes {
        double low, high;
    };
    Slopes slopes() const
    {
        const double ia = a > 0.0 ? 1.0 / a : 0.0, ib = 1.0 / b;
        const double low = va.weightedPositive() * ia - vb.weightedNegative() * ib;
        const double high = vb.weightedPositive() * ib - va.weightedNegative() * ia;
        const double room = rounding * vb.weightedScale * ib;
        return s > 0 ? Slopes { low - room, high + room } : Slopes { -high - room, -low + room };
    }

    // s · P stays above the rounding of its evaluation on all of [a, b].
    bool clear() const
    {
        const double margin = rounding * vb.scale;
        // Each part between its values at the ends.
        if ((s > 0 ? va.positive() - vb.negative() : va.negative() - vb.positive()) > margin)
            return true;
        // The lines from both ends with the slope bounds.
        const double pa = s * va.value, pb = s * vb.value;
        if (pa <= margin || pb <= margin)
            return false;
        const auto [low, high] = slopes();
        if (high <= 0.0 || low >= 0.0)
            return true;
        const double t = (pa - pb + (b - a) * high) / (high - low);
        return pa + t * low > margin;
    }
    // s · P changes sign on [a, b] and grows all the way: one root inside.
    bool singleRoot() const { return sign(va.value) == -s && slopes().low > 0.0; }
};

struct Piece {
    double a, b;
    PolyValue va, vb;
    double root = -1.0; // a root found inside, or −1
};

// The pieces still to look at, kept on the stack and left uninitialised until
// used: a short search neither allocates nor clears memory. A pass of the search
// takes one piece and leaves at most three: room() must hold before it.
template <std::size_t N> class PieceStack {
public:
    bool empty() const { return m_size == 0; }
    bool room() const { return m_size + 3 <= N; }
    void push_back(const Piece& piece)
    {
        ::new (&m_storage[m_size++ * sizeof(Piece)]) Piece(piece);
    }
    Piece pop()
    {
        return *std::launder(reinterpret_cast<Piece*>(&m_storage[--m_size * sizeof(Piece)]));
    }

private:
    static_assert(std::is_trivially_copyable_v<Piece> && std::is_trivially_destructible_v<Piece>);
    alignas(Piece) unsigned char m_storage[N * sizeof(Piece)];
    std::size_t m_size = 0;
};

// The root of p in [lowest, 1) nearest to 1, proved to be so. Pieces of
// [lowest, 1] are taken from u = 1 down: a piece where P keeps away from 0 by
// more than the rounding of its evaluation (and than a touching root's
// tolerance) is passed; a piece where P changes sign and P' provably keeps its
// sign holds the answer; any other is split, around a root found inside when P
// changes sign there. Unsure when the proof takes too long.
SideRoot provenNearestRoot(const Polynomial& p, const PolyValue& atOne, double lowest)
{
    constexpr int kMaxEvaluations = 64;
    int evals = 0;
    // A pass adds at most one piece per evaluation: the stack only runs out of
    // room when the evaluations do.
    PieceStack<kMaxEvaluations + 8> pieces; // the piece nearest to u = 1 last
    const double rounding = roundingBound(p.size());
    double frontier = 1.0; // everything above it is in pieces or passed
    PolyValue atFrontier = atOne;
    double reach = 0.0; // the length of the last piece opened below the frontier
    while (evals < kMaxEvaluations && pieces.room()) {
        if (pieces.empty()) {
            if (frontier <= lowest)
                return { Outcome::None };
            // Aim past the root Newton sees ahead, else twice as far as last time.
            const double ahead = -mobiusStep(frontier, atFrontier);
            double step = ahead > 0.0 ? 1.5 * ahead : 0.0;
            if (!(step > 2.0 * reach))
                step = reach > 0.0 ? 2.0 * reach : 0.125;
            const double a = std::max(frontier - step, lowest);
            const PolyValue va = p.at(a);
            ++evals;
            pieces.push_back({ a, frontier, va, atFrontier });
            reach = frontier - a;
            frontier = a;
            atFrontier = va;
        }
        const Piece piece = pieces.pop();
        if (piece.vb.value == 0.0)
            return { Outcome::Root, piece.b };
        const Interval in { piece.a, piece.b, piece.va, piece.vb, sign(piece.vb.value), rounding };
        if (in.clear())
            continue;
        if (in.singleRoot()) {
            const double u = piece.root >= 0.0 ? piece.root
                                               : solveOneRoot(p, piece.a, piece.va, piece.b,
                                                   piece.vb, &evals, polishReach(p.size()));
            return { Outcome::Root, u };
        }
        if (sign(piece.va.value) == -in.s && piece.root < 0.0) {
            // A root inside: find it, then split off a narrow piece around it.
            const double u = solveOneRoot(p, piece.a, piece.va, piece.b, piece.vb, &evals);
            const double d = std::max(1e-9 * (piece.b - piece.a), 4.0 * kEps * u);
            const double lo = std::max(u - d, piece.a + 0.25 * (u - piece.a));
            const double hi = std::min(u + d, piece.b - 0.25 * (piece.b - u));
            const PolyValue vlo = p.at(lo), vhi = p.at(hi);
            evals += 2;
            if (lo > piece.a)
                pieces.push_back({ piece.a, lo, piece.va, vlo });
            pieces.push_back({ lo, hi, vlo, vhi, u });
            if (hi < piece.b)
                pieces.push_back({ hi, piece.b, vhi, piece.vb });
            continue;
        }
        const double m = split(piece.a, piece.b);
        if (!(m > piece.a && m < piece.b))
            return { Outcome::Unsure };
        const PolyValue vm = p.at(m);
        ++evals;
        pieces.push_back({ piece.a, m, piece.va, vm });
        pieces.push_back({ m, piece.b, vm, piece.vb });
    }
    return { Outcome::Unsure };
}

double ratePositive(double u) { return checkFinite((1.0 - u) / u); }

double rateNegative(double u)
{
    const double r = u - 1.0;
    return r > -1.0 ? r : std::nextafter(-1.0, 0.0);
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
    const std::optional<FlowScan> scan = scanFlows(flows);
    if (!scan)
        throw CalcError(CalcErrorKind::NotFinite, "flow is not a finite number");
    const FlowScan& f = *scan;
    if (f.first == f.last)
        noRate(); // no flow, or a single one: the value is never 0
    if (f.signChanges == 0)
        noRate(); // every flow has one sign: the value never reaches 0
    // A value at r = 0 lost in rounding: the rate is 0 or next to it, which the
    // scan, with its compensated sum, tells apart. Sums too large for a double too.
    if (f.signChanges < 0
        || std::fabs(f.atOne.value) <= roundingBound(f.last - f.first + 1) * f.atOne.scale)
        return rateByScan(flows);

    // Leading zeros only multiply the value by a power of u; trailing zeros add nothing.
    const std::span<const double> y = flows.subspan(f.first, f.last - f.first + 1);
    const Polynomial positive(y, false, f.cmax);
    const Polynomial negative(y, true, f.cmax);
    const PolyValue oneNegative = reversedAtOne(f.atOne, static_cast<double>(y.size() - 1));

    if (f.signChanges == 1) {
        // Descartes: exactly one root, on the side where the ends differ in sign.
        const bool above = sign(f.atOne.value) != sign(y.front());
        const Polynomial& p = above ? positive : negative;
        const PolyValue low = atZero(above ? y.front() : y.back());
        const PolyValue& high = above ? f.atOne : oneNegative;
        auto rate = [above](double u) { return above ? ratePositive(u) : rateNegative(u); };
        if (y.size() <= kShortTerms) {
            // A short series takes the search's last step without checking where
            // it lands: the correction in double-double tells when it settled the
            // rate, in one step or two.
            Landing landing;
            const double u
                = solveOneRoot<true>(p, 0.0, low, 1.0, high, nullptr, kShortReach, &landing);
            const double curvature = curvatureNear(landing, u, y.size(), above);
            if (curvature > 0.0) {
                ShortPolish polished = polishShortRate(y, rate(u), curvature, above ? u : 0.0);
                if (polished.corrected && !polished.settled)
                    polished = polishShortRate(y, polished.rate, curvature);
                if (polished.settled)
                    return polished.rate;
            }
        }
        const double u = solveOneRoot(p, 0.0, low, 1.0, high, nullptr, polishReach(y.size()));
        return polishRate(y, rate(u), Order::Lanes);
    }

    double best = std::numeric_limits<double>::quiet_NaN();
    const SideRoot up = provenNearestRoot(positive, f.atOne, 0.0);
    if (up.outcome == Outcome::Unsure)
        return rateByScan(flows);
    if (up.outcome == Outcome::Root)
        best = ratePositive(up.u);
    // A root below 0 only wins when it lies nearer to 0 than the one above.
    const double lowest = std::isnan(best) ? 0.0 : std::max(0.0, 1.0 - best);
    const SideRoot down = provenNearestRoot(negative, oneNegative, lowest);
    if (down.outcome == Outcome::Unsure)
        return rateByScan(flows);
    if (down.outcome == Outcome::Root) {
        const double r = rateNegative(down.u);
        if (std::isnan(best) || -r < best)
            best = r;
    }
    if (std::isnan(best))
        noRate();
    return polishRate(y, best, Order::Lanes);
}

} // namespace orvex
