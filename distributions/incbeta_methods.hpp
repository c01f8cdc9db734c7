// The evaluation methods among which incbeta_ratio chooses, and the
// prefactor x^a y^b / Beta(a, b) that several of them rest on. Each computes
// one tail of the regularised incomplete beta ratio
// I_x(a, b) = (1/Beta(a, b)) int_0^x t^(a-1) (1 - t)^(b-1) dt
// in the region where the driver uses it; y = 1 - x is always passed
// separately so that a tail near x = 1 keeps full relative accuracy.
//
// Loops end when a term falls to the tolerance; a NaN term ends them at
// once. A NaN prefactor is returned as it is, like a zero one.
#ifndef DISTRIBUTIONS_INCBETA_METHODS_HPP
#define DISTRIBUTIONS_INCBETA_METHODS_HPP

namespace dist {

// lambda = (a + b) y - b when a > b, else a - (a + b) x: the distance of x
// below the mean a/(a + b), scaled by a + b. For large a and b it is a
// small difference of large numbers whose rounding would be magnified by
// the steepness of I_x near the mean, so the sum and the product are formed
// with their rounding errors and the result is correct to about one unit
// in its last place.
double beta_mean_distance(const double *a, const double *b, const double *x, const double *y);

// x^a y^b / Beta(a, b).
double beta_prefactor(const double *a, const double *b, const double *x, const double *y);

// exp(mu) x^a y^b / Beta(a, b), with the factor exp(mu) applied inside the
// final exponential so that the result neither overflows nor underflows on
// the way.
double beta_prefactor_scaled(const int *mu, const double *a, const double *b, const double *x, const double *y);

// I_x(a, b) by its power series in x; for b <= 1 or b x <= 0.7.
double incbeta_power_series(const double *a, const double *b, const double *x, const double *eps);

// 1 - I_x(a, b) for a tiny a (a < min(eps, eps b)), b x <= 1 and x <= 0.5.
double incbeta_small_a_series(const double *a, const double *b, const double *x, const double *eps);

// I_x(a, b) for a tiny b (b < min(eps, eps a)) and x <= 0.5.
double incbeta_small_b_series(const double *a, const double *b, const double *x, const double *eps);

// I_x(a, b) - I_x(a + n, b), the finite sum of the n terms
// x^(a+i) y^b / ((a+i) Beta(a+i, b)), i = 0..n-1; n a positive integer.
double incbeta_shift_sum(const double *a, const double *b, const double *x, const double *y, const int *n,
                         const double *eps);

// I_x(a, b) for a > 1, b > 1 by a continued fraction; lambda = (a + b) y - b
// >= 0 measures the distance of x from the mean.
double incbeta_cont_frac(const double *a, const double *b, const double *x, const double *y,
                         const double *lambda, const double *eps);

// I_x(a, b) for large a and b by an expansion in the normal tail, x given
// through lambda = (a + b) y - b >= 0.
double incbeta_asymptotic(const double *a, const double *b, const double *lambda, const double *eps);

// Adds I_x(a, b) to *w for a large a and b <= 1. *ierr is 0 on success and 1
// when the expansion cannot be formed (then *w is left unchanged).
void incbeta_large_a_expansion(const double *a, const double *b, const double *x, const double *y, double *w,
                               const double *eps, int *ierr);

// The incomplete gamma ratios P(a, x) and Q(a, x) for 0 <= a <= 1, given
// r = exp(-x) x^a / Gamma(a).
void incgamma_small_a(const double *a, const double *x, const double *r, double *p, double *q,
                      const double *eps);

} // namespace dist

#endif
