// Min-max residuals and Newton steps of box-constrained problems:
// batchminmax and batchsolvebox, and their batched kernel.
#include "backslash.hpp"
#include "batch_solve.hpp"
#include "solve_test_util.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using solvetest::array;
using solvetest::same;

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const char *kWarning = "Backslash: Matrix is singular to working precision.";

} // namespace

TEST(MinMaxResidual, SelectsTheActiveBound) {
    struct Case {
        const char *what;
        double x, xl, xu, fx, phi;
    } cases[] = {
        {"interior", 0.5, 0, 1, 0.2, 0.2},
        {"below the lower difference", 0.5, 0, 1, -0.7, -0.5},
        {"above the upper difference", 0.5, 0, 1, 3, 0.5},
        // 0.3 - 0.1 rounds to 0.19999999999999998 before the comparison.
        {"just above the rounded lower difference", 0.1, 0.3, 1, 0.2, 0.2},
        {"no bounds", 7, -kInf, kInf, -1e300, -1e300},
        {"NaN value is interior", 0.5, 0, 1, kNaN, kNaN},
        {"NaN lower bound: upper still tested", 0.5, kNaN, 1, 2, 0.5},
        {"NaN point: interior", kNaN, 0, 1, 0.25, 0.25},
        {"lower bound tested first", 0.5, 1, 0, 0.2, 0.5},
    };
    for (const auto &c : cases) {
        double phi = c.fx;
        linalg::minmax_residual(&c.x, &c.xl, &c.xu, &phi, 1);
        EXPECT_TRUE(same(phi, c.phi)) << c.what << ": " << phi;
    }
}

namespace {

// m problems of n variables with a mix of active and interior components,
// singular and NaN cases; vectors m-by-n, J in the matrix batch layout.
struct BoxBatch {
    size_t m, n;
    std::vector<double> f, J, x, xl, xu;
};

BoxBatch make_box_batch(size_t m, size_t n, unsigned long long seed) {
    solvetest::Lcg g(seed);
    BoxBatch b{m, n, std::vector<double>(m * n), std::vector<double>(m * n * n), std::vector<double>(m * n),
               std::vector<double>(m * n), std::vector<double>(m * n)};
    for (size_t t = 0; t < m * n * n; ++t) b.J[t] = g.uniform();
    for (size_t i = 0; i < m; ++i) {
        for (size_t j = 0; j < n; ++j) {
            const size_t k = i + m * j;
            b.J[i + m * (j + n * j)] += 2.0;
            b.x[k] = g.uniform();
            b.xl[k] = g.below(5) == 0 ? -kInf : b.x[k] - 0.5 + 0.5 * g.uniform();
            b.xu[k] = g.below(5) == 0 ? kInf : b.x[k] + 0.5 + 0.5 * g.uniform();
            b.f[k] = 2.0 * g.uniform();
            if (g.below(10) == 0) b.f[k] = b.xl[k] - b.x[k]; // ties with a bound
            if (g.below(30) == 0) b.f[k] = kNaN;
        }
        if (g.below(6) == 0 && n > 1) // interior components with equal Jacobian rows
            for (size_t c = 0; c < n; ++c) b.J[i + m * (1 + n * c)] = b.J[i + m * (0 + n * c)];
    }
    return b;
}

} // namespace

TEST(BoxSolve, VectorLanesAreBitIdenticalToOneAtATime) {
    for (size_t n = 0; n <= 18; ++n) {
        for (size_t m : {1, 7, 13, 40}) {
            const BoxBatch b = make_box_batch(m, n, 77 * n + m);
            for (size_t lanes : {2, 4, 8}) {
                const bool negate = lanes != 4;
                std::vector<double> D1(m * n), D2(m * n), phi1 = b.f, phi2 = b.f;
                std::vector<double> w(linalg::batch_solve_work_size(n));
                const size_t s1 = linalg::box_solve(b.f.data(), b.J.data(), b.x.data(), b.xl.data(), b.xu.data(),
                                                    m, n, D1.data(), phi1.data(), negate, w.data(), lanes);
                const size_t s2 = linalg::box_solve_each(b.f.data(), b.J.data(), b.x.data(), b.xl.data(),
                                                         b.xu.data(), m, n, D2.data(), phi2.data(), negate, w.data());
                EXPECT_EQ(s1, s2) << "n=" << n << " m=" << m;
                EXPECT_TRUE(same(D1, D2)) << "n=" << n << " m=" << m;
                EXPECT_TRUE(same(phi1, phi2)) << "n=" << n << " m=" << m;
                // phi holds the complete residual.
                std::vector<double> phi3 = b.f;
                linalg::minmax_residual(b.x.data(), b.xl.data(), b.xu.data(), phi3.data(), m * n);
                EXPECT_TRUE(same(phi1, phi3)) << "n=" << n << " m=" << m;
            }
        }
    }
}

namespace {

// Problem 0 has both components active (the lower bound of component 0, the
// upper one of component 1, whose value equals xu - x); problem 1 has
// component 0 interior and component 1 at its lower bound (value equal to
// xl - x); problem 2 is interior with a singular
// Jacobian. m = 3, n = 2.
struct Fixture {
    mexhost::ArrayPtr x, xl, xu, fx, J;
    Fixture() {
        x = array({3, 2}, {0.5, 0.5, 0.5, 0.5, 0.25, 0.5});
        xl = array({3, 2}, {0, 0, 0, 0, 0, 0});
        xu = array({3, 2}, {1, 1, 1, 1, 1, 1});
        fx = array({3, 2}, {-2, 0.125, 0.1, 0.5, -0.25, 0.2});
        // J_0 = [1 2; 3 4], J_1 = [4 1; 1 3], J_2 = [0 2; 0 4] (zero first column)
        J = array({3, 2, 2}, {1, 4, 0, 3, 1, 0, 2, 1, 2, 4, 3, 4});
    }
};

} // namespace

TEST(BatchMinMaxPlugin, ResidualAndNewtonStep) {
    Fixture s;
    auto r = testutil::call("batchminmax", 2, {s.x.get(), s.xl.get(), s.xu.get(), s.fx.get(), s.J.get()});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.warnings, std::vector<std::string>{kWarning}); // problem 2
    const std::vector<double> phi = testutil::values(r.outputs[0].get());
    EXPECT_EQ(phi, (std::vector<double>{-0.5, 0.125, 0.1, 0.5, -0.25, 0.2}));
    const std::vector<double> dx = testutil::values(r.outputs[1].get());
    // All active: dx = phi.
    EXPECT_EQ(dx[0], -0.5);
    EXPECT_EQ(dx[3], 0.5);
    // Problem 1: dx_1 = phi_1 = -0.25; row 0 of J_1 times dx = -phi_0.
    EXPECT_EQ(dx[4], -0.25);
    EXPECT_NEAR(4 * dx[1] + 1 * dx[4], -0.125, 1e-16);
    // Singular problem: -Inf after negation.
    EXPECT_EQ(dx[2], -kInf);
    EXPECT_EQ(dx[5], -kInf);

    // The residual alone, with the Jacobian neither checked nor read.
    auto bad_J = mexhost::make_array({1, 1}, mxINT16_CLASS);
    auto r1 = testutil::call("batchminmax", 1, {s.x.get(), s.xl.get(), s.xu.get(), s.fx.get(), bad_J.get()});
    ASSERT_TRUE(r1.ok) << r1.error;
    EXPECT_EQ(testutil::values(r1.outputs[0].get()), phi);
    EXPECT_TRUE(r1.warnings.empty());
}

TEST(BatchMinMaxPlugin, PhiHasTheShapeOfFx) {
    Fixture s;
    auto fx = array({1, 3, 2}, testutil::values(s.fx.get()));
    auto r = testutil::call("batchminmax", 2, {s.x.get(), s.xl.get(), s.xu.get(), fx.get(), s.J.get()});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(solvetest::dims(r.outputs[0].get()), (std::vector<size_t>{1, 3, 2}));
    EXPECT_EQ(solvetest::dims(r.outputs[1].get()), (std::vector<size_t>{3, 2}));

    for (auto shape : {std::vector<size_t>{0, 3}, std::vector<size_t>{3, 0}}) {
        auto e = mexhost::make_array(shape, mxDOUBLE_CLASS);
        auto j = mexhost::make_double(0, 0);
        auto re = testutil::call("batchminmax", 2, {e.get(), e.get(), e.get(), e.get(), j.get()});
        ASSERT_TRUE(re.ok) << re.error;
        EXPECT_EQ(solvetest::dims(re.outputs[0].get()), shape);
        EXPECT_EQ(solvetest::dims(re.outputs[1].get()), shape);
    }
}

TEST(BatchSolveBoxPlugin, SolutionWithoutNegation) {
    Fixture s;
    auto r = testutil::call("batchsolvebox", 1, {s.fx.get(), s.J.get(), s.x.get(), s.xl.get(), s.xu.get()});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.warnings, std::vector<std::string>{kWarning});
    auto rm = testutil::call("batchminmax", 2, {s.x.get(), s.xl.get(), s.xu.get(), s.fx.get(), s.J.get()});
    ASSERT_TRUE(rm.ok) << rm.error;
    const auto d = testutil::values(r.outputs[0].get()), dx = testutil::values(rm.outputs[1].get());
    for (size_t t = 0; t < d.size(); ++t) EXPECT_TRUE(same(d[t], -dx[t])) << t;
    // All active: W = -I, so d = x - xl or x - xu.
    EXPECT_EQ(d[0], 0.5);
    EXPECT_EQ(d[3], -0.5);
    EXPECT_EQ(d[2], kInf);

    auto e = mexhost::make_double(0, 2);
    auto j = mexhost::make_double(0, 0);
    auto re = testutil::call("batchsolvebox", 1, {e.get(), j.get(), e.get(), e.get(), e.get()});
    ASSERT_TRUE(re.ok) << re.error;
    EXPECT_EQ(solvetest::dims(re.outputs[0].get()), (std::vector<size_t>{0, 2}));
}

namespace {

struct MsgCase {
    int nargout;
    std::vector<const mxArray *> in;
    const char *msg;
};

void expect_messages(const char *plugin, const std::vector<MsgCase> &cases) {
    for (const auto &c : cases) {
        auto r = testutil::call(plugin, c.nargout, c.in);
        EXPECT_FALSE(r.ok) << plugin << ": " << c.msg;
        EXPECT_EQ(r.error, c.msg) << plugin;
    }
}

} // namespace

TEST(BatchMinMaxPlugin, MessagesInOrder) {
    Fixture s;
    auto v = s.x.get(), J = s.J.get();
    auto i16 = mexhost::make_array({3, 2}, mxINT16_CLASS);
    auto i16_J = mexhost::make_array({3, 4}, mxINT16_CLASS);
    auto sp = mexhost::make_sparse(3, 2, {0}, {0, 1, 1}, {1.0});
    auto sp_J = mexhost::make_sparse(3, 4, {0}, {0, 1, 1, 1, 1}, {1.0});
    auto short_v = array({5, 1}, {0, 0, 0, 0, 0});
    auto short_J = array({3, 3}, std::vector<double>(9, 1.0));
    std::vector<mexhost::ArrayPtr> elems;
    elems.push_back(mexhost::make_scalar(1));
    auto cell = mexhost::make_cell(1, 1, std::move(elems));
    expect_messages("batchminmax", {
        {1, {v, v, v}, "Four or five arguments must be passed"},
        {3, {v, v, v, v, J, J}, "Four or five arguments must be passed"},
        {3, {i16.get(), v, v, v}, "BatchSolve produces at most two outputs"},
        {1, {i16.get(), v, v, v}, "Input arguments of inproper type"},
        {1, {v, cell.get(), v, v}, "Input arguments of inproper type"},
        {1, {sp.get(), v, v, v}, "Input arguments of inproper type"},
        {1, {v, sp.get(), v, v}, "Input arguments of inproper type"},
        {2, {v, v, v, short_v.get()}, "Must pass a Jacobian to compute the newton step"},
        {1, {v, short_v.get(), i16.get(), v}, "xl is of improper size"},
        {1, {v, v, short_v.get(), i16.get()}, "xu is of improper size"},
        {1, {v, v, i16.get(), short_v.get()}, "fx is of improper size"},
        {2, {v, v, i16.get(), v, short_J.get()}, "Inputs are not compatible"},
        // xu, fx and J are read as doubles: other classes and sparse arrays
        // are refused after every size check.
        {1, {v, v, i16.get(), v}, "Input arguments of inproper type"},
        {1, {v, v, v, i16.get()}, "Input arguments of inproper type"},
        {1, {v, v, sp.get(), v}, "Input arguments of inproper type"},
        {1, {v, v, v, sp.get()}, "Input arguments of inproper type"},
        {2, {v, v, v, v, i16_J.get()}, "Input arguments of inproper type"},
        {2, {v, v, v, v, sp_J.get()}, "Input arguments of inproper type"},
    });
}

TEST(BatchSolveBoxPlugin, MessagesInOrder) {
    Fixture s;
    auto v = s.x.get(), J = s.J.get();
    auto i16 = mexhost::make_array({3, 2}, mxINT16_CLASS);
    auto i16_J = mexhost::make_array({3, 4}, mxINT16_CLASS);
    auto sp = mexhost::make_sparse(3, 2, {0}, {0, 1, 1}, {1.0});
    auto sp_J = mexhost::make_sparse(3, 4, {0}, {0, 1, 1, 1, 1}, {1.0});
    auto short_v = array({5, 1}, {0, 0, 0, 0, 0});
    auto short_J = array({3, 3}, std::vector<double>(9, 1.0));
    expect_messages("batchsolvebox", {
        {1, {v, J, v, v}, "Five arguments must be passed"},
        {2, {v, J, v, v, v, v}, "Five arguments must be passed"},
        {2, {i16.get(), J, v, v, v}, "BatchSolve produces only one output"},
        {1, {i16.get(), J, v, v, v}, "Input arguments of inproper type"},
        {1, {v, i16_J.get(), v, v, v}, "Input arguments of inproper type"},
        {1, {sp.get(), J, v, v, v}, "Input arguments of inproper type"},
        {1, {v, sp_J.get(), v, v, v}, "Input arguments of inproper type"},
        {1, {v, short_J.get(), i16.get(), v, v}, "Inputs are not compatible"},
        {1, {v, J, short_v.get(), i16.get(), v}, "x is of improper size"},
        {1, {v, J, i16.get(), short_v.get(), v}, "xl is of improper size"},
        {1, {v, J, v, i16.get(), short_v.get()}, "xu is of improper size"},
        // x, xl and xu are read as doubles: refused after the size checks.
        {1, {v, J, i16.get(), v, v}, "Input arguments of inproper type"},
        {1, {v, J, v, i16.get(), v}, "Input arguments of inproper type"},
        {1, {v, J, v, v, sp.get()}, "Input arguments of inproper type"},
    });
}
