// Half-vectorisation of a square matrix: the n(n+1)/2 entries of one
// triangle stacked into a column.
//   column order: the lower triangle column by column, A(j..n, j), j = 1..n;
//   row order:    the upper triangle row by row, A(i, i..n), i = 1..n.
// For a symmetric matrix both orders give the same column.
#ifndef LINALG_LOWSTACK_HPP
#define LINALG_LOWSTACK_HPP

#include <cstddef>

namespace linalg {

// Writes the stacked form of the n-by-n column-major src into dst and
// returns true. Column order may work in place (dst == src), since every
// entry moves to the same or an earlier position; row order cannot, and
// returns false without writing when dst is src.
bool lowstack(const double *src, double *dst, std::size_t n, bool row_order);

} // namespace linalg

#endif
