#include "log_gamma.hpp"

#include "numeric_foundations.hpp"

#include <cmath>

namespace dist {

namespace {

// c[0] + c[1] t + ... + c[N-1] t^(N-1) by Horner's rule from the highest power.
template <int N>
double series(const double (&c)[N], double t) {
    double v = c[N - 1];
    for (int k = N - 2; k >= 0; --k) v = v * t + c[k];
    return v;
}

// Stirling remainder series: del(x) = S(1/x^2)/x for large x.
const double kStirling[6] = {0.0833333333333333,    -0.00277777777760991, 0.00079365066682539,
                             -0.00059520293135187,  0.000837308034031215, -0.00165322962780713};

// Weighted Stirling series W for the difference del(b) - del(a + b): x is
// b/(a + b), t = (1/b)^2. The sums s_k = (1 - x^k)/(1 - x) come from the
// expansion of 1/(a + b)^k in powers of x.
double stirling_weighted(double x, double t) {
    const double x2 = x * x;
    const double s3 = 1.0 + (x + x2);
    const double s5 = 1.0 + (x + x2 * s3);
    const double s7 = 1.0 + (x + x2 * s5);
    const double s9 = 1.0 + (x + x2 * s7);
    const double s11 = 1.0 + (x + x2 * s9);
    const double *c = kStirling;
    return ((((c[5] * s11 * t + c[4] * s9) * t + c[3] * s7) * t + c[2] * s5) * t + c[1] * s3) * t + c[0];
}

const double kHalfLog2Pi = 0.918938533204673;          // 0.5 ln(2 pi)
const double kHalfLog2PiMinusHalf = 0.418938533204673; // 0.5 (ln(2 pi) - 1)

} // namespace

double log_one_plus(const double *a) {
    const double p1 = -1.29418923021993, p2 = 0.405303492862024, p3 = -0.0178874546012214;
    const double q1 = -1.62752256355323, q2 = 0.747811014037616, q3 = -0.0845104217945565;
    if (std::fabs(*a) > 0.375) return std::log(1.0 + *a);
    // ln(1 + a) = 2 atanh(t) with t = a/(a + 2): an odd series in t that
    // keeps full relative accuracy near a = 0.
    const double t = *a / (*a + 2.0);
    const double t2 = t * t;
    const double w = (((p3 * t2 + p2) * t2 + p1) * t2 + 1.0) / (((q3 * t2 + q2) * t2 + q1) * t2 + 1.0);
    return 2.0 * t * w;
}

double x_minus_log_one_plus(const double *x) {
    const double a = 0.0566749439387324, b = 0.0456512608815524;
    const double p0 = 0.333333333333333, p1 = -0.224696413112536, p2 = 0.00620886815375787;
    const double q1 = -1.27408923933623, q2 = 0.354508718369557;
    if (*x < -0.39 || *x > 0.57) return *x - std::log(1.0 + *x);
    // Near 0 the difference cancels; shift the argument to h (with the known
    // value w1 of the function at the shift point) and use a rational form.
    double h, w1;
    if (*x < -0.18) {
        h = (*x + 0.3) / 0.7;
        w1 = a - 0.3 * h;
    } else if (*x > 0.18) {
        h = 0.75 * *x - 0.25;
        w1 = b + h / 3.0;
    } else {
        h = *x;
        w1 = 0.0;
    }
    const double r = h / (h + 2.0);
    const double t = r * r;
    const double w = ((p2 * t + p1) * t + p0) / ((q2 * t + q1) * t + 1.0);
    return 2.0 * t * (1.0 / (1.0 - r) - r * w) + w1;
}

double exp_sum(const int *mu, const double *x) {
    // The sum is exponentiated only when mu compensates x; otherwise exp(x)
    // is at most as extreme as exp(mu + x) and the product is safe.
    const double m = static_cast<double>(*mu);
    if (*x > 0.0) {
        if (*mu > 0) return std::exp(m) * std::exp(*x);
        const double w = m + *x;
        if (w < 0.0) return std::exp(m) * std::exp(*x);
        return std::exp(w);
    }
    if (*mu < 0) return std::exp(m) * std::exp(*x);
    const double w = m + *x;
    if (w > 0.0) return std::exp(m) * std::exp(*x);
    return std::exp(w);
}

double log_gamma_one_plus(const double *a) {
    static const double p[7] = {0.577215664901533,  0.844203922187225,   -0.168860593646662,   -0.780427615533591,
                                -0.402055799310489, -0.0673562214325671, -0.00271935708322958};
    static const double q[7] = {1.0,               2.88743195473681,   3.12755088914843,    1.56875193295039,
                                0.361951990101499, 0.0325038868253937, 0.000667465618796164};
    static const double r[6] = {0.422784335098467, 0.848044614534529, 0.565221050691933,
                                0.156513060486551, 0.017050248402265, 0.000497958207639485};
    static const double s[6] = {1.0, 1.24313399877507, 0.548042109832463, 0.10155218743983, 0.00713309612391,
                                0.000116165475989616};
    if (*a < 0.6) {
        // ln Gamma(1 + a) = -a (gamma_E + ...) around a = 0.
        const double w = series(p, *a) / series(q, *a);
        return -*a * w;
    }
    // Around a = 1: ln Gamma(2 + x) = x (1 - gamma_E + ...), x = a - 1.
    const double x = (*a - 0.5) - 0.5;
    const double w = series(r, x) / series(s, x);
    return x * w;
}

double log_gamma_positive(const double *a) {
    if (*a <= 0.8) {
        const double lg = log_gamma_one_plus(a);
        return lg - std::log(*a);
    }
    if (*a <= 2.25) {
        const double t = (*a - 0.5) - 0.5;
        return log_gamma_one_plus(&t);
    }
    if (*a < 10.0) {
        // Reduce to (1.25, 2.25] by Gamma(a) = (a - 1) Gamma(a - 1).
        const int n = static_cast<int>(*a - 1.25);
        double t = *a, w = 1.0;
        for (int i = 0; i < n; ++i) {
            t = t - 1.0;
            w = w * t;
        }
        const double tm1 = t - 1.0;
        return log_gamma_one_plus(&tm1) + std::log(w);
    }
    const double ra = 1.0 / *a;
    const double t = ra * ra;
    const double w = series(kStirling, t) / *a;
    return kHalfLog2PiMinusHalf + w + (*a - 0.5) * (std::log(*a) - 1.0);
}

double log_gamma_sum(const double *a, const double *b) {
    const double x = *a + *b - 2.0;
    if (x <= 0.25) {
        const double t = 1.0 + x;
        return log_gamma_one_plus(&t);
    }
    if (x <= 1.25) return log_gamma_one_plus(&x) + log_one_plus(&x);
    const double t = x - 1.0;
    return log_gamma_one_plus(&t) + std::log(x * (1.0 + x));
}

double log_gamma_quotient(const double *a, const double *b) {
    double h, c, x, d;
    if (*a > *b) {
        h = *b / *a;
        c = 1.0 / (1.0 + h);
        x = h / (1.0 + h);
        d = *a + (*b - 0.5);
    } else {
        h = *a / *b;
        c = h / (1.0 + h);
        x = 1.0 / (1.0 + h);
        d = *b + (*a - 0.5);
    }
    // del(b) - del(a + b) from the weighted Stirling series.
    const double rb = 1.0 / *b;
    const double w = stirling_weighted(x, rb * rb) * c / *b;
    const double ab = *a / *b;
    const double u = d * log_one_plus(&ab);
    const double v = *a * (std::log(*b) - 1.0);
    // The two large terms nearly cancel: subtract the larger one last.
    if (u > v) return (w - v) - u;
    return (w - u) - v;
}

double stirling_corr_diff(const double *a0, const double *b0) {
    const double a = min_of(a0, b0);
    const double b = max_of(a0, b0);
    const double h = a / b;
    const double c = h / (1.0 + h);
    const double x = 1.0 / (1.0 + h);
    const double rb = 1.0 / b;
    const double w = stirling_weighted(x, rb * rb) * c / b;
    const double ra = 1.0 / a;
    return series(kStirling, ra * ra) / a + w;
}

namespace {

// ln Beta(a, b) for 1 < a <= 2 (after any reduction of a, whose logarithm
// is carried in w) and 2 < b < 8: reduce b to (1, 2] by
// Beta(a, b) = ((b - 1)/(a + b - 1)) Beta(a, b - 1).
double log_beta_reduce_b(double a, double b, double w) {
    const int n = static_cast<int>(b - 1.0);
    double z = 1.0;
    for (int i = 0; i < n; ++i) {
        b = b - 1.0;
        z = z * b / (a + b);
    }
    return w + std::log(z) + (log_gamma_positive(&a) + (log_gamma_positive(&b) - log_gamma_sum(&a, &b)));
}

} // namespace

double log_beta(const double *a0, const double *b0) {
    double a = min_of(a0, b0);
    double b = max_of(a0, b0);
    if (a >= 8.0) {
        // Both large: Stirling's formula, with the large terms u and v
        // subtracted last, the larger one at the very end.
        const double w = stirling_corr_diff(&a, &b);
        const double h = a / b;
        const double c = h / (1.0 + h);
        const double u = -(a - 0.5) * std::log(c);
        const double v = b * log_one_plus(&h);
        const double base = (-0.5 * std::log(b) + kHalfLog2Pi) + w;
        if (u > v) return (base - v) - u;
        return (base - u) - v;
    }
    if (a < 1.0) {
        if (b < 8.0) {
            const double apb = a + b;
            return log_gamma_positive(&a) + (log_gamma_positive(&b) - log_gamma_positive(&apb));
        }
        return log_gamma_positive(&a) + log_gamma_quotient(&a, &b);
    }
    if (a <= 2.0) {
        if (b <= 2.0) return log_gamma_positive(&a) + log_gamma_positive(&b) - log_gamma_sum(&a, &b);
        if (b >= 8.0) return log_gamma_positive(&a) + log_gamma_quotient(&a, &b);
        return log_beta_reduce_b(a, b, 0.0);
    }
    // 2 < a < 8: reduce a to (1, 2] by Beta(a, b) = ((a - 1)/(a + b - 1)) Beta(a - 1, b).
    const int n = static_cast<int>(a - 1.0);
    double w = 1.0;
    if (b > 1000.0) {
        // With b this large, a + b - 1 is formed as b (1 + (a - 1)/b) and the
        // powers of b are taken out as n ln b.
        for (int i = 0; i < n; ++i) {
            a = a - 1.0;
            w = w * a / (1.0 + a / b);
        }
        return (std::log(w) - n * std::log(b)) + (log_gamma_positive(&a) + log_gamma_quotient(&a, &b));
    }
    for (int i = 0; i < n; ++i) {
        a = a - 1.0;
        const double h = a / b;
        w = w * h / (1.0 + h);
    }
    w = std::log(w);
    if (b >= 8.0) return w + log_gamma_positive(&a) + log_gamma_quotient(&a, &b);
    return log_beta_reduce_b(a, b, w);
}

double psi_function(const double *xp) {
    static const double p1[7] = {0.0089538502298197, 4.77762828042627, 142.441585084029, 1186.45200713425,
                                 3633.51846806499,   4138.10161269013, 1305.60269827897};
    static const double q1[6] = {44.8452573429826, 520.752771467162, 2210.0079924783,
                                 3641.27349079381, 1908.310765963,   6.91091682714533e-06};
    static const double p2[4] = {-2.12940445131011, -7.01677227766759, -4.48616543918019, -0.648157123766197};
    static const double q2[4] = {32.2703493791143, 89.2920700481861, 54.6117738103215, 7.77788548522962};
    const double piov4 = 0.785398163397448;
    const double x0 = 1.4616321449683622; // positive zero of psi
    const int i3 = 3, i1 = 1;
    const double imax = machine_int_param(&i3);
    const double rmax = 1.0 / machine_real_param(&i1);
    const double xmax1 = imax < rmax ? imax : rmax;

    double x = *xp;
    double aug = 0.0;
    if (x < 0.5) {
        // Reflection psi(1 - x) = psi(x) + pi cot(pi x), evaluated with the
        // argument reduced to [0, pi/4] so that no accuracy is lost near the
        // poles.
        if (std::fabs(x) <= 1e-9) {
            if (x == 0.0) return 0.0;
            aug = -1.0 / x; // pi cot(pi x) ~ 1/x
        } else {
            double w = -x;
            double sgn = piov4;
            if (w <= 0.0) {
                w = -w;
                sgn = -sgn;
            }
            if (w >= xmax1) return 0.0;
            int nq = trunc_to_int(&w);
            w = w - nq;
            const double w4 = 4.0 * w;
            nq = trunc_to_int(&w4);
            w = 4.0 * (w - 0.25 * nq);
            int n = nq / 2;
            if (n + n != nq) w = 1.0 - w;
            const double z = piov4 * w;
            int m = n / 2;
            if (m + m != n) sgn = -sgn;
            n = (nq + 1) / 2;
            m = 2 * (n / 2);
            if (m != n) {
                aug = sgn * (std::sin(z) / std::cos(z)) * 4.0;
            } else {
                if (z == 0.0) return 0.0; // pole
                aug = sgn * (std::cos(z) / std::sin(z)) * 4.0;
            }
        }
        x = 1.0 - x;
    }
    if (x <= 3.0) {
        // Rational approximation in x with the zero x0 of psi factored out.
        double den = x, upper = p1[0] * x;
        for (int i = 1; i <= 5; ++i) {
            den = (den + q1[i - 1]) * x;
            upper = (upper + p1[i]) * x;
        }
        return ((upper + p1[6]) / (den + q1[5])) * (x - x0) + aug;
    }
    if (x >= xmax1) return aug + std::log(x);
    // Asymptotic form ln x - 1/(2x) + R(1/x^2).
    const double w = 1.0 / (x * x);
    double den = w, upper = p2[0] * w;
    for (int i = 1; i <= 3; ++i) {
        den = (den + q2[i - 1]) * w;
        upper = (upper + p2[i]) * w;
    }
    aug = upper / (den + q2[3]) - 0.5 / x + aug;
    return aug + std::log(x);
}

} // namespace dist
