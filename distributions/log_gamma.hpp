// Logarithms of Gamma and Beta values, and the small-argument functions the
// incomplete beta ratio needs to keep its accuracy where the obvious formula
// cancels: ln(1 + a), x - ln(1 + x), exp(mu + x) without intermediate
// overflow, ln Gamma near 1 and 2, ratios of Gamma values, the difference of
// Stirling remainders, ln Beta and the digamma function.
//
// del(x) below is the remainder of Stirling's formula,
// ln Gamma(x) = (x - 0.5) ln x - x + 0.5 ln(2 pi) + del(x).
// None of these functions checks its domain; the ranges given are those the
// callers guarantee.
#ifndef DISTRIBUTIONS_LOG_GAMMA_HPP
#define DISTRIBUTIONS_LOG_GAMMA_HPP

namespace dist {

// ln(1 + a), a > -1.
double log_one_plus(const double *a);

// x - ln(1 + x), x > -1.
double x_minus_log_one_plus(const double *x);

// exp(mu + x) for an integer mu, formed so that exp(x) cannot overflow or
// underflow on its own when mu compensates it.
double exp_sum(const int *mu, const double *x);

// ln Gamma(1 + a), -0.2 <= a <= 1.25.
double log_gamma_one_plus(const double *a);

// ln Gamma(a), a > 0.
double log_gamma_positive(const double *a);

// ln Gamma(a + b), 1 <= a <= 2 and 1 <= b <= 2.
double log_gamma_sum(const double *a, const double *b);

// ln(Gamma(b) / Gamma(a + b)), a > 0 and b >= 8.
double log_gamma_quotient(const double *a, const double *b);

// del(a) + del(b) - del(a + b), a >= 8 and b >= 8.
double stirling_corr_diff(const double *a0, const double *b0);

// ln Beta(a, b), a > 0 and b > 0; symmetric bit for bit.
double log_beta(const double *a0, const double *b0);

// Digamma psi(x) = d/dx ln Gamma(x); 0 at the poles (0 and the negative
// integers) and for x <= -2147483647.
double psi_function(const double *x);

} // namespace dist

#endif
