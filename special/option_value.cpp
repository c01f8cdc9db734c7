#include "option_value.hpp"

#include "normal_cdf.hpp"

#include <cmath>
#include <limits>

namespace special {

namespace {
constexpr double kSqrt2Pi = 2.5066282746310002;
constexpr double kRelTol = 1.490116119384766e-08; // sqrt(eps): Newton tolerance relative to K
constexpr int kMaxSteps = 1000;
} // namespace

double euoption(bool put, double sigma, double S, double K, double r, double delta, double T) {
    const double s = std::sqrt(T) * sigma;
    const double Sd = std::exp(-delta * T) * S;
    const double Kd = std::exp(-r * T) * K;
    const double d1 = std::log(Sd / Kd) / s + 0.5 * s;
    const double call = Sd * gausscum_option(d1) - Kd * gausscum_option(d1 - s);
    // Put-call parity.
    return put ? (call - Sd) + Kd : call;
}

double amoption(bool put, double sigma, double S, double K, double r, double delta, double T, double *ve,
                double *sstar, int *steps) {
    if (steps) *steps = 0;
    if (sigma <= 0.0 || sigma > 100000000.0) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        *ve = nan;
        *sstar = nan;
        return nan;
    }
    if (T == 0.0) {
        // At expiry the option is worth its intrinsic value and is exercised
        // exactly when in the money: S* = K. (The approximation itself has
        // no value here: s = 0 and 1 - er = 0 make every step 0/0.)
        const double VE = euoption(put, sigma, S, K, r, delta, T);
        *ve = VE;
        *sstar = K;
        if (!put && S >= K) return S - K;
        if (put && K >= S) return K - S;
        return VE;
    }
    const double tol = K * kRelTol;
    const double F = put ? -1.0 : 1.0;

    const double er = std::exp(-r * T);
    const double ed = std::exp(-delta * T);
    const double s = sigma * F * std::sqrt(T); // negative for a put

    // q is the root of q^2 - (1 - w2) q - (2r/sigma^2)/(1 - er) = 0 of the
    // sign of F: the exponent of the early-exercise premium S^q.
    const double rd = r - delta;
    const double sig2 = sigma * sigma;
    const double w2 = (rd + rd) / sig2;
    const double u = 1.0 - w2;
    // (2r/sigma^2)/(1 - er) tends to 2/(sigma^2 T) as r T -> 0; where er
    // rounds to 1 (r = 0 in particular) the limit replaces the 0/0.
    const double one_minus_er = 1.0 - er;
    const double m_over_k = one_minus_er != 0.0 ? ((r + r) / sig2) / one_minus_er : 2.0 / (sig2 * T);
    const double C = std::sqrt(u * u + m_over_k * 4.0);
    const double q = (C * F + u) * 0.5;
    const double G = K / (-1.0 / q + 1.0); // the perpetual option's critical price

    const double dadd = T * rd / s + 0.5 * s;
    const double c1 = er / kSqrt2Pi / s * G;
    const double c2 = ed / kSqrt2Pi / s;

    // Newton's method for S*, solving x (1 - ed Phi(d1(x))) = G (1 - er Phi(d2(x)))
    // from the perpetual critical price G.
    double x_new = G;
    double W = w2;
    int count = 0;
    if (!(std::fabs(G) <= tol)) {
        double x = G;
        for (;;) {
            const double d1 = std::log(x / K) / s + dadd;
            const double d2 = d1 - s;
            W = 1.0 - gausscum_option(d1) * ed;
            const double P2 = gausscum_option(d2);
            const double e2 = std::exp(d2 * (-0.5) * d2);
            const double e1 = std::exp(d1 * (-0.5) * d1);
            x_new = x - (x * W - (1.0 - er * P2) * G) / (c1 / x * e2 + W - e1 * c2);
            // A put whose critical price lies at or near 0 (r = 0, where
            // early exercise never pays) can be thrown below 0, where log(x)
            // is undefined; halve the iterate instead, which approaches the
            // root at 0 from the feasible side.
            if (x_new <= 0.0) x_new = 0.5 * x;
            ++count;
            if (std::fabs(x_new - x) <= tol || count > kMaxSteps - 1) break;
            x = x_new;
        }
    }
    const double Sstar = x_new;
    if (steps) *steps = count;

    const double VE = euoption(put, sigma, S, K, r, delta, T);
    *ve = VE;

    double value;
    if (!put && S >= Sstar) {
        value = S - K;
    } else if (put && Sstar >= S) {
        value = K - S;
    } else {
        // Early-exercise premium A S^q with A = F W S*^(1-q)/q; a call without
        // dividends is never exercised early (A = 0). Close to expiry |q| is
        // large (it grows as 1/(sigma sqrt(T))) and S^q overflows or S*^(1-q)
        // underflows, while the premium itself is small; it is then formed
        // as (F W S*/q) (S/S*)^q, whose power stays in range.
        if (!put && delta == 0.0) {
            value = VE;
        } else {
            const double ps = std::pow(Sstar, 1.0 - q);
            const double pq = std::pow(S, q);
            if (std::isnormal(ps) && std::isfinite(pq)) {
                const double A = F * W * ps / q;
                value = pq * A + VE;
            } else {
                value = F * W * Sstar / q * std::pow(S / Sstar, q) + VE;
            }
        }
    }
    *sstar = Sstar;
    return value;
}

} // namespace special
