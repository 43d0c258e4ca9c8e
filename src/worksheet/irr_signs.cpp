// Descartes' rule of signs on the flows' running sums. For 0 < u < 1,
//   P(u) / (1 − u)  = Σ_{k<m} A_k u^k + A_m Σ_{k>=m} u^k,   A_k = c_0 + … + c_k,
// and dividing by 1 − u once more sums the coefficients again; the tail then
// runs from B_{m−1} toward the sign of A_m, changing sign at most once. Each
// series has no more roots in (0, 1) than changes of sign in its coefficients.

#include "worksheet/irr_poly.h"

#include <cmath>

namespace orvex::irr {

bool atMostOneRootEachSide(std::span<const double> y, double scale, double shift)
{
    const std::size_t n = y.size();
    if (n < 2)
        return true;
    const std::size_t m = n - 1;
    // Lane 0 reads the flows forwards, lane 1 backwards. Without branches: the
    // signs of running sums are what a processor cannot predict.
    Pair a = {}, b = {}, lastA = {}, lastB = {};
    Pair smallestA = { INFINITY, INFINITY }, smallestB = smallestA;
    PairBits changesA = {}, changesB = {};
    auto signFlip = [](Pair x, Pair last) { return ((PairBits)x ^ (PairBits)last) >> 63; };
    for (std::size_t k = 0; k < m; ++k) {
        a += Pair { y[k], y[m - k] };
        b += a;
        smallestA = __builtin_ia32_minpd(abs(a), smallestA);
        smallestB = __builtin_ia32_minpd(abs(b), smallestB);
        // The first term has no term before it: it counts a change against 0 at
        // most once, for both sums alike, and the count is corrected below.
        changesA += signFlip(a, lastA);
        changesB += signFlip(b, lastB);
        lastA = a;
        lastB = b;
    }
    const Pair total = a + Pair { y[m], y[0] };
    // Rounding of the running sums: at most k ulps of the sum of magnitudes for
    // A_k, and for B_k the errors of the A_j summed plus its own; doubled. On
    // top, room for P to be moved by `shift`: that adds it to every A_k and
    // (k + 1) times to B_k.
    const double terms = static_cast<double>(n);
    const double boundA = 2.0 * terms * kEps * scale + shift;
    const double boundB = 4.0 * terms * terms * kEps * scale + terms * shift;
    bool each = std::isfinite(b[0]) && std::isfinite(b[1]) && std::isfinite(boundB);
    const PairBits flipA = signFlip(total, lastA), flipB = signFlip(total, lastB);
    for (int side = 0; side < 2; ++side) {
        // A term within its bound of 0 has no known sign. The second sums' tail
        // runs from B_{m−1} to the sign of A_m, which also ends the first sums.
        const bool totalKnown = std::fabs(total[side]) > boundA;
        const auto first = static_cast<unsigned long long>(std::signbit(y[side == 0 ? 0 : m]));
        const unsigned long long once = changesA[side] + flipA[side] - first;
        const unsigned long long twice = changesB[side] + flipB[side] - first;
        const bool onceKnown = totalKnown && smallestA[side] > boundA;
        const bool twiceKnown = totalKnown && smallestB[side] > boundB;
        each = each && ((onceKnown && once <= 1) || (twiceKnown && twice <= 1));
    }
    return each;
}

} // namespace orvex::irr
