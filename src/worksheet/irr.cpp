// Present value and internal rate of return of a series of period flows.
//
// The search works in the polynomial variable u of irr_poly.h. With one change
// of sign in the flows there is exactly one root (Descartes) and a bracketed
// Newton search finds it (irr_alone.cpp). With more, the flows' running sums
// often prove at most one root on each side of r = 0 all the same
// (irr_signs.cpp), and each side's root is found alone. Otherwise the proof of
// irr_proof.cpp finds the root nearest to r = 0, and where no such proof comes
// quickly (touching roots, close pairs) the grid scan of irr_scan.cpp answers.

#include "worksheet/calculation.h"

#include "common/checked.h"
#include "worksheet/irr_search.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

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

// Σ y_k w^(n−1−k) and Σ |y_k| w^(n−1−k) by Horner's rule in w², even and odd
// powers side by side: half the wait of one chain.
std::pair<double, double> shortHorner(std::span<const double> y, double w)
{
    const double w2 = w * w;
    const Pair step = { w2, w2 };
    Pair value = {}, size = {};
    std::size_t j = y.size() % 2; // an odd count starts with a pair whose first is 0
    if (j == 1) {
        value = Pair { 0.0, y[0] };
        size = abs(value);
    }
    for (; j + 2 <= y.size(); j += 2) {
        const Pair c = loadPair(&y[j]);
        value = value * step + c;
        size = size * step + abs(c);
    }
    return { value[0] * w + value[1], size[0] * w + size[1] };
}

// Up to this many flows the running sums are worth a look before the longer
// search: they cost about what one evaluation of P does.
constexpr std::size_t kOneRootASideTerms = 512;

// Where the root below 0 of flows with at most one there lies against the rate
// `reach` above: farther (Farther), nearer (Nearer), or too near that distance
// to tell. The negative side's polynomial Σ y_k w^(n−1−k) has taken the sign
// it has at 1 above its root; a short series takes Horner's rule, quicker than
// the lanes, whose error stays below 2n ulps of Σ |y_k| w^(n−1−k).
enum class Below { Farther, Nearer, Unknown };
Below rootBelow(std::span<const double> y, const Polynomial& negative, int signAtOne, double reach)
{
    if (!(reach < 1.0))
        return Below::Nearer; // every rate below 0 is nearer
    const double w = 1.0 - reach;
    double q = 0, bound = 0;
    if (y.size() <= kShortTerms) {
        const auto [value, size] = shortHorner(y, w);
        q = value;
        bound = 4.0 * static_cast<double>(y.size()) * kEps * size;
    } else {
        const PolyValue v = negative.at(w);
        q = v.value;
        bound = roundingBound(y.size()) * v.scale;
    }
    if (!(std::fabs(q) > bound))
        return Below::Unknown;
    return sign(q) == signAtOne ? Below::Farther : Below::Nearer;
}

// Flows whose running sums prove at most one root on each side of r = 0, with
// room for a touching root's tolerance (atMostOneRootEachSide): a side has its
// root when its ends differ in sign, and none comes near 0 elsewhere. With a
// root on each side, rootBelow tells which is nearer. NaN when this cannot
// tell (the proof decides then). rounding bounds the rounding error of the
// sums at u = 1.
double rateOneRootASide(std::span<const double> y, const FlowScan& f, const Polynomial& positive,
    const Polynomial& negative, const PolyValue& oneNegative, double rounding)
{
    constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
    if (!atMostOneRootEachSide(y, f.atOne.scale, rounding))
        return kUnknown;
    const int atOne = sign(f.atOne.value);
    const bool above = sign(y.front()) != atOne, below = sign(y.back()) != atOne;
    if (!above && !below)
        noRate();
    if (!above)
        return aloneRate(negative, oneNegative);
    if (!below)
        return aloneRate(positive, f.atOne);
    double r = kUnknown;
    Below rival = Below::Unknown;
    if (y.size() <= kShortTerms) {
        // The root above lies above the search's last lower end: when the
        // root below is farther than that end's rate, it is farther than the
        // root. Told before the last correction, it is worked out beside it.
        Landing landing;
        double low = 0.0;
        const double u = solveShortAlone(y, false, f.atOne, landing, &low);
        if (low > 0.0 && rootBelow(y, negative, atOne, (1.0 - low) / low) == Below::Farther)
            rival = Below::Farther;
        r = settledShortRate(positive, u, landing);
    }
    if (std::isnan(r))
        r = aloneRate(positive, f.atOne);
    if (rival != Below::Farther)
        rival = rootBelow(y, negative, atOne, r);
    if (rival == Below::Unknown)
        return kUnknown;
    return rival == Below::Farther ? r : aloneRate(negative, oneNegative);
}

} // namespace

double irr::nearerOfTwo(std::span<const double> y, double above, double below)
{
    const double gap = above + below; // the distance above less the one below
    if (std::fabs(gap) > 16.0 * kEps * above)
        return gap > 0.0 ? below : above;
    double atOne = 0, size = 0, cmax = 0;
    for (double v : y) {
        atOne += v;
        size += std::fabs(v);
        cmax = std::max(cmax, std::fabs(v));
    }
    if (std::fabs(atOne) > roundingBound(y.size()) * size) {
        const Below rival = rootBelow(y, Polynomial(y, true, cmax), sign(atOne), above);
        if (rival != Below::Unknown)
            return rival == Below::Farther ? above : below;
    }
    return gap > 0.0 ? below : above;
}

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
    // Leading zeros only multiply the value by a power of u; trailing zeros add nothing.
    const std::span<const double> y = flows.subspan(f.first, f.last - f.first + 1);
    // A value at r = 0 lost in rounding: the rate is 0 or next to it, which the
    // scan, with its compensated sum, tells apart. Sums too large for a double too.
    const double rounding = roundingBound(y.size()) * f.atOne.scale;
    if (f.signChanges < 0 || std::fabs(f.atOne.value) <= rounding)
        return rateByScan(flows);

    const Polynomial positive(y, false, f.cmax);
    const Polynomial negative(y, true, f.cmax);
    const PolyValue oneNegative = reversedAtOne(f.atOne, static_cast<double>(y.size() - 1));

    if (f.signChanges == 1) {
        // Descartes: exactly one root, on the side where the ends differ in sign.
        const bool above = sign(f.atOne.value) != sign(y.front());
        return above ? aloneRate(positive, f.atOne) : aloneRate(negative, oneNegative);
    }
    if (y.size() <= kOneRootASideTerms) {
        const double r = rateOneRootASide(y, f, positive, negative, oneNegative, rounding);
        if (!std::isnan(r))
            return r;
    }
    double best = std::numeric_limits<double>::quiet_NaN();
    const SideRoot up = provenNearestRoot(positive, f.atOne, 0.0);
    if (up.outcome == Outcome::Unsure)
        return rateByScan(flows);
    bool settled = false; // best needs no last correction
    if (up.outcome == Outcome::Root) {
        settled = !std::isnan(up.rate);
        best = settled ? up.rate : ratePositive(up.u);
    }
    // A root below 0 only wins when it lies nearer to 0 than the one above.
    const double lowest = std::isnan(best) ? 0.0 : std::max(0.0, 1.0 - best);
    const SideRoot down = provenNearestRoot(negative, oneNegative, lowest);
    if (down.outcome == Outcome::Unsure)
        return rateByScan(flows);
    const auto polished
        = [&](double rate, bool done) { return done ? rate : polishRate(y, rate, Order::Lanes); };
    if (down.outcome == Outcome::None && !std::isnan(best)) {
        const double r = rootJustBeyond(negative, best);
        if (!std::isnan(r))
            return nearerOfTwo(y, polished(best, settled), polished(r, false));
    }
    if (down.outcome == Outcome::Root) {
        const double r = std::isnan(down.rate) ? rateNegative(down.u) : down.rate;
        if (!std::isnan(best) && closeCall(best, r))
            return nearerOfTwo(y, polished(best, settled), polished(r, !std::isnan(down.rate)));
        if (std::isnan(best) || -r < best) {
            best = r;
            settled = !std::isnan(down.rate);
        }
    }
    if (std::isnan(best))
        noRate();
    return settled ? best : polishRate(y, best, Order::Lanes);
}

} // namespace orvex
