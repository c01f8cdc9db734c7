#include "incomplete_gamma.hpp"

#include "numeric_foundations.hpp"

#include <cmath>

namespace dist {

namespace {

const double kAlog10 = 2.30258509299405;
const double kRt2pin = 0.398942280401433; // 1/sqrt(2*pi)
const double kRtpi = 1.77245385090552;    // sqrt(pi)
const double kThird = 0.333333333333333;

// Loops converge for every admissible input in a few hundred steps at most;
// the cap only guarantees an end for inputs that should never reach them.
const int kMaxIterations = 100000;

// Coefficients of Temme's expansion: row Gi holds the polynomial in z of the
// i-th correction term, g1..g7 their constant terms.
const double kG0[13] = {0.0833333333333333,  -0.0148148148148148,  0.00115740740740741, 0.000352733686067019,
                        -0.000178755144032922, 3.91926317852244e-05, -2.18544851067999e-06,
                        -1.85406221071516e-06, 8.29671134095309e-07, -1.76659527368261e-07,
                        6.7078535434015e-09,  1.02618097842403e-08,  -4.38203601845335e-09};
const double kG1[12] = {-0.00347222222222222, 0.00264550264550265,  -0.00099022633744856, 0.000205761316872428,
                        -4.01877572016461e-07, -1.809855033449e-05,  7.64916091608111e-06, -1.61209008945634e-06,
                        4.64712780280743e-09,  1.37863344691572e-07, -5.7525456035177e-08, 1.19516285997781e-08};
const double kG2[10] = {-0.00268132716049383, 0.000771604938271605, 2.0093878600823e-06, -0.000107366532263652,
                        5.29234488291201e-05,  -1.27606351886187e-05, 3.42357873409614e-08, 1.37219573090629e-06,
                        -6.29899213838006e-07, 1.42806142060642e-07};
const double kG3[8] = {0.000229472093621399, -0.000469189494395256, 0.000267720632062839, -7.56180167188398e-05,
                       -2.3965051138673e-07, 1.10826541153473e-05,  -5.6749528269916e-06, 1.42309007324359e-06};
const double kG4[6] = {0.000784039221720067, -0.00029907248030319,  -1.46384525788434e-06,
                       6.64149821546512e-05, -3.96836504717943e-05, 1.13757269706784e-05};
const double kG5[4] = {-6.97281375836586e-05, 0.000277275324495939, -0.000199325705161888, 6.79778047793721e-05};
const double kG6[2] = {-0.000592166437353694, 0.000270878209671804};
const double kGc[8] = {0.0, // unused: the constant of c0 is -third
                       -0.00185185185185185, 0.00413359788359788,  0.000649434156378601, -0.000861888290916712,
                       -0.000336798553366358, 0.000531307936463992, 0.000344367606892378};

// The list G[n], G[n-1], ..., G[0], c evaluated at z by Horner's rule.
double temme_row(const double *g, int n, double c, double z) {
    double v = g[n];
    for (int k = n - 1; k >= 0; --k) v = v * z + g[k];
    return v * z + c;
}

// The list v[0], ..., v[n-1] evaluated at u (v[0] multiplies the highest power).
double horner_list(const double *v, int n, double u) {
    double r = v[0];
    for (int k = 1; k < n; ++k) r = r * u + v[k];
    return r;
}

void zero_rule(double a, double x, double *p, double *q) {
    if (x <= a) {
        *p = 0.0;
        *q = 1.0;
    } else {
        *p = 1.0;
        *q = 0.0;
    }
}

void complement_of_p(double *p, double *q) { *q = 0.5 + (0.5 - *p); }
void complement_of_q(double *p, double *q) { *p = 0.5 + (0.5 - *q); }

// P/r = (1/a)*(1 + x/(a+1) + x^2/((a+1)(a+2)) + ...). The leading terms are
// kept and added last, smallest first.
void taylor_series(double a, double x, double r, double acc, double *p, double *q) {
    double w[21];
    double apn = a + 1.0;
    double t = x / apn;
    w[1] = t;
    int n;
    for (n = 2; n <= 20; ++n) {
        apn = apn + 1.0;
        t = t * (x / apn);
        if (t <= 0.001) break;
        w[n] = t;
    }
    if (n > 20) n = 20;
    double sum = t;
    const double tol = 0.5 * acc;
    int guard = 0;
    do {
        apn = apn + 1.0;
        t = t * (x / apn);
        sum = sum + t;
    } while (t > tol && ++guard < kMaxIterations);
    for (int k = n - 1; k >= 1; --k) sum = sum + w[k];
    *p = (r / a) * (1.0 + sum);
    complement_of_p(p, q);
}

// Q/r = (1/x)*(1 + (a-1)/x + (a-1)(a-2)/x^2 + ...) for large x.
void asymptotic_expansion(double a, double x, double r, double acc, double *p, double *q) {
    double w[21];
    double amn = a - 1.0;
    double t = amn / x;
    w[1] = t;
    int n;
    for (n = 2; n <= 20; ++n) {
        amn = amn - 1.0;
        t = t * (amn / x);
        if (std::fabs(t) <= 0.001) break;
        w[n] = t;
    }
    if (n > 20) n = 20;
    double sum = t;
    for (int guard = 0; std::fabs(t) > acc && guard < kMaxIterations; ++guard) {
        amn = amn - 1.0;
        t = t * (amn / x);
        sum = sum + t;
    }
    for (int k = n - 1; k >= 1; --k) sum = sum + w[k];
    *q = (r / x) * (1.0 + sum);
    complement_of_q(p, q);
}

// Legendre's continued fraction for Q/r by its convergents A/B; for the
// x at which it is used the recurrences stay far from overflow unscaled.
void continued_fraction(double a, double x, double r, double acc, double eps, double *p, double *q) {
    const double five_eps = 5.0 * eps;
    const double tol = max_of(&five_eps, &acc);
    double a1 = 1.0, a2 = 1.0, b1 = x, b2 = x + (1.0 - a), c = 1.0;
    double f1, f2;
    int guard = 0;
    do {
        a1 = x * a2 + c * a1;
        b1 = x * b2 + c * b1;
        f1 = a1 / b1;
        c = c + 1.0;
        const double cma = c - a;
        a2 = a1 + cma * a2;
        b2 = b1 + cma * b2;
        f2 = a2 / b2;
    } while (!(std::fabs(f2 - f1) < tol * f2) && ++guard < kMaxIterations);
    *q = r * f2;
    complement_of_q(p, q);
}

// a < 1, x < 1.1: P = x^a/Gamma(a+1) * (1 - J) with J from the alternating
// series of P/x^a. Form B builds Q from exp(z) - 1 and 1/Gamma(a+1) - 1 so
// that Q keeps its relative accuracy when P is close to 1.
void small_x_series(double a, double x, double acc, double *p, double *q) {
    double an = 3.0, c = x, sum = x / (a + 3.0);
    const double tol = 3.0 * acc / (a + 1.0);
    double t;
    int guard = 0;
    do {
        an = an + 1.0;
        c = -(c * (x / an));
        t = c / (a + an);
        sum = sum + t;
    } while (std::fabs(t) > tol && ++guard < kMaxIterations);
    const double j = a * x * ((sum * 0.16666666666666666 - 0.5 / (a + 2.0)) * x + 1.0 / (a + 1.0));
    const double z = a * std::log(x);
    const double h = recip_gamma_minus_one(&a);
    const double g = 1.0 + h;

    const bool form_b = x < 0.25 ? z > -0.13394 : x * 0.3861003861003861 > a;
    if (!form_b) {
        *p = std::exp(z) * g * (0.5 + (0.5 - j));
        complement_of_p(p, q);
        return;
    }
    const double l = exp_minus_one(&z);
    const double w = (l + 0.5) + 0.5;
    *q = (w * j - l) * g - h;
    if (*q < 0.0) {
        *p = 1.0;
        *q = 0.0;
    } else {
        complement_of_q(p, q);
    }
}

// Q for integer or half-integer a as the finite Poisson-type sum, started
// from exp(-x) or from erfc(sqrt(x)).
void finite_sum(double a, double x, int i, double *p, double *q) {
    double sum, t, c;
    int n;
    if (a == static_cast<double>(i)) {
        sum = std::exp(-x);
        t = sum;
        n = 1;
        c = 0.0;
    } else {
        const double rtx = std::sqrt(x);
        const int unscaled = 0;
        sum = error_fn_compl(&unscaled, &rtx);
        t = std::exp(-x) / (kRtpi * rtx);
        n = 0;
        c = -0.5;
    }
    while (n != i) {
        n = n + 1;
        c = c + 1.0;
        t = x * t / c;
        sum = sum + t;
    }
    *q = sum;
    complement_of_q(p, q);
}

// u - log(1 + u) + w1 by the rational series in r = u/(u + 2), for the
// shifted arguments of x_minus_one_minus_log near 1.
double log_series_near_one(double u, double w1) {
    static const double n[] = {0.00620886815375787, -0.224696413112536, 0.333333333333333};
    static const double d[] = {0.354508718369557, -1.27408923933623, 1.0};
    const double r = u / (u + 2.0);
    const double t = r * r;
    const double w = horner_list(n, 3, t) / horner_list(d, 3, t);
    return 2.0 * t * (1.0 / (1.0 - r) - r * w) + w1;
}

// The correction series of Temme's expansion to full accuracy with the
// shortest coefficient rows, used where z is small.
double temme_short_rows(double z, double u) {
    const double cs[8] = {kGc[7],
                          temme_row(kG6, 0, kGc[6], z),
                          temme_row(kG5, 1, kGc[5], z),
                          temme_row(kG4, 1, kGc[4], z),
                          temme_row(kG3, 3, kGc[3], z),
                          temme_row(kG2, 4, kGc[2], z),
                          temme_row(kG1, 5, kGc[1], z),
                          temme_row(kG0, 6, -kThird, z)};
    return horner_list(cs, 8, u);
}

// Both tails from Temme's leading term c*w and correction t: the smaller
// tail (P below the centre, Q above) directly, the other as its complement.
void temme_tails(double l, double c, double w, double t, double rta, double *p, double *q) {
    if (l < 1.0) {
        *p = c * (w - kRt2pin * t / rta);
        complement_of_p(p, q);
    } else {
        *q = c * (w + kRt2pin * t / rta);
        complement_of_q(p, q);
    }
}

// Temme's expansion away from the transition: erfc of sqrt(y) plus a
// correction series in 1/a whose coefficients are polynomials in z.
void temme_general(double a, double l, double s, double z, double y, double rta, double eps, int k, double *p,
                   double *q) {
    if (std::fabs(s) <= 2.0 * eps && a * eps * eps > 0.00328) {
        *p = 2.0;
        return;
    }
    const double c = std::exp(-y);
    const double rty = std::sqrt(y);
    const int scaled = 1;
    const double w = 0.5 * error_fn_compl(&scaled, &rty);
    const double u = 1.0 / a;
    z = std::sqrt(z + z);
    if (l < 1.0) z = -z;

    double t;
    if (k == 1 && std::fabs(s) <= 0.001) {
        t = temme_short_rows(z, u);
    } else if (k == 1) {
        const double cs[8] = {kGc[7],
                              temme_row(kG6, 1, kGc[6], z),
                              temme_row(kG5, 3, kGc[5], z),
                              temme_row(kG4, 5, kGc[4], z),
                              temme_row(kG3, 7, kGc[3], z),
                              temme_row(kG2, 9, kGc[2], z),
                              temme_row(kG1, 11, kGc[1], z),
                              temme_row(kG0, 12, -kThird, z)};
        t = horner_list(cs, 8, u);
    } else if (k == 2) {
        const double cs[3] = {temme_row(kG2, 0, kGc[2], z), temme_row(kG1, 3, kGc[1], z),
                              temme_row(kG0, 5, -kThird, z)};
        t = horner_list(cs, 3, u);
    } else {
        t = temme_row(kG0, 2, -kThird, z);
    }

    temme_tails(l, c, w, t, rta, p, q);
}

// Temme's expansion at x close to a, where y is small and erfc(sqrt(y)) is
// replaced by its leading Taylor terms.
void temme_near_one(double a, double l, double z, double y, double rta, double eps, int k, double *p, double *q) {
    if (a * eps * eps > 0.00328) {
        *p = 2.0;
        return;
    }
    const double c = 0.5 + (0.5 - y);
    const double w = (0.5 - std::sqrt(y) * (0.5 + (0.5 - y * 0.3333333333333333)) / kRtpi) / c;
    const double u = 1.0 / a;
    z = std::sqrt(z + z);
    if (l < 1.0) z = -z;

    double t;
    if (k == 1) {
        t = temme_short_rows(z, u);
    } else if (k == 2) {
        const double cs[3] = {kGc[2], temme_row(kG1, 0, kGc[1], z), temme_row(kG0, 1, -kThird, z)};
        t = horner_list(cs, 3, u);
    } else {
        t = temme_row(kG0, 0, -kThird, z);
    }

    temme_tails(l, c, w, t, rta, p, q);
}

} // namespace

void incgamma_ratio(const double *a_in, const double *x_in, double *p, double *q, const int *accuracy_level) {
    const double a = *a_in, x = *x_in;
    if (!(a >= 0.0) || !(x >= 0.0)) { // NaN fails here too
        *p = 2.0;
        return;
    }
    if (a == 0.0 && x == 0.0) {
        *p = 2.0;
        return;
    }
    // Only an exact zero decides the result here: a product a*x that merely
    // underflows (a = 1e-37, x = 1e-300) still has a well-defined P.
    if (a == 0.0 || x == 0.0) {
        zero_rule(a, x, p, q);
        return;
    }

    static const double acc0[3] = {5e-15, 5e-07, 0.0005};
    static const double big[3] = {20.0, 14.0, 10.0};
    static const double e00[3] = {0.00025, 0.025, 0.14};
    static const double x00[3] = {31.0, 17.0, 9.7};
    const int k = *accuracy_level == 0 ? 1 : (*accuracy_level == 1 ? 2 : 3);
    const int one = 1;
    const double eps = machine_real_param(&one);
    const double acc = max_of(&acc0[k - 1], &eps);
    const double e0 = e00[k - 1];
    const double x0 = x00[k - 1];

    double r; // prefactor x^a e^-x / Gamma(a), or its large-a form

    if (a < 1.0) {
        if (a == 0.5) {
            const double rtx = std::sqrt(x);
            if (x < 0.25) {
                *p = error_fn(&rtx);
                complement_of_p(p, q);
            } else {
                const int unscaled = 0;
                *q = error_fn_compl(&unscaled, &rtx);
                complement_of_q(p, q);
            }
            return;
        }
        if (x < 1.1) {
            small_x_series(a, x, acc, p, q);
            return;
        }
        const double u = a * std::exp(a * std::log(x) - x);
        if (!(u != 0.0) || std::isnan(u)) { // the prefactor underflowed (or x = +Inf)
            *p = 1.0;
            *q = 0.0;
            return;
        }
        r = u * (1.0 + recip_gamma_minus_one(&a));
        continued_fraction(a, x, r, acc, eps, p, q);
        return;
    }

    if (a < big[k - 1]) {
        if (a <= x && x < x0) {
            const double twice = a + a;
            const int m = trunc_to_int(&twice);
            if (static_cast<double>(m) == twice) {
                finite_sum(a, x, m / 2, p, q);
                return;
            }
        }
        r = std::exp(a * std::log(x) - x) / gamma_function(&a);
    } else {
        const double l = x / a;
        if (l == 0.0) {
            *p = 0.0;
            *q = 1.0;
            return;
        }
        // s = 1 - x/a and z = l - 1 - log(l) are formed from a - x, exact
        // near the centre, not from the rounded ratio: there P and Q move by
        // about sqrt(a) times the relative change of s, so one rounding of
        // x/a alone would cost sqrt(a) ulps (3e-10 at a = 1e10).
        const double s = (a - x) / a;
        double z = (l >= 0.82 && l <= 1.18) ? log_series_near_one(-s, 0.0) : x_minus_one_minus_log(&l);
        if (z >= 700.0 / a) {
            // The tail beyond x is below the underflow threshold; a failure
            // only when x is within rounding of a, where that cannot be.
            if (std::fabs(s) <= 2.0 * eps) {
                *p = 2.0;
            } else {
                zero_rule(a, x, p, q);
            }
            return;
        }
        const double y = a * z;
        const double rta = std::sqrt(a);
        if (std::fabs(s) <= e0 / rta) {
            temme_near_one(a, l, z, y, rta, eps, k, p, q);
            return;
        }
        if (std::fabs(s) <= 0.4) {
            temme_general(a, l, s, z, y, rta, eps, k, p, q);
            return;
        }
        // Stirling's series for x^a e^-x / Gamma(a) with the correction in 1/a.
        const double t = std::pow(1.0 / a, 2.0);
        const double t1 = (((0.75 * t - 1.0) * t + 3.5) * t - 105.0) / (a * 1260.0) - y;
        r = kRt2pin * rta * std::exp(t1);
    }

    if (!(r != 0.0) || std::isnan(r)) { // underflowed prefactor, or x = +Inf
        zero_rule(a, x, p, q);
        return;
    }
    if (x <= max_of(&a, &kAlog10)) {
        taylor_series(a, x, r, acc, p, q);
    } else if (x < x0) {
        continued_fraction(a, x, r, acc, eps, p, q);
    } else {
        asymptotic_expansion(a, x, r, acc, p, q);
    }
}

double gamma_function(const double *a_in) {
    const double a = *a_in;
    if (a >= 1000.0) return 0.0;
    if (a >= 15.0) {
        static const double h[] = {0.000820756370353826, -0.000595156336428591, 0.000793650663183693,
                                   -0.00277777777770481, 0.0833333333333333};
        const double t = 1.0 / (a * a);
        const double g = 0.4189385332046727 + horner_list(h, 5, t) / a + (a - 0.5) * (std::log(a) - 1.0);
        const int upper = 0;
        if (g > 0.99999 * exp_arg_limit(&upper)) return 0.0;
        return std::exp(g);
    }
    // Reduce to Gamma(1 + v), v in [0, 1), by the recurrence.
    static const double pp[] = {0.000539637273585445, 0.0026193926004269, 0.020449366759492, 0.0730981088720487,
                                0.279648642639792,    0.553413866010467,  1.0};
    static const double qq[] = {-0.000832979206704073, 0.00470059485860584, 0.022521113103534, -0.17045896931336,
                                -0.056790276197494,    1.13062953091122,    1.0};
    const int m = trunc_to_int(&a) - 1;
    double t = 1.0, v = a;
    for (int i = 0; i < m; ++i) {
        v = v - 1.0;
        t = v * t;
    }
    v = v - 1.0;
    return t * horner_list(pp, 7, v) / horner_list(qq, 7, v);
}

double x_minus_one_minus_log(const double *x_in) {
    const double x = *x_in;
    if (x < 0.61 || x > 1.57) return ((x - 0.5) - 0.5) - std::log(x);
    // Near 1: 2*atanh-type series in r = u/(u+2), after shifting the
    // argument to one of three centres.
    double u, w1;
    if (x < 0.82) {
        u = (x - 0.7) * 1.4285714285714286;
        w1 = 0.0566749439387324 - 0.3 * u;
    } else if (x > 1.18) {
        u = 0.75 * x - 1.0;
        w1 = 0.0456512608815524 + u * 0.3333333333333333;
    } else {
        u = (x - 0.5) - 0.5;
        w1 = 0.0;
    }
    return log_series_near_one(u, w1);
}

} // namespace dist
