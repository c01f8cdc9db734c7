// The five beta-side CDF plug-ins end to end through the host: messages in
// order, shapes of the result, edge values, infinite parameters, and the
// accuracy figures of beta_accuracy over the reference grids.
#include "beta_accuracy_grid.hpp"
#include "noncentral_f.hpp"
#include "cdf_plugin_test_util.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using mexhost::make_scalar;

namespace {
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();
} // namespace

TEST(BetaPlugins, MessagesInOrder) {
    auto x = testutil::col({0.5, 0.7});
    auto one = make_scalar(1), zero = make_scalar(0), nan = make_scalar(kNaN), tiny = make_scalar(1e-38),
         big = make_scalar(1.5), neg = make_scalar(-0.1);
    auto i32 = mexhost::make_array({2, 1}, mxINT32_CLASS);
    const mxArray *X = x.get(), *P1 = one.get(), *P0 = zero.get(), *PN = nan.get(), *PT = tiny.get(),
                  *PB = big.get(), *PM = neg.get(), *I = i32.get();
    struct Case {
        const char *name;
        int nargout;
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {"beta_lower", 1, {X, P1}, "beta_lower: 3 inputs required."},
        {"beta_lower", 2, {X, P1}, "beta_lower: 3 inputs required."}, // input count first
        {"beta_lower", 2, {X, P1, P1}, "beta_lower: 1 output argument"},
        {"beta_lower", 0, {X, P1, P1}, "beta_lower: 1 output argument"},
        {"beta_lower", 1, {I, P1, P1}, "beta_lower: x must be a double array."},
        {"beta_lower", 1, {X, P0, P1}, "beta_lower: a or b < 1e-37"},
        {"beta_lower", 1, {X, P1, PT}, "beta_lower: a or b < 1e-37"},
        {"beta_lower", 1, {X, P1, PN}, "beta_lower: a or b < 1e-37"},
        {"negbinomial_lower", 1, {X, P1, P1, P1}, "negbinomial_lower: 3 inputs required."},
        {"negbinomial_lower", 2, {X, P1, P1}, "negbinomial_lower: 1 output argument"},
        {"negbinomial_lower", 1, {X, PT, PB}, "negbinomial_lower: # of trials < 1e-37"}, // trials first
        {"negbinomial_lower", 1, {X, P1, PB}, "negbinomial_lower: 0 < prob < 1"},
        {"negbinomial_lower", 1, {X, P1, PM}, "negbinomial_lower: 0 < prob < 1"},
        {"negbinomial_lower", 1, {X, P1, PN}, "negbinomial_lower: 0 < prob < 1"},
        {"fisherf_lower", 1, {X}, "fisherf_lower: 3 inputs required."},
        {"fisherf_lower", 2, {X, P1, P1}, "fisherf_lower: 1 output argument"},
        {"fisherf_lower", 1, {X, P0, P0}, "fisherf_lower: a < 1e-37"},
        {"fisherf_lower", 1, {X, P1, PN}, "fisherf_lower: b < 1e-37"},
        {"studentt_lower", 1, {X, P1, P1}, "studentt_lower: 2 inputs required."},
        {"studentt_lower", 3, {X, P1}, "studentt_lower: 1 output argument"},
        {"studentt_lower", 1, {X, PT}, "studentt_lower: a < 1e-37"},
        {"noncentralf_lower", 1, {X, P1, P1}, "noncentralf_lower: 4 inputs required."},
        {"noncentralf_lower", 2, {X, P1, P1, P1}, "noncentralf_lower: 1 output argument"},
        {"noncentralf_lower", 1, {X, P1, P0, P0}, "noncentralf_lower: a or b < 1e-37"}, // before c
        {"noncentralf_lower", 1, {X, PN, P1, P1}, "noncentralf_lower: a or b < 1e-37"},
        {"noncentralf_lower", 1, {X, P1, P1, P0}, "noncentralf_lower: c < 1e-37"},
    };
    for (const auto &c : cases) {
        auto r = testutil::call(c.name, c.nargout, c.in);
        EXPECT_FALSE(r.ok) << c.name << " " << c.msg;
        EXPECT_EQ(r.error, c.msg);
    }
    // Boundary parameters that pass: 1e-37, probabilities 0 and 1, +inf.
    auto lim = make_scalar(1e-37), inf = make_scalar(kInf);
    EXPECT_TRUE(testutil::call("beta_lower", 1, {X, lim.get(), lim.get()}).ok);
    EXPECT_TRUE(testutil::call("negbinomial_lower", 1, {X, P1, P0}).ok);
    EXPECT_TRUE(testutil::call("negbinomial_lower", 1, {X, P1, P1}).ok);
    EXPECT_TRUE(testutil::call("noncentralf_lower", 1, {X, P1, P1, lim.get()}).ok);
    EXPECT_TRUE(testutil::call("studentt_lower", 1, {X, inf.get()}).ok);
}

TEST(BetaPlugins, FirstColumnAndEdgeValues) {
    auto p2 = make_scalar(2), p3 = make_scalar(3), half = make_scalar(0.5), p0 = make_scalar(0),
         p1 = make_scalar(1), c = make_scalar(4), p10 = make_scalar(10);
    // Points of the first column only; the result is m-by-1.
    auto m = mexhost::make_double(3, 2, {0.4, 1.0, 0.0, 9, 9, 9});
    auto v = run("beta_lower", {m.get(), p2.get(), p3.get()}, 3);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_NEAR(v[0], 0.5248, 1e-15);
    EXPECT_EQ(v[1], 1.0);
    EXPECT_EQ(v[2], 0.0);
    auto row = testutil::row({1.5, -0.1, 0.2});
    EXPECT_EQ(run("beta_lower", {row.get(), p2.get(), p3.get()}, 1).at(0), 1.0);
    auto empty = mexhost::make_double(0, 1, {});
    EXPECT_TRUE(run("beta_lower", {empty.get(), p2.get(), p3.get()}, 0).empty());

    auto pts = testutil::col({1.5, -0.1, kNaN, 0.0, kInf});
    auto b = run("beta_lower", {pts.get(), p2.get(), p3.get()}, 5);
    EXPECT_EQ(b, (std::vector<double>{1, 0, 0, 0, 1}));
    auto nb = testutil::col({2});
    EXPECT_NEAR(run("negbinomial_lower", {nb.get(), p3.get(), half.get()}, 1).at(0), 0.5, 1e-15);
    EXPECT_EQ(run("negbinomial_lower", {nb.get(), p3.get(), p0.get()}, 1).at(0), 0.0);
    EXPECT_EQ(run("negbinomial_lower", {nb.get(), p3.get(), p1.get()}, 1).at(0), 1.0);
    auto tf = testutil::col({0.0, kInf, kNaN, 1.0});
    auto t = run("studentt_lower", {tf.get(), p1.get()}, 4);
    EXPECT_EQ(t[0], 0.5);
    EXPECT_EQ(t[1], 1.0);
    EXPECT_EQ(t[2], 0.0);
    EXPECT_NEAR(t[3], 0.75, 1e-15);
    auto f = run("fisherf_lower", {tf.get(), p3.get(), p3.get()}, 4);
    EXPECT_EQ(f[0], 0.0);
    EXPECT_EQ(f[1], 1.0);
    EXPECT_EQ(f[2], 0.0);
    EXPECT_NEAR(f[3], 0.5, 1e-15);
    auto nf = testutil::col({2.0, kNaN, 0.0});
    auto n = run("noncentralf_lower", {nf.get(), p3.get(), p10.get(), c.get()}, 3);
    EXPECT_NEAR(n[0], 0.46636, 5e-6);
    EXPECT_EQ(n[1], 0.0);
    EXPECT_EQ(n[2], 0.0);
}

TEST(BetaPlugins, InfiniteParametersEndWithTheLimitOrNaN) {
    auto inf = make_scalar(kInf), p2 = make_scalar(2), half = make_scalar(0.5), c = make_scalar(3);
    auto x = testutil::col({0.3, 0.999});
    EXPECT_EQ(run("beta_lower", {x.get(), inf.get(), p2.get()}, 2), (std::vector<double>{0, 0}));
    EXPECT_EQ(run("beta_lower", {x.get(), p2.get(), inf.get()}, 2), (std::vector<double>{1, 1}));
    for (double v : run("beta_lower", {x.get(), inf.get(), inf.get()}, 2)) EXPECT_TRUE(std::isnan(v));
    auto s = testutil::col({4, 1e6});
    EXPECT_EQ(run("negbinomial_lower", {s.get(), inf.get(), half.get()}, 2), (std::vector<double>{0, 0}));
    auto t = testutil::col({-1.96});
    EXPECT_NEAR(run("studentt_lower", {t.get(), inf.get()}, 1).at(0), 0.024997895148220435, 1e-15);
    auto f = testutil::col({1.5});
    EXPECT_NEAR(run("fisherf_lower", {f.get(), p2.get(), inf.get()}, 1).at(0), 1 - std::exp(-1.5), 1e-15);
    for (const auto &args : {std::vector<const mxArray *>{f.get(), inf.get(), p2.get(), c.get()},
                             std::vector<const mxArray *>{f.get(), p2.get(), inf.get(), c.get()},
                             std::vector<const mxArray *>{f.get(), p2.get(), p2.get(), inf.get()}}) {
        EXPECT_TRUE(std::isnan(run("noncentralf_lower", args, 1).at(0)));
    }
}

// The figures of the beta_accuracy command (docs/accuracy.md), asserted.
TEST(BetaPlugins, AccuracyOverTheReferenceGrids) {
    mexhost::set_plugin_dir(MEX_PLUGIN_DIR);
    const int nparams[] = {2, 2, 2, 1};
    for (int kind = 0; kind < 4; ++kind) {
        auto rows = beta_accuracy::load_central(TEST_DATA_DIR, kind);
        ASSERT_GT(rows.size(), 100u);
        beta_accuracy::evaluate(beta_accuracy::plugin_name(kind), nparams[kind], rows);
        for (const auto &s : beta_accuracy::central_stats(rows)) {
            EXPECT_LT(s.max, 1e-12) << beta_accuracy::plugin_name(kind) << " " << s.region << " worst at x="
                                    << s.worst.x << " " << s.worst.params[0] << " " << s.worst.params[1];
            EXPECT_LT(s.median, 1e-13) << beta_accuracy::plugin_name(kind) << " " << s.region;
        }
    }
    auto rows = beta_accuracy::load_noncentral(TEST_DATA_DIR);
    beta_accuracy::evaluate("noncentralf_lower", 3, rows);
    for (const auto &s : beta_accuracy::noncentral_stats(rows)) {
        EXPECT_GT(s.n, 0u) << s.region;
        EXPECT_LE(s.max, 1e-4) << s.region << " worst at f=" << s.worst.x;
    }
}
