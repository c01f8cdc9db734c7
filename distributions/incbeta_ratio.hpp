// The regularised incomplete beta ratio
// I_x(a, b) = (1/Beta(a, b)) int_0^x t^(a-1) (1 - t)^(b-1) dt
// and its complement, both to close to full double precision.
#ifndef DISTRIBUTIONS_INCBETA_RATIO_HPP
#define DISTRIBUTIONS_INCBETA_RATIO_HPP

namespace dist {

// *w = I_x(a, b), *w1 = 1 - I_x(a, b) for a >= 0, b >= 0, 0 <= x <= 1 and
// y = 1 - x passed separately (so that a tail near x = 1 keeps its relative
// accuracy). The smaller tail is computed directly, the other as its
// complement 0.5 + (0.5 - v).
//
// *ierr: 0 success; 1 a < 0 or b < 0 (or NaN); 2 a = b = 0; 3 x outside
// [0, 1] (or NaN); 4 y outside [0, 1] (or NaN); 5 x + y differs from 1 by
// more than 3 machine epsilons; 6 x = 0 and a = 0; 7 y = 0 and b = 0. On
// every error both outputs are 0.
//
// An infinite parameter gives the limit of the distribution: all mass at 1
// for a = +inf (w = 0 for x < 1), at 0 for b = +inf (w = 1 for x > 0);
// both infinite leave the limit undefined and give NaN for 0 < x < 1.
void incbeta_ratio(const double *a, const double *b, const double *x, const double *y, double *w, double *w1,
                   int *ierr);

// The evaluation the driver chose, reported for tests and diagnostics.
enum class IncbetaMethod {
    special_case,          // end points, a zero parameter, both negligible, infinities
    power_series,          // incbeta_power_series(a0, b0, x0)
    power_series_compl,    // incbeta_power_series(b0, a0, y0)
    small_a_series,        // incbeta_small_a_series
    small_b_series,        // incbeta_small_b_series
    large_a_expansion,     // incbeta_large_a_expansion on (b0, a0, y0, x0)
    shift20_large_a,       // shift of b0 by 20, then the large-a expansion
    shift_power,           // shift of b0 by trunc(b0), then the power series
    shift_large_a,         // shift of b0 by trunc(b0), then the large-a expansion
    shift_shift20_large_a, // as shift_large_a with a further shift of a0 by 20
    cont_frac,             // incbeta_cont_frac
    asymptotic,            // incbeta_asymptotic
    error,                 // a nonzero status
};

// incbeta_ratio that also reports the evaluation it chose.
void incbeta_ratio_traced(const double *a, const double *b, const double *x, const double *y, double *w,
                          double *w1, int *ierr, IncbetaMethod *method);

} // namespace dist

#endif
