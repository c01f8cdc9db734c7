// Chebyshev polynomials of the first kind on an interval [a, b].
#ifndef APPROX_CHEBYSHEV_BASIS_HPP
#define APPROX_CHEBYSHEV_BASIS_HPP

#include <cstddef>

namespace approx {

// Fills the m-by-n column-major matrix B with T0 ... T(n-1) evaluated at the
// m points x mapped linearly from [a, b] onto [-1, 1]:
//   z = ((a + b)*(-0.5) + x[i]) * (2/(b - a)),  B(i, j) = T_j(z).
// n >= 1. Points outside [a, b] are not clamped.
void chebyshev_basis(std::size_t n, double a, double b, const double *x, std::size_t m, double *B);

} // namespace approx

#endif
