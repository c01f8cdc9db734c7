// Incomplete gamma ratio: every method region against mpmath, the exact
// finite sums, the zero rule, failures and infinite arguments.
#include "incomplete_gamma.hpp"
#include "numeric_foundations.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <tuple>

using dist::incgamma_ratio;

namespace {
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct PQ {
    double p, q;
};

PQ ratio(double a, double x, int level = 0) {
    PQ r{-1.0, -1.0};
    incgamma_ratio(&a, &x, &r.p, &r.q, &level);
    return r;
}
} // namespace

TEST(IncGammaRatio, EveryMethodRegionMatchesReference) {
    // Both tails carry nearly full relative accuracy whichever one is formed
    // directly. Two effects of the arithmetic set the bounds: a prefactor
    // exp(E) carries the rounding of E (|E| up to a few hundred), and for
    // large a the rounding of x/a (1e-16) moves P by about sqrt(a)*1e-16,
    // the condition of P in x near the centre.
    std::map<int, int> seen;
    for (const auto &r : testutil::read_table("gamma_incgamma.txt")) {
        const double a = r[0], x = r[1], p = r[2], q = r[3];
        const int region = static_cast<int>(r[4]);
        ++seen[region];
        const PQ got = ratio(a, x);
        const double tol = 5e-14 + 1e-16 * std::sqrt(a);
        for (auto [g, w, what] : {std::tuple{got.p, p, "P"}, std::tuple{got.q, q, "Q"}}) {
            if (w < 1e-300) {
                EXPECT_LT(g, 1e-300) << what << " a=" << a << " x=" << x;
            } else {
                EXPECT_LT(testutil::rel_err(g, w), tol) << what << " a=" << a << " x=" << x << " region " << region;
            }
        }
    }
    for (int region = 0; region <= 17; ++region) EXPECT_GT(seen[region], 0) << "region " << region;
}

TEST(IncGammaRatio, FiniteSumsAreTheClosedForms) {
    // Integer a: Q = e^-x (1 + x + x^2/2); half-integer a starts from erfc.
    const PQ i3 = ratio(3, 5);
    EXPECT_EQ(i3.q, std::exp(-5.0) + 5 * std::exp(-5.0) / 1 + 5 * (5 * std::exp(-5.0) / 1) / 2);
    const PQ h = ratio(2.5, 4);
    const int unscaled = 0;
    const double two = 2;
    const double t0 = std::exp(-4.0) / (1.77245385090552 * 2);
    const double t1 = 4 * t0 / 0.5, t2 = 4 * t1 / 1.5;
    EXPECT_EQ(h.q, ((dist::error_fn_compl(&unscaled, &two) + t1) + t2));
    EXPECT_EQ(h.p, 0.5 + (0.5 - h.q));
}

TEST(IncGammaRatio, HalfShapeUsesErfBelowAQuarterAndErfcAbove) {
    const double x1 = 0.2, r1 = std::sqrt(x1), x2 = 0.25, r2 = std::sqrt(x2);
    const int unscaled = 0;
    EXPECT_EQ(ratio(0.5, x1).p, dist::error_fn(&r1));
    EXPECT_EQ(ratio(0.5, x2).q, dist::error_fn_compl(&unscaled, &r2));
    EXPECT_NEAR(ratio(0.5, x1).p, std::erf(r1), 1e-15);
    EXPECT_NEAR(ratio(0.5, x2).p, std::erf(r2), 1e-15);
}

TEST(IncGammaRatio, ZeroRuleOnlyForExactZeros) {
    struct Case {
        double a, x, p, q;
    } cases[] = {
        {0, 5, 1, 0}, {3, 0, 0, 1}, {1e-300, 0, 0, 1}, {0, 1e-300, 1, 0},
        // a*x underflows to 0 but neither is 0: P(1e-37, 1e-300) is 1 to
        // double precision, and P(1e-300, 1e-37) as well.
        {1e-37, 1e-300, 1, 6.9019828095314776e-35}, {1e-300, 1e-37, 1, 8.4618e-299},
        // x = +Inf: the prefactor is NaN and the zero rule gives (1, 0) in
        // every region.
        {0.3, kInf, 1, 0}, {0.5, kInf, 1, 0}, {3, kInf, 1, 0}, {2.5, kInf, 1, 0}, {1e5, kInf, 1, 0},
    };
    for (const auto &c : cases) {
        const PQ got = ratio(c.a, c.x);
        EXPECT_EQ(got.p, c.p) << c.a << " " << c.x;
        EXPECT_LT(testutil::rel_err(got.q, c.q), c.q == 0 ? 1e-300 : 1e-4) << c.a << " " << c.x;
    }
}

TEST(IncGammaRatio, FailuresWriteTwoAndLeaveQ) {
    struct Case {
        double a, x;
    } cases[] = {
        {0, 0}, {-1, 2}, {2, -1}, {kNaN, 1}, {1, kNaN}, {-kInf, 1},
        // Large a with x within rounding of a: the expansion cannot meet the
        // requested accuracy.
        {1e30, 1e30}, {1e29, 1e29},
    };
    for (const auto &c : cases) {
        PQ got = ratio(c.a, c.x);
        EXPECT_EQ(got.p, 2.0) << c.a << " " << c.x;
        EXPECT_EQ(got.q, -1.0) << c.a << " " << c.x;
    }
    // A large shape away from x is no failure: the tail underflows.
    EXPECT_EQ(ratio(1e30, 2e30).p, 1.0);
}

TEST(IncGammaRatio, LowerAccuracyLevelsStayWithinTheirTolerance) {
    struct Case {
        double a, x;
    } cases[] = {{0.3, 0.2}, {3, 2}, {1.7, 10}, {1.7, 40}, {100, 100}, {100, 80}, {100, 30}, {30, 31}, {12, 12.5}};
    for (const auto &c : cases) {
        const PQ full = ratio(c.a, c.x);
        EXPECT_LT(testutil::rel_err(ratio(c.a, c.x, 1).p, full.p), 1e-5) << c.a << " " << c.x;
        EXPECT_LT(testutil::rel_err(ratio(c.a, c.x, 7).p, full.p), 5e-3) << c.a << " " << c.x;
    }
}
