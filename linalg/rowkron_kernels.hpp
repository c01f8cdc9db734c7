// Row-wise Kronecker product C = A (.) B of an m-by-p A and an m-by-q B:
// column i*q + j of C (0-based) is column i of A times column j of B,
// element by element; B's column index runs fastest.
//
// With a sparse operand the result is sparse and sized exactly in advance:
// row r of C holds nA(r)*nB(r) entries, where a sparse operand counts the
// entries it stores (explicit zeros included) and a full operand counts its
// entries that are not equal to 0 (NaN counts). Every output column is then
// produced in increasing row order, so no sorting or reallocation is needed.
#ifndef LINALG_ROWKRON_KERNELS_HPP
#define LINALG_ROWKRON_KERNELS_HPP

#include <cstddef>

namespace linalg {

// Both full: C(r, i*q + j) = A(r, i)*B(r, j), every product stored.
void rowkron_full(double *C, const double *A, const double *B, std::size_t m, std::size_t p, std::size_t q);

// count[r] += number of entries of row r of a full m-by-n matrix that are
// not equal to 0.
void count_row_nonzeros(std::size_t *count, const double *A, std::size_t m, std::size_t n);

// count[r] += number of stored entries in row r of a compressed-column matrix.
template <class Index>
void count_row_stored(std::size_t *count, const Index *ir, const Index *jc, std::size_t n) {
    const std::size_t nnz = std::size_t(jc[n]);
    for (std::size_t k = 0; k < nnz; ++k) ++count[std::size_t(ir[k])];
}

// Sum over r of nA(r)*nB(r) into *total; false when it does not fit.
bool kron_entry_total(const std::size_t *nA, const std::size_t *nB, std::size_t m, std::size_t *total);

// Both sparse: within each output column, a merge of the two ascending row
// lists, storing A*B wherever both hold an entry (a product of 0 is stored).
template <class Index>
void rowkron_sparse_sparse(double *Cv, Index *Cir, Index *Cjc, const double *Av, const Index *Air,
                           const Index *Ajc, std::size_t p, const double *Bv, const Index *Bir,
                           const Index *Bjc, std::size_t q) {
    std::size_t out = 0, col = 0;
    Cjc[0] = 0;
    for (std::size_t i = 0; i < p; ++i) {
        const std::size_t a0 = std::size_t(Ajc[i]), a1 = std::size_t(Ajc[i + 1]);
        for (std::size_t j = 0; j < q; ++j) {
            std::size_t ka = a0, kb = std::size_t(Bjc[j]);
            const std::size_t b1 = std::size_t(Bjc[j + 1]);
            while (ka < a1 && kb < b1) {
                const Index ra = Air[ka], rb = Bir[kb];
                if (ra == rb) {
                    Cv[out] = Av[ka] * Bv[kb];
                    Cir[out] = ra;
                    ++out;
                    ++ka;
                    ++kb;
                } else if (ra < rb) {
                    ++ka;
                } else {
                    ++kb;
                }
            }
            Cjc[++col] = Index(out);
        }
    }
}

// A full, B sparse: each stored (r, v) of B(:, j) meets A(r, i); a product
// is stored where A(r, i) != 0.
template <class Index>
void rowkron_full_sparse(double *Cv, Index *Cir, Index *Cjc, const double *A, std::size_t m, std::size_t p,
                         const double *Bv, const Index *Bir, const Index *Bjc, std::size_t q) {
    std::size_t out = 0, col = 0;
    Cjc[0] = 0;
    for (std::size_t i = 0; i < p; ++i) {
        const double *ac = A + m * i;
        for (std::size_t j = 0; j < q; ++j) {
            for (std::size_t k = std::size_t(Bjc[j]); k < std::size_t(Bjc[j + 1]); ++k) {
                const double a = ac[std::size_t(Bir[k])];
                if (a != 0.0) {
                    Cv[out] = a * Bv[k];
                    Cir[out] = Bir[k];
                    ++out;
                }
            }
            Cjc[++col] = Index(out);
        }
    }
}

// A sparse, B full: each stored (r, v) of A(:, i) meets B(r, j); a product
// is stored where B(r, j) != 0.
template <class Index>
void rowkron_sparse_full(double *Cv, Index *Cir, Index *Cjc, const double *Av, const Index *Air,
                         const Index *Ajc, std::size_t p, const double *B, std::size_t m, std::size_t q) {
    std::size_t out = 0, col = 0;
    Cjc[0] = 0;
    for (std::size_t i = 0; i < p; ++i) {
        const std::size_t a0 = std::size_t(Ajc[i]), a1 = std::size_t(Ajc[i + 1]);
        for (std::size_t j = 0; j < q; ++j) {
            const double *bc = B + m * j;
            for (std::size_t k = a0; k < a1; ++k) {
                const double b = bc[std::size_t(Air[k])];
                if (b != 0.0) {
                    Cv[out] = b * Av[k];
                    Cir[out] = Air[k];
                    ++out;
                }
            }
            Cjc[++col] = Index(out);
        }
    }
}

} // namespace linalg

#endif
