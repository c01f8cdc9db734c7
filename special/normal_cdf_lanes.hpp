// The normal CDF of normal_cdf.hpp in the lanes of a vector, for kernels
// that evaluate it for many arguments at once.
#ifndef SPECIAL_NORMAL_CDF_LANES_HPP
#define SPECIAL_NORMAL_CDF_LANES_HPP

#include "lanes.hpp"
#include "normal_cdf.hpp"

namespace special {

// normal_cdf(x, c) lane by lane, with the same operations in the same order
// as the scalar function in each of its three ranges, and exp(-y*y) from
// exp_nonpositive instead of the library: the first range (|x| c.scale <=
// 0.46875), which needs no exponential, and the constant tails give the
// scalar results bit for bit; the other two ranges differ from them only by
// the exponential's few units in the last place. Every lane evaluates all
// three ranges and keeps its own; nothing branches on the data.
template <int W>
LANE_INLINE typename Lanes<W>::D normal_cdf_lanes(const typename Lanes<W>::D &x, const NormalCdfConstants &c) {
    typedef typename Lanes<W>::D D;
    typedef typename Lanes<W>::L L;
    const L lower = x < 0.0;
    const D y = lower ? x * (-c.scale) : x * c.scale;

    // erf(y) directly.
    const D z1 = y * y;
    D num = D{} + normal_cdf_p1[4], den = D{} + 1.0;
    for (int k = 3; k >= 0; --k) {
        num = num * z1 + normal_cdf_p1[k];
        den = den * z1 + normal_cdf_q1[k];
    }
    const D e = y * (num / den);
    const D v1 = lower ? 0.5 * (1.0 - e) : 0.5 * (e + 1.0);

    // erfc(y) = exp(-y^2) R(y) and its asymptotic form.
    const D g = exp_nonpositive<W>(-y * y);
    num = D{} + normal_cdf_p2[8];
    den = D{} + 1.0;
    for (int k = 7; k >= 0; --k) {
        num = num * y + normal_cdf_p2[k];
        den = den * y + normal_cdf_q2[k];
    }
    const D t2 = g * (num / den);
    const D z3 = 1.0 / (y * y);
    num = D{} + normal_cdf_p3[5];
    den = D{} + 1.0;
    for (int k = 4; k >= 0; --k) {
        num = num * z3 + normal_cdf_p3[k];
        den = den * z3 + normal_cdf_q3[k];
    }
    const D t3 = g * (0.5641895835477563 - z3 * num / den) / y;
    const D v2 = lower ? 0.5 * t2 : 1.0 - 0.5 * t2;
    const D v3 = lower ? 0.5 * t3 : 1.0 - 0.5 * t3;
    const D v4 = lower ? D{} + 0.0 : D{} + 1.0;

    D v = y < c.cutoff ? v3 : v4;
    v = y <= c.bound2 ? v2 : v;
    v = y <= 0.46875 ? v1 : v;
    if (c.nan_gives_nan) v = x != x ? x : v;
    return v;
}

} // namespace special

#endif
