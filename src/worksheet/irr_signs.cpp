// Descartes' rule of signs on the flows' running sums. For 0 < u < 1,
//   P(u) / (1 − u)  = Σ_{k<m} A_k u^k + A_m Σ_{k>=m} u^k,   A_k = c_0 + … + c_k,
// and dividing by 1 − u once more sums the coefficients again: the second sums
// B_k, whose tail runs from B_{m−1} toward the sign of A_m and changes sign at
// most once. A series has no more roots in (0, 1) than changes of sign in its
// coefficients, and running sums never change sign more often than what they
// sum: the second sums prove whatever the first would.

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
    Pair a = {}, b = {}, last = {}, smallest = { INFINITY, INFINITY };
    PairBits changes = {};
    auto signFlip = [](Pair x, Pair before) { return ((PairBits)x ^ (PairBits)before) >> 63; };
    for (std::size_t k = 0; k < m; ++k) {
        a += Pair { y[k], y[m - k] };
        b += a;
        smallest = __builtin_ia32_minpd(abs(b), smallest);
        // The first term has no term before it: it counts a change against 0 at
        // most once, and the count is corrected below.
        changes += signFlip(b, last);
        last = b;
    }
    const Pair total = a + Pair { y[m], y[0] };
    // Rounding of the running sums: at most k ulps of the sum of magnitudes for
    // A_k, and for B_k the errors of the A_j summed plus its own; doubled. On
    // top, room for P to be moved by `shift`: that adds it to every A_k and
    // (k + 1) times to B_k.
    const double terms = static_cast<double>(n);
    const double boundA = 2.0 * terms * kEps * scale + shift;
    const double boundB = 4.0 * terms * terms * kEps * scale + terms * shift;
    // A term within its bound of 0 has no known sign; the tail ends with the
    // sign of A_m. Each lane's first term counted a change when negative.
    const Pair limitA = { boundA, boundA }, limitB = { boundB, boundB },
               huge = { INFINITY, INFINITY };
    const PairBits first = (PairBits)Pair { y[0], y[m] } >> 63;
    const PairBits count = changes + signFlip(total, last) - first;
    const PairBits each = (PairBits)(abs(total) > limitA) & (PairBits)(smallest > limitB)
        & (PairBits)(abs(b) < huge) & (PairBits)(count <= PairBits { 1, 1 });
    return std::isfinite(boundB) && (each[0] & each[1]) != 0;
}

} // namespace orvex::irr
