// Dense solver for one small square system with partial pivoting on
// row-equilibrated values, shared by the batched solver plug-ins.
#ifndef LINALG_BACKSLASH_HPP
#define LINALG_BACKSLASH_HPP

#include <cstddef>

namespace linalg {

// The warning a gateway issues once for every singular system.
constexpr const char *kSingularWarning = "Backslash: Matrix is singular to working precision.";

// Solves W * Y = X in place for the k right-hand sides held in X (n by k,
// column-major), leaving the solution in X. W (n by n, column-major) is the
// caller's work copy of the matrix and is overwritten by the elimination.
//
// Rows are first divided by their largest magnitude, then columns 1..n-1 are
// eliminated with partial pivoting on those equilibrated values; the last
// pivot is never tested, so a zero there yields infinities or NaN. Returns
// false when a pivot column 1..n-1 has no nonzero candidate: every entry of X
// is then +Inf and the caller reports the singular-matrix warning.
bool backslash(double *W, double *X, std::size_t n, std::size_t k);

} // namespace linalg

#endif
