#include "digamma.hpp"

#include "lanes.hpp"

#include <cmath>
#include <cstddef>
#include <limits>

namespace special {

double digamma(double x) {
    if (x <= 0.0) return std::numeric_limits<double>::quiet_NaN();

    // Shift up to at least 10, where seven terms of the asymptotic series
    // are accurate to double precision.
    int n = 0;
    double xs = x;
    if (x < 10.0) {
        n = 10 - static_cast<int>(std::floor(x));
        xs = x + n;
    }

    const double z = 1.0 / (xs * xs);
    const double series =
        (((((((-0.08333333333333333 * z + 0.021092796092796094) * z - 0.007575757575757576) * z +
             0.004166666666666667) * z - 0.003968253968253968) * z + 0.008333333333333333) * z -
          0.08333333333333333) * z);
    double psi = series + (std::log(xs) - 0.5 / xs);

    // Step down with psi(x) = psi(x + 1) - 1/x, largest term first. The
    // smallest point is x itself, not (x + n) - n: the shift rounds away up
    // to 8.9e-16 of x, a relative error of 8.9e-16/x in the dominant -1/x
    // term (1e-7 at x = 1e-8, and -Inf once x + 10 rounds to 10).
    if (n > 0) {
        psi = psi - 1.0 / x;
        --n;
    }
    for (; n > 0; --n) psi = psi - 1.0 / (xs - n);
    return psi;
}

namespace {

// digamma of W arguments at once in the lanes of a vector, with the scalar
// function's arithmetic in every lane: each lane shifts by its own n, and
// the steps back down are taken in the same order, lanes whose n is spent
// keeping their value. The logarithm is the library's, lane by lane.
template <int W> LANE_INLINE void digamma_lanes(const double *x, double *y, size_t len) {
    typedef typename Lanes<W>::D D;
    typedef typename Lanes<W>::L L;
    const D v = load<D>(x, len);
    // floor(v) for 0 < v < 10 (the only lanes that use it), exactly: the
    // 2^52 shift rounds to an integer, one less when it rounded up.
    const double kTwo52 = 4503599627370496.0;
    D fl = (v + kTwo52) - kTwo52;
    fl = fl > v ? fl - 1.0 : fl;
    // Non-positive lanes end as NaN; they take no shift (their n would be
    // unbounded).
    const L small = (v < 10.0) & (v > 0.0);
    const D n = small ? 10.0 - fl : D{} + 0.0;
    const D xs = small ? v + n : v;
    const D z = 1.0 / (xs * xs);
    const D series =
        (((((((-0.08333333333333333 * z + 0.021092796092796094) * z - 0.007575757575757576) * z +
             0.004166666666666667) * z - 0.003968253968253968) * z + 0.008333333333333333) * z -
          0.08333333333333333) * z);
    D lg = xs;
    double steps = 0.0;
    for (int k = 0; k < W; ++k) {
        lg[k] = std::log(xs[k]);
        steps = n[k] > steps ? n[k] : steps;
    }
    D psi = series + (lg - 0.5 / xs);
    psi = n > 0.0 ? psi - 1.0 / v : psi;
    for (double s = steps - 1.0; s > 0.0; s = s - 1.0) psi = n - 1.0 >= s ? psi - 1.0 / (xs - s) : psi;
    store(y, v <= 0.0 ? D{} + std::numeric_limits<double>::quiet_NaN() : psi, len);
}

template <int W> LANE_INLINE void digamma_all(const double *x, double *y, size_t count) {
    for_lanes<W>(count, [&](size_t k, size_t len) LANE_INLINE_LAMBDA { digamma_lanes<W>(x + k, y + k, len); });
}

// One version per vector width, the widest the processor has chosen at run
// time; the build itself stays generic x86-64.
#ifdef LANES_X86
LANES_AVX2 void digamma_4(const double *x, double *y, size_t count) { digamma_all<4>(x, y, count); }
LANES_AVX512 void digamma_8(const double *x, double *y, size_t count) { digamma_all<8>(x, y, count); }
#endif

} // namespace

void digamma_array(const double *x, double *y, size_t count) {
#ifdef LANES_X86
    switch (lane_width()) {
    case 8: return digamma_8(x, y, count);
    case 4: return digamma_4(x, y, count);
    }
#endif
    digamma_all<2>(x, y, count);
}

} // namespace special
