// Inverse normal CDF and its error function: reference accuracy by range,
// the exact values and boundary rules, and the far-tail path.
#include "normal_quantile.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using special::gaussquant;

namespace {
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

TEST(Gaussquant, MatchesReferenceInEachRange) {
    auto table = testutil::read_table("special_gaussquant.txt");
    ASSERT_GT(table.size(), 400u);
    // Worst relative error by distance of p from 0 or 1: the two Newton
    // steps on erf leave about 1e-9 where 2p - 1 is within 2e-9 of +-1;
    // the far tails are solved from the tail probability itself.
    struct Range {
        double lo, hi, bound, worst;
    } ranges[] = {{0, 1e-9, 1e-15, 0}, {1e-9, 1e-6, 2e-9, 0}, {1e-6, 1e-3, 1e-11, 0}, {1e-3, 0.5, 4e-15, 0}};
    for (const auto &r : table) {
        const double p = r[0], tail = std::min(p, 1.0 - p);
        for (auto &g : ranges)
            if (tail >= g.lo && tail < g.hi) g.worst = std::max(g.worst, testutil::rel_err(gaussquant(p), r[1]));
    }
    for (const auto &g : ranges) EXPECT_LT(g.worst, g.bound) << "tail probability in [" << g.lo << ", " << g.hi << ")";
}

TEST(Gaussquant, ExactValuesAndBoundaries) {
    struct Case {
        double p, want, tol;
    } cases[] = {
        {0.5, 0.0, 0},
        {0.975, 1.9599639845400538, 0},
        {0.025, -1.9599639845400538, 0},
        {0.999, 3.0902323061678132, 1e-15},
        {1e-9, -5.9978070150076865, 2e-9}, // kept on the 2p - 1 form
        {0.0, -kInf, 0},
        {1.0, kInf, 0},
        {-0.0, -kInf, 0},
        {1e-300, -37.047096299361201, 1e-15}, // 2p - 1 would round to -1
        {5e-324, -38.467405617144344, 1e-15},
        {1.0 - 1.1102230246251565e-16, 8.2095361516013874, 1e-15},
    };
    for (const auto &c : cases) {
        const double got = gaussquant(c.p);
        if (c.tol == 0) {
            EXPECT_EQ(got, c.want) << c.p;
        } else {
            EXPECT_LT(testutil::rel_err(got, c.want), c.tol) << c.p;
        }
    }
    for (double p : {-0.1, 1.5, -kInf, kInf, kNaN, -1e-300, 1.0000000000000002}) EXPECT_TRUE(std::isnan(gaussquant(p))) << p;
}

TEST(Gaussquant, AntisymmetricAndMonotoneAcrossTheTailSwitch) {
    // Where 1 - q and 2q - 1 are exact, the quantiles of q and 1 - q are
    // exact negatives, in every range and on the tail path.
    for (double q : {0.375, 0.1171875, 0.0009765625, 3 * 0x1p-20, 0x1p-29, 0x1p-31, 0x1p-53}) {
        ASSERT_EQ(1.0 - (1.0 - q), q);
        EXPECT_EQ(gaussquant(1.0 - q), -gaussquant(q)) << q;
    }
    // Around the switch at 1e-9 the two forms agree to their accuracy and
    // the quantile keeps increasing.
    double prev = -kInf;
    for (double p = 0.98e-9; p < 1.02e-9; p += 1e-12) {
        const double z = gaussquant(p);
        EXPECT_GT(z, prev) << p;
        prev = z;
    }
    const double below = gaussquant(std::nextafter(1e-9, 0.0)), at = gaussquant(1e-9);
    EXPECT_LT(std::fabs(below - at) / std::fabs(at), 2e-9);
}

TEST(Gaussquant, ErrorFunctionRangesAndLimits) {
    // Against the C library's erf, across all three ranges and both signs.
    double worst = 0;
    for (double x = -9.99; x < 10.0; x += 0.0173) {
        const double want = std::erf(x);
        worst = std::max(worst, std::fabs(special::erf(x) - want) / std::max(std::fabs(want), 1e-300));
    }
    EXPECT_LT(worst, 1e-15);
    struct Case {
        double x, want;
    } cases[] = {{0.0, 0.0}, {10.0, 1.0}, {-10.0, -1.0}, {kInf, 1.0}, {-kInf, -1.0}, {kNaN, 1.0}};
    for (const auto &c : cases) EXPECT_EQ(special::erf(c.x), c.want) << c.x;
    EXPECT_LT(special::erf(-9.99), -1.0 + 1e-15);
}
