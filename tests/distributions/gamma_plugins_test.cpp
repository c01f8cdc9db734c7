// The four gamma-side CDF plug-ins end to end through the host: messages
// in order, shapes of the result, failure values and accuracy over the
// reference grids.
#include "gamma_accuracy_grid.hpp"
#include "gamma_family.hpp"
#include "noncentral_chi2.hpp"
#include "cdf_plugin_test_util.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using mexhost::ArrayPtr;
using mexhost::make_scalar;

namespace {
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

void expect_same(const std::vector<double> &got, const std::vector<double> &want, const std::string &what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (size_t i = 0; i < got.size(); ++i) {
        if (std::isnan(want[i])) {
            EXPECT_TRUE(std::isnan(got[i])) << what << " [" << i << "]";
        } else {
            EXPECT_EQ(got[i], want[i]) << what << " [" << i << "]";
        }
    }
}
} // namespace

TEST(GammaPlugins, MessagesInOrder) {
    auto x = testutil::col({1, 2});
    auto one = make_scalar(1), zero = make_scalar(0), nan = make_scalar(kNaN);
    auto tiny = make_scalar(1e-38);
    auto i32 = mexhost::make_array({2, 1}, mxINT32_CLASS);
    const mxArray *X = x.get(), *P1 = one.get(), *P0 = zero.get(), *PN = nan.get(), *PT = tiny.get();
    struct Case {
        const char *name;
        int nargout;
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {"gamma_lower", 1, {X}, "gamma_lower: 2 inputs required."},
        {"gamma_lower", 1, {X, P1, P1}, "gamma_lower: 2 inputs required."},
        {"gamma_lower", 2, {X, P1}, "gamma_lower: 1 output argument"},
        {"gamma_lower", 0, {X, P1}, "gamma_lower: 1 output argument"},
        {"gamma_lower", 2, {X}, "gamma_lower: 2 inputs required."}, // input count first
        {"gamma_lower", 1, {i32.get(), P1}, "gamma_lower: x must be a double array."},
        {"gamma_lower", 1, {i32.get(), P0}, "gamma_lower: x must be a double array."},
        {"gamma_lower", 1, {X, P0}, "gamma_lower: a < 1e-37"},
        {"gamma_lower", 1, {X, PT}, "gamma_lower: a < 1e-37"},
        {"gamma_lower", 1, {X, PN}, "gamma_lower: a < 1e-37"},
        {"chisquare_lower", 1, {}, "chisquare_lower: 2 inputs required."},
        {"chisquare_lower", 3, {X, P1}, "chisquare_lower: 1 output argument"},
        {"chisquare_lower", 1, {X, P0}, "chisquare_lower: a < 1e-37"},
        {"poisson_lower", 1, {X, P1, P1}, "poisson_lower: 2 inputs required."},
        {"poisson_lower", 2, {X, P1}, "poisson_lower: 1 output argument"},
        {"poisson_lower", 1, {X, PN}, "poisson_lower: a < 1e-37"},
        {"noncentralchi2_lower", 1, {X, P1}, "noncentralchi2_lower: 3 inputs required."},
        {"noncentralchi2_lower", 2, {X, P1, P1}, "noncentralchi2_lower: 1 output argument"},
        {"noncentralchi2_lower", 1, {X, P0, P1}, "noncentralchi2_lower: a or b < 1e-37"},
        {"noncentralchi2_lower", 1, {X, P1, P0}, "noncentralchi2_lower: a or b < 1e-37"},
        {"noncentralchi2_lower", 1, {X, P1, PN}, "noncentralchi2_lower: a or b < 1e-37"},
    };
    for (const auto &c : cases) {
        auto r = testutil::call(c.name, c.nargout, c.in);
        EXPECT_FALSE(r.ok) << c.name << " " << c.msg;
        EXPECT_EQ(r.error, c.msg);
    }
    // The smallest admitted parameter and +Inf run.
    auto limit = make_scalar(1e-37), inf = make_scalar(kInf);
    EXPECT_TRUE(testutil::call("gamma_lower", 1, {X, limit.get()}).ok);
    EXPECT_TRUE(testutil::call("noncentralchi2_lower", 1, {X, inf.get(), limit.get()}).ok);
}

TEST(GammaPlugins, ValuesShapesAndFirstColumn) {
    const double e = std::exp(1.0);
    auto three = make_scalar(3), one = make_scalar(1), two = make_scalar(2);

    // chisquare_lower([1; 2; 3], 3) equals the library value element by element.
    auto x3 = testutil::col({1, 2, 3});
    std::vector<double> want;
    for (double x : {1.0, 2.0, 3.0}) {
        double df = 3, cum, ccum;
        dist::chisquare_tails(&x, &df, &cum, &ccum);
        want.push_back(cum);
    }
    expect_same(run("chisquare_lower", {x3.get(), three.get()}, 3), want, "chisquare_lower([1;2;3], 3)");
    EXPECT_LT(testutil::rel_err(want[0], 0.1987480430987992), 5e-15);

    auto x12 = testutil::col({1, 2});
    auto g = run("gamma_lower", {x12.get(), one.get()}, 2);
    EXPECT_NEAR(g[0], 1 - 1 / e, 1e-16);
    EXPECT_NEAR(g[1], 1 - 1 / (e * e), 1e-16);

    // A row vector contributes its first element; a 3x2 matrix its first
    // column; no rows gives 0x1, no columns gives m x 0.
    auto rowv = testutil::row({2, 5, 9});
    expect_same(run("chisquare_lower", {rowv.get(), two.get()}, 1), {1 - 1 / e}, "row vector");
    auto mat = mexhost::make_double(3, 2, {0, 1, 2, 7, 8, 9});
    auto pm = run("poisson_lower", {mat.get(), one.get()}, 3);
    ASSERT_EQ(pm.size(), 3u);
    EXPECT_NEAR(pm[0], 1 / e, 1e-16);
    EXPECT_NEAR(pm[2], 2.5 / e, 1e-15);
    EXPECT_EQ(run("gamma_lower", {mexhost::make_double(0, 3).get(), one.get()}, 0).size(), 0u);
    auto r = testutil::call("gamma_lower", 1, {mexhost::make_double(2, 0).get(), one.get()});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(mxGetM(r.outputs[0].get()), 2u);
    EXPECT_EQ(mxGetN(r.outputs[0].get()), 0u);

    // A sparse first column counts with its zeros; imaginary parts are ignored.
    auto sp = mexhost::make_sparse(3, 2, {1, 0}, {0, 1, 2}, {2.0, 4.0});
    expect_same(run("chisquare_lower", {sp.get(), two.get()}, 3), {0, 1 - 1 / e, 0}, "sparse");
    auto cx = mexhost::make_double(1, 1, {2}, {5});
    expect_same(run("chisquare_lower", {cx.get(), two.get()}, 1), {1 - 1 / e}, "complex");
}

TEST(GammaPlugins, SupportEndsNaNPointsAndFailures) {
    auto pts = testutil::col({kInf, kNaN, 0, -1});
    auto two = make_scalar(2), big = make_scalar(2e29), huge = make_scalar(1e30);
    expect_same(run("gamma_lower", {pts.get(), two.get()}, 4), {1, 0, 0, 0}, "gamma_lower");
    expect_same(run("chisquare_lower", {pts.get(), two.get()}, 4), {1, 0, 0, 0}, "chisquare_lower");
    expect_same(run("noncentralchi2_lower", {pts.get(), two.get(), two.get()}, 4), {1, 0, 0, 0},
                "noncentralchi2_lower");
    // Counts below -1 and NaN counts have no Poisson value: NaN, never 2 or
    // a stale number. A count of -1 gives P(N <= -1) = 0.
    auto counts = testutil::col({kNaN, -2, -1, -1.5, 0});
    auto pv = run("poisson_lower", {counts.get(), two.get()}, 5);
    expect_same(pv, {kNaN, kNaN, 0, kNaN, std::exp(-2.0)}, "poisson_lower");

    // Where the incomplete gamma ratio cannot meet its accuracy (shape above
    // about 6.65e28 with x at the shape) the element is NaN, not 2.
    auto at = testutil::col({2e29, 1e29});
    expect_same(run("gamma_lower", {at.get(), big.get()}, 2), {kNaN, 0}, "gamma_lower failure");
    auto at2 = testutil::col({2e30});
    expect_same(run("chisquare_lower", {at2.get(), make_scalar(2e30).get()}, 1), {kNaN}, "chisquare_lower failure");
    // Noncentrality beyond the supported range gives NaN.
    auto x1 = testutil::col({5});
    expect_same(run("noncentralchi2_lower", {x1.get(), two.get(), huge.get()}, 1), {kNaN}, "noncentrality 1e30");
}

TEST(GammaPlugins, AccuracyOverTheReferenceGrids) {
    // Central distributions: a few 1e-15 at the median and at most 1e-12
    // wherever the value is a normal double (down to 1e-300), shapes up to
    // 1e10 included.
    // Noncentral: its summation tolerance where the value is >= 1e-15.
    mexhost::set_plugin_dir(MEX_PLUGIN_DIR);
    struct Case {
        const char *plugin;
        double median;
        bool noncentral;
    } cases[] = {
        {"gamma_lower", 5e-15, false},
        {"chisquare_lower", 5e-15, false},
        {"poisson_lower", 5e-15, false},
        {"noncentralchi2_lower", 2e-5, true},
    };
    for (const auto &c : cases) {
        const auto rows = gamma_accuracy::evaluate(c.plugin, TEST_DATA_DIR);
        EXPECT_GT(rows.size(), 200u) << c.plugin;
        for (const auto &r : rows) {
            const double tol = c.noncentral ? 5e-5 : 1e-12;
            EXPECT_LE(gamma_accuracy::rel_err(r.got, r.want), tol)
                << c.plugin << " x=" << r.x << " parameter " << r.params[0] << " (" << r.region << ")";
        }
        EXPECT_LE(gamma_accuracy::summarise(rows).back().median, c.median) << c.plugin;
    }
}
