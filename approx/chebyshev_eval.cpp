#include "chebyshev_eval.hpp"

namespace approx {

namespace {

// Value of sum_i g[i]*T_i(w), i < len, by Clenshaw's backward recurrence.
inline double clenshaw(const double *g, std::size_t len, double w) {
    const double w2 = w + w;
    double A = 0.0, B = 0.0;
    for (std::size_t i = len - 1; i >= 1; --i) {
        const double C = (w2 * A - B) + g[i];
        B = A;
        A = C;
    }
    return (A * w - B) + g[0];
}

} // namespace

void chebyshev_eval(const double *c, std::size_t N, std::size_t p, const double *x, std::size_t m,
                    std::size_t d, const std::size_t *n, const double *a, const double *b, double *y,
                    double *work, std::size_t *counts) {
    const std::size_t total = N * p;
    // counts[k]: number of values left after contracting dimensions 0..k,
    // p * n[k+1] * ... * n[d-1], so the last one is p.
    std::size_t M = p;
    for (std::size_t k = d; k-- > 0;) {
        counts[k] = M;
        M *= n[k];
    }

    for (std::size_t j = 0; j < m; ++j) {
        for (std::size_t r = 0; r < total; ++r) work[r] = c[r];
        // The live values always sit at the end of work. Contracting
        // dimension k turns Mk groups of nk coefficients into Mk values,
        // written from the top down to the last Mk slots: the value of group g
        // lands at or after the last coefficient of g, and every group above
        // g has already been read, so the contraction runs in place.
        for (std::size_t k = 0; k < d; ++k) {
            const double t = x[j + m * k];
            const double w = ((t + t) - a[k] - b[k]) / (b[k] - a[k]);
            const std::size_t nk = n[k], Mk = counts[k];
            const double *groups = work + (total - Mk * nk);
            double *dest = work + (total - Mk);
            for (std::size_t g = Mk; g-- > 0;) dest[g] = clenshaw(groups + g * nk, nk, w);
        }
        const double *res = work + (total - p);
        for (std::size_t q = 0; q < p; ++q) y[j + m * q] = res[q];
    }
}

} // namespace approx
