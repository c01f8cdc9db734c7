// Noncentral chi-square: reference values from small to very large
// noncentrality, sums whose mass lies away from the first terms, and the
// edges of the parameter range.
#include "gamma_family.hpp"
#include "noncentral_chi2.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

using namespace dist;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

double cum_of(double x, double df, double nc, bool capped = false) {
    double cum = -1, ccum = -1;
    if (capped) {
        noncentral_chi2_tails_capped(&x, &df, &nc, &cum, &ccum);
    } else {
        noncentral_chi2_tails(&x, &df, &nc, &cum, &ccum);
    }
    return cum;
}
} // namespace

TEST(NoncentralChi2, MatchesReferenceAtEveryNoncentrality) {
    // Groups: 0 noncentrality 1e-3 to 1e3, 1 mass far from the first
    // terms, 4/5/6/8 noncentrality 1e4/1e5/1e6/1e8 from the far lower tail
    // to the upper tail. Every group keeps the summation tolerance.
    std::map<int, double> worst;
    for (const auto &r : testutil::read_table("gamma_noncentral.txt")) {
        const double x = r[0], df = r[1], nc = r[2], want = r[3];
        const int group = static_cast<int>(r[4]);
        if (want < 1e-15) continue;
        const double e = testutil::rel_err(cum_of(x, df, nc), want);
        worst[group] = std::max(worst[group], e);
        EXPECT_LT(e, 5e-5) << "x=" << x << " df=" << df << " nc=" << nc;
    }
    for (int g : {0, 1, 4, 5, 6, 8}) EXPECT_TRUE(worst.count(g)) << "group " << g;
}

TEST(NoncentralChi2, EarlierRulesMissedMassThatTheTailBoundKeeps) {
    // With a pass ending while its terms still grow, or at 1001 terms, these
    // sums lost most of their value; the reference values are e^-5 P(chi2(1e-10) <= 1e-10)
    // and the noncentral chi-square at its mean for nc = 1e8.
    struct Case {
        double x, df, nc, want;
    } cases[] = {
        {1e-10, 1e-10, 10, 0.0067379469929735487},
        {1e8 + 1, 1, 1e8, 0.50001994711402003},
    };
    for (const auto &c : cases) {
        EXPECT_LT(testutil::rel_err(cum_of(c.x, c.df, c.nc), c.want), 5e-5);
        EXPECT_GT(testutil::rel_err(cum_of(c.x, c.df, c.nc, true), c.want), 0.5);
    }
}

TEST(NoncentralChi2, EdgesOfTheParameterRange) {
    double cum, ccum;
    // pnonc at the threshold is exactly the central chi-square.
    double x = 3, df = 4, nc = 1e-10, ccen, qcen;
    chisquare_tails(&x, &df, &ccen, &qcen);
    noncentral_chi2_tails(&x, &df, &nc, &cum, &ccum);
    EXPECT_EQ(cum, ccen);
    EXPECT_EQ(ccum, qcen);
    // Just above, the series with centre 1 agrees to the tolerance.
    nc = 2e-10;
    noncentral_chi2_tails(&x, &df, &nc, &cum, &ccum);
    EXPECT_LT(testutil::rel_err(cum, ccen), 1e-9);
    EXPECT_EQ(ccum, 0.5 + (0.5 - cum));

    struct Case {
        double x, df, nc, cum;
    } cases[] = {
        {0, 3, 10, 0}, {-2, 3, 10, 0}, {kNaN, 3, 10, 0}, {kInf, 3, 10, 1}, {kInf, 3, 1e12, 1},
        // Beyond the supported noncentrality there is no value.
        {5, 3, 1.1e13, kNaN}, {5, 3, kInf, kNaN},
    };
    for (const auto &c : cases) {
        const double got = cum_of(c.x, c.df, c.nc);
        if (std::isnan(c.cum)) {
            EXPECT_TRUE(std::isnan(got)) << c.x << " " << c.nc;
        } else {
            EXPECT_EQ(got, c.cum) << c.x << " " << c.nc;
        }
    }
}

TEST(NoncentralChi2, CentreBeyondThirtyTwoBitsIsSummed) {
    // Noncentrality 2^32 and above puts the centre index past 2^31. For
    // df = 1, P(X <= x) = Phi(sqrt(x) - sqrt(nc)) - Phi(-sqrt(x) - sqrt(nc)).
    for (double nc : {4294967296.0, 1e10, 1e12}) {
        for (double z : {-3.0, 0.0, 2.0}) {
            const double rx = std::sqrt(nc) + z; // sqrt(x)
            const double want = 0.5 * std::erfc(-z / std::sqrt(2.0));
            EXPECT_LT(testutil::rel_err(cum_of(rx * rx, 1, nc), want), 1e-4) << nc << " " << z;
        }
    }
}
