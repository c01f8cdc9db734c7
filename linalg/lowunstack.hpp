// Inverse of the half-vectorisation: a square matrix rebuilt from the
// n(n+1)/2 stacked entries of one triangle.
#ifndef LINALG_LOWUNSTACK_HPP
#define LINALG_LOWUNSTACK_HPP

#include <cstddef>

namespace linalg {

// kind 0: the symmetric matrix, both triangles written from the
// column-order stack. kind 1: upper triangular, from the row-order stack.
// kind 2: lower triangular, from the column-order stack. For kinds 1 and 2
// the other triangle is set to 0. A is n-by-n column-major.
void lowunstack(const double *v, double *A, std::size_t n, int kind);

} // namespace linalg

#endif
