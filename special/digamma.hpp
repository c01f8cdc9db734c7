// Digamma function psi(x) = d/dx log Gamma(x) for positive arguments.
#ifndef SPECIAL_DIGAMMA_HPP
#define SPECIAL_DIGAMMA_HPP

#include <cstddef>

namespace special {

// psi(x) for x > 0; x <= 0 gives NaN, NaN gives NaN, +Inf gives +Inf.
double digamma(double x);

// y[i] = digamma(x[i]) for i < count, bit for bit, several arguments at a
// time. y may be x.
void digamma_array(const double *x, double *y, std::size_t count);

} // namespace special

#endif
