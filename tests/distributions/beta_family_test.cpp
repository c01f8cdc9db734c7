// Beta, negative binomial, F and t tails: the edge cases of each function,
// the limits for infinite parameters and the guards against overflow.
#include "beta_family.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace dist;
using testutil::rel_err;

namespace {
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Tails {
    double cum, ccum;
};
Tails beta(double x, double a, double b) {
    Tails t;
    const double y = 1 - x;
    beta_tails(&x, &y, &a, &b, &t.cum, &t.ccum);
    return t;
}
Tails negbin(double s, double xn, double pr) {
    Tails t;
    const double ompr = 1 - pr;
    negbinomial_tails(&s, &xn, &pr, &ompr, &t.cum, &t.ccum);
    return t;
}
Tails fdist(double f, double dfn, double dfd) {
    Tails t;
    fisher_f_tails(&f, &dfn, &dfd, &t.cum, &t.ccum);
    return t;
}
Tails tdist(double x, double df) {
    Tails t;
    student_t_tails(&x, &df, &t.cum, &t.ccum);
    return t;
}
} // namespace

TEST(BetaFamily, ValuesAndEdgeCasesOfEachFunction) {
    struct Case {
        const char *what;
        Tails got;
        double cum, ccum, tol;
    } cases[] = {
        {"beta 0.4", beta(0.4, 2, 3), 0.5248, 0.4752, 1e-15},
        {"beta above 1", beta(1.2, 2, 3), 1, 0, 0},
        {"beta below 0", beta(-0.1, 2, 3), 0, 1, 0},
        {"beta NaN", beta(kNaN, 2, 3), 0, 1, 0},
        {"negbin median", negbin(2, 3, 0.5), 0.5, 0.5, 1e-15},
        {"negbin pr 0", negbin(2, 3, 0), 0, 1, 0},
        {"negbin pr 1", negbin(2, 3, 1), 1, 0, 0},
        {"negbin s = -1", negbin(-1, 3, 0.5), 0, 1, 0},    // b = 0 in the ratio
        {"negbin s < -1", negbin(-1.5, 3, 0.5), 0, 0, 0},  // rejected by the ratio
        {"negbin fractional", negbin(0.5, 3, 0.5), 0.21555, 0.78445, 2e-5},
        {"F median", fdist(1, 7, 7), 0.5, 0.5, 1e-15},
        {"F +inf", fdist(kInf, 3, 4), 1, 0, 0},
        {"F zero", fdist(0, 3, 4), 0, 1, 0},
        {"F NaN", fdist(kNaN, 3, 4), 0, 1, 0},
        {"t zero", tdist(0, 3), 0.5, 0.5, 0},
        {"t Cauchy", tdist(1, 1), 0.75, 0.25, 1e-15},
        {"t +inf", tdist(kInf, 3), 1, 0, 0},
        {"t -inf", tdist(-kInf, 3), 0, 1, 0},
        {"t NaN", tdist(kNaN, 3), 0, 1, 0},
    };
    for (const auto &c : cases) {
        EXPECT_LE(rel_err(c.got.cum, c.cum), c.tol) << c.what << ": cum " << c.got.cum;
        EXPECT_LE(rel_err(c.got.ccum, c.ccum), c.tol) << c.what << ": ccum " << c.got.ccum;
    }
    // The smaller tail is computed directly, so deep tails keep their digits.
    EXPECT_LT(rel_err(tdist(-1e5, 3).cum, 1.10265779044663e-15), 1e-12);
    EXPECT_LT(rel_err(tdist(1e5, 3).ccum, 1.10265779044663e-15), 1e-12);
}

TEST(BetaFamily, InfiniteParametersGiveTheLimitingDistribution) {
    // Beta with an infinite shape: all mass at one end.
    EXPECT_EQ(beta(0.7, kInf, 2).cum, 0.0);
    EXPECT_EQ(beta(0.7, 2, kInf).cum, 1.0);
    EXPECT_TRUE(std::isnan(beta(0.7, kInf, kInf).cum));
    // Infinitely many successes required: never at most s failures.
    EXPECT_EQ(negbin(5, kInf, 0.5).cum, 0.0);
    // t with infinite degrees of freedom is the standard normal, both tails
    // to full relative accuracy.
    struct Normal {
        double t, lower;
    } normal[] = {{-1.96, 0.024997895148220435}, {0.5, 0.69146246127401310}, {-30, 4.906713927148187e-198}};
    for (const auto &n : normal) {
        EXPECT_LT(rel_err(tdist(n.t, kInf).cum, n.lower), 1e-13) << n.t;
        EXPECT_LT(rel_err(tdist(-n.t, kInf).ccum, n.lower), 1e-13) << n.t;
    }
    // F with an infinite side: the chi-square limits.
    // dfd = inf: P(chi2(4)/4 <= 1.5) = 1 - e^-3 (1 + 3).
    EXPECT_LT(rel_err(fdist(1.5, 4, kInf).cum, 1 - std::exp(-3.0) * 4), 1e-14);
    // dfn = inf: P(4/chi2(4) <= 2) = P(chi2(4) >= 2) = e^-1 (1 + 1).
    EXPECT_LT(rel_err(fdist(2, kInf, 4).cum, std::exp(-1.0) * 2), 1e-14);
    EXPECT_EQ(fdist(0.9, kInf, kInf).cum, 0.0);
    EXPECT_EQ(fdist(1.1, kInf, kInf).cum, 1.0);
}
