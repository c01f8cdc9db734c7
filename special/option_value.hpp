// Option values on an asset with a continuous dividend yield: European
// options by the Black-Scholes formula, American options by the quadratic
// approximation of Barone-Adesi and Whaley.
#ifndef SPECIAL_OPTION_VALUE_HPP
#define SPECIAL_OPTION_VALUE_HPP

namespace special {

// European value for volatility sigma, asset price S, strike K, interest
// rate r, dividend yield delta and time to expiry T; a put when `put`.
// No guards: T = 0 or sigma = 0 give the discounted intrinsic value (0 at
// the money); a NaN d1 counts as +Inf in the normal CDF.
double euoption(bool put, double sigma, double S, double K, double r, double delta, double T);

// American value, the same arguments. Writes the European value to *ve and
// the critical asset price S* to *sstar, and when `steps` is given the
// number of Newton steps taken for S* (0 to 1000). A sigma outside
// (0, 1e8] gives NaN in all three results.
double amoption(bool put, double sigma, double S, double K, double r, double delta, double T, double *ve,
                double *sstar, int *steps = nullptr);

} // namespace special

#endif
