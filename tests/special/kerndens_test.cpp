// The kerndens plug-in: estimates against direct high-precision sums,
// the bandwidth rule, kernel selection, the degenerate samples and the
// argument checks.
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using mexhost::ArrayPtr;

namespace {
struct Estimate {
    bool ok;
    std::string error;
    std::vector<double> f, F;
};

Estimate kerndens(const mxArray *x, const mxArray *xi, const mxArray *h, const mxArray *ktype, int nargout = 2) {
    auto r = testutil::call("kerndens", nargout, {x, xi, h, ktype});
    Estimate e{r.ok, r.error, {}, {}};
    if (r.ok) {
        e.f = testutil::values(r.outputs[0].get());
        if (nargout == 2) e.F = testutil::values(r.outputs[1].get());
    }
    return e;
}

Estimate kerndens(const std::vector<double> &x, const std::vector<double> &xi, const std::vector<double> &h,
                  const std::vector<double> &ktype, int nargout = 2) {
    auto ax = testutil::col(x), axi = testutil::row(xi), ah = testutil::row(h), ak = testutil::row(ktype);
    return kerndens(ax.get(), axi.get(), ah.get(), ak.get(), nargout);
}

std::vector<double> column(const std::vector<std::vector<double>> &t, size_t j) {
    std::vector<double> c;
    for (const auto &r : t) c.push_back(r[j]);
    return c;
}
} // namespace

TEST(Kerndens, MatchesDirectSums) {
    const std::vector<double> xi = column(testutil::read_table("special_kerndens_sample.txt"), 0);
    const auto table = testutil::read_table("special_kerndens.txt");
    ASSERT_EQ(xi.size(), 10u);
    ASSERT_GT(table.size(), 60u);
    double worst_f = 0, worst_F = 0;
    for (const auto &r : table) {
        // One row at a time: ktype, h, x, f, F.
        const auto e = kerndens({r[2]}, xi, {r[1]}, {r[0]});
        ASSERT_TRUE(e.ok) << e.error;
        // Absolute error against the scale of the estimates (the density
        // peaks near 0.3, the distribution at 1).
        worst_f = std::max(worst_f, std::fabs(e.f[0] - r[3]));
        worst_F = std::max(worst_F, std::fabs(e.F[0] - r[4]));
        // The one-output loop of the Epanechnikov kernel tests |u| < sqrt(5)
        // instead of u^2 < 5; the estimates agree.
        const auto one = kerndens({r[2]}, xi, {r[1]}, {r[0]}, 1);
        EXPECT_NEAR(one.f[0], e.f[0], 1e-15);
    }
    EXPECT_LT(worst_f, 1e-15);
    EXPECT_LT(worst_F, 1e-15);
}

TEST(Kerndens, ThreePointExample) {
    // xi = [-1 0 1] has s = 1; at x = 0 every point lies inside the support.
    const auto e = kerndens({0.0}, {-1, 0, 1}, {1}, {1});
    ASSERT_TRUE(e.ok) << e.error;
    EXPECT_NEAR(e.f[0], 0.06708203932499368 * 13 / 3, 1e-16);
    EXPECT_NEAR(e.F[0], 0.5, 1e-15);
}

TEST(Kerndens, BandwidthRuleAndPerPointBandwidths) {
    std::vector<double> xi(100);
    for (size_t j = 0; j < xi.size(); ++j) xi[j] = std::sin(0.7 * double(j)) * 2.0 + 0.01 * double(j);
    const std::vector<double> x = {-3, -1, 0, 0.5, 2, 3.5};
    for (double kt : {1.0, 2.0}) {
        // h = 0 is the rule of thumb, also when h has one value per point.
        const double rule = (kt == 1.0 ? 1.0487 : 1.0592) * std::pow(100.0, -0.2);
        const auto ref = kerndens(x, xi, {rule}, {kt});
        std::vector<double> h0(100, 5.0);
        h0[0] = 0.0;
        for (const auto &h : {std::vector<double>{0.0}, std::vector<double>{-0.0}, h0}) {
            const auto e = kerndens(x, xi, h, {kt});
            ASSERT_TRUE(e.ok) << e.error;
            EXPECT_EQ(e.f, ref.f) << kt;
            EXPECT_EQ(e.F, ref.F) << kt;
        }
        // Per-point bandwidths equal to the common one give the same sums;
        // different ones give a different estimate.
        const auto same = kerndens(x, xi, std::vector<double>(100, 0.6), {kt});
        const auto common = kerndens(x, xi, {0.6}, {kt});
        EXPECT_EQ(same.f, common.f);
        std::vector<double> varied(100, 0.6);
        varied[50] = 2.0;
        EXPECT_NE(kerndens(x, xi, varied, {kt}).f, common.f);
    }
}

TEST(Kerndens, KernelSelection) {
    const std::vector<double> x = {-1, 0, 0.4, 2}, xi = {-1.2, -0.1, 0.3, 0.8, 1.9};
    const auto epan = kerndens(x, xi, {0.8}, {1}), gauss = kerndens(x, xi, {0.8}, {2});
    ASSERT_NE(epan.f, gauss.f);
    struct Case {
        std::vector<double> ktype;
        bool epanechnikov;
    } cases[] = {{{}, true},  {{1.7}, true},  {{1.0, 2.0}, true}, {{0.0}, false}, {{2.0}, false},
                 {{0.9}, false}, {{-1.0}, false}, {{std::nan("")}, false}, {{1e300}, false}};
    for (const auto &c : cases) {
        auto ak = mexhost::make_double(c.ktype.empty() ? 0 : 1, c.ktype.size(), c.ktype);
        auto ax = testutil::col(x), axi = testutil::row(xi), ah = testutil::row({0.8});
        const auto e = kerndens(ax.get(), axi.get(), ah.get(), ak.get());
        ASSERT_TRUE(e.ok) << e.error;
        EXPECT_EQ(e.f, c.epanechnikov ? epan.f : gauss.f) << (c.ktype.empty() ? -99 : c.ktype[0]);
        EXPECT_EQ(e.F, c.epanechnikov ? epan.F : gauss.F);
    }
}

TEST(Kerndens, FarFromTheDataAndDegenerateSamples) {
    const std::vector<double> xi = {0.1, 0.5, 0.9, 1.4, 2.0, 2.2, 3.1};
    for (double kt : {1.0, 2.0}) {
        const auto e = kerndens({-1e3, 1e3}, xi, {1}, {kt});
        EXPECT_EQ(e.f, (std::vector<double>{0, 0}));
        EXPECT_EQ(e.F[0], 0.0);
        EXPECT_NEAR(e.F[1], 1.0, 1e-15);
    }
    // One data point: no sample spread, so no estimate (both kernels, both
    // outputs).
    for (double kt : {1.0, 2.0}) {
        const auto e = kerndens({-1, 0, 2}, {0.5}, {1}, {kt});
        ASSERT_TRUE(e.ok) << e.error;
        for (size_t k = 0; k < 3; ++k) {
            EXPECT_TRUE(std::isnan(e.f[k])) << kt;
            EXPECT_TRUE(std::isnan(e.F[k])) << kt;
        }
    }
    // No data: zeros; an empty h is accepted beside an empty sample.
    auto ax = testutil::col({-1, 0, 2}), none = mexhost::make_double(0, 0), ak = testutil::row({1});
    const auto e = kerndens(ax.get(), none.get(), none.get(), ak.get());
    ASSERT_TRUE(e.ok) << e.error;
    EXPECT_EQ(e.f, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(e.F, (std::vector<double>{0, 0, 0}));
}

TEST(Kerndens, OutputsKeepTheShapeOfX) {
    auto x = mexhost::make_array({2, 1, 2}, mxDOUBLE_CLASS);
    const double xs[4] = {-1, 0, 0.5, 3};
    std::copy(xs, xs + 4, mxGetPr(x.get()));
    auto xi = testutil::col({-1, 0, 1}), h = testutil::row({1}), k = testutil::row({2});
    auto r = testutil::call("kerndens", 2, {x.get(), xi.get(), h.get(), k.get()});
    ASSERT_TRUE(r.ok) << r.error;
    for (int j = 0; j < 2; ++j) {
        const mxArray *o = r.outputs[size_t(j)].get();
        ASSERT_EQ(mxGetNumberOfDimensions(o), 3u);
        EXPECT_EQ(mxGetDimensions(o)[2], 2u);
    }
    EXPECT_EQ(mxGetPr(x.get())[3], 3.0) << "input left unchanged";
    auto empty = mexhost::make_double(0, 2);
    auto re = testutil::call("kerndens", 1, {empty.get(), xi.get(), h.get(), k.get()});
    ASSERT_TRUE(re.ok) << re.error;
    EXPECT_EQ(mxGetN(re.outputs[0].get()), 2u);
}

TEST(Kerndens, MessagesInOrder) {
    auto d = testutil::row({1});
    auto two = testutil::row({1, 2});
    auto three = testutil::row({1, 2, 3});
    auto i32 = mexhost::make_array({1, 1}, mxINT32_CLASS);
    auto sp = mexhost::make_sparse(1, 1, {0}, {0, 1}, {1.0});
    auto cplx = mexhost::make_double(1, 1, {1}, {1});
    auto empty = mexhost::make_double(0, 0);
    struct Case {
        int nargout;
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {1, {d.get(), d.get(), d.get()}, "Not enough input arguments."},
        {1, {d.get(), d.get(), d.get(), d.get(), d.get()}, "Too many input arguments."},
        {3, {i32.get(), d.get(), d.get(), d.get()}, "Too many output arguments."},
        {1, {d.get(), d.get(), d.get(), i32.get()}, "Function not defined for variables of input class"},
        {1, {sp.get(), d.get(), d.get(), i32.get()}, "Function not defined for sparse matrices"},
        {1, {d.get(), d.get(), sp.get(), d.get()}, "Function not defined for sparse matrices"},
        {1, {d.get(), cplx.get(), d.get(), d.get()}, "X must be real."},
        {1, {d.get(), three.get(), two.get(), i32.get()}, "Function not defined for variables of input class"},
        {1, {d.get(), three.get(), two.get(), d.get()}, "xi and h are incompatible"},
        {1, {d.get(), three.get(), empty.get(), d.get()}, "xi and h are incompatible"},
    };
    for (const auto &c : cases) {
        auto r = testutil::call("kerndens", c.nargout, c.in);
        EXPECT_FALSE(r.ok) << c.msg;
        EXPECT_EQ(r.error, c.msg);
    }
}
