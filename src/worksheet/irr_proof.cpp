// The proof of the root nearest to r = 0 on one side when there may be several:
// pieces of [lowest, 1] are passed, split or settled from u = 1 down, by what
// the increasing positive and negative parts of P tell on each.

#include "worksheet/irr_search.h"

#include <algorithm>
#include <new>
#include <type_traits>

namespace orvex::irr {
namespace {

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

} // namespace

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
            if (piece.root < 0.0 && p.size() <= kShortTerms) {
                // Alone in the piece: a short series stops early and settles its rate.
                Landing landing;
                const double u = solveOneRoot<true>(
                    p, piece.a, piece.va, piece.b, piece.vb, &evals, kShortAccept, &landing);
                const double r = settledShortRate(p, u, landing, piece.a, piece.b);
                if (!std::isnan(r))
                    return { Outcome::Root, u, r };
            }
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

} // namespace orvex::irr
