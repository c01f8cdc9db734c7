// The dense solver (against exact solutions and an independent IEEE
// emulation), its batched forms, and the batchsolve plug-in.
#include "backslash.hpp"
#include "batch_solve.hpp"
#include "solve_test_util.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using solvetest::same;

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kEps = std::numeric_limits<double>::epsilon();
const char *kWarning = "Backslash: Matrix is singular to working precision.";

struct System {
    int kind; // 0 well, 1 ill conditioned, 2 scaled rows, 3 degenerate, 4 tie, 5 equilibration
    size_t n, k;
    double cond;
    bool warn;
    std::vector<double> A, B, X_ieee, X_exact;
};

std::vector<System> reference_systems() {
    std::vector<System> out;
    for (const auto &r : testutil::read_table("linalg_solve_backslash.txt")) {
        System s;
        s.kind = int(r[0]);
        s.n = size_t(r[1]);
        s.k = size_t(r[2]);
        s.cond = r[3];
        s.warn = r[4] != 0;
        const size_t nn = s.n * s.n, nk = s.n * s.k;
        if (r.size() != 5 + nn + 3 * nk) throw std::runtime_error("bad row in linalg_solve_backslash.txt");
        auto it = r.begin() + 5;
        s.A.assign(it, it + nn);
        s.B.assign(it + nn, it + nn + nk);
        s.X_ieee.assign(it + nn + nk, it + nn + 2 * nk);
        s.X_exact.assign(it + nn + 2 * nk, it + nn + 3 * nk);
        out.push_back(s);
    }
    return out;
}

// Solves one system with linalg::backslash; returns false when singular.
bool solve(std::vector<double> A, std::vector<double> &X, size_t n, size_t k) {
    return linalg::backslash(A.data(), X.data(), n, k);
}

} // namespace

TEST(Backslash, ReproducesTheIeeeEmulationBitForBit) {
    // Covers equilibration, pivot order, ties (the table's tie cases change
    // if a later tied row wins), pivots that only the equilibrated values
    // decide, NaN and Inf entries, singular and last-pivot-zero systems.
    const auto systems = reference_systems();
    ASSERT_GT(systems.size(), 70u);
    int kinds[6] = {0, 0, 0, 0, 0, 0};
    for (size_t i = 0; i < systems.size(); ++i) {
        const System &s = systems[i];
        std::vector<double> X = s.B;
        const bool ok = solve(s.A, X, s.n, s.k);
        EXPECT_EQ(!ok, s.warn) << "system " << i;
        EXPECT_TRUE(same(X, s.X_ieee)) << "system " << i << " kind " << s.kind;
        ++kinds[s.kind];
    }
    for (int c : kinds) EXPECT_GT(c, 0);
}

TEST(Backslash, AccurateToTheConditionOfTheSystem) {
    // Normwise error against the exact solution, bounded by Skeel's
    // condition number (insensitive to row scaling) times a small multiple
    // of the rounding unit; this holds for ill-conditioned systems (cond up
    // to 3e11) and rows scaled by up to 1e300.
    double worst_well = 0, worst_ratio = 0;
    for (const System &s : reference_systems()) {
        if (!std::isfinite(s.cond)) continue;
        std::vector<double> X = s.B;
        ASSERT_TRUE(solve(s.A, X, s.n, s.k));
        double err = 0, norm = 0;
        for (size_t t = 0; t < X.size(); ++t) {
            err = std::max(err, std::fabs(X[t] - s.X_exact[t]));
            norm = std::max(norm, std::fabs(s.X_exact[t]));
        }
        const double rel = err / norm;
        worst_ratio = std::max(worst_ratio, rel / (s.cond * kEps));
        if (s.cond < 100) worst_well = std::max(worst_well, rel);
    }
    EXPECT_LT(worst_well, 4e-15);
    EXPECT_LT(worst_ratio, 2.0);
}

TEST(Backslash, DegenerateSystems) {
    struct Case {
        const char *what;
        size_t n, k;
        std::vector<double> A, B, X;
        bool singular;
    } cases[] = {
        {"1x1 zero: 0/0 equilibration, never tested", 1, 1, {0}, {1}, {kNaN}, false},
        {"last pivot zero: no warning", 2, 1, {1, 1, 1, 1}, {1, 2}, {-kInf, kInf}, false},
        {"zero first column: all n*k set to +Inf", 3, 2, {0, 0, 0, 1, 3, 5, 2, 4, 7}, {1, 2, 3, 4, 5, 6},
         {kInf, kInf, kInf, kInf, kInf, kInf}, true},
        {"NaN column has no pivot candidate", 2, 1, {kNaN, kNaN, 1, 2}, {1, 1}, {kInf, kInf}, true},
        {"NaN ignored by the row maximum: row 1 keeps its pivot", 2, 1, {1, 0, kNaN, 1}, {1, 1}, {kNaN, kNaN},
         false},
        {"raw pivoting would lose x1; equilibrated pivoting gives it exactly", 2, 1, {1, 1, 1e20, 1},
         {1e20, 2}, {1, 1}, false},
        {"1x1 negative", 1, 1, {-4}, {2}, {-0.5}, false},
    };
    for (const auto &c : cases) {
        std::vector<double> X = c.B;
        EXPECT_EQ(!solve(c.A, X, c.n, c.k), c.singular) << c.what;
        EXPECT_TRUE(same(X, c.X)) << c.what;
    }
    // n = 0: nothing is computed.
    EXPECT_TRUE(linalg::backslash(nullptr, nullptr, 0, 3));
}

namespace {

// A batch of m systems of size n in the batch layout, mixing ordinary
// systems with the cases where the pivot rules matter: singular ones, a zero
// last pivot, NaN and Inf entries, integer entries with ties, scaled rows.
void make_batch(size_t m, size_t n, unsigned long long seed, std::vector<double> &A, std::vector<double> &B) {
    solvetest::Lcg g(seed);
    A.assign(m * n * n, 0.0);
    B.assign(m * n, 0.0);
    if (n == 0) return;
    for (size_t i = 0; i < m; ++i) {
        const int type = g.below(8);
        auto a = [&](size_t r, size_t c) -> double & { return A[i + m * (r + n * c)]; };
        for (size_t r = 0; r < n; ++r) {
            B[i + m * r] = g.uniform();
            const double scale = type == 5 ? std::pow(10.0, 3 * g.below(7) - 9) : 1.0;
            for (size_t c = 0; c < n; ++c)
                a(r, c) = type == 4 ? double(g.below(3) - 1) : scale * (g.uniform() + (r == c ? 1.5 : 0.0));
        }
        const size_t col = size_t(g.below(int(n)));
        if (type == 1)
            for (size_t r = 0; r < n; ++r) a(r, col) = 0.0; // singular unless col is last
        if (type == 2 && n > 1)
            for (size_t c = 0; c < n; ++c) a(n - 1, c) = a(0, c); // repeated row
        if (type == 3) a(size_t(g.below(int(n))), col) = g.below(2) ? kNaN : kInf;
        if (type == 6) B[i + m * col] = kNaN;
    }
}

} // namespace

TEST(BatchSolve, VectorLanesAreBitIdenticalToOneAtATime) {
    for (size_t n = 0; n <= 18; ++n) {
        for (size_t m : {1, 3, 6, 15, 67}) {
            std::vector<double> A, B;
            make_batch(m, n, 1000 * n + m, A, B);
            std::vector<double> X(m * n), w(linalg::batch_solve_work_size(n));
            const size_t s = linalg::batch_solve_each(A.data(), B.data(), X.data(), m, n, w.data());
            // Every vector width; the solution may overwrite the right-hand sides.
            for (size_t lanes : {2, 4, 8}) {
                std::vector<double> Y(m * n, -7.0), Z = B;
                EXPECT_EQ(linalg::batch_solve(A.data(), B.data(), Y.data(), m, n, w.data(), lanes), s)
                    << "n=" << n << " m=" << m << " lanes=" << lanes;
                EXPECT_TRUE(same(Y, X)) << "n=" << n << " m=" << m << " lanes=" << lanes;
                linalg::batch_solve(A.data(), Z.data(), Z.data(), m, n, w.data(), lanes);
                EXPECT_TRUE(same(Z, X)) << "n=" << n << " m=" << m << " lanes=" << lanes;
            }
        }
    }
}

TEST(BatchSolvePlugin, SolvesEachSystemOfTheBatchLayout) {
    // m = 3 systems of size 2; the matrix batch may come as m by n*n or as
    // m by n by n: only its element count matters.
    const size_t m = 3, n = 2;
    const double mats[3][4] = {{2, 1, 1, 3}, {0, 1, 1, 0}, {4, -2, 1, 1}}; // column-major
    std::vector<double> A(m * n * n), B = {1, 2, 3, 4, 5, 6};
    for (size_t i = 0; i < m; ++i)
        for (size_t t = 0; t < n * n; ++t) A[i + m * t] = mats[i][t];
    for (auto shape : {std::vector<size_t>{m, n * n}, std::vector<size_t>{m, n, n}}) {
        auto a = solvetest::array(shape, A);
        auto b = solvetest::array({m, n}, B);
        auto r = testutil::call("batchsolve", 1, {b.get(), a.get()});
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_TRUE(r.warnings.empty());
        const mxArray *X = r.outputs[0].get();
        ASSERT_EQ(solvetest::dims(X), (std::vector<size_t>{m, n}));
        for (size_t i = 0; i < m; ++i) {
            std::vector<double> x = {B[i], B[i + m]};
            ASSERT_TRUE(solve(std::vector<double>(mats[i], mats[i] + 4), x, n, 1));
            EXPECT_EQ(mxGetPr(X)[i], x[0]) << i;
            EXPECT_EQ(mxGetPr(X)[i + m], x[1]) << i;
            // and it is the solution: A_i * x = b_i
            EXPECT_NEAR(mats[i][0] * x[0] + mats[i][2] * x[1], B[i], 1e-15);
            EXPECT_NEAR(mats[i][1] * x[0] + mats[i][3] * x[1], B[i + m], 1e-15);
        }
    }
}

TEST(BatchSolvePlugin, OneWarningAndOneInfRowPerSingularSystem) {
    // Systems 0 and 2 have a zero first column; system 1 is the identity.
    auto a = solvetest::array({3, 4}, {0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 1, 0});
    auto b = solvetest::array({3, 2}, {1, 2, 3, 4, 5, 6});
    auto r = testutil::call("batchsolve", 1, {b.get(), a.get()});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.warnings, (std::vector<std::string>{kWarning, kWarning}));
    EXPECT_EQ(testutil::values(r.outputs[0].get()), (std::vector<double>{kInf, 2, kInf, kInf, 5, kInf}));

    // A zero 1x1 system is never tested: NaN and no warning.
    auto z = testutil::row({0});
    auto one = testutil::row({1});
    auto rz = testutil::call("batchsolve", 1, {one.get(), z.get()});
    ASSERT_TRUE(rz.ok) << rz.error;
    EXPECT_TRUE(rz.warnings.empty());
    EXPECT_TRUE(std::isnan(mxGetPr(rz.outputs[0].get())[0]));
}

TEST(BatchSolvePlugin, EmptyBatchesAndComplexInputs) {
    struct Case {
        size_t m, n;
    } cases[] = {{0, 3}, {4, 0}, {0, 0}};
    for (const auto &c : cases) {
        auto b = mexhost::make_double(c.m, c.n);
        auto a = mexhost::make_double(0, 0);
        auto r = testutil::call("batchsolve", 1, {b.get(), a.get()});
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(solvetest::dims(r.outputs[0].get()), (std::vector<size_t>{c.m, c.n}));
    }
    // Only the real parts of complex inputs are read.
    auto b = mexhost::make_double(1, 2, {3, 4}, {9, 9});
    auto a = mexhost::make_double(1, 4, {2, 0, 0, 4}, {1, 1, 1, 1});
    auto r = testutil::call("batchsolve", 1, {b.get(), a.get()});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_FALSE(mxIsComplex(r.outputs[0].get()));
    EXPECT_EQ(testutil::values(r.outputs[0].get()), (std::vector<double>{1.5, 1}));
}

TEST(BatchSolvePlugin, MessagesInOrder) {
    auto b = solvetest::array({2, 2}, {1, 2, 3, 4});
    auto a = solvetest::array({2, 4}, {1, 1, 0, 0, 0, 0, 1, 1});
    auto a_short = solvetest::array({2, 3}, {1, 1, 0, 0, 0, 0});
    auto i16 = mexhost::make_array({2, 4}, mxINT16_CLASS);
    auto sp = mexhost::make_sparse(2, 4, {0, 1}, {0, 1, 2, 2, 2}, {1, 1});
    auto sp_b = mexhost::make_sparse(2, 2, {0}, {0, 1, 1}, {1});
    struct Case {
        int nargout;
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {1, {b.get()}, "Two arguments must be passed"},
        {2, {b.get(), a.get(), a.get()}, "Two arguments must be passed"},
        {2, {i16.get(), a.get()}, "BatchSolve produces only one output"},
        {1, {i16.get(), a.get()}, "Input arguments of inproper type"},
        {1, {b.get(), i16.get()}, "Input arguments of inproper type"},
        {1, {sp_b.get(), a.get()}, "Input arguments of inproper type"},
        {1, {b.get(), sp.get()}, "Input arguments of inproper type"},
        {1, {b.get(), a_short.get()}, "Inputs are not compatible"},
    };
    for (const auto &c : cases) {
        auto r = testutil::call("batchsolve", c.nargout, c.in);
        EXPECT_FALSE(r.ok) << c.msg;
        EXPECT_EQ(r.error, c.msg);
    }
}
