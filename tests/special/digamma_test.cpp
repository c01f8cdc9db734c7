// Digamma function: reference accuracy, exact values, the non-positive and
// non-finite arguments, and tiny arguments.
#include "digamma.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using special::digamma;

TEST(Digamma, MatchesReference) {
    auto table = testutil::read_table("special_digamma.txt");
    ASSERT_GT(table.size(), 400u);
    // Error relative to max(|psi|, 1): psi has a root at 1.4616.
    struct Range {
        double lo, hi, bound, worst;
    } ranges[] = {{0, 1e-8, 1e-15, 0},   {1e-8, 1e-6, 1e-15, 0}, {1e-6, 1.0, 2e-15, 0},
                  {1.0, 10.0, 2e-15, 0}, {10.0, 1e16, 1e-15, 0}};
    for (const auto &r : table) {
        const double x = r[0], err = std::fabs(digamma(x) - r[1]) / std::max(std::fabs(r[1]), 1.0);
        for (auto &g : ranges)
            if (x >= g.lo && x < g.hi) g.worst = std::max(g.worst, err);
    }
    for (const auto &g : ranges) EXPECT_LT(g.worst, g.bound) << "x in [" << g.lo << ", " << g.hi << ")";
}

TEST(Digamma, ExactValuesAndEdges) {
    const double kInf = std::numeric_limits<double>::infinity();
    struct Case {
        double x, want, tol;
    } cases[] = {
        {1.0, -0.5772156649015329, 1e-15},  {0.5, -1.9635100260214235, 1e-15},
        {2.0, 0.4227843350984671, 2e-15},   {10.0, 2.2517525890667214, 0}, // no shift at exactly 10
        {1e-8, -100000000.57721564, 1e-15},  // the last reciprocal is of x, not (x + n) - n
        {1e-10, -10000000000.577215, 1e-15},
        {1e-17, -1e17, 1e-15},               // x + 10 == 10 here
        {kInf, kInf, 0},
    };
    for (const auto &c : cases) {
        const double got = digamma(c.x);
        if (c.tol == 0) {
            EXPECT_EQ(got, c.want) << c.x;
        } else {
            EXPECT_LT(testutil::rel_err(got, c.want), c.tol) << c.x;
        }
    }
    for (double x : {0.0, -0.0, -2.0, -2.5, -kInf, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_TRUE(std::isnan(digamma(x))) << x;
}
