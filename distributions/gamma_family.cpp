#include "gamma_family.hpp"

#include "incomplete_gamma.hpp"

namespace dist {

void gamma_tails(const double *x, const double *a, double *cum, double *ccum) {
    if (!(*x > 0.0)) { // also a NaN point
        *cum = 0.0;
        *ccum = 1.0;
        return;
    }
    const int level = 0;
    incgamma_ratio(a, x, cum, ccum, &level);
}

void chisquare_tails(const double *x, const double *df, double *cum, double *ccum) {
    const double xx = *x * 0.5;
    const double a = *df * 0.5;
    gamma_tails(&xx, &a, cum, ccum);
}

void poisson_tails(const double *s, const double *lambda, double *cum, double *ccum) {
    // P(N <= s) = P(chi-square with 2(s+1) degrees of freedom > 2*lambda).
    const double df = (*s + 1.0) + (*s + 1.0);
    const double chi = *lambda + *lambda;
    chisquare_tails(&chi, &df, ccum, cum);
}

} // namespace dist
