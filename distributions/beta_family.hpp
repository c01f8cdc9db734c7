// Cumulative distribution functions built on the incomplete beta ratio:
// beta, negative binomial, Fisher's F and Student's t. Each delivers the
// lower tail cum = P(X <= x) and the upper tail ccum, the smaller of the two
// computed directly. A NaN point counts as lying at or below the lower end
// of the support. A combination that incbeta_ratio rejects gives
// cum = ccum = 0.
#ifndef DISTRIBUTIONS_BETA_FAMILY_HPP
#define DISTRIBUTIONS_BETA_FAMILY_HPP

namespace dist {

// Beta(a, b) at x, with y = 1 - x supplied by the caller.
void beta_tails(const double *x, const double *y, const double *a, const double *b, double *cum, double *ccum);

// At most s failures before the xn-th success, success probability pr,
// ompr = 1 - pr: cum = I_pr(xn, s + 1). A fractional s interpolates.
void negbinomial_tails(const double *s, const double *xn, const double *pr, const double *ompr, double *cum,
                       double *ccum);

// F distribution with dfn numerator and dfd denominator degrees of freedom.
// An infinite dfd gives the chi-square limit chi2(dfn)/dfn, an infinite dfn
// the limit dfd/chi2(dfd); both infinite put all mass at 1.
void fisher_f_tails(const double *f, const double *dfn, const double *dfd, double *cum, double *ccum);

// Student's t with df degrees of freedom; df = +inf gives the standard
// normal distribution.
void student_t_tails(const double *t, const double *df, double *cum, double *ccum);

} // namespace dist

#endif
