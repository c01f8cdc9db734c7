// tensormul: the tensor-basis product against the basis formed by rowkron,
// full and sparse factors, selection and order by ind, the exact-zero rules
// of sparse factors, and the argument checks in order.
#include "matrix_test_util.hpp"

#include <limits>

using mtest::Dense;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// (basis * c) with the basis formed by chaining rowkron, accumulated over
// the rows t of c in increasing order, as (basis(r, t) * c(t, u)) + z(r, u).
Dense through_rowkron(const std::vector<const mxArray *> &factors, const Dense &c) {
    mexhost::ArrayPtr basis = mtest::result_of("rowkron", {factors[0], factors[1]});
    for (size_t k = 2; k < factors.size(); ++k) basis = mtest::result_of("rowkron", {basis.get(), factors[k]});
    const Dense F = mtest::dense(basis.get());
    EXPECT_EQ(F.n, c.m);
    Dense z = mtest::zeros(F.m, c.n);
    for (size_t t = 0; t < F.n; ++t)
        for (size_t u = 0; u < c.n; ++u)
            for (size_t r = 0; r < F.m; ++r) z(r, u) = F(r, t) * c(t, u) + z(r, u);
    return z;
}

} // namespace

TEST(Tensormul, MatchesTheRowkronBasisForFullAndSparseFactors) {
    std::mt19937 rng(5);
    const size_t m = 7;
    // Cells: full 7x2, sparse 7x3 (with an explicit zero), full 7x1, sparse 7x4.
    Dense d1 = mtest::random_dense(rng, m, 2), d2 = mtest::random_dense(rng, m, 3);
    Dense d3 = mtest::random_dense(rng, m, 1), d4 = mtest::random_dense(rng, m, 4);
    Dense s2 = mtest::random_mask(rng, m, 3, 0.5), s4 = mtest::random_mask(rng, m, 4, 0.4);
    d2(0, 0) = 0.0;
    s2(0, 0) = 1.0;
    std::vector<mexhost::ArrayPtr> cells;
    cells.push_back(mtest::full(d1));
    cells.push_back(mtest::sparse(d2, s2));
    cells.push_back(mtest::full(d3));
    cells.push_back(mtest::sparse(d4, s4));
    std::vector<const mxArray *> cell_ptr;
    for (auto &c : cells) cell_ptr.push_back(c.get());
    auto B = mexhost::make_cell(2, 2, std::move(cells)); // linear order is cell order

    struct Case {
        const char *what;
        std::vector<double> ind; // empty: no ind, all cells in order
    } cases[] = {
        {"all cells", {}},
        {"reversed pair", {2, 1}},
        {"sparse last", {1, 3, 2}},
        {"full last, sparse first", {4, 2, 1}},
        {"repeated factor", {2, 2}},
        {"truncated positions", {1.9, 2.5, 3.99}},
    };
    for (const auto &c : cases) {
        std::vector<const mxArray *> factors;
        size_t N = 1;
        std::vector<double> sel = c.ind;
        if (sel.empty()) sel = {1, 2, 3, 4};
        for (double v : sel) {
            factors.push_back(cell_ptr[size_t(v) - 1]);
            N *= mxGetN(factors.back());
        }
        for (size_t K : {1u, 3u}) {
            const Dense coef = mtest::random_dense(rng, N, K);
            auto cm = mtest::full(coef);
            auto ind = testutil::row(c.ind);
            auto z = c.ind.empty() ? mtest::result_of("tensormul", {B.get(), cm.get()})
                                   : mtest::result_of("tensormul", {B.get(), cm.get(), ind.get()});
            ASSERT_TRUE(z) << c.what;
            EXPECT_FALSE(mxIsSparse(z.get()));
            mtest::expect_same(mtest::dense(z.get()), through_rowkron(factors, coef),
                               std::string(c.what) + " K=" + std::to_string(K));
        }
    }
}

TEST(Tensormul, SparseFactorsContributeExactZeros) {
    // Row 1 of the first factor is Inf. The sparse middle factor stores
    // nothing in row 1, so that row's level is exactly 0 and stays finite
    // through the full last factor (a formed basis would hold Inf*0 = NaN).
    auto F1 = mtest::full(Dense{2, 1, {kInf, 1}});
    auto F2 = mtest::sparse(Dense{2, 2, {0, 2, 0, 3}});
    auto F3 = mtest::full(Dense{2, 1, {5, 7}});
    std::vector<mexhost::ArrayPtr> c1;
    c1.push_back(std::move(F1));
    c1.push_back(std::move(F2));
    c1.push_back(std::move(F3));
    auto B = mexhost::make_cell(1, 3, std::move(c1));
    auto c = testutil::col({1, 10});
    auto z = mtest::result_of("tensormul", {B.get(), c.get()});
    ASSERT_TRUE(z);
    // Row 1: 0 + 0. Row 2: (1*2)*7*1 + (1*3)*7*10.
    EXPECT_EQ(testutil::values(z.get()), (std::vector<double>{0, 14 + 210}));

    // A sparse last factor: rows it does not store get no contribution, so an
    // infinite coefficient does not turn them into NaN.
    auto G1 = mtest::full(Dense{2, 2, {1, 2, 3, 4}});
    auto G2 = mtest::sparse(Dense{2, 1, {0, 5}});
    std::vector<mexhost::ArrayPtr> c2;
    c2.push_back(std::move(G1));
    c2.push_back(std::move(G2));
    auto B2 = mexhost::make_cell(1, 2, std::move(c2));
    auto cinf = testutil::col({kInf, 1});
    auto z2 = mtest::result_of("tensormul", {B2.get(), cinf.get()});
    ASSERT_TRUE(z2);
    EXPECT_EQ(testutil::values(z2.get()), (std::vector<double>{0, kInf}));
}

TEST(Tensormul, RowCountComesFromTheFirstCell) {
    auto cells = [](size_t m1) {
        std::vector<mexhost::ArrayPtr> c;
        c.push_back(mexhost::make_double(m1, 2));
        c.push_back(mtest::full(Dense{3, 2, {1, 2, 3, 4, 5, 6}}));
        c.push_back(mtest::full(Dense{3, 1, {1, 1, 2}}));
        return mexhost::make_cell(1, 3, std::move(c));
    };
    auto ind = testutil::row({2, 3}), c = testutil::col({1, 10});
    auto B = cells(3);
    auto z = mtest::result_of("tensormul", {B.get(), c.get(), ind.get()});
    ASSERT_TRUE(z);
    EXPECT_EQ(testutil::values(z.get()), (std::vector<double>{41, 52, 126}));
    auto Bbad = cells(4); // the unselected first cell still fixes m
    EXPECT_EQ(mtest::error_of("tensormul", 1, {Bbad.get(), c.get(), ind.get()}), "All rows in cell array must be equal");
}

TEST(Tensormul, MessagesInOrder) {
    auto f = mexhost::make_double(2, 2);
    auto cell_of = [](std::vector<mexhost::ArrayPtr> e) {
        const size_t n = e.size();
        return mexhost::make_cell(1, n, std::move(e));
    };
    std::vector<mexhost::ArrayPtr> keep;
    auto hold = [&](mexhost::ArrayPtr a) {
        keep.push_back(std::move(a));
        return keep.back().get();
    };
    auto two = [&] {
        std::vector<mexhost::ArrayPtr> e;
        e.push_back(mexhost::make_double(2, 2));
        e.push_back(mexhost::make_double(2, 3));
        return cell_of(std::move(e));
    };
    const mxArray *B = hold(two());
    const mxArray *c6 = hold(mexhost::make_double(6, 1));
    const mxArray *one = hold([] {
        std::vector<mexhost::ArrayPtr> e;
        e.push_back(mexhost::make_double(2, 2));
        return mexhost::make_cell(1, 1, std::move(e));
    }());
    const mxArray *empty_cell = hold(mexhost::make_array({0, 0}, mxCELL_CLASS));
    const mxArray *unset = hold(mexhost::make_array({1, 2}, mxCELL_CLASS)); // cells never assigned
    const mxArray *with_int = hold([] {
        std::vector<mexhost::ArrayPtr> e;
        e.push_back(mexhost::make_double(2, 2));
        e.push_back(mexhost::make_array({2, 2}, mxINT16_CLASS));
        return mexhost::make_cell(1, 2, std::move(e));
    }());
    const mxArray *rows_differ = hold([] {
        std::vector<mexhost::ArrayPtr> e;
        e.push_back(mexhost::make_double(2, 2));
        e.push_back(mexhost::make_double(3, 3));
        return mexhost::make_cell(1, 2, std::move(e));
    }());
    const mxArray *c_sparse = hold(mtest::sparse(Dense{6, 1, {1, 0, 0, 0, 0, 1}}));
    const mxArray *c_int = hold(mexhost::make_array({6, 1}, mxINT32_CLASS));
    const mxArray *c4 = hold(mexhost::make_double(4, 1));
    const mxArray *notcell = f.get();
    auto r = [&](std::vector<double> v) { return hold(testutil::row(v)); };
    const char *kType = "Input arguments of inproper type", *kTwo = "At least two matrices must be passed";
    const char *kRange = "Input arguments of improper type", *kNaNInd = "Index argument must not contain NaN";
    const char *kIndClass = "Index argument must be a full double array";
    const char *kReal = "B must be composed of matrices of real numbers";
    struct Case {
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {{B}, "Two arguments must be passed"},
        {{notcell, c6}, kType},
        {{B, c_sparse}, kType},
        {{B, c_int}, kType},
        {{empty_cell, c6}, "Inputs cannot be empty"},
        {{one, c6}, kTwo},
        {{one, c6, r({1, 1})}, kTwo},
        // ind with fewer than two entries, NaN, or not full double.
        {{B, c6, r({1})}, kTwo},
        {{B, c6, hold(mexhost::make_double(0, 0))}, kTwo},
        {{B, c6, r({1, kNaN})}, kNaNInd},
        {{B, c6, r({kNaN, 5})}, kNaNInd},
        {{B, c6, hold(mexhost::make_array({1, 2}, mxINT32_CLASS))}, kIndClass},
        {{B, c6, hold(mtest::sparse(Dense{1, 2, {1, 2}}))}, kIndClass},
        {{B, c6, r({1, 3})}, kRange},
        {{B, c6, r({0.99, 2})}, kRange},
        {{B, c6, r({2.5, 1})}, kRange},
        {{B, c6, r({1, -kInf})}, kRange},
        {{B, c6, r({5, kNaN})}, kRange}, // first offending entry decides
        {{unset, c6}, kReal},
        {{with_int, c6}, kReal},
        {{rows_differ, c6}, "All rows in cell array must be equal"},
        {{B, c4}, "B and c are not conformable"},
        {{B, c6, r({1, 1})}, "B and c are not conformable"},
    };
    for (const auto &c : cases) EXPECT_EQ(mtest::error_of("tensormul", 1, c.in), c.msg) << c.msg;

    // A complex c is accepted; only its real part is read.
    auto cc = mexhost::make_double(6, 1, {1, 0, 0, 0, 0, 0}, {9, 9, 9, 9, 9, 9});
    auto z = mtest::result_of("tensormul", {B, cc.get()});
    ASSERT_TRUE(z);
    EXPECT_EQ(mxGetM(z.get()), 2u);
}
