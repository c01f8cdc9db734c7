// European and American option values as plain functions: the
// Black-Scholes reference, the quoted contracts, the boundary rules and the
// mended cases (expiry, zero rate, short expiry).
#include "option_value.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using special::amoption;
using special::euoption;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Contract {
    bool put;
    double sigma, S, K, r, delta, T;
};

double american(const Contract &c, double *ve = nullptr, double *sstar = nullptr, int *steps = nullptr) {
    double v1, v2;
    return amoption(c.put, c.sigma, c.S, c.K, c.r, c.delta, c.T, ve ? ve : &v1, sstar ? sstar : &v2, steps);
}
} // namespace

TEST(Euoption, MatchesBlackScholes) {
    auto table = testutil::read_table("special_euoption.txt");
    ASSERT_GT(table.size(), 300u);
    double worst_abs = 0, worst_rel = 0;
    for (const auto &r : table) {
        const double v = euoption(r[0] == 1.0, r[1], r[2], r[3], r[4], r[5], r[6]), want = r[7];
        // Puts come from the call by parity and far out-of-the-money values
        // from a difference of two large terms: the error scales with the
        // prices, not with the value.
        worst_abs = std::max(worst_abs, std::fabs(v - want) / std::max(r[2], r[3]));
        if (want > 1e-3 * r[3]) worst_rel = std::max(worst_rel, testutil::rel_err(v, want));
    }
    EXPECT_LT(worst_abs, 2e-15);
    EXPECT_LT(worst_rel, 5e-13);
}

TEST(Euoption, BoundaryRules) {
    struct Case {
        Contract c;
        double want, tol; // tol 0: exact
    } cases[] = {
        {{false, 0.2, 100, 100, 0.05, 0, 1}, 10.450583572185565, 1e-13},
        {{true, 0.2, 100, 100, 0.05, 0, 1}, 5.5735260222569671, 1e-13},
        // T = 0: the intrinsic value (d1 = +-Inf; at the money d1 = 0/0
        // counts as +Inf and both terms cancel).
        {{false, 0.2, 110, 100, 0.05, 0.02, 0}, 10, 0},
        {{true, 0.2, 110, 100, 0.05, 0.02, 0}, 0, 0},
        {{false, 0.2, 90, 100, 0.05, 0.02, 0}, 0, 0},
        {{true, 0.2, 90, 100, 0.05, 0.02, 0}, 10, 0},
        {{false, 0.2, 100, 100, 0.05, 0.02, 0}, 0, 0},
        {{true, 0.2, 100, 100, 0.05, 0.02, 0}, 0, 0},
        // sigma = 0: the discounted intrinsic value.
        {{false, 0, 100, 100, 0.05, 0, 1}, 100 - 100 * std::exp(-0.05), 1e-15},
        {{true, 0, 90, 100, 0.05, 0, 1}, 100 * std::exp(-0.05) - 90, 1e-15},
        // A NaN sigma: the normal CDF of this constant set takes NaN as +Inf.
        {{false, kNaN, 100, 100, 0.05, 0, 1}, 100 - 100 * std::exp(-0.05), 1e-15},
        {{true, kNaN, 100, 100, 0.05, 0, 1}, 0, 1e-13},
    };
    for (const auto &k : cases) {
        const Contract &c = k.c;
        const double got = euoption(c.put, c.sigma, c.S, c.K, c.r, c.delta, c.T);
        if (k.tol == 0) {
            EXPECT_EQ(got, k.want) << c.put << " S=" << c.S << " T=" << c.T;
        } else {
            EXPECT_NEAR(got, k.want, k.tol * std::max(std::fabs(k.want), 1.0)) << c.put << " sigma=" << c.sigma;
        }
    }
    EXPECT_TRUE(std::isnan(euoption(false, 0.2, kNaN, 100, 0.05, 0, 1)));
    EXPECT_TRUE(std::isnan(euoption(true, 0.2, 100, kNaN, 0.05, 0, 1)));
}

TEST(Amoption, QuotedContracts) {
    struct Case {
        Contract c;
        double value, european, sstar, tol_sstar;
    } cases[] = {
        {{true, 0.25, 100, 100, 0.1, 0, 0.5}, 5.2295, 4.7052, 84.39, 5e-3},
        {{false, 0.2, 100, 100, 0.08, 0.12, 0.25}, 3.5249, 3.4211, 114.54, 5e-3},
    };
    for (const auto &k : cases) {
        double ve, sstar;
        int steps;
        const double v = american(k.c, &ve, &sstar, &steps);
        EXPECT_NEAR(v, k.value, 5e-5);
        EXPECT_NEAR(ve, k.european, 5e-5);
        EXPECT_NEAR(sstar, k.sstar, k.tol_sstar);
        EXPECT_EQ(steps, 5);
        EXPECT_EQ(ve, euoption(k.c.put, k.c.sigma, k.c.S, k.c.K, k.c.r, k.c.delta, k.c.T));
    }
}

TEST(Amoption, ExerciseRegionGivesTheIntrinsicValueExactly) {
    const Contract call{false, 0.2, 100, 100, 0.08, 0.12, 0.25}, put{true, 0.25, 100, 100, 0.1, 0, 0.5};
    double sc, sp;
    american(call, nullptr, &sc);
    american(put, nullptr, &sp);
    for (double S : {sc, sc + 1e-9, 130.0, 1e6}) {
        Contract c = call;
        c.S = S;
        EXPECT_EQ(american(c), S - 100) << S;
    }
    for (double S : {sp, sp - 1e-9, 50.0, 0.0}) {
        Contract c = put;
        c.S = S;
        EXPECT_EQ(american(c), 100 - S) << S;
    }
    // Just outside, the value is the European value plus a positive premium
    // and stays above the intrinsic value.
    Contract c = call;
    c.S = sc - 0.5;
    double ve;
    const double v = american(c, &ve);
    EXPECT_GT(v, ve);
    EXPECT_GT(v, c.S - c.K);
}

TEST(Amoption, CallWithoutDividendsIsEuropean) {
    // No finite critical price: the iteration runs its full 1000 steps.
    for (double S : {60.0, 100.0, 140.0, 400.0}) {
        const Contract c{false, 0.3, S, 100, 0.06, 0.0, 1.5};
        double ve, sstar;
        int steps;
        EXPECT_EQ(american(c, &ve, &sstar, &steps), ve) << S;
        EXPECT_EQ(steps, 1000);
    }
}

TEST(Amoption, SigmaOutsideItsRangeGivesNaNEverywhere) {
    for (double sigma : {0.0, -0.2, 1.0000000000000002e8, std::numeric_limits<double>::infinity()}) {
        double ve = 1, sstar = 1;
        EXPECT_TRUE(std::isnan(american({true, sigma, 100, 100, 0.05, 0, 1}, &ve, &sstar))) << sigma;
        EXPECT_TRUE(std::isnan(ve));
        EXPECT_TRUE(std::isnan(sstar));
    }
    EXPECT_FALSE(std::isnan(american({true, 1e8, 100, 100, 0.05, 0, 1})));
}

TEST(Amoption, ExpiryZeroRateAndShortExpiry) {
    // At expiry: the intrinsic value, S* = K.
    struct Case {
        Contract c;
        double value;
    } at_expiry[] = {
        {{false, 0.2, 110, 100, 0.05, 0.03, 0}, 10}, {{true, 0.2, 110, 100, 0.05, 0.03, 0}, 0},
        {{false, 0.2, 90, 100, 0.05, 0.03, 0}, 0},   {{true, 0.2, 90, 100, 0.05, 0.03, 0}, 10},
        {{false, 0.2, 100, 100, 0.05, 0.0, 0}, 0},   {{true, 0.2, 100, 100, 0.05, 0.0, 0}, 0},
    };
    for (const auto &k : at_expiry) {
        double ve, sstar;
        EXPECT_EQ(american(k.c, &ve, &sstar), k.value) << k.c.put << " S=" << k.c.S;
        EXPECT_EQ(ve, k.value);
        EXPECT_EQ(sstar, k.c.K);
    }
    // r = 0 (and any r with exp(-r T) == 1) uses the limit of the 0/0 term:
    // finite and continuous with small positive rates.
    for (bool put : {false, true}) {
        const Contract zero{put, 0.2, 100, 100, 0.0, 0.03, 1}, tiny{put, 0.2, 100, 100, 1e-9, 0.03, 1};
        double ve;
        const double v0 = american(zero, &ve);
        EXPECT_TRUE(std::isfinite(v0)) << put;
        EXPECT_GE(v0, ve) << put;
        EXPECT_NEAR(v0, american(tiny), 1e-6) << put;
        EXPECT_EQ(american(zero), american({put, 0.2, 100, 100, 1e-17, 0.03, 1})) << put;
    }
    // Hours to expiry: S^q overflows and S*^(1-q) underflows in the premium.
    for (double T : {1e-12, 1e-6, 1.0 / (365 * 24), 1.0 / 365}) {
        for (bool put : {false, true}) {
            const Contract c{put, 0.2, put ? 95.0 : 105.0, 100, 0.05, 0.03, T};
            double ve;
            const double v = american(c, &ve);
            EXPECT_TRUE(std::isfinite(v)) << T << " " << put;
            EXPECT_GE(v, ve) << T << " " << put;
            EXPECT_NEAR(v, 5.0, 0.2) << T << " " << put;
        }
    }
}

TEST(Amoption, NeverBelowEuropeanOrIntrinsicValue) {
    for (bool put : {false, true})
        for (double sigma : {0.05, 0.2, 0.6})
            for (double S : {50.0, 90.0, 100.0, 115.0, 200.0})
                for (double r : {0.0, 0.03, 0.1})
                    for (double delta : {0.0, 0.04, 0.12})
                        for (double T : {0.01, 0.5, 3.0}) {
                            const Contract c{put, sigma, S, 100, r, delta, T};
                            double ve, sstar;
                            const double v = american(c, &ve, &sstar);
                            const double intrinsic = put ? 100 - S : S - 100;
                            ASSERT_TRUE(std::isfinite(v)) << put << sigma << " " << S << " " << r << " " << delta << " " << T;
                            EXPECT_GE(v, ve - 1e-9 * 100) << put << sigma << " " << S << " " << r << " " << delta << " " << T;
                            EXPECT_GE(v, intrinsic - 1e-9 * 100) << put << sigma << " " << S << " " << r << " " << delta << " " << T;
                        }
}
