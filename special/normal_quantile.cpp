#include "normal_quantile.hpp"

#include "lanes.hpp"
#include "normal_cdf.hpp"

#include <cmath>
#include <cstddef>
#include <limits>

namespace special {

namespace {
constexpr double kRecipSqrtPi = 0.5641895835477563; // 1/sqrt(pi)
constexpr double kNewton = -1.128379167095513;      // -2/sqrt(pi) as held
constexpr double kSqrt2 = 1.414213562373095;        // sqrt(2) as held (1 ulp low)
constexpr double kTail = 1e-9;

// Cody's asymptotic factor R(y) = 1/sqrt(pi) - z N(z)/D(z), z = 1/y^2, with
// erfc(y) = exp(-y^2) R(y) / y for y > 4.
double erfc_asymptotic_factor(double y) {
    const double z = 1.0 / (y * y);
    double num = normal_cdf_p3[5], den = 1.0;
    for (int k = 4; k >= 0; --k) {
        num = num * z + normal_cdf_p3[k];
        den = den * z + normal_cdf_q3[k];
    }
    return kRecipSqrtPi - z * num / den;
}

// The tail branch of the first guess, b = N(t)/D(t), t = sqrt(-log(tail)).
double tail_guess(double t) {
    return (((1.641345311 * t + 3.429567803) * t - 1.624906493) * t - 1.970840454) /
           ((1.6370678 * t + 3.5438892) * t + 1.0);
}

// erf(x), and, when e is not null, in *e the exp(-x*x) that a Newton step on
// erf needs: the two middle ranges form that very exponential (-|x|*|x| is
// -x*x exactly), so it is handed out instead of being computed twice.
double erf_and_gauss(double x, double *e) {
    const bool neg = x < 0.0;
    const double y = std::fabs(x);
    if (y <= 0.46875) {
        const double z = y * y;
        double num = normal_cdf_p1[4], den = 1.0;
        for (int k = 3; k >= 0; --k) {
            num = num * z + normal_cdf_p1[k];
            den = den * z + normal_cdf_q1[k];
        }
        if (e) *e = std::exp(-x * x);
        return (num / den) * x;
    }
    if (y <= 4.0) {
        double num = normal_cdf_p2[8], den = 1.0;
        for (int k = 7; k >= 0; --k) {
            num = num * y + normal_cdf_p2[k];
            den = den * y + normal_cdf_q2[k];
        }
        const double g = std::exp(-y * y);
        if (e) *e = g;
        const double c = g * (num / den);
        return neg ? (c - 0.5) - 0.5 : (0.5 - c) + 0.5;
    }
    if (y < 10.0) {
        const double z = 1.0 / (y * y);
        double num = normal_cdf_p3[5], den = 1.0;
        for (int k = 4; k >= 0; --k) {
            num = num * z + normal_cdf_p3[k];
            den = den * z + normal_cdf_q3[k];
        }
        const double g = std::exp(-y * y);
        if (e) *e = g;
        const double f = g * (kRecipSqrtPi - z * num / den) / y;
        return neg ? (f - 0.5) - 0.5 : (0.5 - f) + 0.5;
    }
    if (e) *e = std::exp(-x * x);
    return neg ? -1.0 : 1.0;
}

} // namespace

double erf(double x) { return erf_and_gauss(x, nullptr); }

double normal_tail_quantile(double q) {
    // Solve log(erfc(y)) = log(2q) for y = z/sqrt(2) > 4 by Newton's method in
    // the logarithm, which neither underflows nor cancels: with
    // erfc(y) = exp(-y^2) R(y)/y the equation reads -y^2 + log(R(y)/y) = log(2q),
    // and d/dy log(erfc(y)) = -(2/sqrt(pi)) y / R(y) exactly.
    const double target = std::log(q + q);
    double y = tail_guess(std::sqrt(-std::log(q)));
    for (int i = 0; i < 8; ++i) {
        const double r = erfc_asymptotic_factor(y);
        const double g = (std::log(r / y) - y * y) - target;
        const double step = g / (-2.0 * kRecipSqrtPi * y / r);
        y -= step;
        if (std::fabs(step) <= 1e-15 * y) break;
    }
    return y * kSqrt2;
}

double gaussquant(double p) {
    // Outside [0, 1] there is no quantile. (Tested on p itself: for
    // -2.8e-17 < p < 0 the form 2p - 1 would round to -1 and give -Inf.)
    if (p < 0.0 || p > 1.0) return std::numeric_limits<double>::quiet_NaN();
    // In the far tails 2p - 1 keeps too few digits of the tail probability
    // (every p at or below 2.8e-17 becomes -1, and p = 1e-12 keeps six
    // digits); there the quantile is computed from the tail probability,
    // which for p >= 0.5 is 1 - p exactly.
    if (p > 0.0 && p < kTail) return -normal_tail_quantile(p);
    if (p >= 0.5 && p < 1.0 && 1.0 - p < kTail) return normal_tail_quantile(1.0 - p);

    const double x = (p + p) - 1.0;
    const double a = std::fabs(x);
    if (a >= 1.0) {
        if (a > 1.0) return std::numeric_limits<double>::quiet_NaN();
        return x > 0.0 ? std::numeric_limits<double>::infinity() : -std::numeric_limits<double>::infinity();
    }

    double b;
    if (x > 0.7) {
        b = tail_guess(std::sqrt(-std::log((1.0 - x) * 0.5)));
    } else if (x < -0.7) {
        b = -tail_guess(std::sqrt(-std::log((1.0 + x) * 0.5)));
    } else {
        // Central branch; NaN lands here and stays NaN.
        const double z = x * x;
        b = x * (((-0.140543331 * z + 0.914624893) * z - 1.645349621) * z + 0.886226899) /
            ((((0.012229801 * z - 0.329097515) * z + 1.442710462) * z - 2.118377725) * z + 1.0);
    }
    // Two Newton steps on erf(b) = x; erf'(b) = (2/sqrt(pi)) exp(-b^2).
    for (int i = 0; i < 2; ++i) {
        double e;
        const double f = erf_and_gauss(b, &e);
        b = b + (f - x) / (e * kNewton);
    }
    return b * kSqrt2;
}

namespace {

// gaussquant of W probabilities at once in the lanes of a vector, with the
// scalar function's arithmetic in every lane: both branches of the first
// guess and the three ranges of erf are evaluated and each lane keeps its
// own, so no branch depends on the data. The logarithms, square roots and
// exponentials are the library's, lane by lane (erf's exp(-y*y) is the
// Newton step's exp(-b*b)). Lanes outside the common case (a probability
// outside (0, 1), within 1e-9 of either end, or NaN) take the scalar
// function.
template <int W> LANE_INLINE void gaussquant_lanes(const double *in, double *out, size_t len) {
    typedef typename Lanes<W>::D D;
    typedef typename Lanes<W>::L L;
    const D p = load<D>(in, len);
    const L common = ((p >= kTail) & (p <= 0.5)) | ((p > 0.5) & (1.0 - p >= kTail));
    const D x = (p + p) - 1.0;

    const L hi = x > 0.7, lo = x < -0.7;
    D t = D{} + 0.0;
    for (int k = 0; k < W; ++k)
        if (hi[k] || lo[k]) t[k] = std::sqrt(-std::log(hi[k] ? (1.0 - x[k]) * 0.5 : (1.0 + x[k]) * 0.5));
    const D tail = (((1.641345311 * t + 3.429567803) * t - 1.624906493) * t - 1.970840454) /
                   ((1.6370678 * t + 3.5438892) * t + 1.0);
    const D z = x * x;
    const D centre = x * (((-0.140543331 * z + 0.914624893) * z - 1.645349621) * z + 0.886226899) /
                     ((((0.012229801 * z - 0.329097515) * z + 1.442710462) * z - 2.118377725) * z + 1.0);
    D b = hi ? tail : (lo ? -tail : centre);

    for (int step = 0; step < 2; ++step) {
        const L neg = b < 0.0;
        const D y = neg ? -b : b;
        D e = b;
        for (int k = 0; k < W; ++k) e[k] = std::exp(-b[k] * b[k]);
        // erf(b) in each of its ranges.
        const D z1 = y * y;
        D num = D{} + normal_cdf_p1[4], den = D{} + 1.0;
        for (int k = 3; k >= 0; --k) {
            num = num * z1 + normal_cdf_p1[k];
            den = den * z1 + normal_cdf_q1[k];
        }
        const D f1 = (num / den) * b;
        num = D{} + normal_cdf_p2[8];
        den = D{} + 1.0;
        for (int k = 7; k >= 0; --k) {
            num = num * y + normal_cdf_p2[k];
            den = den * y + normal_cdf_q2[k];
        }
        const D c = e * (num / den);
        const D f2 = neg ? (c - 0.5) - 0.5 : (0.5 - c) + 0.5;
        const D z3 = 1.0 / (y * y);
        num = D{} + normal_cdf_p3[5];
        den = D{} + 1.0;
        for (int k = 4; k >= 0; --k) {
            num = num * z3 + normal_cdf_p3[k];
            den = den * z3 + normal_cdf_q3[k];
        }
        const D g = e * (kRecipSqrtPi - z3 * num / den) / y;
        const D f3 = neg ? (g - 0.5) - 0.5 : (0.5 - g) + 0.5;
        D f = neg ? D{} - 1.0 : D{} + 1.0;
        f = y < 10.0 ? f3 : f;
        f = y <= 4.0 ? f2 : f;
        f = y <= 0.46875 ? f1 : f;
        b = b + (f - x) / (e * kNewton);
    }
    D q = b * kSqrt2;
    for (int k = 0; k < W; ++k)
        if (!common[k]) q[k] = gaussquant(p[k]);
    store(out, q, len);
}

template <int W> LANE_INLINE void gaussquant_all(const double *p, double *x, size_t count) {
    for_lanes<W>(count, [&](size_t k, size_t len) LANE_INLINE_LAMBDA { gaussquant_lanes<W>(p + k, x + k, len); });
}

// One version per vector width, the widest the processor has chosen at run
// time; the build itself stays generic x86-64.
#ifdef LANES_X86
LANES_AVX2 void gaussquant_4(const double *p, double *x, size_t count) { gaussquant_all<4>(p, x, count); }
LANES_AVX512 void gaussquant_8(const double *p, double *x, size_t count) { gaussquant_all<8>(p, x, count); }
#endif

} // namespace

void gaussquant_array(const double *p, double *x, size_t count) {
#ifdef LANES_X86
    switch (lane_width()) {
    case 8: return gaussquant_8(p, x, count);
    case 4: return gaussquant_4(p, x, count);
    }
#endif
    gaussquant_all<2>(p, x, count);
}

} // namespace special
