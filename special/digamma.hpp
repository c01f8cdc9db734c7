// Digamma function psi(x) = d/dx log Gamma(x) for positive arguments.
#ifndef SPECIAL_DIGAMMA_HPP
#define SPECIAL_DIGAMMA_HPP

namespace special {

// psi(x) for x > 0; x <= 0 gives NaN, NaN gives NaN, +Inf gives +Inf.
double digamma(double x);

} // namespace special

#endif
