// z = (F1 (.) F2 (.) ... (.) Fs)*c without forming the row-wise Kronecker
// basis. Row t of c belongs to the column multi-index (j1, ..., js) with js
// running fastest. The factor columns advance like an odometer, and a table
// of partial row products is kept level by level:
//   level 0 = 1,  level k = level (k-1) .* F_k(:, j_k)   for k = 1..s-1,
// so only the levels of factors whose column changed are recomputed. Row t
// then contributes (level (s-1) .* Fs(:, js)) * c(t, :) to z, and the
// contributions are accumulated in increasing t.
#ifndef LINALG_TENSORMUL_KERNEL_HPP
#define LINALG_TENSORMUL_KERNEL_HPP

#include <cstddef>

namespace linalg {

// One m-by-ncols factor: full when ir is null, else compressed-column with
// row indices ir and column starts jc.
template <class Index> struct TensorFactor {
    const double *pr;
    const Index *ir;
    const Index *jc;
    std::size_t ncols;
};

// Workspace of tensormul: s*m doubles for the levels, m doubles for the
// contribution weights, s column counters.
struct TensorWork {
    double *levels;
    double *w;
    std::size_t *cols;
};

// level k+1 = level k times column j of factor f. Rows that a sparse factor
// does not store get exactly 0, whatever level k holds there.
template <class Index>
void tensor_level(double *next, const double *prev, const TensorFactor<Index> &f, std::size_t j, std::size_t m) {
    if (!f.ir) {
        const double *col = f.pr + m * j;
        for (std::size_t r = 0; r < m; ++r) next[r] = prev[r] * col[r];
        return;
    }
    for (std::size_t r = 0; r < m; ++r) next[r] = 0.0;
    for (std::size_t k = std::size_t(f.jc[j]); k < std::size_t(f.jc[j + 1]); ++k) {
        const std::size_t r = std::size_t(f.ir[k]);
        next[r] = prev[r] * f.pr[k];
    }
}

// z (m-by-K, column-major, accumulated into) += basis * c, where c is N-by-K
// with N the product of the factors' column counts and s >= 2.
template <class Index>
void tensormul(double *z, const TensorFactor<Index> *F, std::size_t s, std::size_t m, const double *c, std::size_t N,
               std::size_t K, TensorWork work) {
    double *levels = work.levels, *w = work.w;
    std::size_t *cols = work.cols;
    const TensorFactor<Index> &last = F[s - 1];
    const double *top = levels + (s - 1) * m; // level s-1, the weight of the last factor
    for (std::size_t r = 0; r < m; ++r) levels[r] = 1.0;

    for (std::size_t t = 0; t < N; ++t) {
        if (t == 0 || cols[s - 1] == last.ncols) {
            // The last factor has passed its last column: restart it and
            // carry into the earlier factors; q is the first that changed.
            std::size_t q = 0;
            if (t == 0) {
                for (std::size_t k = 0; k < s; ++k) cols[k] = 0;
            } else {
                cols[s - 1] = 0;
                for (q = s - 1; q-- > 0;) {
                    if (++cols[q] < F[q].ncols) break;
                    cols[q] = 0;
                    if (q == 0) break;
                }
            }
            for (std::size_t k = q; k + 1 < s; ++k) tensor_level(levels + (k + 1) * m, levels + k * m, F[k], cols[k], m);
        }

        const std::size_t j = cols[s - 1];
        if (!last.ir) {
            const double *col = last.pr + m * j;
            for (std::size_t r = 0; r < m; ++r) w[r] = top[r] * col[r];
            for (std::size_t u = 0; u < K; ++u) {
                const double cu = c[t + N * u];
                double *zu = z + m * u;
                for (std::size_t r = 0; r < m; ++r) zu[r] = w[r] * cu + zu[r];
            }
        } else {
            // Only the stored rows of the last factor's column contribute.
            const std::size_t k0 = std::size_t(last.jc[j]), nz = std::size_t(last.jc[j + 1]) - k0;
            const Index *ir = last.ir + k0;
            const double *v = last.pr + k0;
            for (std::size_t k = 0; k < nz; ++k) w[k] = top[std::size_t(ir[k])] * v[k];
            for (std::size_t u = 0; u < K; ++u) {
                const double cu = c[t + N * u];
                double *zu = z + m * u;
                for (std::size_t k = 0; k < nz; ++k) {
                    const std::size_t r = std::size_t(ir[k]);
                    zu[r] = w[k] * cu + zu[r];
                }
            }
        }
        ++cols[s - 1];
    }
}

} // namespace linalg

#endif
