// Series for the incomplete beta ratio: the power series in x, the two
// series for a tiny parameter, and the finite sum that shifts a by n.
#include "incbeta_methods.hpp"
#include "log_gamma.hpp"
#include "numeric_foundations.hpp"

#include <cmath>

namespace dist {

namespace {

bool zero_or_nan(double v) { return v == 0.0 || std::isnan(v); }

double g1(double v) { return recip_gamma_minus_one(&v); }

} // namespace

double incbeta_power_series(const double *ap, const double *bp, const double *xp, const double *eps) {
    const double a = *ap, b = *bp, x = *xp;
    if (x == 0.0) return 0.0;

    // r = x^a / (a Beta(a, b)), with 1/Beta formed from Gamma values near 1
    // when the smaller parameter is below 1.
    double r;
    const double a0 = min_of(ap, bp);
    if (a0 >= 1.0) {
        const double z = a * std::log(x) - log_beta(ap, bp);
        r = std::exp(z) / a;
    } else {
        double b0 = max_of(ap, bp);
        if (b0 >= 8.0) {
            const double u = log_gamma_one_plus(&a0) + log_gamma_quotient(&a0, &b0);
            const double z = a * std::log(x) - u;
            r = (a0 / a) * std::exp(z);
        } else if (b0 > 1.0) {
            double u = log_gamma_one_plus(&a0);
            const int m = static_cast<int>(b0 - 1.0);
            if (m >= 1) {
                double c = 1.0;
                for (int i = 0; i < m; ++i) {
                    b0 = b0 - 1.0;
                    c = c * b0 / (a0 + b0);
                }
                u = std::log(c) + u;
            }
            const double z = a * std::log(x) - u;
            b0 = b0 - 1.0;
            const double apb = a0 + b0;
            const double t = apb > 1.0 ? (1.0 + g1(apb - 1.0)) / apb : 1.0 + g1(apb);
            r = std::exp(z) * (a0 / a) * (1.0 + g1(b0)) / t;
        } else {
            r = std::pow(x, a);
            if (zero_or_nan(r)) return r;
            const double apb = a + b;
            const double z = apb > 1.0 ? (1.0 + g1(apb - 1.0)) / apb : 1.0 + g1(apb);
            const double c = (1.0 + g1(a)) * (1.0 + g1(b)) / z;
            r = r * c * (b / apb);
        }
    }
    if (zero_or_nan(r) || a <= 0.1 * *eps) return r;

    // I_x(a, b) = r (1 + a sum_{n>=1} (1-b)_n x^n / (n! (a + n))).
    double sum = 0.0, n = 0.0, c = 1.0, term;
    const double tol = *eps / a;
    do {
        n = n + 1.0;
        c = c * (0.5 + (0.5 - b / n)) * x;
        term = c / (a + n);
        sum = sum + term;
    } while (std::fabs(term) > tol);
    return r * (1.0 + a * sum);
}

double incbeta_small_a_series(const double *ap, const double *bp, const double *xp, const double *eps) {
    const double a = *ap, b = *bp, x = *xp;
    const double euler = 0.577215664901533;
    // For a -> 0, 1 - I_x(a, b) = -a (ln x + psi(b) + gamma_E + series) + O(a^2).
    const double bx = b * x;
    double t = x - bx;
    double c;
    if (b * *eps <= 0.02) {
        c = std::log(x) + psi_function(bp) + euler + t;
    } else {
        // b large: psi(b) ~ ln b, so ln x + psi(b) is taken as ln(b x).
        c = std::log(bx) + euler + t;
    }
    const double tol = 5.0 * *eps * std::fabs(c);
    double j = 1.0, s = 0.0, aj;
    do {
        j = j + 1.0;
        t = t * (x - bx / j);
        aj = t / j;
        s = s + aj;
    } while (std::fabs(aj) > tol);
    return -a * (c + s);
}

double incbeta_small_b_series(const double *ap, const double *bp, const double *xp, const double *eps) {
    const double a = *ap, b = *bp, x = *xp;
    double r = 1.0;
    if (a > 0.001 * *eps) {
        const double t = a * std::log(x);
        const int lower = 1;
        if (t < exp_arg_limit(&lower)) return 0.0;
        r = std::exp(t);
    }
    // 1/Beta(a, b) ~ b for a tiny b.
    r = (b / a) * r;
    const double tol = *eps / a;
    double an = a + 1.0, t = x;
    double s = t / an, c;
    do {
        an = an + 1.0;
        t = x * t;
        c = t / an;
        s = s + c;
    } while (std::fabs(c) > tol);
    return r * (1.0 + a * s);
}

double incbeta_shift_sum(const double *ap, const double *bp, const double *xp, const double *yp, const int *np,
                         const double *eps) {
    const double a = *ap, b = *bp, x = *xp;
    const int n = *np;
    const double apb = a + b, ap1 = a + 1.0;
    int mu = 0;
    double d = 1.0;
    // When the terms grow the first one may underflow: carry the common
    // factor exp(mu) in the prefactor and exp(-mu) in the terms.
    if (n != 1 && a >= 1.0 && apb >= 1.1 * ap1) {
        const int lower = 1, upper = 0;
        const double lo = std::fabs(exp_arg_limit(&lower));
        const double hi = exp_arg_limit(&upper);
        mu = trunc_to_int(&lo);
        const int k = trunc_to_int(&hi);
        if (k < mu) mu = k;
        d = std::exp(static_cast<double>(-mu));
    }
    const double r = beta_prefactor_scaled(&mu, ap, bp, xp, yp) / a;
    if (n == 1 || zero_or_nan(r)) return r;

    // Terms ratio ((a + b + l)/(a + 1 + l)) x: they grow up to index k and
    // fall after it; the growing part is summed without a stopping test.
    double w = d;
    int k = 0;
    if (b > 1.0) {
        if (*yp <= 0.0001) {
            k = n - 1;
        } else {
            const double rr = (b - 1.0) * x / *yp - a;
            if (rr >= 1.0) {
                k = n - 1;
                if (rr < n - 1) k = static_cast<int>(rr);
            }
        }
    }
    for (int i = 1; i <= k; ++i) {
        const double l = i - 1;
        d = ((apb + l) / (ap1 + l)) * x * d;
        w = w + d;
    }
    if (k == n - 1) return r * w;
    for (int i = k + 1; i <= n - 1; ++i) {
        const double l = i - 1;
        d = ((apb + l) / (ap1 + l)) * x * d;
        w = w + d;
        if (!(d > *eps * w)) break;
    }
    return r * w;
}

} // namespace dist
