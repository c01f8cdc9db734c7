// Helpers of rowlowstack: a transpose and the product Z*Z'.
#ifndef LINALG_ROWLOWSTACK_KERNELS_HPP
#define LINALG_ROWLOWSTACK_KERNELS_HPP

#include <cstddef>

namespace linalg {

// dst (cols-by-rows) = transpose of src (rows-by-cols), both column-major.
// A single row or column has the same memory order either way and is copied.
void transpose(const double *src, double *dst, std::size_t rows, std::size_t cols);

// S (m-by-m) = Z*Z' for an m-by-n Z: S(a, c) = sum over b of Z(a, b)*Z(c, b),
// accumulated from 0 in increasing b. All m*m entries are formed.
void outprod(const double *Z, double *S, std::size_t m, std::size_t n);

} // namespace linalg

#endif
