// lowstack, lowunstack and rowlowstack: the stacking orders, the inverse
// kinds, round trips of real and complex matrices, the flag argument of any
// class, the row-wise products, and the argument checks in order.
#include "lowstack.hpp"
#include "matrix_test_util.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

using mtest::Dense;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<double> imag_values(const mxArray *a) {
    const double *p = mxGetPi(a);
    return p ? std::vector<double>(p, p + mxGetNumberOfElements(a)) : std::vector<double>();
}

} // namespace

TEST(Halfvec, QuotedStacksAndUnstacks) {
    auto A = mtest::full(Dense{2, 2, {1, 3, 2, 4}});
    auto v = testutil::col({1, 3, 4});
    std::vector<mexhost::ArrayPtr> keep;
    auto s = [&](double x) {
        keep.push_back(mexhost::make_scalar(x));
        return keep.back().get();
    };
    auto E = mexhost::make_double(0, 0);
    struct Case {
        const char *name;
        std::vector<const mxArray *> in;
        size_t m, n;
        std::vector<double> want;
    } cases[] = {
        {"lowstack", {A.get()}, 3, 1, {1, 3, 4}},
        {"lowstack", {A.get(), s(1)}, 3, 1, {1, 2, 4}},
        {"lowstack", {A.get(), s(2)}, 3, 1, {1, 3, 4}},
        {"lowstack", {A.get(), s(kNaN)}, 3, 1, {1, 3, 4}},
        {"lowstack", {A.get(), s(1.5)}, 3, 1, {1, 3, 4}}, // only exactly 1 means row order
        {"lowstack", {E.get()}, 0, 1, {}},
        {"lowunstack", {v.get()}, 2, 2, {1, 3, 3, 4}},
        {"lowunstack", {v.get(), s(2)}, 2, 2, {1, 3, 0, 4}},
        {"lowunstack", {v.get(), s(1)}, 2, 2, {1, 0, 3, 4}},
        {"lowunstack", {v.get(), s(3)}, 2, 2, {1, 3, 3, 4}},
        {"lowunstack", {v.get(), s(2.9)}, 2, 2, {1, 3, 0, 4}}, // truncated
        {"lowunstack", {v.get(), s(-1)}, 2, 2, {1, 3, 3, 4}},
        {"lowunstack", {v.get(), s(kNaN)}, 2, 2, {1, 3, 3, 4}},
        {"lowunstack", {E.get()}, 0, 0, {}},
    };
    for (const auto &c : cases) {
        auto r = mtest::result_of(c.name, c.in);
        ASSERT_TRUE(r) << c.name;
        EXPECT_EQ(mxGetM(r.get()), c.m) << c.name;
        EXPECT_EQ(mxGetN(r.get()), c.n) << c.name;
        EXPECT_EQ(testutil::values(r.get()), c.want) << c.name << " " << (c.in.size() > 1 ? mxGetScalar(c.in[1]) : 0);
    }
}

TEST(Halfvec, FlagOfAnyNumericClassOrEmptyIsReadSafely) {
    auto A = mtest::full(Dense{2, 2, {1, 3, 2, 4}});
    auto v = testutil::col({1, 3, 4});
    auto i16 = mexhost::make_array({1, 1}, mxINT16_CLASS);
    static_cast<int16_t *>(mxGetData(i16.get()))[0] = 1;
    auto u8 = mexhost::make_array({1, 2}, mxUINT8_CLASS);
    static_cast<uint8_t *>(mxGetData(u8.get()))[0] = 2;
    auto logical = mexhost::make_array({1, 1}, mxLOGICAL_CLASS);
    static_cast<uint8_t *>(mxGetData(logical.get()))[0] = 1;
    auto sp1 = mtest::sparse(Dense{1, 2, {1, 2}}), sp0 = mtest::sparse(Dense{1, 2, {0, 1}});
    auto E = mexhost::make_double(0, 0), Ei = mexhost::make_array({0, 1}, mxINT32_CLASS);
    auto cell = mexhost::make_array({1, 1}, mxCELL_CLASS);
    struct Case {
        const char *name;
        const mxArray *flag;
        std::vector<double> want; // empty: refused
    } cases[] = {
        {"lowstack", i16.get(), {1, 2, 4}},
        {"lowstack", logical.get(), {1, 2, 4}},
        {"lowstack", sp1.get(), {1, 2, 4}},
        {"lowstack", sp0.get(), {1, 3, 4}}, // first element is 0, not the first stored 1
        {"lowstack", E.get(), {1, 3, 4}},
        {"lowstack", Ei.get(), {1, 3, 4}},
        {"lowstack", cell.get(), {}},
        {"lowunstack", u8.get(), {1, 3, 0, 4}},
        {"lowunstack", i16.get(), {1, 0, 3, 4}},
        {"lowunstack", sp0.get(), {1, 3, 3, 4}},
        {"lowunstack", E.get(), {1, 3, 3, 4}},
        {"lowunstack", cell.get(), {}},
    };
    for (const auto &c : cases) {
        const bool stack = std::string(c.name) == "lowstack";
        auto r = testutil::call(c.name, 1, {stack ? A.get() : v.get(), c.flag});
        const std::string what = std::string(c.name) + " with " + mxGetClassName(c.flag);
        if (c.want.empty()) {
            EXPECT_FALSE(r.ok) << what;
            EXPECT_EQ(r.error, std::string("Function '") + c.name + "' not defined for variables of input class");
            continue;
        }
        ASSERT_TRUE(r.ok) << what << ": " << r.error;
        EXPECT_EQ(testutil::values(r.outputs[0].get()), c.want) << what;
    }
}

TEST(Halfvec, RoundTripsRealAndComplex) {
    std::mt19937 rng(3);
    for (size_t n = 0; n <= 6; ++n) {
        for (bool cplx : {false, true}) {
            const Dense re = mtest::random_dense(rng, n, n), im = mtest::random_dense(rng, n, n);
            auto A = mexhost::make_array({n, n}, mxDOUBLE_CLASS, cplx);
            std::copy(re.v.begin(), re.v.end(), mxGetPr(A.get()));
            if (cplx) std::copy(im.v.begin(), im.v.end(), mxGetPi(A.get()));
            const std::string what = "n=" + std::to_string(n) + (cplx ? " complex" : " real");
            auto col = mtest::result_of("lowstack", {A.get()});
            auto one = mexhost::make_scalar(1), two = mexhost::make_scalar(2);
            auto row = mtest::result_of("lowstack", {A.get(), one.get()});
            ASSERT_TRUE(col && row) << what;
            EXPECT_EQ(mxIsComplex(col.get()), cplx) << what;
            ASSERT_EQ(mxGetM(col.get()), n * (n + 1) / 2) << what;

            auto lower = mtest::result_of("lowunstack", {col.get(), two.get()});
            auto upper = mtest::result_of("lowunstack", {row.get(), one.get()});
            auto sym = mtest::result_of("lowunstack", {col.get()});
            ASSERT_TRUE(lower && upper && sym) << what;
            for (int part = 0; part < (cplx ? 2 : 1); ++part) {
                const Dense &src = part ? im : re;
                auto vals = [&](const mxArray *a) { return part ? imag_values(a) : testutil::values(a); };
                Dense tril = mtest::zeros(n, n), triu = mtest::zeros(n, n), symm = mtest::zeros(n, n);
                for (size_t j = 0; j < n; ++j)
                    for (size_t i = 0; i < n; ++i) {
                        tril(i, j) = i >= j ? src(i, j) : 0.0;
                        triu(i, j) = i <= j ? src(i, j) : 0.0;
                        symm(i, j) = i >= j ? src(i, j) : src(j, i);
                    }
                EXPECT_EQ(vals(lower.get()), tril.v) << what << " part " << part;
                EXPECT_EQ(vals(upper.get()), triu.v) << what << " part " << part;
                EXPECT_EQ(vals(sym.get()), symm.v) << what << " part " << part;
                // The symmetric matrix stacks to the same column in both orders.
                auto back = mtest::result_of("lowstack", {sym.get(), one.get()});
                ASSERT_TRUE(back);
                EXPECT_EQ(vals(back.get()), vals(col.get())) << what << " part " << part;
            }
        }
    }
}

TEST(Halfvec, RowlowstackStacksHalvedRowProducts) {
    auto x = testutil::row({1, 2}), two = mexhost::make_scalar(2), one = mexhost::make_scalar(1);
    auto y = mtest::result_of("rowlowstack", {x.get(), two.get(), one.get()});
    ASSERT_TRUE(y);
    EXPECT_EQ(mxGetM(y.get()), 1u);
    EXPECT_EQ(testutil::values(y.get()), (std::vector<double>{0.5, 2, 2}));

    // Several rows against Z*Z' formed directly, sums in increasing b; the
    // sizes are truncated toward zero.
    std::mt19937 rng(9);
    for (size_t L : {1u, 5u}) {
        const size_t m = 3, n = 4;
        const Dense X = mtest::random_dense(rng, L, m * n);
        auto Xa = mtest::full(X), ma = mexhost::make_scalar(3.7), na = mexhost::make_scalar(4.2);
        auto Y = mtest::result_of("rowlowstack", {Xa.get(), ma.get(), na.get()});
        ASSERT_TRUE(Y);
        Dense want = mtest::zeros(L, m * (m + 1) / 2);
        for (size_t r = 0; r < L; ++r) {
            size_t k = 0;
            for (size_t c = 0; c < m; ++c)
                for (size_t a = c; a < m; ++a) {
                    double s = 0;
                    for (size_t b = 0; b < n; ++b) s = s + X(r, a + m * b) * X(r, c + m * b);
                    want(r, k++) = a == c ? s * 0.5 : s;
                }
        }
        mtest::expect_same(mtest::dense(Y.get()), want, "L=" + std::to_string(L));
    }

    // No columns: Z*Z' is an empty sum, for any m.
    auto X30 = mexhost::make_double(3, 0), zero = mexhost::make_scalar(0), big = mexhost::make_scalar(3);
    auto Y0 = mtest::result_of("rowlowstack", {X30.get(), big.get(), zero.get()});
    ASSERT_TRUE(Y0);
    EXPECT_EQ(mxGetM(Y0.get()), 3u);
    EXPECT_EQ(testutil::values(Y0.get()), std::vector<double>(18, 0.0));
}

TEST(Halfvec, MessagesInOrder) {
    auto A = mexhost::make_double(2, 2), A23 = mexhost::make_double(2, 3), d = mexhost::make_scalar(1);
    auto i32 = mexhost::make_array({2, 2}, mxINT32_CLASS), sp = mtest::sparse(Dense{2, 2, {1, 0, 0, 1}});
    auto v4 = testutil::col({1, 2, 3, 4}), v3d = mexhost::make_array({1, 3, 2}, mxDOUBLE_CLASS);
    auto X = mexhost::make_double(2, 6), s2 = mexhost::make_scalar(2), s3 = mexhost::make_scalar(3);
    auto s4 = mexhost::make_scalar(4), pair = testutil::row({2, 3});
    auto neg2 = mexhost::make_scalar(-2), neg3 = mexhost::make_scalar(-3), nan = mexhost::make_scalar(kNaN);
    auto inf = mexhost::make_scalar(std::numeric_limits<double>::infinity()), s0 = mexhost::make_scalar(0);
    auto huge = mexhost::make_scalar(1e300), X20 = mexhost::make_double(2, 0);
    const char *kStackClass = "Function 'lowstack' not defined for variables of input class";
    const char *kUnstackClass = "Function 'lowunstack' not defined for variables of input class";
    const char *kFull = "Inputs must be full double matrices", *kIncompat = "Inputs are incompatible";
    struct Case {
        const char *name;
        int nargout;
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {"lowstack", 1, {}, "Not enough input arguments."},
        {"lowstack", 1, {A.get(), d.get(), d.get()}, "Too many input arguments."},
        {"lowstack", 2, {A.get()}, "Too many output arguments."},
        {"lowstack", 1, {i32.get()}, kStackClass},
        {"lowstack", 1, {sp.get()}, kStackClass},
        {"lowstack", 1, {A23.get()}, "Input matrix must be square"},
        {"lowunstack", 1, {}, "Not enough input arguments."},
        {"lowunstack", 1, {v4.get(), d.get(), d.get()}, "Too many input arguments."},
        {"lowunstack", 2, {v4.get()}, "Too many output arguments."},
        {"lowunstack", 1, {i32.get()}, kUnstackClass},
        {"lowunstack", 1, {sp.get()}, kUnstackClass},
        {"lowunstack", 1, {v3d.get()}, "Input arguments must be 2-D."},
        {"lowunstack", 1, {v4.get()}, "Input vector is of improper size."},
        {"lowunstack", 1, {pair.get()}, "Input vector is of improper size."},
        {"rowlowstack", 1, {X.get(), s2.get()}, "Three arguments must be passed"},
        {"rowlowstack", 2, {X.get(), s2.get(), s3.get()}, "ROWLOWSTACK produce only on  output"},
        {"rowlowstack", 1, {i32.get(), s2.get(), s3.get()}, kFull},
        {"rowlowstack", 1, {X.get(), sp.get(), s3.get()}, kFull},
        {"rowlowstack", 1, {X.get(), s2.get(), i32.get()}, kFull},
        {"rowlowstack", 1, {X.get(), pair.get(), pair.get()}, "m must be a scalar"},
        {"rowlowstack", 1, {X.get(), s2.get(), pair.get()}, "n must be a scalar"},
        {"rowlowstack", 1, {X.get(), s2.get(), s4.get()}, kIncompat},
        // Sizes that are no counts are refused, whatever their product.
        {"rowlowstack", 1, {X.get(), neg2.get(), neg3.get()}, kIncompat},
        {"rowlowstack", 1, {X.get(), nan.get(), s3.get()}, kIncompat},
        {"rowlowstack", 1, {X20.get(), inf.get(), s0.get()}, kIncompat},
        {"rowlowstack", 1, {X20.get(), huge.get(), s0.get()}, "Requested array exceeds the maximum possible size."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(mtest::error_of(c.name, c.nargout, c.in), c.msg) << c.name << ": " << c.msg;
}

TEST(Halfvec, StackingRoutineWorksInPlaceOnlyInColumnOrder) {
    std::vector<double> a = {1, 2, 3, 4, 5, 6, 7, 8, 9}; // 3x3, column-major
    EXPECT_TRUE(linalg::lowstack(a.data(), a.data(), 3, false));
    EXPECT_EQ(std::vector<double>(a.begin(), a.begin() + 6), (std::vector<double>{1, 2, 3, 5, 6, 9}));
    std::vector<double> b = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_FALSE(linalg::lowstack(b.data(), b.data(), 3, true));
    EXPECT_EQ(b, (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9})); // untouched
    std::vector<double> out(6);
    EXPECT_TRUE(linalg::lowstack(b.data(), out.data(), 3, true));
    EXPECT_EQ(out, (std::vector<double>{1, 4, 7, 5, 8, 9}));
}
