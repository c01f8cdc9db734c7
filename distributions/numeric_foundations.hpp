// Scalar building blocks of the distribution library: machine constants,
// exponent limits, Horner evaluation, the error function and its complement,
// exp(x) - 1, 1/Gamma(a+1) - 1, a rational log-gamma and small utilities.
//
// Every routine of the library takes its scalar arguments by address and
// returns a value or writes through output addresses; none keeps state.
#ifndef DISTRIBUTIONS_NUMERIC_FOUNDATIONS_HPP
#define DISTRIBUTIONS_NUMERIC_FOUNDATIONS_HPP

namespace dist {

// Integer machine constants, index 1 to 10: 1 integer base (2), 2 integer
// digits (31), 3 largest integer (2147483647), 4 floating base (2),
// 5 single digits (24), 6 smallest single exponent (-125), 7 largest single
// exponent (128), 8 double digits (53), 9 smallest double exponent (-1021),
// 10 largest double exponent (1024). Any other index gives 0.
int machine_int_param(const int *i);

// Real machine constants: index 1 or less the relative spacing 2^-52,
// 2 the smallest normalised double, 3 or more the largest double.
double machine_real_param(const int *i);

// A safe bound for arguments of exp: *l == 0 gives an upper limit (exp of it
// is finite, about 709.78), any other *l a lower limit (exp of it stays above
// the smallest normalised double, about -708.39).
double exp_arg_limit(const int *l);

// c[0] + c[1]*x + ... + c[n-1]*x^(n-1) by Horner's rule; *n >= 1.
double poly_eval(const double c[], const int *n, const double *x);

// erf(x).
double error_fn(const double *x);

// erfc(x) when *scaled == 0, otherwise exp(x*x)*erfc(x).
double error_fn_compl(const int *scaled, const double *x);

// exp(x) - 1 without cancellation for small |x|.
double exp_minus_one(const double *x);

// 1/Gamma(a+1) - 1 for -0.5 <= a <= 1.5.
double recip_gamma_minus_one(const double *a);

// ln Gamma(x) for x > 0.
double log_gamma_rational(const double *x);

// b when a < b or the comparison is unordered, else a.
double max_of(const double *a, const double *b);

// a when a < b or the comparison is unordered, else b.
double min_of(const double *a, const double *b);

// |a| with the sign of b; b = -0 counts as non-negative.
double sign_transfer(const double *a, const double *b);

// 0 when x < 1 or x is NaN; otherwise x truncated toward zero. Arguments at
// or above 2^31 do not fit a 32-bit int and give the largest one,
// 2147483647.
int trunc_to_int(const double *x);

} // namespace dist

#endif
