#include "normal_quantile.hpp"

#include "normal_cdf.hpp"

#include <cmath>
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
} // namespace

double erf(double x) {
    const bool neg = x < 0.0;
    const double y = std::fabs(x);
    if (y <= 0.46875) {
        const double z = y * y;
        double num = normal_cdf_p1[4], den = 1.0;
        for (int k = 3; k >= 0; --k) {
            num = num * z + normal_cdf_p1[k];
            den = den * z + normal_cdf_q1[k];
        }
        return (num / den) * x;
    }
    if (y <= 4.0) {
        double num = normal_cdf_p2[8], den = 1.0;
        for (int k = 7; k >= 0; --k) {
            num = num * y + normal_cdf_p2[k];
            den = den * y + normal_cdf_q2[k];
        }
        const double c = std::exp(-y * y) * (num / den);
        return neg ? (c - 0.5) - 0.5 : (0.5 - c) + 0.5;
    }
    if (y < 10.0) {
        const double z = 1.0 / (y * y);
        double num = normal_cdf_p3[5], den = 1.0;
        for (int k = 4; k >= 0; --k) {
            num = num * z + normal_cdf_p3[k];
            den = den * z + normal_cdf_q3[k];
        }
        const double f = std::exp(-y * y) * (kRecipSqrtPi - z * num / den) / y;
        return neg ? (f - 0.5) - 0.5 : (0.5 - f) + 0.5;
    }
    return neg ? -1.0 : 1.0;
}

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
    for (int i = 0; i < 2; ++i) b = b + (special::erf(b) - x) / (std::exp(-b * b) * kNewton);
    return b * kSqrt2;
}

} // namespace special
