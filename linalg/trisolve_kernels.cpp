#include "trisolve_kernels.hpp"

namespace linalg {

double *foresub(double *x, const double *L, const double *b, std::size_t n) {
    copy_source(x, b, n);
    for (std::size_t i = 0; i < n; ++i) {
        const double *col = L + n * i;
        const double xi = x[i] / col[i];
        x[i] = xi;
        for (std::size_t j = i + 1; j < n; ++j) x[j] = x[j] - xi * col[j];
    }
    return x;
}

double *backsub(double *x, const double *U, const double *b, std::size_t n) {
    copy_source(x, b, n);
    for (std::size_t i = n; i-- > 0;) {
        const double *col = U + n * i;
        const double xi = x[i] / col[i];
        x[i] = xi;
        // Each x(j), j < i, receives exactly one update from column i, so
        // the rows can be swept upward in memory order.
        for (std::size_t j = 0; j < i; ++j) x[j] = x[j] - xi * col[j];
    }
    return x;
}

} // namespace linalg
