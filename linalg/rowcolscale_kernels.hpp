// Products with a diagonal matrix given as a vector, written from a source
// operand into a result of the same shape and storage: one multiplication
// of each stored value by its diagonal entry, no change of structure.
#ifndef LINALG_ROWCOLSCALE_KERNELS_HPP
#define LINALG_ROWCOLSCALE_KERNELS_HPP

#include <cstddef>

namespace linalg {

// C = X*diag(y) for a full m-by-n X: column j is multiplied by y(j).
void axdbf(double *C, const double *X, const double *y, std::size_t m, std::size_t n);

// C = diag(x)*Y for a full m-by-n Y: row i is multiplied by x(i).
void daxbf(double *C, const double *Y, const double *x, std::size_t m, std::size_t n);

// C = s*Y over count stored values.
void scale_values(double *C, const double *Y, double s, std::size_t count);

// Sparse X*diag(y): the stored values of column j times y(j).
template <class Index>
void axdbs(double *Cv, const double *Xv, const Index *jc, const double *y, std::size_t n) {
    for (std::size_t j = 0; j < n; ++j) {
        const double d = y[j];
        for (std::size_t k = std::size_t(jc[j]); k < std::size_t(jc[j + 1]); ++k) Cv[k] = Xv[k] * d;
    }
}

// Sparse diag(x)*Y: each stored value times the entry of its row.
template <class Index>
void daxbs(double *Cv, const double *Yv, const Index *ir, const double *x, std::size_t nnz) {
    for (std::size_t k = 0; k < nnz; ++k) Cv[k] = Yv[k] * x[std::size_t(ir[k])];
}

} // namespace linalg

#endif
