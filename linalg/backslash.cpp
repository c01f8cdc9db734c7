#include "backslash.hpp"

#include <cmath>
#include <limits>

namespace linalg {

bool backslash(double *W, double *X, std::size_t n, std::size_t k) {
    // Row equilibration: divide each row, and its right-hand sides, by the
    // largest magnitude in the row. The running maximum starts at 0 and a NaN
    // never wins the comparison, so a zero row divides by 0 (NaN/Inf follow).
    for (std::size_t r = 0; r < n; ++r) {
        double s = 0.0;
        for (std::size_t c = 0; c < n; ++c) {
            const double a = std::fabs(W[r + n * c]);
            if (a > s) s = a;
        }
        for (std::size_t c = 0; c < n; ++c) W[r + n * c] /= s;
        for (std::size_t q = 0; q < k; ++q) X[r + n * q] /= s;
    }

    // Elimination of columns 0..n-2 with partial pivoting.
    for (std::size_t j = 0; j + 1 < n; ++j) {
        // First row with the strictly largest magnitude; ties keep the lowest
        // row and NaN entries never win.
        std::size_t p = j;
        double best = 0.0;
        for (std::size_t r = j; r < n; ++r) {
            const double a = std::fabs(W[r + n * j]);
            if (a > best) {
                best = a;
                p = r;
            }
        }
        if (best == 0.0) {
            const double inf = std::numeric_limits<double>::infinity();
            for (std::size_t t = 0; t < n * k; ++t) X[t] = inf;
            return false;
        }
        if (p != j) {
            for (std::size_t c = 0; c < n; ++c) {
                const double t = W[j + n * c];
                W[j + n * c] = W[p + n * c];
                W[p + n * c] = t;
            }
            for (std::size_t q = 0; q < k; ++q) {
                const double t = X[j + n * q];
                X[j + n * q] = X[p + n * q];
                X[p + n * q] = t;
            }
        }
        const double d = W[j + n * j];
        for (std::size_t r = j + 1; r < n; ++r) {
            const double g = W[r + n * j] / d;
            for (std::size_t c = j + 1; c < n; ++c) W[r + n * c] = W[r + n * c] - g * W[j + n * c];
            for (std::size_t q = 0; q < k; ++q) X[r + n * q] = X[r + n * q] - g * X[j + n * q];
        }
    }

    // Back substitution, summing each row from left to right.
    for (std::size_t r = n; r-- > 0;) {
        for (std::size_t q = 0; q < k; ++q) {
            double *x = X + n * q;
            double t = x[r];
            for (std::size_t c = r + 1; c < n; ++c) t = t - W[r + n * c] * x[c];
            x[r] = t / W[r + n * r];
        }
    }
    return true;
}

} // namespace linalg
