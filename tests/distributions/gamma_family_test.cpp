// Gamma, chi-square and Poisson tails built on the incomplete gamma ratio.
#include "gamma_family.hpp"
#include "incomplete_gamma.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace dist;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

struct Tails {
    double cum, ccum;
};
template <class F>
Tails tails(F f, double u, double v) {
    Tails t{-1.0, -1.0};
    f(&u, &v, &t.cum, &t.ccum);
    return t;
}
} // namespace

TEST(GammaFamily, ClosedFormsAndSupportEnds) {
    const double e1 = std::exp(-1.0);
    struct Case {
        const char *what;
        Tails got;
        double cum, ccum, tol;
    } cases[] = {
        {"gamma x=0", tails(gamma_tails, 0, 2), 0, 1, 0},
        {"gamma x<0", tails(gamma_tails, -3, 2), 0, 1, 0},
        {"gamma x NaN", tails(gamma_tails, kNaN, 2), 0, 1, 0},
        {"gamma x=Inf", tails(gamma_tails, kInf, 2), 1, 0, 0},
        {"gamma shape 0", tails(gamma_tails, 0.5, 0), 1, 0, 0},
        {"chi2(2, 2)", tails(chisquare_tails, 2, 2), 1 - e1, e1, 1e-15},
        {"chi2 df 0", tails(chisquare_tails, 2, 0), 1, 0, 0},
        {"poisson(0, 1)", tails(poisson_tails, 0, 1), e1, 1 - e1, 1e-15},
        {"poisson(2, 4)", tails(poisson_tails, 2, 4), std::exp(-4.0) * 13, 1 - std::exp(-4.0) * 13, 1e-15},
        {"poisson(-1, 3)", tails(poisson_tails, -1, 3), 0, 1, 0},
    };
    for (const auto &c : cases) {
        EXPECT_LE(testutil::rel_err(c.got.cum, c.cum), c.tol) << c.what;
        EXPECT_LE(testutil::rel_err(c.got.ccum, c.ccum), c.tol) << c.what;
    }
}

TEST(GammaFamily, PoissonInterpolatesFractionalCountsAndKeepsSmallUpperTail) {
    const Tails t2 = tails(poisson_tails, 2, 1), t25 = tails(poisson_tails, 2.5, 1), t3 = tails(poisson_tails, 3, 1);
    EXPECT_LT(t2.cum, t25.cum);
    EXPECT_LT(t25.cum, t3.cum);
    double a = 3.5, x = 1, p, q;
    const int level = 0;
    incgamma_ratio(&a, &x, &p, &q, &level);
    EXPECT_EQ(t25.cum, q);

    // P(N > 30) for mean 1 is about 1e-34: formed directly, not as 1 - cum.
    const Tails far = tails(poisson_tails, 30, 1);
    EXPECT_EQ(far.cum, 1.0);
    EXPECT_LT(testutil::rel_err(far.ccum, 4.6180474610271923e-35), 1e-13);
}

TEST(GammaFamily, FailuresMarkTheFirstFilledOutput) {
    // gamma and chi-square mark cum; Poisson marks ccum and leaves cum.
    struct Case {
        const char *what;
        Tails got;
        double cum, ccum;
    } cases[] = {
        {"gamma shape -1", tails(gamma_tails, 1, -1), 2, -1},
        {"gamma shape NaN", tails(gamma_tails, 1, kNaN), 2, -1},
        {"chi2 df -2", tails(chisquare_tails, 1, -2), 2, -1},
        {"poisson count -2", tails(poisson_tails, -2, 1), -1, 2},
        {"poisson count NaN", tails(poisson_tails, kNaN, 1), -1, 2},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.got.cum, c.cum) << c.what;
        EXPECT_EQ(c.got.ccum, c.ccum) << c.what;
    }
}
