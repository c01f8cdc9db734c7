// trisolve: solves with given factors A(p, q) = L*U against a direct solve
// of A, full and sparse factors alike, the sparse missing-diagonal rule,
// and the argument checks in order.
#include "matrix_test_util.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

using mtest::Dense;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Gaussian elimination with partial pivoting in long double: an independent
// direct solve of A*X = B.
Dense direct_solve(Dense A, Dense B) {
    const size_t n = A.m, k = B.n;
    std::vector<long double> a(A.v.begin(), A.v.end()), b(B.v.begin(), B.v.end());
    auto at = [&](size_t i, size_t j) -> long double & { return a[i + n * j]; };
    auto bt = [&](size_t i, size_t j) -> long double & { return b[i + n * j]; };
    for (size_t j = 0; j < n; ++j) {
        size_t piv = j;
        for (size_t i = j + 1; i < n; ++i)
            if (std::fabs(at(i, j)) > std::fabs(at(piv, j))) piv = i;
        for (size_t c = 0; c < n; ++c) std::swap(at(j, c), at(piv, c));
        for (size_t c = 0; c < k; ++c) std::swap(bt(j, c), bt(piv, c));
        for (size_t i = j + 1; i < n; ++i) {
            const long double g = at(i, j) / at(j, j);
            for (size_t c = j; c < n; ++c) at(i, c) -= g * at(j, c);
            for (size_t c = 0; c < k; ++c) bt(i, c) -= g * bt(j, c);
        }
    }
    for (size_t c = 0; c < k; ++c)
        for (size_t i = n; i-- > 0;) {
            long double t = bt(i, c);
            for (size_t j = i + 1; j < n; ++j) t -= at(i, j) * bt(j, c);
            bt(i, c) = t / at(i, i);
        }
    Dense X = mtest::zeros(n, k);
    for (size_t i = 0; i < n * k; ++i) X.v[i] = double(b[i]);
    return X;
}

// A triangular factor with a nonzero diagonal and about half of its other
// triangle zero. The ignored triangle of the full form holds NaN; the sparse
// form stores some NaN entries there too, which must be skipped.
struct Factor {
    Dense value;                // the triangle only, zeros elsewhere
    mexhost::ArrayPtr full, sp; // the two storage forms handed to trisolve
};

Factor make_factor(std::mt19937 &rng, size_t n, bool lower) {
    std::uniform_real_distribution<double> off(-0.5, 0.5), diag(1.0, 2.0);
    std::bernoulli_distribution keep(0.5), sign(0.5);
    Factor f;
    f.value = mtest::zeros(n, n);
    Dense with_garbage = mtest::zeros(n, n), stored = mtest::zeros(n, n);
    for (size_t j = 0; j < n; ++j)
        for (size_t i = 0; i < n; ++i) {
            const bool inside = lower ? i >= j : i <= j;
            if (i == j) {
                f.value(i, j) = sign(rng) ? diag(rng) : -diag(rng);
            } else if (inside) {
                f.value(i, j) = keep(rng) ? off(rng) : 0.0;
            }
            with_garbage(i, j) = inside ? f.value(i, j) : kNaN;
            stored(i, j) = inside ? (f.value(i, j) != 0.0) : keep(rng);
        }
    f.full = mtest::full(with_garbage);
    f.sp = mtest::sparse(with_garbage, stored);
    return f;
}

Dense multiply(const Dense &A, const Dense &B) {
    Dense C = mtest::zeros(A.m, B.n);
    for (size_t j = 0; j < B.n; ++j)
        for (size_t l = 0; l < A.n; ++l)
            for (size_t i = 0; i < A.m; ++i) C(i, j) += A(i, l) * B(l, j);
    return C;
}

} // namespace

TEST(Trisolve, MatchesDirectSolveForEveryStorageAndPermutation) {
    std::mt19937 rng(7);
    for (size_t n : {1u, 4u, 9u}) {
        for (size_t k : {1u, 3u}) {
            const Factor L = make_factor(rng, n, true), U = make_factor(rng, n, false);
            const Dense LU = multiply(L.value, U.value);
            const Dense b = mtest::random_dense(rng, n, k);
            std::vector<size_t> p(n), q(n);
            std::iota(p.begin(), p.end(), 0);
            std::iota(q.begin(), q.end(), 0);
            std::shuffle(p.begin(), p.end(), rng);
            std::shuffle(q.begin(), q.end(), rng);
            // Fractional entries are truncated toward zero.
            const double frac = n % 2 ? 0.75 : 0.0;
            std::vector<double> p1, q1;
            for (size_t i = 0; i < n; ++i) {
                p1.push_back(double(p[i] + 1) + frac);
                q1.push_back(double(q[i] + 1) + frac);
            }
            auto P = testutil::col(p1), Q = testutil::row(q1), E = mexhost::make_double(0, 0);
            auto B = mtest::full(b);

            for (int perm = 0; perm < 4; ++perm) {
                const bool with_p = perm & 1, with_q = perm & 2;
                // A(p, q) = L*U, with identity for an absent permutation.
                Dense A = mtest::zeros(n, n);
                for (size_t i = 0; i < n; ++i)
                    for (size_t j = 0; j < n; ++j) A(with_p ? p[i] : i, with_q ? q[j] : j) = LU(i, j);
                const Dense want = direct_solve(A, b);

                Dense first;
                for (int storage = 0; storage < 4; ++storage) {
                    const mxArray *l = storage & 1 ? L.sp.get() : L.full.get();
                    const mxArray *u = storage & 2 ? U.sp.get() : U.full.get();
                    const std::string what = "n=" + std::to_string(n) + " k=" + std::to_string(k) +
                                             " perm=" + std::to_string(perm) + " storage=" + std::to_string(storage);
                    auto x = mtest::result_of("trisolve",
                                              {l, u, with_p ? P.get() : E.get(), with_q ? Q.get() : E.get(), B.get()});
                    ASSERT_TRUE(x) << what;
                    const Dense got = mtest::dense(x.get());
                    ASSERT_EQ(got.m, n);
                    ASSERT_EQ(got.n, k);
                    double worst = 0;
                    for (size_t i = 0; i < n * k; ++i) worst = std::max(worst, std::fabs(got.v[i] - want.v[i]));
                    EXPECT_LT(worst, 1e-13) << what;
                    // With a stored diagonal in every column the sparse sweeps
                    // do exactly the arithmetic of the full ones.
                    if (storage == 0)
                        first = got;
                    else
                        mtest::expect_same(got, first, what);
                }
            }
        }
    }
}

TEST(Trisolve, SparseColumnWithoutDiagonalCarriesTheLastQuotient) {
    auto I3 = mtest::sparse(Dense{3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1}});
    auto E = mexhost::make_double(0, 0);
    struct Case {
        const char *what;
        bool lower; // the fixture is L (else U); the other factor is I
        std::vector<size_t> ir, jc;
        std::vector<double> v, b, x;
    } cases[] = {
        // Column 2 has no diagonal: its entry at row 3 uses column 1's
        // quotient 4/2 = 2, so x(3) = (6 - 2 - 2*3)/4.
        {"forward, middle column", true, {0, 1, 2, 2, 2}, {0, 3, 4, 5}, {2, 1, 1, 3, 4}, {4, 5, 6}, {2, 3, -0.5}},
        // No diagonal yet: the quotient is still 0 and x(2) is untouched.
        {"forward, first column", true, {1, 1, 2}, {0, 1, 2, 3}, {1, 2, 1}, {3, 5, 7}, {3, 2.5, 7}},
        // The last column has no diagonal: its rows are updated with the
        // undivided x(3) = 3.
        {"backward, last column", false, {0, 1, 0, 1}, {0, 1, 2, 4}, {1, 2, 1, 1}, {1, 2, 3}, {-2, -0.5, 3}},
        // Column 2 has no diagonal: row 1 is updated with column 3's
        // quotient 8/4 = 2.
        {"backward, middle column", false, {0, 0, 1, 2}, {0, 1, 2, 4}, {2, 1, 1, 4}, {6, 5, 8}, {2, 3, 2}},
    };
    for (const auto &c : cases) {
        auto F = mexhost::make_sparse(3, 3, c.ir, c.jc, c.v);
        auto b = testutil::col(c.b);
        auto x = mtest::result_of("trisolve", {c.lower ? F.get() : I3.get(), c.lower ? I3.get() : F.get(), E.get(),
                                               E.get(), b.get()});
        ASSERT_TRUE(x) << c.what;
        EXPECT_EQ(testutil::values(x.get()), c.x) << c.what;
    }
}

TEST(Trisolve, IdentityFactorsOnlyPermute) {
    auto I3 = mtest::sparse(Dense{3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1}});
    auto F3 = mtest::full(Dense{3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1}});
    auto p = testutil::row({3, 1, 2}), q = testutil::row({2, 3, 1}), E = mexhost::make_double(0, 0);
    auto b = mexhost::make_double(3, 2, {10, 20, 30, 1, 2, 3});
    // y = b(p, :) = [30 10 20]; x(q(j)) = y(j).
    auto x = mtest::result_of("trisolve", {I3.get(), F3.get(), p.get(), q.get(), b.get()});
    ASSERT_TRUE(x);
    EXPECT_EQ(testutil::values(x.get()), (std::vector<double>{20, 30, 10, 2, 3, 1}));

    auto none = mexhost::make_double(3, 0);
    auto x0 = mtest::result_of("trisolve", {I3.get(), F3.get(), p.get(), q.get(), none.get()});
    ASSERT_TRUE(x0);
    EXPECT_EQ(mxGetM(x0.get()), 3u);
    EXPECT_EQ(mxGetN(x0.get()), 0u);
}

TEST(Trisolve, MessagesInOrder) {
    auto I2 = mtest::full(Dense{2, 2, {1, 0, 0, 1}});
    auto S2 = mtest::sparse(Dense{2, 2, {1, 0, 0, 1}});
    auto p = testutil::row({2, 1}), b = testutil::col({1, 2}), E = mexhost::make_double(0, 0);
    auto i32 = mexhost::make_array({2, 2}, mxINT32_CLASS);
    auto txt = mexhost::make_string("ab");
    auto cplx = mexhost::make_double(2, 2, {1, 0, 0, 1}, {0, 0, 0, 0});
    auto sp_p = mtest::sparse(Dense{1, 2, {2, 1}});
    auto sp_b = mtest::sparse(Dense{2, 1, {1, 2}});
    auto cplx_p = mexhost::make_double(1, 2, {2, 1}, {0, 0});
    auto L23 = mexhost::make_double(2, 3), U33 = mexhost::make_double(3, 3), U23 = mexhost::make_double(2, 3);
    auto b3 = testutil::col({1, 2, 3}), b20 = mexhost::make_double(2, 0);
    auto p3 = testutil::row({1, 2, 3});
    const char *kType = "Input arguments of inproper type", *kReal = "Only real inputs are supported";
    const char *kRowSize = "Row permutation index is the wrong size";
    const char *kColSize = "Column permutation index is the wrong size";
    const char *kRowRange = "Row permutation index is out of range";
    const char *kColRange = "Column permutation index is out of range";
    std::vector<mexhost::ArrayPtr> keep;
    auto r = [&](std::vector<double> v) {
        keep.push_back(testutil::row(v));
        return keep.back().get();
    };
    const mxArray *L = I2.get(), *U = S2.get(), *e = E.get();
    struct Case {
        int nargout;
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {1, {L, U, e, e}, "Five arguments must be passed"},
        {1, {L, U, e, e, b.get(), b.get()}, "Five arguments must be passed"},
        {2, {L, U, e, e, b.get()}, "Only one output is produced by TriSolve"},
        {1, {i32.get(), U, e, e, b.get()}, kType},
        {1, {cplx.get(), i32.get(), e, e, b.get()}, kReal}, // L fully checked before U
        {1, {L, txt.get(), e, e, b.get()}, kType},
        {1, {L, U, sp_p.get(), e, b.get()}, kType},
        {1, {L, U, cplx_p.get(), e, b.get()}, kReal},
        {1, {L, U, e, i32.get(), b.get()}, kType},
        {1, {L, U, e, e, sp_b.get()}, kType},
        {1, {L, U, e, e, cplx.get()}, kReal},
        {1, {L23.get(), U, e, e, b.get()}, "First input must be square"},
        {1, {L, U33.get(), e, e, b.get()}, "Second input must be square"},
        {1, {L, U23.get(), e, e, b.get()}, "Second input must be square"},
        {1, {L, U, e, e, b3.get()}, "Inputs are not comformable"},
        {1, {L, U, p3.get(), p3.get(), b.get()}, kRowSize},
        {1, {L, U, p3.get(), e, b20.get()}, kRowSize},
        {1, {L, U, p.get(), p3.get(), b.get()}, kColSize},
        // Out-of-range permutation entries are refused before any use.
        {1, {L, U, r({0, 1}), e, b.get()}, kRowRange},
        {1, {L, U, r({1, 3}), e, b.get()}, kRowRange},
        {1, {L, U, r({1, kNaN}), e, b.get()}, kRowRange},
        {1, {L, U, r({-1, 2}), e, b.get()}, kRowRange},
        {1, {L, U, r({0.5, 2}), e, b.get()}, kRowRange},
        {1, {L, U, r({1, 3}), r({1, 2, 3}), b.get()}, kRowRange},
        {1, {L, U, r({1, 3}), e, b20.get()}, kRowRange},
        {1, {L, U, p.get(), r({3, 1}), b.get()}, kColRange},
        {1, {L, U, e, r({kInf, 1}), b.get()}, kColRange},
        {1, {L, U, e, r({2, 1e300}), b20.get()}, kColRange},
    };
    for (const auto &c : cases) EXPECT_EQ(mtest::error_of("trisolve", c.nargout, c.in), c.msg) << c.msg;

    // The largest entry that truncates to n is still in range.
    auto x = mtest::result_of("trisolve", {L, U, r({2.999, 1}), r({1, 2.5}), b.get()});
    ASSERT_TRUE(x);
    EXPECT_EQ(testutil::values(x.get()), (std::vector<double>{2, 1}));
}
