#include "rowkron_kernels.hpp"
#include "size_arith.hpp"

namespace linalg {

void rowkron_full(double *C, const double *A, const double *B, std::size_t m, std::size_t p, std::size_t q) {
    for (std::size_t i = 0; i < p; ++i) {
        const double *ac = A + m * i;
        for (std::size_t j = 0; j < q; ++j) {
            const double *bc = B + m * j;
            double *cc = C + m * (i * q + j);
            for (std::size_t r = 0; r < m; ++r) cc[r] = ac[r] * bc[r];
        }
    }
}

void count_row_nonzeros(std::size_t *count, const double *A, std::size_t m, std::size_t n) {
    for (std::size_t j = 0; j < n; ++j) {
        const double *col = A + m * j;
        for (std::size_t r = 0; r < m; ++r) count[r] += col[r] != 0.0 ? 1 : 0;
    }
}

bool kron_entry_total(const std::size_t *nA, const std::size_t *nB, std::size_t m, std::size_t *total) {
    std::size_t sum = 0;
    for (std::size_t r = 0; r < m; ++r) {
        std::size_t prod;
        if (!checked_mul(nA[r], nB[r], &prod) || !checked_add(sum, prod, &sum)) return false;
    }
    *total = sum;
    return true;
}

} // namespace linalg
