// rowcolscale: products with a diagonal matrix on either side, full and
// sparse operands, the kept sparsity structure, sparse and empty vector
// operands, and the argument checks in order.
#include "matrix_test_util.hpp"

#include <limits>

using mtest::Dense;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
}

TEST(Rowcolscale, ScalesColumnsRowsOrEverything) {
    auto X22 = mtest::full(Dense{2, 2, {1, 3, 2, 4}});
    auto yrow = testutil::row({10, 100}), ycol = testutil::col({10, 100});
    auto x2 = testutil::col({2, 3}), ones = mtest::full(Dense{2, 2, {1, 1, 1, 1}});
    auto x13 = testutil::row({2, -1, 0.5}), Y32 = mtest::full(Dense{3, 2, {1, 2, 3, 4, 5, 6}});
    auto five = mexhost::make_scalar(5), Y23 = mtest::full(Dense{2, 3, {1, 2, 3, 4, 5, 6}});
    struct Case {
        const char *what;
        const mxArray *X, *Y;
        Dense want;
    } cases[] = {
        {"columns by a row", X22.get(), yrow.get(), {2, 2, {10, 30, 200, 400}}},
        {"columns by a column", X22.get(), ycol.get(), {2, 2, {10, 30, 200, 400}}},
        {"rows by a column", x2.get(), ones.get(), {2, 2, {2, 3, 2, 3}}},
        {"rows by a row of three", x13.get(), Y32.get(), {3, 2, {2, -2, 1.5, 8, -5, 3}}},
        {"scalar", five.get(), Y23.get(), {2, 3, {5, 10, 15, 20, 25, 30}}},
    };
    for (const auto &c : cases) {
        auto C = mtest::result_of("rowcolscale", {c.X, c.Y});
        ASSERT_TRUE(C) << c.what;
        EXPECT_FALSE(mxIsSparse(C.get())) << c.what;
        mtest::expect_same(mtest::dense(C.get()), c.want, c.what);
    }

    // A full N-d operand keeps its dimensions.
    auto Y3d = mexhost::make_array({2, 2, 2}, mxDOUBLE_CLASS);
    for (int i = 0; i < 8; ++i) mxGetPr(Y3d.get())[i] = i + 1;
    auto C = mtest::result_of("rowcolscale", {x2.get(), Y3d.get()});
    ASSERT_TRUE(C);
    ASSERT_EQ(mxGetNumberOfDimensions(C.get()), 3u);
    EXPECT_EQ(testutil::values(C.get()), (std::vector<double>{2, 6, 6, 12, 10, 18, 14, 24}));
}

TEST(Rowcolscale, SparseOperandKeepsItsExactStructure) {
    // Explicit zeros stay stored, and so do entries scaled to zero or NaN.
    const Dense values{3, 3, {1, 0, 2, 0, 3, 0, 4, 0, 5}};
    const Dense stored{3, 3, {1, 1, 1, 0, 1, 0, 1, 1, 1}};
    auto S = mtest::sparse(values, stored);
    auto ycol = testutil::row({2, 0, kNaN}), xrow = testutil::col({0, -1, 3}), s = mexhost::make_scalar(5);
    struct Case {
        const char *what;
        const mxArray *X, *Y;
        Dense want;
    } cases[] = {
        {"X*diag(y)", S.get(), ycol.get(), {3, 3, {2, 0, 4, 0, 0, 0, kNaN, kNaN, kNaN}}},
        {"diag(x)*Y", xrow.get(), S.get(), {3, 3, {0, -0.0, 6, 0, -3, 0, 0, -0.0, 15}}},
        {"scalar*Y", s.get(), S.get(), {3, 3, {5, 0, 10, 0, 15, 0, 20, 0, 25}}},
    };
    for (const auto &c : cases) {
        auto C = mtest::result_of("rowcolscale", {c.X, c.Y});
        ASSERT_TRUE(C) << c.what;
        mtest::expect_same(mtest::stored_mask(C.get()), stored, c.what);
        EXPECT_EQ(mxGetNzmax(C.get()), mxGetNzmax(S.get())) << c.what;
        // Unstored positions read as 0; the mask fixes which are stored.
        Dense want = c.want;
        for (size_t k = 0; k < 9; ++k)
            if (stored.v[k] == 0) want.v[k] = 0;
        mtest::expect_same(mtest::dense(C.get()), want, c.what);
    }
}

TEST(Rowcolscale, SparseVectorOperandIsReadAsItsFullEquivalent) {
    const Dense M{3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}};
    auto full = mtest::full(M);
    auto sp = mtest::sparse(M);
    // Vectors with an unstored position in the middle.
    auto yrow = mtest::sparse(Dense{1, 3, {2, 0, 3}}), ycol = mtest::sparse(Dense{3, 1, {0, 2, 3}});
    auto zero_scalar = mtest::sparse(Dense{1, 1, {0}}), two_scalar = mtest::sparse(Dense{1, 1, {2}});
    struct Case {
        const char *what;
        const mxArray *X, *Y;
        Dense want;
        bool sparse_result;
    } cases[] = {
        {"full X, sparse row y", full.get(), yrow.get(), {3, 3, {2, 4, 6, 0, 0, 0, 21, 24, 27}}, false},
        {"sparse X, sparse row y", sp.get(), yrow.get(), {3, 3, {2, 4, 6, 0, 0, 0, 21, 24, 27}}, true},
        {"sparse column x, full Y", ycol.get(), full.get(), {3, 3, {0, 4, 9, 0, 10, 18, 0, 16, 27}}, false},
        {"sparse column x, sparse Y", ycol.get(), sp.get(), {3, 3, {0, 4, 9, 0, 10, 18, 0, 16, 27}}, true},
        {"unstored sparse scalar", zero_scalar.get(), full.get(), {3, 3, std::vector<double>(9, 0.0)}, false},
        {"stored sparse scalar", two_scalar.get(), full.get(), {3, 3, {2, 4, 6, 8, 10, 12, 14, 16, 18}}, false},
    };
    for (const auto &c : cases) {
        auto C = mtest::result_of("rowcolscale", {c.X, c.Y});
        ASSERT_TRUE(C) << c.what;
        EXPECT_EQ(mxIsSparse(C.get()), c.sparse_result) << c.what;
        mtest::expect_same(mtest::dense(C.get()), c.want, c.what);
    }
}

TEST(Rowcolscale, MessagesInOrder) {
    auto M = mtest::full(Dense{2, 2, {1, 2, 3, 4}}), v2 = testutil::row({1, 2}), d = mexhost::make_scalar(1);
    auto i32 = mexhost::make_array({2, 2}, mxINT32_CLASS), cell = mexhost::make_array({1, 1}, mxCELL_CLASS);
    auto cplx = mexhost::make_double(1, 1, {1}, {1});
    auto x31 = testutil::col({1, 2, 3}), y13 = testutil::row({1, 2, 3});
    auto M23 = mexhost::make_double(2, 3);
    // Empty operands where a vector is needed.
    auto x10 = mexhost::make_double(1, 0), y02 = mexhost::make_double(0, 2), y12 = mexhost::make_double(1, 2);
    const char *kConf = "Inputs are not comformable";
    struct Case {
        int nargout;
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {1, {M.get()}, "Two parameters must be passed"},
        {1, {M.get(), v2.get(), d.get()}, "Two parameters must be passed"},
        {2, {M.get(), v2.get()}, "Only one output is created"},
        {1, {i32.get(), cplx.get()}, "Inputs must be matrices"},
        {1, {cplx.get(), cell.get()}, "Inputs must be matrices"},
        {1, {M.get(), cplx.get()}, "Inputs must be real"},
        {1, {cplx.get(), M.get()}, "Inputs must be real"},
        {1, {M.get(), M.get()}, "One of the inputs must be a vector"},
        {1, {M.get(), y13.get()}, kConf},
        {1, {M23.get(), v2.get()}, kConf},
        {1, {x31.get(), y13.get()}, kConf},
        {1, {M.get(), y02.get()}, kConf},
        {1, {x10.get(), y12.get()}, kConf},
    };
    for (const auto &c : cases) EXPECT_EQ(mtest::error_of("rowcolscale", c.nargout, c.in), c.msg) << c.msg;

    // An empty X with an empty Y of no rows is a valid empty product.
    auto y03 = mexhost::make_double(0, 3);
    auto C = mtest::result_of("rowcolscale", {x10.get(), y03.get()});
    ASSERT_TRUE(C);
    EXPECT_EQ(mxGetM(C.get()), 0u);
    EXPECT_EQ(mxGetN(C.get()), 3u);
}
