// Noncentral chi-square tails as a Poisson mixture of central chi-square
// distribution functions,
//   P(X <= x) = sum over j >= 0 of e^-L L^j / j! * P(chi2(df + 2j) <= x),
// L = pnonc/2, summed outward from the term of largest Poisson weight with
// the central values obtained from their neighbours by recurrence.
#ifndef DISTRIBUTIONS_NONCENTRAL_CHI2_HPP
#define DISTRIBUTIONS_NONCENTRAL_CHI2_HPP

namespace dist {

// Largest noncentrality for which the sum is formed; above it (and for
// +Inf) both tails are NaN. The number of terms grows like the square root
// of the noncentrality.
constexpr double kMaxNoncentrality = 1e13;

// *cum = P(X <= x), *ccum = 1 - *cum, to a relative tolerance of about 1e-5
// of *cum (absolute 1e-20 when *cum is below that). x <= 0 or NaN gives
// (0, 1), x = +Inf gives (1, 0); pnonc <= 1e-10 (or NaN) gives the central
// chi-square tails. A failure of the central chi-square evaluation shows as
// *cum = 2.
void noncentral_chi2_tails(const double *x, const double *df, const double *pnonc, double *cum, double *ccum);

// The same sum with the earlier summation rules: at most 1001 terms each way
// and each pass ending at its first term below 1e-5 of the running sum (or
// a running sum below 1e-20), even while the terms still grow. Kept only to
// measure what the tail-bound rules above changed; not for use.
void noncentral_chi2_tails_capped(const double *x, const double *df, const double *pnonc, double *cum,
                                  double *ccum);

} // namespace dist

#endif
