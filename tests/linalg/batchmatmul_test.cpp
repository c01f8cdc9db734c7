// batchmatmul: batched products against a naive product, shapes, messages
// and the refusal of dimension scalars that are not sizes.
#include "batch_matmul.hpp"
#include "solve_test_util.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using solvetest::array;
using solvetest::same;

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// C(l, i, j) = sum over k = 0..q-1 in increasing order, starting from +0.
std::vector<double> naive(const std::vector<double> &A, const std::vector<double> &B, size_t n, size_t p,
                          size_t q, size_t r) {
    std::vector<double> C(n * p * r);
    for (size_t l = 0; l < n; ++l)
        for (size_t i = 0; i < p; ++i)
            for (size_t j = 0; j < r; ++j) {
                double c = 0.0;
                for (size_t k = 0; k < q; ++k) c = A[l + n * (i + p * k)] * B[l + n * (k + q * j)] + c;
                C[l + n * (i + p * j)] = c;
            }
    return C;
}

mexhost::CallResult matmul(const mxArray *A, const mxArray *B, double n, double p, double q, double r) {
    auto N = mexhost::make_scalar(n), P = mexhost::make_scalar(p), Q = mexhost::make_scalar(q),
         R = mexhost::make_scalar(r);
    return testutil::call("batchmatmul", 1, {A, B, N.get(), P.get(), Q.get(), R.get()});
}

} // namespace

TEST(BatchMatMulPlugin, MatchesTheNaiveProductBitForBit) {
    struct Case {
        size_t n, p, q, r;
        std::vector<size_t> dims; // of C as the host reports it
    } cases[] = {
        {1, 2, 3, 2, {1, 2, 2}},        // one ordinary product, leading 1 kept
        {5, 3, 4, 1, {5, 3}},           // r = 1: trailing 1 dropped
        {7, 2, 0, 3, {7, 2, 3}},        // q = 0: all zeros
        {1000, 3, 3, 3, {1000, 3, 3}},  // several blocks of the batch, ragged end
        {333, 1, 7, 2, {333, 1, 2}},    // inner products
        {129, 5, 2, 4, {129, 5, 4}},
        {3000, 8, 9, 7, {3000, 8, 7}},  // large matrices: small blocks
        {0, 2, 2, 2, {0, 2, 2}},
        {4, 0, 3, 2, {4, 0, 2}},
    };
    for (const auto &c : cases) {
        solvetest::Lcg g(c.n * 31 + c.p * 7 + c.q * 3 + c.r);
        std::vector<double> A(c.n * c.p * c.q), B(c.n * c.q * c.r);
        for (double &v : A) v = g.uniform() * 100.0;
        for (double &v : B) v = g.uniform() * 100.0;
        auto a = array({c.n, c.p * c.q}, A), b = array({c.n * c.q * c.r, 1}, B);
        auto res = matmul(a.get(), b.get(), double(c.n), double(c.p), double(c.q), double(c.r));
        ASSERT_TRUE(res.ok) << res.error;
        const mxArray *C = res.outputs[0].get();
        EXPECT_EQ(solvetest::dims(C), c.dims) << c.n << " " << c.p << " " << c.q << " " << c.r;
        EXPECT_TRUE(same(testutil::values(C), naive(A, B, c.n, c.p, c.q, c.r)))
            << c.n << " " << c.p << " " << c.q << " " << c.r;
    }
}

TEST(BatchMatMul, EveryVectorWidthMatchesTheNaiveProduct) {
    // Batch sizes around the vector steps and the prefetch distance, and
    // every mix of full and partial 2x2 output blocks.
    for (size_t n : {1, 3, 4, 7, 8, 9, 17, 300}) {
        for (size_t p = 1; p <= 3; ++p)
            for (size_t q = 0; q <= 3; ++q)
                for (size_t r = 1; r <= 3; ++r) {
                    solvetest::Lcg g(n + 10 * p + 100 * q + 1000 * r);
                    std::vector<double> A(n * p * q), B(n * q * r);
                    for (double &v : A) v = g.uniform();
                    for (double &v : B) v = g.uniform();
                    const auto want = naive(A, B, n, p, q, r);
                    for (size_t lanes : {2, 4}) {
                        std::vector<double> C(n * p * r, kNaN);
                        linalg::batch_matmul(A.data(), B.data(), C.data(), n, p, q, r, lanes);
                        EXPECT_TRUE(same(C, want)) << n << " " << p << " " << q << " " << r << " lanes " << lanes;
                    }
                }
    }
}

TEST(BatchMatMulPlugin, SumStartsFromPlusZeroAndDimensionsTruncate) {
    // (-1)*0 = -0, and -0 + (+0) = +0: the sum starts from +0.
    auto a = testutil::row({-1}), b = testutil::row({0});
    auto r = matmul(a.get(), b.get(), 1, 1, 1, 1);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(same(mxGetPr(r.outputs[0].get())[0], 0.0));
    // NaN and Inf data pass through the arithmetic.
    auto a2 = testutil::row({kInf, 0}), b2 = testutil::row({1, 5});
    auto r2 = matmul(a2.get(), b2.get(), 1, 1, 2, 1);
    ASSERT_TRUE(r2.ok) << r2.error;
    EXPECT_EQ(mxGetPr(r2.outputs[0].get())[0], kInf);

    // p = 2.7 is read as 2, and q = 1.9999 as 1.
    auto A = array({1, 2}, {2, 3}), B = array({1, 3}, {5, 7, 11});
    auto r3 = matmul(A.get(), B.get(), 1, 2.7, 1.9999, 3);
    ASSERT_TRUE(r3.ok) << r3.error;
    EXPECT_EQ(solvetest::dims(r3.outputs[0].get()), (std::vector<size_t>{1, 2, 3}));
    EXPECT_EQ(testutil::values(r3.outputs[0].get()), (std::vector<double>{10, 15, 14, 21, 22, 33}));
}

TEST(BatchMatMulPlugin, MessagesInOrder) {
    auto A = array({2, 4}, {1, 2, 3, 4, 5, 6, 7, 8}); // n = 2, p = 2, q = 2
    auto B = array({2, 2}, {1, 2, 3, 4});             // q = 2, r = 1
    auto two = mexhost::make_scalar(2), one = mexhost::make_scalar(1);
    auto pair = testutil::row({2, 2});
    auto empty = mexhost::make_double(0, 0);
    auto i16 = mexhost::make_array({1, 1}, mxINT16_CLASS);
    auto sp = mexhost::make_sparse(1, 1, {0}, {0, 1}, {2.0});
    auto sp_A = mexhost::make_sparse(2, 4, {0}, {0, 1, 1, 1, 1}, {1.0});
    auto s = [](double v) { return mexhost::make_scalar(v); };
    auto neg = s(-1), negfrac = s(-0.5), nan = s(kNaN), inf = s(kInf), huge = s(1e300);
    auto a = A.get(), b = B.get(), t = two.get(), o = one.get();
    struct Case {
        int nargout;
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {1, {a, b, t, t, t}, "Six arguments must be passed"},
        {2, {a, b, t, t, t, o, o}, "Six arguments must be passed"},
        {2, {i16.get(), b, t, t, t, o}, "BatchMatMul produces only one output"},
        {1, {sp_A.get(), b, t, t, t, o}, "Input arguments of inproper type"},
        {1, {a, i16.get(), t, t, t, o}, "Input arguments of inproper type"},
        {1, {a, b, t, t, t, i16.get()}, "Input arguments of inproper type"},
        {1, {a, b, sp.get(), t, pair.get(), o}, "Input arguments of inproper type"},
        {1, {a, b, t, pair.get(), i16.get(), o}, "Input arguments of inproper type"},
        {1, {a, b, t, pair.get(), t, o}, "n, p, q, and r must be scalars"},
        {1, {a, b, t, t, t, empty.get()}, "n, p, q, and r must be scalars"},
        // Values that are no sizes are refused before the size checks.
        {1, {a, b, neg.get(), t, t, o}, "n, p, q, and r must be finite and non-negative"},
        {1, {a, b, t, negfrac.get(), t, o}, "n, p, q, and r must be finite and non-negative"},
        {1, {a, b, t, t, nan.get(), o}, "n, p, q, and r must be finite and non-negative"},
        {1, {a, b, t, t, t, inf.get()}, "n, p, q, and r must be finite and non-negative"},
        {1, {a, b, huge.get(), t, t, o}, "n, p, q, and r are too large"},
        {1, {a, b, t, t, o, o}, "A is of improper size"},
        {1, {a, b, t, t, t, t}, "B is of improper size"},
    };
    for (const auto &c : cases) {
        auto r = testutil::call("batchmatmul", c.nargout, c.in);
        EXPECT_FALSE(r.ok) << c.msg;
        EXPECT_EQ(r.error, c.msg);
    }
}

TEST(BatchMatMulPlugin, SizesWhoseProductsOverflowAreRefused) {
    const double big = 4294967296.0 * 65536; // 2^48: big^3 overflows 64 bits
    auto A = array({2, 1}, {1, 2}), E = mexhost::make_double(0, 0);
    struct Case {
        const mxArray *A, *B;
        double n, p, q, r;
        const char *msg;
    } cases[] = {
        // n*p*q wraps around to 0 modulo 2^64 but is not 0.
        {E.get(), E.get(), big, big, 65536, 1, "A is of improper size"},
        {E.get(), E.get(), 1, 0, 4294967296.0, 4294967296.0, "B is of improper size"},
        {A.get(), E.get(), 2, 1, 1, big, "B is of improper size"},
        // q = 0: the empty inputs match whatever n, p and r are, even when
        // n*p overflows, and say nothing about the size of C.
        {E.get(), E.get(), big, big, 0, big, "BatchMatMul output is too large"},
    };
    for (const auto &c : cases) {
        auto r = matmul(c.A, c.B, c.n, c.p, c.q, c.r);
        EXPECT_FALSE(r.ok) << c.msg;
        EXPECT_EQ(r.error, c.msg);
    }
    // Representable but far beyond memory: the host refuses the output.
    auto r = matmul(E.get(), E.get(), 1 << 20, 1 << 20, 0, 1 << 20);
    EXPECT_FALSE(r.ok);
}
