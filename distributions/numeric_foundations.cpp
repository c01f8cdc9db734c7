#include "numeric_foundations.hpp"

#include <cmath>

namespace dist {

namespace {

// Horner's rule over a list whose first entry multiplies the highest power:
// ((c[0]*t + c[1])*t + ...)*t + c[n-1].
template <int N>
double horner(const double (&c)[N], double t) {
    double v = c[0];
    for (int k = 1; k < N; ++k) v = v * t + c[k];
    return v;
}

// Rational approximations of erf and erfc shared by both error functions.
// |x| <= 0.5: x*(A(t) + 1)/B(t), t = x*x.
const double kErfA[] = {7.7105849500132e-05, -0.00133733772997339, 0.0323076579225834, 0.0479137145607681,
                        0.128379167095513};
const double kErfB[] = {0.00301048631703895, 0.0538971687740286, 0.375795757275549, 1.0};
// 0.5 < |x| <= 4: exp(x*x)*erfc(|x|) = P(|x|)/Q(|x|).
const double kErfP[] = {-1.36864857382717e-07, 0.564195517478974, 7.21175825088309, 43.1622272220567,
                        152.98928504694,       339.320816734344,  451.918953711873, 300.459261020162};
const double kErfQ[] = {1.0,              12.7827273196294, 77.0001529352295, 277.585444743988,
                        638.980264465631, 931.35409485061,  790.950925327898, 300.459260956983};
// |x| > 4: asymptotic form in t = 1/x^2 around 1/sqrt(pi).
const double kErfR[] = {2.10144126479064, 26.2370141675169, 21.3688200555087, 4.6580782871847,
                        0.282094791773523};
const double kErfS[] = {94.153775055546, 187.11481179959, 99.0191814623914, 18.0124575948747, 1.0};
const double kRecipSqrtPi = 0.564189583547756;

} // namespace

int machine_int_param(const int *i) {
    static const int values[10] = {2, 31, 2147483647, 2, 24, -125, 128, 53, -1021, 1024};
    return (*i >= 1 && *i <= 10) ? values[*i - 1] : 0;
}

double machine_real_param(const int *i) {
    // b^(1-m), b^(emin+2)*(1/b)^3 and the largest double for base 2, 53 digits.
    if (*i <= 1) return 2.220446049250313e-16;
    if (*i == 2) return 2.2250738585072014e-308;
    return 1.7976931348623157e308;
}

double exp_arg_limit(const int *l) {
    // ln 2 as stored to 14 digits; the factor 0.99999 keeps a margin.
    const double lnb = 0.69314718055995;
    const int which = (*l == 0) ? 10 : 9;
    int m = machine_int_param(&which);
    if (*l != 0) m = m - 1;
    return 0.99999 * (static_cast<double>(m) * lnb);
}

double poly_eval(const double c[], const int *n, const double *x) {
    double term = c[*n - 1];
    for (int i = *n - 2; i >= 0; --i) term = term * *x + c[i];
    return term;
}

double error_fn(const double *x) {
    const double ax = std::fabs(*x);
    if (!(ax > 0.5)) { // a NaN argument is returned through this branch
        const double t = *x * *x;
        const double top = horner(kErfA, t) + 1.0;
        const double bot = horner(kErfB, t);
        return *x * (top / bot);
    }
    if (ax <= 4.0) {
        const double top = horner(kErfP, ax);
        const double bot = horner(kErfQ, ax);
        const double v = 0.5 + (0.5 - std::exp(-*x * *x) * top / bot);
        return *x < 0.0 ? -v : v;
    }
    if (ax < 5.8) {
        const double x2 = *x * *x;
        const double t = 1.0 / x2;
        const double top = horner(kErfR, t);
        const double bot = horner(kErfS, t);
        const double v = (kRecipSqrtPi - top / (x2 * bot)) / ax;
        const double r = 0.5 + (0.5 - std::exp(-x2) * v);
        return *x < 0.0 ? -r : r;
    }
    const double one = 1.0;
    return sign_transfer(&one, x);
}

double error_fn_compl(const int *scaled, const double *x) {
    const double ax = std::fabs(*x);
    double v;
    if (!(ax > 0.5)) {
        const double t = *x * *x;
        const double top = horner(kErfA, t) + 1.0;
        const double bot = horner(kErfB, t);
        v = 0.5 + (0.5 - *x * (top / bot));
        if (*scaled != 0) v = std::exp(t) * v;
        return v;
    }
    if (ax <= 4.0) {
        v = horner(kErfP, ax) / horner(kErfQ, ax);
    } else {
        if (*x <= -5.6) return *scaled == 0 ? 2.0 : 2.0 * std::exp(*x * *x);
        const int lower = 1;
        // erfc underflows: exp(-x*x) is below the smallest normalised double.
        if (*scaled == 0 && (*x > 100.0 || *x * *x > -exp_arg_limit(&lower))) return 0.0;
        const double r = 1.0 / *x;
        const double t = r * r;
        v = (kRecipSqrtPi - t * horner(kErfR, t) / horner(kErfS, t)) / ax;
    }
    if (*scaled != 0) {
        if (*x < 0.0) v = 2.0 * std::exp(*x * *x) - v;
        return v;
    }
    v = std::exp(-*x * *x) * v;
    if (*x < 0.0) v = 2.0 - v;
    return v;
}

double exp_minus_one(const double *x) {
    static const double n[] = {0.0238082361044469, 9.14041914819518e-10, 1.0};
    static const double d[] = {0.000595130811860248, -0.0119041179760821, 0.107141568980644, -0.499999999085958,
                               1.0};
    if (std::fabs(*x) <= 0.15) return *x * horner(n, *x) / horner(d, *x);
    const double w = std::exp(*x);
    // Subtract the 1 in two halves so that no intermediate loses the
    // leading bits of w.
    if (*x > 0.0) return w * (0.5 + (0.5 - 1.0 / w));
    return (w - 0.5) - 0.5;
}

double recip_gamma_minus_one(const double *a) {
    static const double r[] = {-0.000132674909766242, 0.000266505979058923, 0.00223047661158249,
                               -0.0118290993445146,   0.000930357293360349, 0.118378989872749,
                               -0.244757765222226,    -0.771330383816272,   -0.422784335098468};
    static const double s[] = {0.0559398236957378, 0.273076135303957, 1.0};
    static const double p[] = {0.000589597428611429, -0.00514889771323592, 0.0076696818164949,
                               0.0597275330452234,   -0.230975380857675,   -0.409078193005776,
                               0.577215664901533};
    static const double q[] = {0.00423244297896961, 0.0261132021441447, 0.158451672430138, 0.427569613095214, 1.0};

    // Reduce to t in [-0.5, 0.5]: for a > 0.5, t = a - 1 and
    // 1/Gamma(a+1) = (1/Gamma(t+1))/a.
    const double d = *a - 0.5;
    const double t = d > 0.0 ? d - 0.5 : *a;
    if (t < 0.0) {
        const double w = horner(r, t) / horner(s, t);
        return d > 0.0 ? t * w / *a : *a * (w + 1.0);
    }
    if (t == 0.0) return 0.0;
    const double w = horner(p, t) / horner(q, t);
    return d > 0.0 ? (t / *a) * ((w - 0.5) - 0.5) : *a * w;
}

double log_gamma_rational(const double *x) {
    static const double sn[] = {62.00383800712726,   36.036772530024834,  20.782472531792127,
                                6.338067999387272,   2.1599431284605908,  0.39806713102035707,
                                0.10931159567104395, 0.0092381945590276,  0.0029737866448101653};
    static const double sd[] = {62.00383800712699, 9.822521104713996, -8.906016659497462, 1.0};
    static const double c[] = {0.08333333333333302, -0.002777777776881881, 0.00079365006754279,
                               -0.000594997310889, 0.0008065880899};

    if (*x <= 6.0) {
        // Shift into [2, 3] by the recurrence Gamma(x+1) = x*Gamma(x), then
        // a rational approximation in t = xx - 2.
        double prod = 1.0, xx = *x;
        if (*x > 3.0) {
            while (xx > 3.0) {
                xx = xx - 1.0;
                prod = prod * xx;
            }
        }
        if (*x < 2.0) {
            while (xx < 2.0) {
                prod = prod / xx;
                xx = xx + 1.0;
            }
        }
        const double t = xx - 2.0;
        const int nn = 9, nd = 4;
        return std::log(prod * poly_eval(sn, &nn, &t) / poly_eval(sd, &nd, &t));
    }
    // Stirling's series, after shifting small arguments up to 12 so that
    // five correction terms suffice.
    double offset = 0.9189385332046728; // ln sqrt(2*pi)
    const double twelve_minus_x = 12.0 - *x;
    const int n = trunc_to_int(&twelve_minus_x);
    double xx = *x;
    if (n > 0) {
        double prod = 1.0;
        for (int k = 0; k < n; ++k) prod = prod * (*x + k);
        offset = offset - std::log(prod);
        xx = *x + n;
    }
    const double t = 1.0 / std::pow(xx, 2.0);
    const int nc = 5;
    return poly_eval(c, &nc, &t) / xx + (offset + (xx - 0.5) * std::log(xx) - xx);
}

double max_of(const double *a, const double *b) { return (*a >= *b) ? *a : *b; }

double min_of(const double *a, const double *b) { return (*a >= *b) ? *b : *a; }

double sign_transfer(const double *a, const double *b) { return *b < 0.0 ? -std::fabs(*a) : std::fabs(*a); }

int trunc_to_int(const double *x) {
    if (!(*x >= 1.0)) return 0;
    // The conversion of a double at or above 2^31 to int is undefined.
    if (*x >= 2147483648.0) return 2147483647;
    return static_cast<int>(*x);
}

} // namespace dist
