// Helpers for the matrix-utility tests: dense views of full or sparse
// results, sparse inputs with chosen stored entries (explicit zeros
// included), structure checks and NaN-aware comparisons.
#ifndef TESTS_LINALG_MATRIX_TEST_UTIL_HPP
#define TESTS_LINALG_MATRIX_TEST_UTIL_HPP

#include "test_util.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace mtest {

// Column-major dense matrix.
struct Dense {
    size_t m = 0, n = 0;
    std::vector<double> v;
    double operator()(size_t i, size_t j) const { return v[i + m * j]; }
    double &operator()(size_t i, size_t j) { return v[i + m * j]; }
};

inline Dense zeros(size_t m, size_t n) { return Dense{m, n, std::vector<double>(m * n, 0.0)}; }

// The full equivalent of a real full or sparse double matrix.
inline Dense dense(const mxArray *a) {
    Dense d = zeros(mxGetM(a), mxGetN(a));
    if (!mxIsSparse(a)) {
        d.v = testutil::values(a);
        return d;
    }
    const mwIndex *ir = mxGetIr(a), *jc = mxGetJc(a);
    for (size_t j = 0; j < d.n; ++j)
        for (mwIndex k = jc[j]; k < jc[j + 1]; ++k) d(ir[k], j) = mxGetPr(a)[k];
    return d;
}

inline mexhost::ArrayPtr full(const Dense &d) { return mexhost::make_double(d.m, d.n, d.v); }

// A sparse matrix storing d(i, j) wherever stored(i, j) != 0, zeros included.
inline mexhost::ArrayPtr sparse(const Dense &d, const Dense &stored) {
    std::vector<size_t> ir, jc{0};
    std::vector<double> re;
    for (size_t j = 0; j < d.n; ++j) {
        for (size_t i = 0; i < d.m; ++i)
            if (stored(i, j) != 0.0) {
                ir.push_back(i);
                re.push_back(d(i, j));
            }
        jc.push_back(ir.size());
    }
    return mexhost::make_sparse(d.m, d.n, ir, jc, re);
}

// A sparse matrix storing the entries of d that are not equal to 0.
inline mexhost::ArrayPtr sparse(const Dense &d) {
    Dense mask = zeros(d.m, d.n);
    for (size_t k = 0; k < d.v.size(); ++k) mask.v[k] = d.v[k] != 0.0 ? 1.0 : 0.0;
    return sparse(d, mask);
}

// Stored-entry mask of a sparse matrix (1 where an entry is stored).
inline Dense stored_mask(const mxArray *a) {
    Dense d = zeros(mxGetM(a), mxGetN(a));
    const mwIndex *ir = mxGetIr(a), *jc = mxGetJc(a);
    for (size_t j = 0; j < d.n; ++j)
        for (mwIndex k = jc[j]; k < jc[j + 1]; ++k) d(ir[k], j) = 1.0;
    return d;
}

// Row indices strictly ascending within every column and the reserved
// room exactly used (the host reserves at least one entry).
inline void expect_tight_sparse(const mxArray *a, const std::string &what) {
    ASSERT_TRUE(mxIsSparse(a)) << what;
    const size_t n = mxGetN(a);
    const mwIndex *ir = mxGetIr(a), *jc = mxGetJc(a);
    EXPECT_EQ(jc[0], 0u) << what;
    for (size_t j = 0; j < n; ++j) {
        ASSERT_LE(jc[j], jc[j + 1]) << what;
        for (mwIndex k = jc[j]; k < jc[j + 1]; ++k) {
            EXPECT_LT(ir[k], mxGetM(a)) << what;
            if (k > jc[j]) {
                EXPECT_LT(ir[k - 1], ir[k]) << what << " column " << j;
            }
        }
    }
    const size_t nnz = jc[n];
    EXPECT_EQ(mxGetNzmax(a), nnz == 0 ? 1 : nnz) << what;
}

// Equal values, NaN equal to NaN.
inline bool same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

inline void expect_same(const Dense &got, const Dense &want, const std::string &what) {
    ASSERT_EQ(got.m, want.m) << what;
    ASSERT_EQ(got.n, want.n) << what;
    for (size_t k = 0; k < want.v.size(); ++k)
        EXPECT_TRUE(same(got.v[k], want.v[k])) << what << " at " << k << ": " << got.v[k] << " vs " << want.v[k];
}

// The error text of a call that must fail ("" when it succeeded).
inline std::string error_of(const std::string &name, int nargout, const std::vector<const mxArray *> &in) {
    auto r = testutil::call(name, nargout, in);
    return r.ok ? std::string() : r.error;
}

// The first output of a call that must succeed.
inline mexhost::ArrayPtr result_of(const std::string &name, const std::vector<const mxArray *> &in) {
    auto r = testutil::call(name, 1, in);
    EXPECT_TRUE(r.ok) << name << ": " << r.error;
    if (!r.ok) return nullptr;
    return std::move(r.outputs[0]);
}

inline Dense random_dense(std::mt19937 &rng, size_t m, size_t n, double lo = -1.0, double hi = 1.0) {
    std::uniform_real_distribution<double> u(lo, hi);
    Dense d = zeros(m, n);
    for (double &x : d.v) x = u(rng);
    return d;
}

// A 0/1 mask with about `fill` of the entries set.
inline Dense random_mask(std::mt19937 &rng, size_t m, size_t n, double fill) {
    std::bernoulli_distribution b(fill);
    Dense d = zeros(m, n);
    for (double &x : d.v) x = b(rng) ? 1.0 : 0.0;
    return d;
}

} // namespace mtest

#endif
