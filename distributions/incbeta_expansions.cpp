// The continued fraction and the two asymptotic expansions of the
// incomplete beta ratio, and the incomplete gamma ratio for a <= 1 that the
// large-a expansion starts from.
#include "incbeta_methods.hpp"
#include "log_gamma.hpp"
#include "numeric_foundations.hpp"

#include <cmath>

namespace dist {

namespace {

bool zero_or_nan(double v) { return v == 0.0 || std::isnan(v); }

double g1(double v) { return recip_gamma_minus_one(&v); }

double xmlop(double v) { return x_minus_log_one_plus(&v); }

} // namespace

double incbeta_cont_frac(const double *ap, const double *bp, const double *xp, const double *yp,
                         const double *lambda, const double *eps) {
    const double a = *ap, b = *bp, x = *xp, y = *yp;
    const double f = beta_prefactor(ap, bp, xp, yp);
    if (zero_or_nan(f)) return f;

    const double c = 1.0 + *lambda, c0 = b / a, c1 = 1.0 + 1.0 / a, yp1 = y + 1.0;
    double n = 0.0, p = 1.0, s = a + 1.0;
    double an = 0.0, bn = 1.0, anp1 = 1.0, bnp1 = c / c1;
    double r = c1 / c;
    for (;;) {
        n = n + 1.0;
        double t = n / a;
        const double w = n * (b - n) * x;
        double e = a / s;
        const double alpha = p * (p + c0) * e * e * (w * x);
        e = (1.0 + t) / (c1 + t + t);
        const double beta = n + w / s + e * (c + n * yp1);
        p = 1.0 + t;
        s = s + 2.0;

        t = alpha * an + beta * anp1;
        an = anp1;
        anp1 = t;
        t = alpha * bn + beta * bnp1;
        bn = bnp1;
        bnp1 = t;

        const double r0 = r;
        r = anp1 / bnp1;
        if (!(std::fabs(r - r0) > *eps * r)) break; // converged, or NaN
        // Rescale so that the convergents stay in range.
        an = an / bnp1;
        bn = bn / bnp1;
        anp1 = r;
        bnp1 = 1.0;
    }
    return f * r;
}

double incbeta_asymptotic(const double *ap, const double *bp, const double *lambda, const double *eps) {
    const double a = *ap, b = *bp;
    const double e0 = 1.12837916709551;  // 2/sqrt(pi)
    const double e1 = 0.353553390593274; // 2^(-3/2)
    const int num = 20;                  // largest order; even
    // Coefficient arrays indexed 1..num+1.
    double A[num + 2], B[num + 2], C[num + 2], D[num + 2];

    double h, r0, r1, w0;
    if (a < b) {
        h = a / b;
        r0 = 1.0 / (1.0 + h);
        r1 = (b - a) / b;
        w0 = 1.0 / std::sqrt(a * (1.0 + h));
    } else {
        h = b / a;
        r0 = 1.0 / (1.0 + h);
        r1 = (b - a) / a;
        w0 = 1.0 / std::sqrt(b * (1.0 + h));
    }
    const double f = a * xmlop(-*lambda / a) + b * xmlop(*lambda / b);
    const double t = std::exp(-f);
    if (zero_or_nan(t)) return 0.0;

    // Expansion in the normal tail of z0 = sqrt(f), with the incomplete
    // gamma-type integrals j0, j1 advanced by their recurrences.
    const double z0 = std::sqrt(f);
    const double z = 0.5 * (z0 / e1);
    const double z2 = f + f;
    A[1] = (2.0 / 3.0) * r1;
    C[1] = -0.5 * A[1];
    D[1] = -C[1];
    const int scaled = 1;
    double j0 = (0.5 / e0) * error_fn_compl(&scaled, &z0);
    double j1 = e1;
    double sum = j0 + D[1] * w0 * j1;

    double s = 1.0, hn = 1.0, w = w0, znm1 = z, zn = z2;
    const double h2 = h * h;
    for (int n = 2; n <= num; n += 2) {
        hn = h2 * hn;
        A[n] = 2.0 * r0 * (1.0 + h * hn) / (n + 2.0);
        const int np1 = n + 1;
        s = s + hn;
        A[np1] = 2.0 * r1 * s / (n + 3.0);

        for (int i = n; i <= np1; ++i) {
            const double r = -0.5 * (i + 1.0);
            B[1] = r * A[1];
            for (int m = 2; m <= i; ++m) {
                double bacc = 0.0;
                for (int j = 1; j <= m - 1; ++j) bacc = bacc + (j * r - (m - j)) * A[j] * B[m - j];
                B[m] = r * A[m] + bacc / m;
            }
            C[i] = B[i] / (i + 1.0);
            double dsum = 0.0;
            for (int j = 1; j <= i - 1; ++j) dsum = dsum + D[i - j] * C[j];
            D[i] = -(dsum + C[i]);
        }

        j0 = e1 * znm1 + (n - 1.0) * j0;
        j1 = e1 * zn + n * j1;
        znm1 = z2 * znm1;
        zn = z2 * zn;
        w = w0 * w;
        const double t0 = D[n] * w * j0;
        w = w0 * w;
        const double t1 = D[np1] * w * j1;
        sum = sum + (t0 + t1);
        if (std::fabs(t0) + std::fabs(t1) <= *eps * sum) break;
    }
    const double u = std::exp(-stirling_corr_diff(ap, bp));
    return e0 * t * u * sum;
}

void incbeta_large_a_expansion(const double *ap, const double *bp, const double *xp, const double *yp, double *w,
                               const double *eps, int *ierr) {
    const double a = *ap, b = *bp, x = *xp, y = *yp;
    const double bm1 = (b - 0.5) - 0.5;
    const double nu = a + 0.5 * bm1;
    double lnx;
    if (y > 0.375) {
        lnx = std::log(x);
    } else {
        const double my = -y;
        lnx = log_one_plus(&my);
    }
    const double z = -nu * lnx;
    if (zero_or_nan(b * z)) {
        *ierr = 1;
        return;
    }

    // r = exp(-z) z^b / Gamma(b), with exp(-z) written as x^a x^(bm1/2).
    double r = b * (1.0 + g1(b)) * std::exp(b * std::log(z));
    r = r * std::exp(a * lnx) * std::exp(0.5 * bm1 * lnx);
    double u = log_gamma_quotient(bp, ap) + b * std::log(nu);
    u = r * std::exp(-u);
    if (zero_or_nan(u)) {
        *ierr = 1;
        return;
    }
    double p, q;
    incgamma_small_a(bp, &z, &r, &p, &q, eps);

    const double rnu = 1.0 / nu;
    const double v = 0.25 * (rnu * rnu);
    const double t2 = 0.25 * lnx * lnx;
    const double l = *w / u;
    double j = q / r, sum = j, t = 1.0, cn = 1.0, nn = 0.0;
    double c[31], d[31]; // indices 1..30
    for (int n = 1; n <= 30; ++n) {
        const double bp2n = b + nn;
        j = (bp2n * (bp2n + 1.0) * j + (z + bp2n + 1.0) * t) * v;
        nn = nn + 2.0;
        t = t * t2;
        cn = cn / (nn * (nn + 1.0));
        c[n] = cn;
        double s = 0.0;
        if (n > 1) {
            double coef = b - n;
            for (int i = 1; i <= n - 1; ++i) {
                s = s + coef * c[i] * d[n - i];
                coef = coef + b;
            }
        }
        d[n] = bm1 * cn + s / n;
        const double dj = d[n] * j;
        sum = sum + dj;
        if (sum <= 0.0) {
            *ierr = 1;
            return;
        }
        if (std::fabs(dj) <= *eps * (sum + l)) break;
    }
    *ierr = 0;
    *w = *w + u * sum;
}

void incgamma_small_a(const double *ap, const double *xp, const double *r, double *p, double *q,
                      const double *eps) {
    const double a = *ap, x = *xp;
    if (zero_or_nan(a * x)) {
        if (x <= a) {
            *p = 0.0;
            *q = 1.0;
        } else {
            *p = 1.0;
            *q = 0.0;
        }
        return;
    }
    if (a == 0.5) {
        // P(1/2, x) = erf(sqrt x).
        const double rx = std::sqrt(x);
        if (x < 0.25) {
            *p = error_fn(&rx);
            *q = 0.5 + (0.5 - *p);
        } else {
            const int unscaled = 0;
            *q = error_fn_compl(&unscaled, &rx);
            *p = 0.5 + (0.5 - *q);
        }
        return;
    }
    if (x < 1.1) {
        // Taylor series of P(a, x)/x^a.
        double an = 3.0, c = x, sum = x / (a + 3.0), t;
        const double tol = 0.1 * *eps / (a + 1.0);
        do {
            an = an + 1.0;
            c = -c * (x / an);
            t = c / (a + an);
            sum = sum + t;
        } while (std::fabs(t) > tol);
        const double j = a * x * ((sum / 6.0 - 0.5 / (a + 2.0)) * x + 1.0 / (a + 1.0));
        const double z = a * std::log(x);
        const double h = g1(a);
        const double g = 1.0 + h;
        if ((x >= 0.25 && a >= x / 2.59) || (x < 0.25 && z <= -0.13394)) {
            const double w = std::exp(z);
            *p = w * g * (0.5 + (0.5 - j));
            *q = 0.5 + (0.5 - *p);
        } else {
            // P is close to 1: form Q directly, with x^a - 1 from exp(z) - 1.
            const double l = exp_minus_one(&z);
            const double w = 0.5 + (0.5 + l);
            *q = (w * j - l) * g - h;
            if (*q < 0.0) {
                *p = 1.0;
                *q = 0.0;
            } else {
                *p = 0.5 + (0.5 - *q);
            }
        }
        return;
    }
    // Continued fraction for Q(a, x) = r (1/(x + (1 - a)/(1 + 1/(x + ...)))).
    double a2nm1 = 1.0, a2n = 1.0, b2nm1 = x, b2n = x + (1.0 - a), c = 1.0, am0, an0;
    do {
        a2nm1 = x * a2n + c * a2nm1;
        b2nm1 = x * b2n + c * b2nm1;
        am0 = a2nm1 / b2nm1;
        c = c + 1.0;
        const double cma = c - a;
        a2n = a2nm1 + cma * a2n;
        b2n = b2nm1 + cma * b2n;
        an0 = a2n / b2n;
    } while (std::fabs(an0 - am0) >= *eps * an0);
    *q = *r * an0;
    *p = 0.5 + (0.5 - *q);
}

} // namespace dist
