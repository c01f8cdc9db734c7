#include "beta_family.hpp"

#include "gamma_family.hpp"
#include "incbeta_ratio.hpp"
#include "numeric_foundations.hpp"

#include <cmath>
#include <limits>

namespace dist {

namespace {

const double kInf = std::numeric_limits<double>::infinity();

// F with an infinite number of degrees of freedom on one side: the scaled
// chi-square on the other side is all that remains random.
void fisher_f_limit(double f, double dfn, double dfd, double *cum, double *ccum) {
    if (dfn == kInf && dfd == kInf) {
        // Both mean squares equal their expectation: all mass at 1.
        *cum = f >= 1.0 ? 1.0 : 0.0;
        *ccum = 0.5 + (0.5 - *cum);
    } else if (dfd == kInf) {
        // F -> chi2(dfn)/dfn.
        const double x = dfn * f;
        chisquare_tails(&x, &dfn, cum, ccum);
    } else {
        // F -> dfd/chi2(dfd): F <= f exactly when chi2(dfd) >= dfd/f.
        const double x = dfd / f;
        chisquare_tails(&x, &dfd, ccum, cum);
    }
}

} // namespace

void beta_tails(const double *x, const double *y, const double *a, const double *b, double *cum, double *ccum) {
    if (!(*x > 0.0)) { // at or below 0, or NaN
        *cum = 0.0;
        *ccum = 1.0;
        return;
    }
    if (!(*y > 0.0)) {
        *cum = 1.0;
        *ccum = 0.0;
        return;
    }
    int ierr;
    incbeta_ratio(a, b, x, y, cum, ccum, &ierr);
}

void negbinomial_tails(const double *s, const double *xn, const double *pr, const double *ompr, double *cum,
                       double *ccum) {
    const double sp1 = *s + 1.0;
    beta_tails(pr, ompr, xn, &sp1, cum, ccum);
}

void fisher_f_tails(const double *f, const double *dfn, const double *dfd, double *cum, double *ccum) {
    if (!(*f > 0.0)) {
        *cum = 0.0;
        *ccum = 1.0;
        return;
    }
    if (*dfn == kInf || *dfd == kInf) {
        fisher_f_limit(*f, *dfn, *dfd, cum, ccum);
        return;
    }
    // x = dfd/(dfd + dfn f) and its complement; the smaller of the two is
    // always formed directly.
    const double prod = *dfn * *f;
    const double dsum = *dfd + prod;
    double xx = *dfd / dsum, yy;
    if (xx > 0.5) {
        yy = prod / dsum;
        xx = 1.0 - yy;
    } else {
        yy = 1.0 - xx;
    }
    const double a = *dfd / 2, b = *dfn / 2;
    int ierr;
    incbeta_ratio(&a, &b, &xx, &yy, ccum, cum, &ierr);
}

void student_t_tails(const double *t, const double *df, double *cum, double *ccum) {
    if (*df == kInf) {
        // The normal limit, each tail as 0.5 erfc(.) so that both keep their
        // relative accuracy.
        const double z = *t * 0.7071067811865476; // t / sqrt(2)
        if (std::isnan(z)) {
            *cum = 0.0;
            *ccum = 1.0;
            return;
        }
        const int unscaled = 0;
        const double mz = -z;
        *cum = 0.5 * error_fn_compl(&unscaled, &mz);
        *ccum = 0.5 * error_fn_compl(&unscaled, &z);
        return;
    }
    // P(|T| >= |t|) = I_x(df/2, 1/2) with x = df/(df + t^2).
    const double tt = *t * *t;
    const double dfptt = *df + tt;
    const double xx = *df / dfptt;
    const double yy = tt / dfptt;
    const double half_df = *df / 2, half = 0.5;
    double a, oma;
    beta_tails(&xx, &yy, &half_df, &half, &a, &oma);
    if (!(*t > 0.0)) {
        *cum = 0.5 * a;
        *ccum = oma + *cum;
    } else {
        *ccum = 0.5 * a;
        *cum = oma + *ccum;
    }
}

} // namespace dist
