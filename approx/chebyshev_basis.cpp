#include "chebyshev_basis.hpp"

namespace approx {

void chebyshev_basis(std::size_t n, double a, double b, const double *x, std::size_t m, double *B) {
    // No points, no entries: the column loop below would still count
    // through all n columns, up to 2^53 of them.
    if (m == 0) return;
    if (n == 1) {
        for (std::size_t i = 0; i < m; ++i) B[i] = 1.0;
        return;
    }
    // Every entry depends only on the two before it in its own row, so the
    // three-term recurrence T_j = 2z*T_(j-1) - T_(j-2) can run one column at
    // a time; the storage is then walked contiguously and each row still sees
    // exactly the same operations in the same order.
    const double shift = (a + b) * -0.5;
    const double scale = 2.0 / (b - a);
    double *t0 = B, *t1 = B + m;
    for (std::size_t i = 0; i < m; ++i) {
        t0[i] = 1.0;
        t1[i] = (shift + x[i]) * scale;
    }
    for (std::size_t j = 2; j < n; ++j) {
        const double *prev2 = B + (j - 2) * m, *prev = B + (j - 1) * m;
        double *cur = B + j * m;
        for (std::size_t i = 0; i < m; ++i) {
            const double z = t1[i];
            cur[i] = (z + z) * prev[i] - prev2[i];
        }
    }
}

} // namespace approx
