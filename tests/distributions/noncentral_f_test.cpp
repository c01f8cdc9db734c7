// Noncentral F sum: the quoted values, the mended stopping rules (the j = 0
// term behind the floor, the remainder left out at large noncentrality, the
// far upper tail) against mpmath, and the limits of the central index.
#include "beta_family.hpp"
#include "noncentral_f.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <limits>

using namespace dist;
using testutil::rel_err;

namespace {
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

double ncf(double f, double dfn, double dfd, double pnonc,
           NoncentralFStopping rule = NoncentralFStopping::remainder_bound) {
    double cum, ccum;
    noncentral_f_tails_with(rule, &f, &dfn, &dfd, &pnonc, &cum, &ccum);
    if (pnonc >= 1e-10) {
        EXPECT_TRUE(std::isnan(cum) || ccum == 0.5 + (0.5 - cum));
    }
    return cum;
}
} // namespace

TEST(NoncentralF, QuotedValuesAndSupportEnds) {
    EXPECT_NEAR(ncf(2, 3, 10, 4), 0.46636, 5e-6);
    EXPECT_NEAR(ncf(3, 4, 12, 30), 0.02573, 5e-6);
    for (double f : {0.0, -1.0, kNaN}) {
        double cum, ccum, dfn = 3, dfd = 7, c = 5;
        noncentral_f_tails(&f, &dfn, &dfd, &c, &cum, &ccum);
        EXPECT_EQ(cum, 0.0);
        EXPECT_EQ(ccum, 1.0);
    }
    EXPECT_EQ(ncf(kInf, 3, 7, 5), 1.0);
    // Below 1e-10 the noncentrality is ignored: exactly the central F.
    double cum, ccum, f = 1.7, dfn = 3, dfd = 7;
    fisher_f_tails(&f, &dfn, &dfd, &cum, &ccum);
    EXPECT_EQ(ncf(1.7, 3, 7, 1e-11), cum);
    EXPECT_NE(ncf(1.7, 3, 7, 1e-10), cum); // the Poisson sum, central index 1
    EXPECT_NEAR(ncf(1.7, 3, 7, 1e-10), cum, 1e-9);
}

TEST(NoncentralF, MatchesReferenceWithinTheSummationTolerance) {
    // The grid runs from the far lower to the far upper tail for
    // noncentralities 1e-3 to 1e6, plus the points where the stopping rules
    // went wrong: the j = 0 term behind a central term below the floor
    // (0.1, 0.001, 10, 10), the far upper tail at f = 1e30 to 1e50, and
    // lower tails whose central incomplete beta value underflows.
    const auto table = testutil::read_table("beta_noncentral.txt");
    ASSERT_GT(table.size(), 500u);
    double worst = 0, worst_before_large = 0;
    int checked = 0;
    for (const auto &r : table) {
        const double want = r[4];
        if (want < 1e-15) continue;
        const double got = ncf(r[0], r[1], r[2], r[3]);
        EXPECT_LE(rel_err(got, want), 1e-4) << "f=" << r[0] << " dfn=" << r[1] << " dfd=" << r[2] << " c=" << r[3];
        worst = std::max(worst, rel_err(got, want));
        if (r[3] >= 1e3)
            worst_before_large =
                std::max(worst_before_large, rel_err(ncf(r[0], r[1], r[2], r[3], NoncentralFStopping::latest_term), want));
        ++checked;
    }
    EXPECT_GT(checked, 400);
    // The per-term rule it replaces misses far more at large noncentrality.
    EXPECT_GT(worst_before_large, 1e-2);
}

TEST(NoncentralF, EachMendedCaseAgainstTheRuleItReplaces) {
    struct Case {
        const char *what;
        double f, dfn, dfd, pnonc, want;
    } cases[] = {
        {"mass in the j = 0 term", 0.1, 0.001, 10, 10, 0.0067079283330291194},
        {"far upper tail", 1e50, 3, 10, 100, 1.0},
        {"central value underflows", 1e-20, 1e-3, 10, 60, 9.1120869600594472e-14},
    };
    for (const auto &c : cases) {
        const double before = ncf(c.f, c.dfn, c.dfd, c.pnonc, NoncentralFStopping::latest_term);
        const double now = ncf(c.f, c.dfn, c.dfd, c.pnonc);
        EXPECT_LE(rel_err(now, c.want), 1e-4) << c.what;
        EXPECT_GT(rel_err(before, c.want), 1e-4) << c.what;
    }
}

TEST(NoncentralF, CentralIndexRangeAndInfiniteParameters) {
    // Just below 2^32 the 32-bit central index still holds; the value at
    // the centre of the distribution is near one half.
    const double big = 4294967295.0;
    const double mean = (1 + big) * 10.0 / 8.0;
    const double v = ncf(mean, 1, 10, big);
    EXPECT_GT(v, 0.3);
    EXPECT_LT(v, 0.7);
    for (double c : {4294967296.0, 1e300, kInf}) EXPECT_TRUE(std::isnan(ncf(2, 3, 10, c))) << c;
    EXPECT_TRUE(std::isnan(ncf(2, kInf, 10, 5)));
    EXPECT_TRUE(std::isnan(ncf(2, 3, kInf, 5)));
    // Huge but finite parameters end with a probability.
    for (double p : {1e15, 1e100, 1e300}) {
        const double a = ncf(2, p, 10, 5), b = ncf(2, 3, p, 5);
        EXPECT_TRUE(std::isnan(a) || (a >= 0 && a <= 1)) << p;
        EXPECT_TRUE(std::isnan(b) || (b >= 0 && b <= 1)) << p;
    }
}

TEST(NoncentralF, NegligibleCentralTermAtLargeNoncentralityEndsPromptly) {
    // The central incomplete beta value underflows, so the sum starts at
    // j = 0, where the Poisson weight exp(-pnonc/2) is already 0: the answer
    // is 0 at once, not after a search through some 1e9 terms.
    const auto t0 = std::chrono::steady_clock::now();
    for (const auto &c : {std::array<double, 3>{1, 3, 65536}, {1, 0.5, 1e5}, {1e8, 3, 2e8}, {1e3, 3, 2e3}})
        for (double pnonc : {2147483648.0, 4e9}) EXPECT_EQ(ncf(c[0], c[1], c[2], pnonc), 0.0) << c[2] << " " << pnonc;
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 1.0);
    // Just below the underflow the sum is still taken.
    EXPECT_GT(ncf(1e3, 3, 2e3, 1480), 0.99);
}

TEST(NoncentralF, PreparedParametersKeepEveryBit) {
    const auto table = testutil::read_table("beta_noncentral_f_bits.txt");
    ASSERT_GT(table.size(), 400u);
    for (const auto &r : table) {
        const auto rule = r[0] == 1 ? NoncentralFStopping::remainder_bound : NoncentralFStopping::latest_term;
        NoncentralFParameters p;
        noncentral_f_prepare(rule, &r[2], &r[3], &r[4], &p);
        double cum, ccum, cum2, ccum2;
        noncentral_f_tails_prepared(p, &r[1], &cum, &ccum);
        noncentral_f_tails_with(rule, &r[1], &r[2], &r[3], &r[4], &cum2, &ccum2);
        const std::string what = "f=" + std::to_string(r[1]) + " params " + std::to_string(r[2]) + " " +
                                 std::to_string(r[3]) + " " + std::to_string(r[4]) + " rule " + std::to_string(r[0]);
        if (std::isnan(r[5])) {
            EXPECT_TRUE(std::isnan(cum) && std::isnan(cum2)) << what;
        } else {
            EXPECT_EQ(cum, r[5]) << what;
            EXPECT_EQ(cum2, r[5]) << what;
        }
    }
}
