// Standard normal CDF: the scalar function with both constant sets and the
// gausscum plug-in gateway.
#include "normal_cdf.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using special::gausscum;
using special::gausscum_option;

namespace {
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kSqrt2 = 1.4142135623730951;
} // namespace

TEST(NormalCdf, NegativeArgumentsMatchReferenceInAllRanges) {
    auto table = testutil::read_table("gausscum.txt");
    ASSERT_GT(table.size(), 100u);
    double worst_density = 0, worst_option = 0;
    for (const auto &r : table) {
        const double x = r[0], want = r[1];
        if (-x / kSqrt2 < 8.3 - 1e-9) worst_density = std::max(worst_density, testutil::rel_err(gausscum(x), want));
        if (-x / kSqrt2 < 10.0 - 1e-9)
            worst_option = std::max(worst_option, testutil::rel_err(gausscum_option(x), want));
    }
    EXPECT_LT(worst_density, 1e-12);
    EXPECT_LT(worst_option, 1e-12);
}

TEST(NormalCdf, SpecialValuesOfBothConstantSets) {
    struct Case {
        double x, density, option;
    } cases[] = {
        {0.0, 0.5, 0.5},   {-0.0, 0.5, 0.5}, {kInf, 1.0, 1.0}, {-kInf, 0.0, 0.0},
        {-11.8, 0.0, gausscum_option(-11.8)}, // past the density cut-off only
        {-14.2, 0.0, 0.0},                    // past both cut-offs
        {9.0, 1.0, 1.0},                      // upper tail rounds to 1 early
    };
    for (const auto &c : cases) {
        EXPECT_EQ(gausscum(c.x), c.density) << c.x;
        EXPECT_EQ(gausscum_option(c.x), c.option) << c.x;
    }
    EXPECT_GT(gausscum_option(-11.8), 0.0);
    EXPECT_GT(gausscum(-11.7), 0.0); // just inside 8.3*sqrt(2) = 11.738
    EXPECT_GT(gausscum_option(-14.1), 0.0);
    EXPECT_TRUE(std::isnan(gausscum(kNaN)));
    EXPECT_EQ(gausscum_option(kNaN), 1.0);
}

TEST(NormalCdf, CutOffIsStrict) {
    // The largest negative x whose y = x*(-s) reaches the cut-off gives exactly
    // 0; the next double toward zero is still in the third range.
    const double s = 0.7071067811865476;
    double x = -8.3 / s;
    while (x * -s < 8.3) x = std::nextafter(x, -kInf);
    while (std::nextafter(x, 0.0) * -s >= 8.3) x = std::nextafter(x, 0.0);
    EXPECT_EQ(gausscum(x), 0.0);
    EXPECT_GT(gausscum(std::nextafter(x, 0.0)), 0.0);
}

TEST(GausscumPlugin, KeepsDimensionsAndValues) {
    auto x = mexhost::make_array({2, 1, 3}, mxDOUBLE_CLASS);
    double *p = mxGetPr(x.get());
    const double in[6] = {-1.96, 0.0, 1.96, kNaN, -kInf, kInf};
    std::copy(in, in + 6, p);
    auto r = testutil::call("gausscum", 1, {x.get()});
    ASSERT_TRUE(r.ok) << r.error;
    const mxArray *o = r.outputs[0].get();
    ASSERT_EQ(mxGetNumberOfDimensions(o), 3u);
    EXPECT_EQ(mxGetDimensions(o)[2], 3u);
    for (int i = 0; i < 6; ++i) {
        const double got = mxGetPr(o)[i], want = gausscum(in[i]);
        if (std::isnan(want)) {
            EXPECT_TRUE(std::isnan(got));
        } else {
            EXPECT_EQ(got, want);
        }
    }

    auto empty = mexhost::make_double(0, 3);
    auto re = testutil::call("gausscum", 0, {empty.get()});
    ASSERT_TRUE(re.ok) << re.error;
    EXPECT_EQ(mxGetM(re.outputs[0].get()), 0u);
    EXPECT_EQ(mxGetN(re.outputs[0].get()), 3u);
}

TEST(GausscumPlugin, SparseInputGivesTheFullResult) {
    auto sp = mexhost::make_sparse(2, 2, {1}, {0, 0, 1}, {-1.0});
    auto r = testutil::call("gausscum", 1, {sp.get()});
    ASSERT_TRUE(r.ok) << r.error;
    const mxArray *o = r.outputs[0].get();
    EXPECT_FALSE(mxIsSparse(o));
    EXPECT_EQ(testutil::values(o), (std::vector<double>{0.5, 0.5, 0.5, gausscum(-1.0)}));
}

TEST(GausscumPlugin, MessagesInOrder) {
    auto d = testutil::row({1});
    auto i32 = mexhost::make_array({1, 1}, mxINT32_CLASS);
    auto cplx = mexhost::make_double(1, 1, {1}, {1});
    struct Case {
        int nargout;
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {1, {}, "Not enough input arguments."},
        {3, {d.get(), d.get()}, "Too many input arguments."},
        {2, {d.get()}, "Too many output arguments."},
        {1, {i32.get()}, "Function not defined for variables of input class"},
        {1, {cplx.get()}, "X must be real."},
    };
    for (const auto &c : cases) {
        auto r = testutil::call("gausscum", c.nargout, c.in);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, c.msg);
    }
}
