// Products of many pairs of small matrices stored with the batch index
// running fastest.
#ifndef LINALG_BATCH_MATMUL_HPP
#define LINALG_BATCH_MATMUL_HPP

#include <cstddef>

namespace linalg {

// C_l = A_l * B_l for l = 0..n-1, with A(l, i, k) at l + n*(i + p*k),
// B(l, k, j) at l + n*(k + q*j) and C(l, i, j) at l + n*(i + p*j). Every
// entry of C is the sum over k = 0..q-1 in increasing order, starting from
// +0. All of C (n*p*r doubles) is written. The batch index runs in the
// lanes of vector registers; `lanes` chooses their width: 0 for the widest
// the processor has (4 with AVX2, else 2), or 2 or 4 (4 falls back to 2
// without AVX2). Every choice gives the same results.
void batch_matmul(const double *A, const double *B, double *C, std::size_t n, std::size_t p, std::size_t q,
                  std::size_t r, std::size_t lanes = 0);

} // namespace linalg

#endif
