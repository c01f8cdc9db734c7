// rowkron: the row-wise Kronecker product in all four storage combinations,
// with explicit zeros and NaN deciding the sparsity structure, the empty
// operand rule and the argument checks in order.
#include "matrix_test_util.hpp"

#include <limits>

using mtest::Dense;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// One operand: its values and, for the sparse form, which entries it stores.
struct Operand {
    Dense value, stored;
};

// Where a row of the operand counts: stored entries of the sparse form,
// entries not equal to 0 (NaN included) of the full form.
Dense counted(const Operand &o, bool sparse) {
    Dense c = mtest::zeros(o.value.m, o.value.n);
    for (size_t k = 0; k < c.v.size(); ++k) c.v[k] = (sparse ? o.stored.v[k] != 0 : o.value.v[k] != 0.0) ? 1 : 0;
    return c;
}

void check_all_storage_combinations(const Operand &a, const Operand &b, const std::string &fixture) {
    const size_t m = a.value.m, p = a.value.n, q = b.value.n;
    auto Af = mtest::full(a.value), As = mtest::sparse(a.value, a.stored);
    auto Bf = mtest::full(b.value), Bs = mtest::sparse(b.value, b.stored);
    for (int combo = 0; combo < 4; ++combo) {
        const bool sa = combo & 1, sb = combo & 2;
        const std::string what = fixture + (sa ? " sparse" : " full") + " x" + (sb ? " sparse" : " full");
        auto C = mtest::result_of("rowkron", {sa ? As.get() : Af.get(), sb ? Bs.get() : Bf.get()});
        ASSERT_TRUE(C) << what;
        const Dense ca = counted(a, sa), cb = counted(b, sb);
        Dense want = mtest::zeros(m, p * q), mask = mtest::zeros(m, p * q);
        for (size_t i = 0; i < p; ++i)
            for (size_t j = 0; j < q; ++j)
                for (size_t r = 0; r < m; ++r) {
                    const bool kept = !(sa || sb) || (ca(r, i) != 0 && cb(r, j) != 0);
                    mask(r, i * q + j) = kept ? 1 : 0;
                    want(r, i * q + j) = kept ? a.value(r, i) * b.value(r, j) : 0.0;
                }
        if (sa || sb) {
            mtest::expect_tight_sparse(C.get(), what);
            mtest::expect_same(mtest::stored_mask(C.get()), mask, what + " structure");
        } else {
            EXPECT_FALSE(mxIsSparse(C.get())) << what;
        }
        mtest::expect_same(mtest::dense(C.get()), want, what + " values");
    }
}

} // namespace

TEST(Rowkron, AllStorageCombinationsWithExplicitZerosAndNaN) {
    // A stores an explicit zero at (2,1) and (4,3); B at (1,1). A full NaN
    // counts as nonzero, so its products are stored (as NaN).
    const Operand a{{4, 3, {1, 0, kNaN, 2, 0, 3, 0, -1, 5, 0, 0, 0}}, {4, 3, {1, 1, 1, 1, 0, 1, 0, 1, 1, 0, 0, 1}}};
    const Operand b{{4, 2, {0, 2, 7, kNaN, 4, 0, 0, 1}}, {4, 2, {1, 1, 1, 1, 1, 0, 0, 1}}};
    check_all_storage_combinations(a, b, "fixture");

    std::mt19937 rng(11);
    Operand ra{mtest::random_dense(rng, 25, 4), mtest::random_mask(rng, 25, 4, 0.35)};
    Operand rb{mtest::random_dense(rng, 25, 5), mtest::random_mask(rng, 25, 5, 0.35)};
    // Zeros where the sparse form stores them explicitly, and elsewhere.
    for (size_t k = 0; k < ra.value.v.size(); k += 3) ra.value.v[k] = 0.0;
    for (size_t k = 1; k < rb.value.v.size(); k += 4) rb.value.v[k] = 0.0;
    rb.value.v[6] = kNaN;
    check_all_storage_combinations(ra, rb, "random");
}

TEST(Rowkron, QuotedProductsAndEmptyOperands) {
    auto A = mtest::full(Dense{2, 2, {1, 3, 2, 4}}), B = mtest::full(Dense{2, 2, {5, 7, 6, 8}});
    auto C = mtest::result_of("rowkron", {A.get(), B.get()});
    ASSERT_TRUE(C);
    mtest::expect_same(mtest::dense(C.get()), Dense{2, 4, {5, 21, 6, 24, 10, 28, 12, 32}}, "2x2");

    // Two rows: the ordinary Kronecker product.
    auto a = testutil::row({1, 2}), b = testutil::row({3, 4, 5});
    auto k = mtest::result_of("rowkron", {a.get(), b.get()});
    ASSERT_TRUE(k);
    EXPECT_EQ(testutil::values(k.get()), (std::vector<double>{3, 4, 5, 6, 8, 10}));

    // An empty operand returns the other one, storage and all.
    auto E20 = mexhost::make_double(2, 0);
    auto Bs = mtest::sparse(Dense{2, 2, {5, 0, 0, 8}});
    struct Case {
        const char *what;
        const mxArray *x, *y, *expect;
    } cases[] = {
        {"empty A", E20.get(), B.get(), B.get()},
        {"empty A, sparse B", E20.get(), Bs.get(), Bs.get()},
        {"empty B", Bs.get(), E20.get(), Bs.get()},
        {"both empty", E20.get(), E20.get(), E20.get()},
    };
    for (const auto &c : cases) {
        auto R = mtest::result_of("rowkron", {c.x, c.y});
        ASSERT_TRUE(R) << c.what;
        EXPECT_EQ(mxIsSparse(R.get()), mxIsSparse(c.expect)) << c.what;
        EXPECT_EQ(mxGetN(R.get()), mxGetN(c.expect)) << c.what;
        mtest::expect_same(mtest::dense(R.get()), mtest::dense(c.expect), c.what);
    }
}

TEST(Rowkron, MessagesInOrder) {
    auto A = mexhost::make_double(2, 2), B3 = mexhost::make_double(3, 2);
    auto i32 = mexhost::make_array({2, 2}, mxINT32_CLASS), cplx = mexhost::make_double(2, 1, {1, 2}, {0, 1});
    struct Case {
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {{A.get()}, "Two parameters must be passed"},
        {{A.get(), A.get(), A.get()}, "Two parameters must be passed"},
        {{cplx.get(), i32.get()}, "Inputs must be full or sparse double matrices"},
        {{i32.get(), A.get()}, "Inputs must be full or sparse double matrices"},
        {{B3.get(), cplx.get()}, "Complex matrices not supported in rowkron"},
        {{A.get(), B3.get()}, "Matrices must have the same number of rows"},
    };
    for (const auto &c : cases) EXPECT_EQ(mtest::error_of("rowkron", 1, c.in), c.msg) << c.msg;
}
