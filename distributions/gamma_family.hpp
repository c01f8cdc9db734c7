// Lower and upper tails of the gamma (unit scale), chi-square and Poisson
// distributions through the incomplete gamma ratio. Each writes the lower
// tail to *cum and the upper tail to *ccum, so that the caller can take the
// smaller one without cancellation.
#ifndef DISTRIBUTIONS_GAMMA_FAMILY_HPP
#define DISTRIBUTIONS_GAMMA_FAMILY_HPP

namespace dist {

// X ~ Gamma(shape a, scale 1): *cum = P(X <= x), *ccum = P(X > x).
// x <= 0 or NaN gives (0, 1). A failure of the ratio (a negative or NaN
// shape, or an extreme large shape) shows as *cum = 2 with *ccum untouched.
void gamma_tails(const double *x, const double *a, double *cum, double *ccum);

// X ~ chi-square with df degrees of freedom: the gamma tails at x/2 with
// shape df/2; failures as for gamma_tails.
void chisquare_tails(const double *x, const double *df, double *cum, double *ccum);

// N ~ Poisson(lambda): *cum = P(N <= s) = Q(s + 1, lambda) and
// *ccum = P(N > s). The count is not rounded: a fractional s interpolates
// continuously. A failure (s below -1 or NaN) shows as *ccum = 2 with *cum
// untouched.
void poisson_tails(const double *s, const double *lambda, double *cum, double *ccum);

} // namespace dist

#endif
