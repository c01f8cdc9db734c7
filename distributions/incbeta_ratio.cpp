// Driver of the incomplete beta ratio: checks the arguments, handles the end
// points, and chooses from a, b, x and y the evaluation that gives the
// smaller tail to full accuracy; the other tail is its complement.
#include "incbeta_ratio.hpp"

#include "incbeta_methods.hpp"
#include "numeric_foundations.hpp"

#include <cmath>
#include <limits>
#include <utility>

namespace dist {

namespace {

// Tail complement, formed so that no accuracy is lost when v is near 0.5.
double compl_of(double v) { return 0.5 + (0.5 - v); }

double min2(double u, double v) { return min_of(&u, &v); }
double max2(double u, double v) { return max_of(&u, &v); }

} // namespace

void incbeta_ratio_traced(const double *ap, const double *bp, const double *xp, const double *yp, double *w,
                          double *w1, int *ierr, IncbetaMethod *method) {
    const double a = *ap, b = *bp, x = *xp, y = *yp;
    *w = 0.0;
    *w1 = 0.0;
    *method = IncbetaMethod::error;
    const int one = 1;
    const double eps_m = machine_real_param(&one);

    if (!(a >= 0.0) || !(b >= 0.0)) {
        *ierr = 1;
        return;
    }
    if (a == 0.0 && b == 0.0) {
        *ierr = 2;
        return;
    }
    if (!(x >= 0.0 && x <= 1.0)) {
        *ierr = 3;
        return;
    }
    if (!(y >= 0.0 && y <= 1.0)) {
        *ierr = 4;
        return;
    }
    const double z = ((x + y) - 0.5) - 0.5;
    if (std::fabs(z) > 3.0 * eps_m) {
        *ierr = 5;
        return;
    }
    if (x == 0.0 && a == 0.0) {
        *ierr = 6;
        return;
    }
    if (y == 0.0 && b == 0.0) {
        *ierr = 7;
        return;
    }
    *ierr = 0;
    *method = IncbetaMethod::special_case;

    if (x == 0.0) {
        *w = 0.0;
        *w1 = 1.0;
        return;
    }
    if (y == 0.0) {
        *w = 1.0;
        *w1 = 0.0;
        return;
    }
    if (a == 0.0) {
        *w = 1.0;
        *w1 = 0.0;
        return;
    }
    if (b == 0.0) {
        *w = 0.0;
        *w1 = 1.0;
        return;
    }
    const double eps = max2(eps_m, 1e-15); // accuracy target of every method
    if (max2(a, b) < 0.001 * eps) {
        // Both parameters negligible: the mass sits at the two ends in the
        // proportion b : a, whatever x is.
        *w = b / (a + b);
        *w1 = a / (a + b);
        return;
    }
    // An infinite parameter moves all mass to one end (0 < x < 1 here); the
    // methods below assume finite parameters and would not end.
    const double inf = std::numeric_limits<double>::infinity();
    if (a == inf || b == inf) {
        if (a == inf && b == inf) {
            *w = std::numeric_limits<double>::quiet_NaN();
            *w1 = *w;
        } else {
            *w = a == inf ? 0.0 : 1.0;
            *w1 = compl_of(*w);
        }
        return;
    }

    double a0 = a, b0 = b, x0 = x, y0 = y;
    bool ind = false;
    const auto swap_args = [&]() {
        a0 = b;
        b0 = a;
        x0 = y;
        y0 = x;
        ind = true;
    };
    const double eps15 = 15.0 * eps;

    // The outcomes shared by both parameter regions.
    const auto power_lower = [&]() {
        *w = incbeta_power_series(&a0, &b0, &x0, &eps);
        *w1 = compl_of(*w);
        *method = IncbetaMethod::power_series;
    };
    const auto power_upper = [&]() {
        *w1 = incbeta_power_series(&b0, &a0, &y0, &eps);
        *w = compl_of(*w1);
        *method = IncbetaMethod::power_series_compl;
    };
    // Large-a expansion of the upper tail, optionally after shifting b0 by
    // 20 so that the expansion's parameter is large enough.
    const auto large_a_upper = [&](bool shift20) {
        *w1 = 0.0;
        *method = IncbetaMethod::large_a_expansion;
        if (shift20) {
            const int n20 = 20;
            *w1 = incbeta_shift_sum(&b0, &a0, &y0, &x0, &n20, &eps);
            b0 = b0 + 20.0;
            *method = IncbetaMethod::shift20_large_a;
        }
        int status = 0; // a failed expansion leaves the running value as it is
        incbeta_large_a_expansion(&b0, &a0, &y0, &x0, w1, &eps15, &status);
        *w = compl_of(*w1);
    };

    if (min2(a, b) <= 1.0) {
        if (x > 0.5) swap_args();
        if (b0 < min2(eps, eps * a0)) {
            *w = incbeta_small_b_series(&a0, &b0, &x0, &eps);
            *w1 = compl_of(*w);
            *method = IncbetaMethod::small_b_series;
        } else if (a0 < min2(eps, eps * b0) && b0 * x0 <= 1.0) {
            *w1 = incbeta_small_a_series(&a0, &b0, &x0, &eps);
            *w = compl_of(*w1);
            *method = IncbetaMethod::small_a_series;
        } else if (max2(a0, b0) > 1.0) {
            if (b0 <= 1.0) {
                power_lower();
            } else if (x0 >= 0.3) {
                power_upper();
            } else if (x0 < 0.1 && std::pow(x0 * b0, a0) <= 0.7) {
                power_lower();
            } else {
                large_a_upper(!(b0 > 15.0));
            }
        } else {
            if (a0 >= min2(0.2, b0)) {
                power_lower();
            } else if (std::pow(x0, a0) <= 0.9) {
                power_lower();
            } else if (x0 >= 0.3) {
                power_upper();
            } else {
                large_a_upper(true);
            }
        }
    } else {
        // Both parameters above 1: lambda measures the distance of x from
        // the mean a/(a + b); the swap puts x below the mean.
        double lambda = beta_mean_distance(ap, bp, xp, yp);
        if (lambda < 0.0) {
            swap_args();
            lambda = std::fabs(lambda);
        }
        if (b0 < 40.0 && b0 * x0 <= 0.7) {
            power_lower();
        } else if (b0 < 40.0) {
            // Shift b0 down to (0, 1] by a finite sum, then a method for b0 <= 1.
            int n = static_cast<int>(b0);
            b0 = b0 - n;
            if (b0 == 0.0) {
                n = n - 1;
                b0 = 1.0;
            }
            *w = incbeta_shift_sum(&b0, &a0, &y0, &x0, &n, &eps);
            if (x0 <= 0.7) {
                *w = *w + incbeta_power_series(&a0, &b0, &x0, &eps);
                *method = IncbetaMethod::shift_power;
            } else {
                *method = IncbetaMethod::shift_large_a;
                if (a0 <= 15.0) {
                    const int n20 = 20;
                    *w = *w + incbeta_shift_sum(&a0, &b0, &x0, &y0, &n20, &eps);
                    a0 = a0 + 20.0;
                    *method = IncbetaMethod::shift_shift20_large_a;
                }
                int status = 0;
                incbeta_large_a_expansion(&a0, &b0, &x0, &y0, w, &eps15, &status);
            }
            *w1 = compl_of(*w);
        } else {
            const double smaller = a0 > b0 ? b0 : a0;
            if (smaller > 100.0 && lambda <= 0.03 * smaller) {
                const double eps100 = 100.0 * eps;
                *w = incbeta_asymptotic(&a0, &b0, &lambda, &eps100);
                *method = IncbetaMethod::asymptotic;
            } else {
                *w = incbeta_cont_frac(&a0, &b0, &x0, &y0, &lambda, &eps15);
                *method = IncbetaMethod::cont_frac;
            }
            *w1 = compl_of(*w);
        }
    }
    if (ind) std::swap(*w, *w1);
}

void incbeta_ratio(const double *a, const double *b, const double *x, const double *y, double *w, double *w1,
                   int *ierr) {
    IncbetaMethod method;
    incbeta_ratio_traced(a, b, x, y, w, w1, ierr, &method);
}

} // namespace dist
