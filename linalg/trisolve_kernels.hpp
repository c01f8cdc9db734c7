// Substitution sweeps with given triangular factors, one right-hand side at
// a time. Each routine takes (destination x, factor values, source b, [row
// indices, column starts,] n): when x and b differ, b is copied into x first;
// the solve then runs in place on x and x is returned.
//
// Only the lower triangle of L and the upper triangle of U are used. The
// sparse sweeps carry the last quotient x(i)/diag from column to column, so
// a column without a stored diagonal applies the previous column's quotient
// to its off-diagonal rows (0 before any diagonal in the forward sweep, the
// undivided last entry of x in the backward sweep).
#ifndef LINALG_TRISOLVE_KERNELS_HPP
#define LINALG_TRISOLVE_KERNELS_HPP

#include <cstddef>

namespace linalg {

// Forward substitution with a full n-by-n column-major L, column oriented:
// once x(i) is final, column i of L updates every row below it.
double *foresub(double *x, const double *L, const double *b, std::size_t n);

// Back substitution with a full n-by-n column-major U, column oriented.
double *backsub(double *x, const double *U, const double *b, std::size_t n);

inline void copy_source(double *x, const double *b, std::size_t n) {
    if (x != b)
        for (std::size_t i = 0; i < n; ++i) x[i] = b[i];
}

// Forward substitution with a compressed-column L whose row indices ascend
// within each column: the diagonal is met before the rows it updates.
template <class Index>
double *spforesub(double *x, const double *Lv, const double *b, const Index *ir, const Index *jc, std::size_t n) {
    copy_source(x, b, n);
    double t = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t k = std::size_t(jc[i]); k < std::size_t(jc[i + 1]); ++k) {
            const std::size_t r = std::size_t(ir[k]);
            if (r < i) continue;
            if (r == i) {
                t = x[i] / Lv[k];
                x[i] = t;
            } else {
                x[r] = x[r] - t * Lv[k];
            }
        }
    }
    return x;
}

// Back substitution with a compressed-column U, walking each column from its
// largest row index down so that the diagonal comes before the rows above it.
template <class Index>
double *spbacksub(double *x, const double *Uv, const double *b, const Index *ir, const Index *jc, std::size_t n) {
    copy_source(x, b, n);
    if (n == 0) return x;
    double t = x[n - 1];
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t k = std::size_t(jc[i + 1]); k-- > std::size_t(jc[i]);) {
            const std::size_t r = std::size_t(ir[k]);
            if (r > i) continue;
            if (r == i) {
                t = x[i] / Uv[k];
                x[i] = t;
            } else {
                x[r] = x[r] - t * Uv[k];
            }
        }
    }
    return x;
}

} // namespace linalg

#endif
