// Minima of the rows of a matrix and the columns where they occur.
#ifndef APPROX_ROW_MINIMA_HPP
#define APPROX_ROW_MINIMA_HPP

#include <cstddef>
#include <cstdint>

namespace approx {

// All three scan the m-by-n column-major matrix X column after column and
// keep, per row, the first strictly smaller value: ties keep the leftmost
// column, a NaN in the first column stays the minimum and a NaN in a later
// column is skipped. Column numbers are 1-based. With no columns (n == 0)
// every minimum is NaN and every column number 0.

void leastvals(const double *X, double *minima, std::size_t m, std::size_t n);
void leastvals2(const double *X, double *minima, double *columns, std::size_t m, std::size_t n);
// scratch: m doubles holding the running minima. Requires n <= UINT32_MAX.
void leastidx(const double *X, std::uint32_t *columns, std::size_t m, std::size_t n, double *scratch);

} // namespace approx

#endif
