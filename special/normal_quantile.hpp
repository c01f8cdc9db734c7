// Standard normal quantile: sqrt(2)*erfinv(2p - 1) from a rational first
// guess refined by two Newton steps on Cody's error function.
#ifndef SPECIAL_NORMAL_QUANTILE_HPP
#define SPECIAL_NORMAL_QUANTILE_HPP

#include <cstddef>

namespace special {

// erf(x) by Cody's three ranges (cut-off 4 and 10), the coefficients of the
// normal CDF in the same Horner order. NaN counts as positive and gives 1.
double erf(double x);

// Phi^-1(p). Values outside [0, 1] give NaN, 0 and 1 give -Inf and +Inf.
// Probabilities within 1e-9 of 0 or 1 are taken from the tail probability
// itself (see normal_quantile.cpp).
double gaussquant(double p);

// x[i] = gaussquant(p[i]) for i < count, bit for bit, several probabilities
// at a time. x may be p.
void gaussquant_array(const double *p, double *x, std::size_t count);

// The positive z with Phi(-z) = q, for a tail probability 0 < q < 1e-9,
// to about full relative accuracy (z up to 38.5 at the smallest subnormal).
double normal_tail_quantile(double q);

} // namespace special

#endif
