// Row location (rowlocate), grouped row sums (binsum) and row minima
// (leastvals, leastidx) through the host.
#include "row_minima.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

using mexhost::make_double;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

struct MessageCase {
    int nargout;
    std::vector<const mxArray *> in;
    const char *msg;
};

void expect_messages(const char *plugin, const std::vector<MessageCase> &cases) {
    for (const auto &c : cases) {
        auto r = testutil::call(plugin, c.nargout, c.in);
        EXPECT_FALSE(r.ok) << plugin << ": expected " << c.msg;
        EXPECT_EQ(r.error, c.msg);
    }
}

std::vector<uint32_t> uint32_values(const mxArray *a) {
    const auto *p = static_cast<const uint32_t *>(mxGetData(a));
    return std::vector<uint32_t>(p, p + mxGetNumberOfElements(a));
}

} // namespace

TEST(Rowlocate, ExactMatchesNearestRowsAndTies) {
    struct Case {
        size_t m, k, n;
        std::vector<double> A, B; // column-major
        std::vector<double> want;
    } cases[] = {
        // [1 2; 5 5] in [0 0; 1 2; 5 6]: exact row 2; distances 10, 7, 1.
        {2, 3, 2, {1, 5, 2, 5}, {0, 1, 5, 0, 2, 6}, {2, 3}},
        // Two rows at equal distance: the upper one; identical matches: the first.
        {2, 3, 1, {1, 4}, {0, 2, 4}, {1, 3}},
        {1, 3, 2, {1, 1}, {0, 1, 1, 0, 1, 1}, {2}},
        // An exact match after a nearer-looking start still wins.
        {1, 3, 2, {3, 3}, {3, 3, 3, 2.9, 4, 3}, {3}},
        // NaN distances never win; Inf - Inf is NaN, so no exact match
        // there, and distances of only Inf and NaN keep row 1.
        {1, 2, 2, {kNaN, 0}, {0, 5, 0, 5}, {1}},
        {2, 3, 2, {1, kInf, 0, 0}, {kNaN, kInf, 1, 0, 0, 0}, {3, 1}},
        // No rows in B, or no columns: every result is 1.
        {2, 0, 2, {1, 2, 3, 4}, {}, {1, 1}},
        {3, 2, 0, {}, {}, {1, 1, 1}},
        // No rows in A: a 0 x 1 result.
        {0, 2, 2, {}, {1, 2, 3, 4}, {}},
    };
    for (const auto &c : cases) {
        auto A = make_double(c.m, c.n, c.A), B = make_double(c.k, c.n, c.B);
        auto r = testutil::call("rowlocate", 1, {A.get(), B.get()});
        ASSERT_TRUE(r.ok) << r.error;
        const mxArray *o = r.outputs[0].get();
        EXPECT_EQ(mxGetM(o), c.m);
        EXPECT_EQ(mxGetN(o), 1u);
        EXPECT_EQ(testutil::values(o), c.want) << "m=" << c.m << " k=" << c.k << " n=" << c.n;
    }
}

TEST(Rowlocate, MessagesInOrder) {
    auto A = make_double(1, 3, {1, 2, 3}), B = make_double(1, 2, {1, 2});
    auto i32 = mexhost::make_array({1, 3}, mxINT32_CLASS);
    auto sp = mexhost::make_sparse(1, 3, {0}, {0, 1, 1, 1}, {1.0});
    auto cplx = make_double(1, 2, {1, 2}, {0, 1});
    expect_messages("rowlocate", {
        {1, {A.get()}, "Not enough input arguments."},
        {1, {A.get(), A.get(), A.get()}, "Too many input arguments."},
        {2, {i32.get(), A.get()}, "Too many output arguments."},
        {1, {A.get(), i32.get()}, "Function not defined for variables of input class"},
        {1, {sp.get(), A.get()}, "Function not defined for variables of input class"},
        {1, {cplx.get(), i32.get()}, "Arguments must be real."},
        {1, {A.get(), cplx.get()}, "Arguments must be real."},
        {1, {A.get(), B.get()}, "Inputs must have equal numbers of columns."},
    });
}

TEST(Binsum, SumsPerRowAndBin) {
    struct Case {
        size_t m, n;
        std::vector<double> V, IND; // column-major
        std::vector<double> want;   // m x m, column-major
    } cases[] = {
        {2, 2, {0.5, 1, 0.5, 0}, {1, 2, 2, 2}, {0.5, 0, 0.5, 1}},
        {1, 3, {1, 2, 3}, {1, 1, 1}, {6}},
        // Truncation toward zero: 2.9 -> 2, 1.999 -> 1.
        {2, 2, {1, 2, 4, 8}, {2.9, 1.999, 1, 2.5}, {4, 2, 1, 8}},
        // Values are not tested: NaN and Inf land in their bins.
        {2, 2, {kNaN, kInf, 1, 1}, {1, 2, 2, 1}, {kNaN, 1, 1, kInf}},
        // Rows without columns: an m x m block of zeros.
        {3, 0, {}, {}, std::vector<double>(9, 0.0)},
        {0, 0, {}, {}, {}},
    };
    for (const auto &c : cases) {
        auto V = make_double(c.m, c.n, c.V), IND = make_double(c.m, c.n, c.IND);
        auto r = testutil::call("binsum", 1, {V.get(), IND.get()});
        ASSERT_TRUE(r.ok) << r.error;
        const mxArray *S = r.outputs[0].get();
        EXPECT_EQ(mxGetM(S), c.m);
        EXPECT_EQ(mxGetN(S), c.m);
        const auto got = testutil::values(S);
        ASSERT_EQ(got.size(), c.want.size());
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_TRUE(got[i] == c.want[i] || (std::isnan(got[i]) && std::isnan(c.want[i])))
                << "element " << i << ": " << got[i] << " vs " << c.want[i];
    }
}

TEST(Binsum, MessagesInOrder) {
    auto V = make_double(2, 2, {1, 2, 3, 4}), ok = make_double(2, 2, {1, 2, 2, 1});
    auto i32 = mexhost::make_array({2, 2}, mxINT32_CLASS);
    auto sp = mexhost::make_sparse(2, 2, {0}, {0, 1, 1}, {1.0});
    auto cplx = make_double(2, 2, {1, 2, 2, 1}, {0, 0, 1, 0});
    auto V23 = make_double(2, 3), V41 = make_double(4, 1);
    std::vector<mexhost::ArrayPtr> bad;
    for (double b : {0.0, 3.0, -1.0, 0.99, kNaN, kInf, -kInf, 1e300})
        bad.push_back(make_double(2, 2, {1, 1, b, 2}));
    // A row count whose square overflows the address space: no columns, so
    // the inputs themselves hold nothing.
    const size_t huge = size_t(1) << 33;
    auto Vhuge = make_double(huge, 0), Ihuge = make_double(huge, 0);
    std::vector<MessageCase> cases = {
        {1, {V.get()}, "Two arguments must be passed"},
        {1, {V.get(), V.get(), V.get()}, "Two arguments must be passed"},
        {2, {V.get(), i32.get()}, "Input arguments of inproper type"}, // class before output count
        {1, {i32.get(), sp.get()}, "Input arguments of inproper type"},
        {1, {V.get(), sp.get()}, "Input arguments of inproper type"},
        {1, {cplx.get(), V.get()}, "Input arguments of inproper type"},
        {1, {V.get(), cplx.get()}, "Input arguments of inproper type"},
        {2, {V.get(), ok.get()}, "Only one output is returned by binsum"},
        {2, {V.get(), V23.get()}, "Only one output is returned by binsum"},
        {1, {V.get(), V23.get()}, "Inputs must be the same size"},
        {1, {V41.get(), V.get()}, "Inputs must be the same size"},
        {1, {Vhuge.get(), Ihuge.get()}, "The result of binsum is too large to allocate"},
    };
    for (const auto &b : bad) cases.push_back({1, {V.get(), b.get()}, "IND contains improper values"});
    expect_messages("binsum", cases);
    // The same row count without the overflow is left to the allocator,
    // which refuses it with an error too.
    auto Vbig = make_double(size_t(1) << 24, 0), Ibig = make_double(size_t(1) << 24, 0);
    auto r = testutil::call("binsum", 1, {Vbig.get(), Ibig.get()});
    EXPECT_FALSE(r.ok);
}

TEST(RowMinima, ValuesColumnsTiesAndNaN) {
    struct Case {
        size_t m, n;
        std::vector<double> X; // column-major
        std::vector<double> minima, columns;
    } cases[] = {
        {2, 3, {3, 5, 1, 5, 2, 4}, {1, 4}, {2, 3}},
        {1, 4, {2, 2, 1, 1}, {1}, {3}},
        {1, 2, {kNaN, 0}, {kNaN}, {1}},
        {1, 2, {0, kNaN}, {0}, {1}},
        {1, 3, {kInf, -kInf, -kInf}, {-kInf}, {2}},
        {3, 1, {4, -1, 2}, {4, -1, 2}, {1, 1, 1}},
        {0, 3, {}, {}, {}},
        // Rows but no columns: NaN minima and column 0.
        {2, 0, {}, {kNaN, kNaN}, {0, 0}},
    };
    auto same = [](const std::vector<double> &a, const std::vector<double> &b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (!(a[i] == b[i] || (std::isnan(a[i]) && std::isnan(b[i])))) return false;
        return true;
    };
    for (const auto &c : cases) {
        auto X = make_double(c.m, c.n, c.X);
        auto r2 = testutil::call("leastvals", 2, {X.get()});
        ASSERT_TRUE(r2.ok) << r2.error;
        auto r1 = testutil::call("leastvals", 1, {X.get()});
        ASSERT_TRUE(r1.ok) << r1.error;
        auto ri = testutil::call("leastidx", 1, {X.get()});
        ASSERT_TRUE(ri.ok) << ri.error;
        const mxArray *idx = ri.outputs[0].get();
        for (const mxArray *o : std::vector<const mxArray *>{r2.outputs[0].get(), r2.outputs[1].get(), r1.outputs[0].get(), idx}) {
            EXPECT_EQ(mxGetM(o), c.m);
            EXPECT_EQ(mxGetN(o), 1u);
        }
        EXPECT_TRUE(same(testutil::values(r2.outputs[0].get()), c.minima)) << c.m << "x" << c.n;
        EXPECT_TRUE(same(testutil::values(r1.outputs[0].get()), c.minima)) << c.m << "x" << c.n;
        EXPECT_EQ(testutil::values(r2.outputs[1].get()), c.columns);
        EXPECT_EQ(mxGetClassID(idx), mxUINT32_CLASS);
        EXPECT_EQ(mxGetClassID(r2.outputs[1].get()), mxDOUBLE_CLASS);
        EXPECT_EQ(uint32_values(idx), std::vector<uint32_t>(c.columns.begin(), c.columns.end()));
    }
}

TEST(RowMinima, KernelsAgreeWithFirstMinimumPerRow) {
    // Few distinct values give many ties; each row is checked against
    // std::min_element, which returns the first smallest.
    std::mt19937_64 rng(3);
    std::uniform_int_distribution<int> level(0, 6);
    const size_t m = 37, n = 23;
    std::vector<double> X(m * n);
    for (auto &v : X) v = level(rng);
    std::vector<double> mins(m), cols(m), mins1(m), scratch(m);
    std::vector<uint32_t> idx(m);
    approx::leastvals2(X.data(), mins.data(), cols.data(), m, n);
    approx::leastvals(X.data(), mins1.data(), m, n);
    approx::leastidx(X.data(), idx.data(), m, n, scratch.data());
    for (size_t i = 0; i < m; ++i) {
        std::vector<double> row(n);
        for (size_t j = 0; j < n; ++j) row[j] = X[i + m * j];
        const size_t first = size_t(std::min_element(row.begin(), row.end()) - row.begin());
        EXPECT_EQ(mins[i], row[first]);
        EXPECT_EQ(mins1[i], row[first]);
        EXPECT_EQ(cols[i], double(first + 1));
        EXPECT_EQ(idx[i], first + 1);
    }
}

TEST(RowMinima, MessagesInOrder) {
    auto X = make_double(1, 2, {1, 2});
    auto i32 = mexhost::make_array({1, 2}, mxINT32_CLASS);
    auto i32c = mexhost::make_array({1, 2}, mxINT32_CLASS, true);
    auto sp = mexhost::make_sparse(2, 2, {1}, {0, 0, 1}, {1.0});
    auto cplx = make_double(1, 2, {1, 2}, {0, 1});
    for (const char *plugin : {"leastvals", "leastidx"}) {
        expect_messages(plugin, {
            {1, {}, "No input argument passed."},
            {1, {i32.get()}, "Matrix must be double"},
            {1, {i32c.get()}, "Matrix must be double"},
            {1, {sp.get()}, "Matrix must be full (not sparse)"},
            {1, {cplx.get()}, "Matrix must be real"},
        });
        // Further inputs are ignored.
        auto r = testutil::call(plugin, 1, {X.get(), i32.get()});
        EXPECT_TRUE(r.ok) << r.error;
    }
}
