// Regularised incomplete gamma ratios P(a, x) and Q(a, x) = 1 - P(a, x) by
// region of (a, x): Taylor series, continued fraction, asymptotic expansion,
// finite sums for integer and half-integer a, the error function for
// a = 1/2, a series for small a and x, and Temme's uniform expansion for
// large a near x = a (after Didonato and Morris).
#ifndef DISTRIBUTIONS_INCOMPLETE_GAMMA_HPP
#define DISTRIBUTIONS_INCOMPLETE_GAMMA_HPP

namespace dist {

// Writes *p = P(a, x) and *q = Q(a, x) for a >= 0, x >= 0, each to near full
// relative precision. *accuracy_level 0 asks for about 14 digits, 1 for
// about 6, anything else for about 3. On failure (a or x negative or NaN,
// a = x = 0, or a above about 6.65e28 with x too close to a for the
// expansion to meet the accuracy) *p = 2 and *q is left as it was.
void incgamma_ratio(const double *a, const double *x, double *p, double *q, const int *accuracy_level);

// Gamma(a) for 1 <= a < 1000 (0 where it would overflow; 0 from a = 1000 on).
double gamma_function(const double *a);

// x - 1 - ln(x) for x > 0, accurate near x = 1.
double x_minus_one_minus_log(const double *x);

} // namespace dist

#endif
