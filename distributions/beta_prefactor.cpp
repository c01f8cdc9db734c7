#include "incbeta_methods.hpp"
#include "log_gamma.hpp"
#include "numeric_foundations.hpp"

#include <cmath>

namespace dist {

namespace {

bool zero_or_nan(double v) { return v == 0.0 || std::isnan(v); }

// 1/Gamma(v + 1) - 1 by value.
double g1(double v) { return recip_gamma_minus_one(&v); }

} // namespace

double beta_mean_distance(const double *ap, const double *bp, const double *xp, const double *yp) {
    const double a = *ap, b = *bp;
    // a + b = s + es exactly.
    const double s = a + b;
    const double bb = s - a;
    const double es = (a - (s - bb)) + (b - bb);
    if (a > b) {
        // (a + b) y - b, with s y = p + ep exactly.
        const double p = s * *yp;
        const double ep = std::fma(s, *yp, -p);
        return ((p - b) + ep) + es * *yp;
    }
    const double p = s * *xp;
    const double ep = std::fma(s, *xp, -p);
    return ((a - p) - ep) - es * *xp;
}

double beta_prefactor_scaled(const int *mu, const double *ap, const double *bp, const double *xp,
                             const double *yp) {
    const double a = *ap, b = *bp, x = *xp, y = *yp;
    if (x == 0.0 || y == 0.0) return 0.0;
    const double a0 = min_of(ap, bp);
    if (a0 >= 8.0) {
        // Both parameters large: write x^a y^b around the mean x0 = a/(a + b)
        // as exp(-(a u + b v)) with u, v of the form e - ln(1 + e), small
        // and accurate near the mean, and Beta(a, b) by Stirling's formula.
        double h, x0, y0;
        if (a > b) {
            h = b / a;
            x0 = 1.0 / (1.0 + h);
            y0 = h / (1.0 + h);
        } else {
            h = a / b;
            x0 = h / (1.0 + h);
            y0 = 1.0 / (1.0 + h);
        }
        const double lambda = beta_mean_distance(ap, bp, xp, yp);
        double e = -lambda / a;
        const double u = std::fabs(e) <= 0.6 ? x_minus_log_one_plus(&e) : e - std::log(x / x0);
        e = lambda / b;
        const double v = std::fabs(e) <= 0.6 ? x_minus_log_one_plus(&e) : e - std::log(y / y0);
        const double expo = -(a * u + b * v);
        const double z = exp_sum(mu, &expo);
        return 0.398942280401433 * std::sqrt(b * x0) * z * std::exp(-stirling_corr_diff(&a, &b));
    }

    // Logarithms of x and y, the one near 1 taken from the other's small value.
    double lnx, lny;
    if (x <= 0.375) {
        const double mx = -x;
        lnx = std::log(x);
        lny = log_one_plus(&mx);
    } else if (y <= 0.375) {
        const double my = -y;
        lnx = log_one_plus(&my);
        lny = std::log(y);
    } else {
        lnx = std::log(x);
        lny = std::log(y);
    }
    double z = a * lnx + b * lny;
    if (a0 >= 1.0) {
        const double e = z - log_beta(&a, &b);
        return exp_sum(mu, &e);
    }

    // a0 < 1: 1/Beta(a, b) from Gamma values near 1 so that the small
    // parameter keeps its accuracy.
    double b0 = max_of(ap, bp);
    if (b0 >= 8.0) {
        const double u = log_gamma_one_plus(&a0) + log_gamma_quotient(&a0, &b0);
        const double e = z - u;
        return a0 * exp_sum(mu, &e);
    }
    if (b0 > 1.0) {
        // Reduce b0 to (1, 2] by Beta(a0, b0) = ((b0 - 1)/(a0 + b0 - 1)) Beta(a0, b0 - 1).
        double u = log_gamma_one_plus(&a0);
        const int n = static_cast<int>(b0 - 1.0);
        if (n >= 1) {
            double c = 1.0;
            for (int i = 0; i < n; ++i) {
                b0 = b0 - 1.0;
                c = c * b0 / (a0 + b0);
            }
            u = std::log(c) + u;
        }
        z = z - u;
        b0 = b0 - 1.0;
        const double apb = a0 + b0;
        const double t = apb > 1.0 ? (1.0 + g1(apb - 1.0)) / apb : 1.0 + g1(apb);
        return a0 * exp_sum(mu, &z) * (1.0 + g1(b0)) / t;
    }

    // Both parameters at most 1.
    const double r = exp_sum(mu, &z);
    if (zero_or_nan(r)) return r;
    const double apb = a + b;
    const double zz = apb > 1.0 ? (1.0 + g1(a + b - 1.0)) / apb : 1.0 + g1(apb);
    const double c = (1.0 + g1(a)) * (1.0 + g1(b)) / zz;
    return r * (a0 * c) / (1.0 + a0 / b0);
}

double beta_prefactor(const double *a, const double *b, const double *x, const double *y) {
    // exp_sum(0, e) is exp(e) exactly, so the unscaled prefactor is the
    // scaled one with mu = 0.
    const int mu = 0;
    return beta_prefactor_scaled(&mu, a, b, x, y);
}

} // namespace dist
