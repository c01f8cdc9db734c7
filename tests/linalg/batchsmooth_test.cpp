// batchsmooth: the composed Fischer-Burmeister residual and its derivatives.
#include "solve_test_util.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using solvetest::array;
using solvetest::same;

namespace {

const double kInf = std::numeric_limits<double>::infinity();

struct Smoothed {
    std::vector<double> phi, dphi_f, dphi_b;
};

// Calls batchsmooth with three outputs on column vectors.
Smoothed smooth(const std::vector<double> &x, const std::vector<double> &a, const std::vector<double> &b,
                const std::vector<double> &f) {
    auto X = testutil::col(x), A = testutil::col(a), B = testutil::col(b), F = testutil::col(f);
    auto r = testutil::call("batchsmooth", 3, {X.get(), A.get(), B.get(), F.get()});
    if (!r.ok) throw std::runtime_error(r.error);
    return {testutil::values(r.outputs[0].get()), testutil::values(r.outputs[1].get()),
            testutil::values(r.outputs[2].get())};
}

} // namespace

TEST(BatchSmoothPlugin, MatchesHighPrecisionReference) {
    // The stable forms keep full relative accuracy, also where
    // p + q +- sqrt(p^2 + q^2) cancels (x near a bound, f near 0, f large).
    const auto table = testutil::read_table("linalg_solve_smooth.txt");
    std::vector<double> x, a, b, f;
    for (const auto &r : table) {
        x.push_back(r[0]);
        a.push_back(r[1]);
        b.push_back(r[2]);
        f.push_back(r[3]);
    }
    const Smoothed s = smooth(x, a, b, f);
    // phi is compared relatively. The derivatives are formed as 1 -+ 1/t
    // and 1 -+ r/t, which cancel where they are near 0; they lie in [0, 2]
    // and are compared absolutely.
    for (size_t k = 0; k < table.size(); ++k) {
        const double e0 = testutil::rel_err(s.phi[k], table[k][4]);
        const double e1 = std::fabs(s.dphi_f[k] - table[k][5]), e2 = std::fabs(s.dphi_b[k] - table[k][6]);
        EXPECT_LT(e0, 1e-15) << "row " << k << ": " << s.phi[k] << " vs " << table[k][4];
        EXPECT_LT(std::max(e1, e2), 2e-15) << "row " << k;
    }
}

TEST(BatchSmoothPlugin, AbsentBoundsAndDegeneratePoints) {
    struct Case {
        const char *what;
        double x, a, b, f, phi, dphi_f, dphi_b;
    } cases[] = {
        {"no bounds", 0.3, -kInf, kInf, -2.5, -2.5, 1, 0},
        {"+Inf lower bound is absent too", 0.3, kInf, kInf, 4, 4, 1, 0},
        {"-Inf upper bound is absent too", 0.3, -kInf, -kInf, 4, 4, 1, 0},
        // x at a finite bound with the value entering that stage exactly 0.
        {"0/0 at the lower bound", 1, 1, kInf, 0, NAN, NAN, NAN},
        {"0/0 at the upper bound", 2, -kInf, 2, 0, NAN, NAN, NAN},
        // x at a with f < 0 and no upper bound: complementarity holds.
        {"at the lower bound pushing out", 1, 1, kInf, -3, 0, 0, 1},
    };
    for (const auto &c : cases) {
        const Smoothed s = smooth({c.x}, {c.a}, {c.b}, {c.f});
        EXPECT_TRUE(same(s.phi[0], c.phi)) << c.what << ": " << s.phi[0];
        EXPECT_TRUE(same(s.dphi_f[0], c.dphi_f)) << c.what << ": " << s.dphi_f[0];
        EXPECT_TRUE(same(s.dphi_b[0], c.dphi_b)) << c.what << ": " << s.dphi_b[0];
    }
}

TEST(BatchSmoothPlugin, ScalarBoundsApplyToEveryElementAndOutputsFollowF) {
    const std::vector<double> x = {0.1, 0.5, 0.9, 2.0, -1.0, 0.4};
    const std::vector<double> f = {1.0, -0.2, 0.3, 0.0, 0.7, -5.0};
    const Smoothed full = smooth(x, std::vector<double>(6, 0.0), std::vector<double>(6, 1.0), f);

    auto X = array({2, 3}, x), A = testutil::row({0.0}), B = testutil::row({1.0});
    auto F = array({1, 2, 3}, f);
    for (int nargout = 0; nargout <= 3; ++nargout) {
        auto r = testutil::call("batchsmooth", nargout, {X.get(), A.get(), B.get(), F.get(), F.get()});
        ASSERT_TRUE(r.ok) << r.error;
        ASSERT_EQ(r.outputs.size(), size_t(std::max(nargout, 1)));
        const std::vector<double> *want[3] = {&full.phi, &full.dphi_f, &full.dphi_b};
        for (int o = 0; o < std::max(nargout, 1); ++o) {
            EXPECT_EQ(solvetest::dims(r.outputs[o].get()), (std::vector<size_t>{1, 2, 3}));
            EXPECT_TRUE(same(testutil::values(r.outputs[o].get()), *want[o])) << nargout << " " << o;
        }
    }
    // Interior x with f = 0 gives phi = 0 up to rounding.
    const Smoothed in = smooth({0.5}, {0}, {1}, {0});
    EXPECT_LT(std::fabs(in.phi[0]), 1e-16);
}

TEST(BatchSmoothPlugin, MessagesInOrder) {
    auto v = testutil::col({0.5, 0.5}), one = testutil::row({0});
    auto i16 = mexhost::make_array({2, 1}, mxINT16_CLASS);
    auto sp = mexhost::make_sparse(2, 1, {0}, {0, 1}, {1.0});
    auto three = testutil::col({1, 2, 3});
    auto empty = mexhost::make_double(0, 0);
    struct Case {
        int nargout;
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {4, {v.get(), v.get(), v.get()}, "4 input arguments must be passed"},
        {4, {i16.get(), v.get(), v.get(), v.get()}, "All inputs must be full matrices"},
        {1, {v.get(), sp.get(), v.get(), v.get()}, "All inputs must be full matrices"},
        {1, {v.get(), v.get(), i16.get(), v.get()}, "All inputs must be full matrices"},
        {4, {v.get(), v.get(), v.get(), three.get()}, "Only three output arguments are produced"},
        {1, {v.get(), three.get(), v.get(), i16.get()},
         "Lower bound matrix is improperly specified"},
        {1, {v.get(), empty.get(), v.get(), v.get()}, "Lower bound matrix is improperly specified"},
        {1, {v.get(), one.get(), three.get(), i16.get()}, "Upper bound matrix is improperly specified"},
        {1, {v.get(), v.get(), one.get(), three.get()}, "Function value matrix is improperly specified"},
        // f is read as doubles and copied into the outputs: refused last.
        {1, {v.get(), v.get(), v.get(), i16.get()}, "All inputs must be full matrices"},
        {1, {v.get(), v.get(), v.get(), sp.get()}, "All inputs must be full matrices"},
    };
    for (const auto &c : cases) {
        auto r = testutil::call("batchsmooth", c.nargout, c.in);
        EXPECT_FALSE(r.ok) << c.msg;
        EXPECT_EQ(r.error, c.msg);
    }
}
