#include "fischer_burmeister.hpp"

#include <cmath>

namespace linalg {
namespace {

// One pair (p, q) normalised by its larger member w: r = other/w, so
// sqrt(p^2 + q^2) = |w|*s with s = sqrt(r^2 + 1) and no overflow or
// underflow in the squares. q_wins records that w is q (|q| > |p|; a tie or
// a NaN makes the bound difference p the larger member).
struct Pair {
    double w, r, r2, s;
    bool q_wins;
};

Pair normalise(double p, double q) {
    Pair t;
    t.q_wins = std::fabs(q) > std::fabs(p);
    t.w = t.q_wins ? q : p;
    const double o = t.q_wins ? p : q;
    t.r = o / t.w;
    t.r2 = t.r * t.r;
    t.s = std::sqrt(t.r2 + 1.0);
    return t;
}

// (p + q + sigma*sqrt(p^2 + q^2)) with sigma = sign(w): no cancellation.
double same_sign_form(const Pair &t) { return ((t.s + 1.0) + t.r) * t.w; }

// p + q - sign(w)*sqrt(p^2 + q^2), where 1 + r - s cancels. Since
// s^2 = 1 + r^2, 1 + r - s = r - ((1 - s)^2 + r^2)/(2s), which keeps full
// relative accuracy when |r| is small.
double cancelling_form(const Pair &t) {
    return ((((1.0 - t.s) * (1.0 - t.s) + t.r2) / t.s) * (-0.5) + t.r) * t.w;
}

// L(p, q) = p + q + sqrt(p^2 + q^2).
double plus_fb(const Pair &t) { return t.w > 0.0 ? same_sign_form(t) : cancelling_form(t); }
// U(p, q) = p + q - sqrt(p^2 + q^2).
double minus_fb(const Pair &t) { return t.w < 0.0 ? same_sign_form(t) : cancelling_form(t); }

} // namespace

void fischer_burmeister(const double *x, const double *a, std::size_t na, const double *b, std::size_t nb,
                        const double *f, std::size_t N, double *phi, double *dphi_f, double *dphi_b) {
    for (std::size_t k = 0; k < N; ++k) {
        const double ak = a[na == 1 ? 0 : k], bk = b[nb == 1 ? 0 : k];
        const double fk = f[k], xk = x[k];
        const bool has_lower = !std::isinf(ak), has_upper = !std::isinf(bk);

        Pair lo{}, up{};
        double phi1 = fk;
        if (has_lower) {
            lo = normalise(ak - xk, fk);
            phi1 = plus_fb(lo);
        }
        double value = phi1;
        if (has_upper) {
            up = normalise(bk - xk, phi1);
            value = minus_fb(up);
        }

        if (dphi_f) {
            // d/dq of p + q -/+ |w| s is 1 -/+ q/(|w| s); for w = q that is
            // 1 -/+ 1/t and for w = p it is 1 -/+ r/t, with t = sign(w)*s.
            double gq = 1.0, gp = 0.0;
            if (has_upper) {
                const double t = up.w < 0.0 ? -up.s : up.s;
                const double k1 = 1.0 - 1.0 / t, k2 = 1.0 - up.r / t;
                gq = up.q_wins ? k1 : k2;
                gp = up.q_wins ? k2 : k1;
            }
            double df = gq, da = 0.0;
            if (has_lower) {
                const double t = lo.w < 0.0 ? -lo.s : lo.s;
                const double h1 = 1.0 + 1.0 / t, h2 = 1.0 + lo.r / t;
                df = gq * (lo.q_wins ? h1 : h2);
                da = gq * (lo.q_wins ? h2 : h1);
            }
            dphi_f[k] = df;
            if (dphi_b) dphi_b[k] = da + gp;
        }
        phi[k] = value;
    }
}

} // namespace linalg
