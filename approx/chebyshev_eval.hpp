// Evaluation of tensor-product Chebyshev expansions by Clenshaw's recurrence.
#ifndef APPROX_CHEBYSHEV_EVAL_HPP
#define APPROX_CHEBYSHEV_EVAL_HPP

#include <cstddef>

namespace approx {

// Evaluates p expansions in d variables at m points.
//   c: N-by-p coefficients, N = n[0]*...*n[d-1]; row r enumerates the
//      multi-index (i1, ..., id), 0 <= ik < n[k], with i1 varying fastest.
//   x: m-by-d points, one per row; a, b: the d lower and upper box bounds.
//   n: d counts, each >= 1, whose product is N.
//   y: m-by-p output, y(j, q) = expansion q at point j.
//   work: N*p doubles; counts: d entries. Both are scratch owned by the
//   caller, so one allocation serves every point.
void chebyshev_eval(const double *c, std::size_t N, std::size_t p, const double *x, std::size_t m,
                    std::size_t d, const std::size_t *n, const double *a, const double *b, double *y,
                    double *work, std::size_t *counts);

} // namespace approx

#endif
