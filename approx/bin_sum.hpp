// Row-wise accumulation of values into numbered bins.
#ifndef APPROX_BIN_SUM_HPP
#define APPROX_BIN_SUM_HPP

#include <cstddef>

namespace approx {

// Adds V(i, j) to S(i, c) for every element of the m-by-n matrices V and IND,
// in storage order, where c is IND(i, j) truncated toward zero. S is the
// m-by-m column-major result, zero-filled by the caller. Returns false, with
// S partly accumulated, at the first index that is not in 1..m (NaN included).
bool binsum(const double *V, const double *IND, std::size_t m, std::size_t n, double *S);

} // namespace approx

#endif
