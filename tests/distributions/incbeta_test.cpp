// Log-gamma and log-beta functions, the prefactors and expansions of the
// incomplete beta ratio, and its driver: values against mpmath, the status
// codes, the choice of every method, and termination for extreme inputs.
#include "incbeta_methods.hpp"
#include "incbeta_ratio.hpp"
#include "log_gamma.hpp"
#include "numeric_foundations.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

using namespace dist;
using testutil::rel_err;

namespace {
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kEps = 1e-15;

struct Ratio {
    double w, w1;
    int ierr;
    IncbetaMethod method;
};

Ratio ratio(double a, double b, double x, double y) {
    Ratio r;
    incbeta_ratio_traced(&a, &b, &x, &y, &r.w, &r.w1, &r.ierr, &r.method);
    return r;
}

// Relative error, or the absolute one for references below 1e-300 (their
// relative accuracy is not claimed).
double err(double got, double want) { return std::fabs(want) < 1e-300 ? std::fabs(got - want) : rel_err(got, want); }
} // namespace

TEST(LogGamma, SmallArgumentFunctionsMatchReference) {
    struct Case {
        double x, want;
    };
    // x - ln(1 + x): both ends of the rational branch, its shifted parts and
    // the cancelling region near 0.
    for (const Case &c : {Case{0.57, 0.11892438063978329288}, Case{-0.39, 0.1042963218147801278},
                          Case{1e-5, 4.9999666669166654847e-11}, Case{0.3, 0.037635735532508945402},
                          Case{-0.2, 0.023143551314209758542}, Case{0.18, 0.014485561522426606987},
                          Case{-0.18, 0.01845093872383825329}}) {
        EXPECT_LT(rel_err(x_minus_log_one_plus(&c.x), c.want), 2e-15) << c.x;
    }
    const double zero = 0.0;
    EXPECT_EQ(x_minus_log_one_plus(&zero), 0.0);
    // ln(1 + a): the rational branch up to |a| = 0.375, the logarithm above.
    for (double a : {0.375, -0.375, 1e-10, -0.2, 0.376, 3.0}) {
        EXPECT_LT(rel_err(log_one_plus(&a), std::log1p(a)), 5e-16) << a;
    }
    // ln Gamma(1 + a) on both branches.
    for (const Case &c : {Case{-0.2, 0.15205967839983759949}, Case{0.1, -0.049872441259839726501},
                          Case{0.59, -0.11380920090284143158}, Case{0.6, -0.11259176569675578639},
                          Case{1.25, 0.1248717148923965943}}) {
        EXPECT_LT(rel_err(log_gamma_one_plus(&c.x), c.want), 3e-15) << c.x;
    }
}

TEST(LogGamma, ExpSumAvoidsIntermediateOverflowOnlyWhenCompensated) {
    struct Case {
        int mu;
        double x, want;
    } cases[] = {
        {1, 2.0, std::exp(1.0) * std::exp(2.0)},      // same signs: product
        {708, -750.0, std::exp(-42.0)},               // compensated: from the sum
        {750, -60.0, std::exp(750.0) * std::exp(-60.0)}, // sum keeps mu's sign: product (infinite)
        {-708, 750.0, std::exp(42.0)},
        {0, -3.0, std::exp(-3.0)},
    };
    for (const auto &c : cases) EXPECT_EQ(exp_sum(&c.mu, &c.x), c.want) << c.mu << " " << c.x;
}

TEST(LogGamma, LogGammaAndLogBetaMatchReferenceOnEveryBranch) {
    for (double a : {0.8, 0.81, 2.25, 2.26, 9.99, 10.0, 1e-8, 0.3, 5.5, 150.0, 1e10}) {
        EXPECT_LT(std::fabs(log_gamma_positive(&a) - std::lgamma(a)), 2e-15 * std::max(1.0, std::fabs(std::lgamma(a))))
            << a;
    }
    const double one = 1.0, two = 2.0;
    EXPECT_EQ(log_gamma_positive(&one), 0.0);
    EXPECT_EQ(log_gamma_positive(&two), 0.0);

    struct Pair {
        double a, b, want;
    };
    for (const Pair &c : {Pair{1, 1, 0.0}, Pair{1.3, 1.1, 0.21685932244884171885},
                          Pair{1.2, 1.8, 0.69314718055994530942}, Pair{2, 2, 1.7917594692280550008}}) {
        EXPECT_LT(std::fabs(log_gamma_sum(&c.a, &c.b) - c.want), 3e-16) << c.a << " " << c.b;
    }
    for (const Pair &c : {Pair{0.5, 8, -1.0241058962355834116}, Pair{3, 8, -6.5792512120101009951},
                          Pair{0.001, 100, -0.0046001668778045849849}, Pair{20, 9, -57.285140234436284754}}) {
        EXPECT_LT(rel_err(log_gamma_quotient(&c.a, &c.b), c.want), 1e-14) << c.a << " " << c.b;
    }
    for (const Pair &c : {Pair{8, 8, 0.015614874604334552554}, Pair{8, 1e4, 0.010411271923309686431},
                          Pair{45.5, 30, 0.0035054009708072703516}}) {
        EXPECT_LT(rel_err(stirling_corr_diff(&c.a, &c.b), c.want), 1e-14) << c.a << " " << c.b;
    }
    for (const Pair &c : {Pair{3.5, 2000, -25.40437141309705031}, Pair{3.5, 1000, -22.980540505459587928},
                          Pair{0.3, 5, 0.63421575609933531887}, Pair{0.3, 50, -0.075706136389551792079},
                          Pair{1.5, 1.7, -1.1019947621972199977}, Pair{1.5, 5.5, -2.7422194820266299235},
                          Pair{1.5, 20, -4.6328239111109117903}, Pair{4.5, 5.5, -6.3902769416203110968},
                          Pair{4.5, 50, -15.303824940983842521}, Pair{10, 20, -19.115327299887045363},
                          Pair{1e-10, 1e10, 23.025850927580150144}, Pair{1e6, 1e7, -3351003.0120031909289}}) {
        const double got = log_beta(&c.a, &c.b);
        EXPECT_LT(rel_err(got, c.want), 2e-14) << c.a << " " << c.b;
        EXPECT_EQ(log_beta(&c.b, &c.a), got); // arguments are ordered first
    }
}

TEST(LogGamma, PsiMatchesReferenceAndIsZeroAtPoles) {
    struct Case {
        double x, want;
    };
    for (const Case &c : {Case{0.5, -1.9635100260214234794}, Case{1, -0.57721566490153286061},
                          Case{2.5, 0.70315664064524318723}, Case{10, 2.2517525890667211076},
                          Case{1e5, 11.512920464961895087}, Case{-0.5, 0.036489973978576520559},
                          Case{1e-10, -10000000000.5772153}, Case{-2.7, -1.1153471291406896119}}) {
        EXPECT_LT(rel_err(psi_function(&c.x), c.want), 5e-15) << c.x;
    }
    for (double pole : {0.0, -2.0, -1.0, -3e9}) EXPECT_EQ(psi_function(&pole), 0.0) << pole;
}

TEST(IncbetaParts, PrefactorEndPointsValueAndScaling) {
    const double a = 2, b = 3, x = 0.4, y = 0.6, zero = 0, one = 1;
    EXPECT_EQ(beta_prefactor(&a, &b, &zero, &one), 0.0);
    EXPECT_EQ(beta_prefactor(&a, &b, &one, &zero), 0.0);
    EXPECT_LT(rel_err(beta_prefactor(&a, &b, &x, &y), 0.41472), 1e-15);

    // The scaled form with mu = 0 is the plain one on every branch, and with
    // mu = 708 it is exp(708) times it.
    struct Case {
        double a, b, x;
    } cases[] = {{20, 30, 0.3}, {2, 3, 0.4}, {0.5, 20, 0.01}, {0.5, 3.5, 0.2}, {0.5, 0.7, 0.6}, {3, 4, 0.9}};
    for (const auto &c : cases) {
        const double cy = 1 - c.x;
        const int mu0 = 0, mu = 708;
        const double plain = beta_prefactor(&c.a, &c.b, &c.x, &cy);
        EXPECT_EQ(beta_prefactor_scaled(&mu0, &c.a, &c.b, &c.x, &cy), plain) << c.a;
        EXPECT_LT(rel_err(beta_prefactor_scaled(&mu, &c.a, &c.b, &c.x, &cy), std::exp(708.0) * plain), 1e-13) << c.a;
    }
    // A prefactor far below the double range stays finite when scaled.
    const double ba = 300, bb = 300, bx = 0.01, by = 0.99;
    const int mu = 708;
    EXPECT_EQ(beta_prefactor(&ba, &bb, &bx, &by), 0.0);
    EXPECT_GT(beta_prefactor_scaled(&mu, &ba, &bb, &bx, &by), 0.0);
}

TEST(IncbetaParts, IncompleteGammaForSmallShape) {
    struct Case {
        double a, x, p, q, r;
    } cases[] = {
        {0.3, 0.5, 0.81381180467439266535, 0.18618819532560733465, 0.16468147110855227113},    // direct form
        {0.3, 0.05, 0.4484368621065927628, 0.5515631378934072372, 0.12944260808535243707},     // direct, x < 0.25
        {0.01, 0.5, 0.99437324380603281585, 0.005626756193967184147, 0.0060577832276139885846}, // Q first
        {0.02, 0.001, 0.88077223254644779442, 0.11922776745355220558, 0.017598182986376379369},
        {0.7, 3.0, 0.97444738771635648885, 0.025552612283643511152, 0.082757664681542599099},   // continued fraction
        {0.5, 0.2, 0.47291074313446192633, 0.52708925686553807367, 0.20657661898691133156},     // erf
        {0.5, 0.25, 0.52049987781304653768, 0.47950012218695346232, 0.21969564473386119852},   // erfc
    };
    for (const auto &c : cases) {
        double p, q;
        incgamma_small_a(&c.a, &c.x, &c.r, &p, &q, &kEps);
        EXPECT_LT(rel_err(p, c.p), 2e-14) << c.a << " " << c.x;
        EXPECT_LT(rel_err(q, c.q), 2e-14) << c.a << " " << c.x;
    }
    const double half = 0.5, x02 = 0.2, r = 1;
    double p, q;
    incgamma_small_a(&half, &x02, &r, &p, &q, &kEps);
    const double rx = std::sqrt(0.2);
    EXPECT_EQ(p, error_fn(&rx));
    const double zero = 0, three = 3;
    incgamma_small_a(&zero, &three, &r, &p, &q, &kEps);
    EXPECT_EQ(p, 1.0);
    EXPECT_EQ(q, 0.0);
    incgamma_small_a(&half, &zero, &r, &p, &q, &kEps);
    EXPECT_EQ(p, 0.0);
    EXPECT_EQ(q, 1.0);
}

TEST(IncbetaRatio, StatusCodesLeaveBothOutputsZero) {
    struct Case {
        double a, b, x, y;
        int ierr;
    } cases[] = {
        {-1, 2, 0.5, 0.5, 1},       {2, kNaN, 0.5, 0.5, 1},   {0, 0, 0.3, 0.7, 2},
        {2, 3, -0.1, 1.1, 3},       {2, 3, kNaN, 0.5, 3},     {2, 3, 0.5, 1.5, 4},
        {2, 3, 0.3, 0.7 + 1e-15, 5}, {0, 1, 0, 1, 6},         {1, 0, 1, 0, 7},
    };
    for (const auto &c : cases) {
        const Ratio r = ratio(c.a, c.b, c.x, c.y);
        EXPECT_EQ(r.ierr, c.ierr) << c.a << " " << c.b << " " << c.x;
        EXPECT_EQ(r.w, 0.0);
        EXPECT_EQ(r.w1, 0.0);
    }
    EXPECT_EQ(ratio(2, 3, 0.3, 0.7).ierr, 0); // the double nearest 0.7 passes the consistency check
}

TEST(IncbetaRatio, SpecialCases) {
    struct Case {
        double a, b, x, y, w, w1;
    } cases[] = {
        {1, 0, 0, 1, 0, 1},  {2, 3, 0, 1, 0, 1},         {2, 3, 1, 0, 1, 0},          {0, 3, 0.4, 0.6, 1, 0},
        {3, 0, 0.4, 0.6, 0, 1}, {1e-19, 1e-19, 0.3, 0.7, 0.5, 0.5}, {1e-19, 1e-19, 0.99, 0.01, 0.5, 0.5},
        {1e-19, 3e-19, 0.5, 0.5, 0.75, 0.25},
    };
    for (const auto &c : cases) {
        const Ratio r = ratio(c.a, c.b, c.x, c.y);
        EXPECT_EQ(r.ierr, 0);
        EXPECT_EQ(r.w, c.w) << c.a << " " << c.b << " " << c.x;
        EXPECT_EQ(r.w1, c.w1) << c.a << " " << c.b << " " << c.x;
    }
    // (1, 1): I_x = x through the power series, up to the rounding of exp(ln x).
    for (double x : {1e-300, 0.2, 0.37, 0.5, 0.8}) EXPECT_LT(rel_err(ratio(1, 1, x, 1 - x).w, x), 1e-13) << x;
}

TEST(IncbetaRatio, MatchesReferenceAndReachesEveryMethod) {
    const auto table = testutil::read_table("beta_incbeta.txt");
    ASSERT_GT(table.size(), 150u);
    std::set<IncbetaMethod> seen;
    double worst = 0, worst_swap = 0;
    for (const auto &row : table) {
        const double a = row[0], b = row[1], x = row[2], y = row[3];
        const Ratio r = ratio(a, b, x, y);
        ASSERT_EQ(r.ierr, 0);
        seen.insert(r.method);
        const double e = std::max(err(r.w, row[4]), err(r.w1, row[5]));
        worst = std::max(worst, e);
        EXPECT_LT(e, 1e-13) << "a=" << a << " b=" << b << " x=" << x << " method " << static_cast<int>(r.method);
        // Exchanging the roles of (a, x) and (b, y) exchanges the tails.
        const Ratio s = ratio(b, a, y, x);
        worst_swap = std::max({worst_swap, err(s.w, r.w1), err(s.w1, r.w)});
    }
    EXPECT_LT(worst_swap, 1e-13);
    for (IncbetaMethod m : {IncbetaMethod::special_case, IncbetaMethod::power_series, IncbetaMethod::power_series_compl,
                            IncbetaMethod::small_a_series, IncbetaMethod::small_b_series,
                            IncbetaMethod::large_a_expansion, IncbetaMethod::shift20_large_a,
                            IncbetaMethod::shift_power, IncbetaMethod::shift_large_a,
                            IncbetaMethod::shift_shift20_large_a, IncbetaMethod::cont_frac,
                            IncbetaMethod::asymptotic}) {
        EXPECT_TRUE(seen.count(m)) << "method " << static_cast<int>(m) << " never chosen";
    }
}

TEST(IncbetaRatio, MethodsChosenForTheNamedRegions) {
    struct Case {
        double a, b, x;
        IncbetaMethod m;
    } cases[] = {
        {1e-20, 2, 0.2, IncbetaMethod::small_a_series},
        {2, 1e-20, 0.2, IncbetaMethod::small_b_series},
        {200, 150, 200.0 / 350.0, IncbetaMethod::asymptotic},
        {50, 60, 0.05, IncbetaMethod::cont_frac},
        {50, 60, 0.5, IncbetaMethod::cont_frac}, // the smaller parameter is not above 100
        {50, 60, 0.95, IncbetaMethod::cont_frac},
        {1e6, 0.5, 0.99999, IncbetaMethod::large_a_expansion}, // after the swap to x0 = y
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ratio(c.a, c.b, c.x, 1 - c.x).method, c.m) << c.a << " " << c.b << " " << c.x;
    }
    const double w = ratio(200, 150, 200.0 / 350.0, 150.0 / 350.0).w;
    EXPECT_NEAR(w, 0.49795, 5e-6);
}

TEST(IncbetaRatio, InfiniteParametersGiveTheLimitOrNaN) {
    struct Case {
        double a, b, x, w;
    } cases[] = {
        {kInf, 2, 0.3, 0.0}, {kInf, 2, 0.999, 0.0}, {kInf, 1e-5, 0.5, 0.0},
        {2, kInf, 0.3, 1.0}, {2, kInf, 1e-300, 1.0}, {1e-5, kInf, 0.5, 1.0},
        {kInf, 2, 0.0, 0.0}, {2, kInf, 1.0, 1.0}, // end points keep their values
    };
    for (const auto &c : cases) {
        const Ratio r = ratio(c.a, c.b, c.x, 1 - c.x);
        EXPECT_EQ(r.ierr, 0);
        EXPECT_EQ(r.w, c.w) << c.a << " " << c.b << " " << c.x;
        EXPECT_EQ(r.w1, 1 - c.w) << c.a << " " << c.b << " " << c.x;
    }
    const Ratio both = ratio(kInf, kInf, 0.5, 0.5);
    EXPECT_TRUE(std::isnan(both.w));
    EXPECT_TRUE(std::isnan(both.w1));
}

TEST(IncbetaRatio, ExtremeFiniteParametersTerminateWithProbabilities) {
    // Every combination of huge, tiny and ordinary parameters at points
    // across (0, 1) must return; the result is a probability pair or NaN.
    const double shapes[] = {1e-300, 1e-37, 1e-10, 0.5, 1, 3, 1e10, 1e15, 1e100, 1e300, 1.7e308};
    const double xs[] = {1e-300, 1e-20, 0.1, 0.5, 0.9, 1 - 1e-12};
    for (double a : shapes)
        for (double b : shapes)
            for (double x : xs) {
                const Ratio r = ratio(a, b, x, 1 - x);
                ASSERT_EQ(r.ierr, 0);
                if (std::isnan(r.w)) continue;
                EXPECT_TRUE(r.w >= 0 && r.w <= 1 && r.w1 >= 0 && r.w1 <= 1) << a << " " << b << " " << x;
            }
}
