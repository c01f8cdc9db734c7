// Chebyshev basis matrices (tpolybasis) and tensor-product expansions
// (tpolyeval), against the closed forms of T_k and direct sums of products.
#include "chebyshev_basis.hpp"
#include "chebyshev_eval.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <random>

using mexhost::ArrayPtr;
using mexhost::make_double;
using mexhost::make_scalar;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// T_k(z) from its closed forms, in long double.
long double cheb_t(int k, long double z) {
    if (std::fabs(z) <= 1) return std::cos(k * std::acos(z));
    const long double v = std::cosh(k * std::acosh(std::fabs(z)));
    return (z < 0 && k % 2 == 1) ? -v : v;
}

double map_point(double x, double a, double b) { return ((a + b) * -0.5 + x) * (2.0 / (b - a)); }

mexhost::CallResult tpolybasis(double n, double a, double b, const mxArray *x, int nargout = 1) {
    auto N = make_scalar(n), A = make_scalar(a), B = make_scalar(b);
    return testutil::call("tpolybasis", nargout, {N.get(), A.get(), B.get(), x});
}

std::vector<double> row_of(const mxArray *B, size_t i) {
    std::vector<double> r;
    for (size_t j = 0; j < mxGetN(B); ++j) r.push_back(mxGetPr(B)[i + mxGetM(B) * j]);
    return r;
}

} // namespace

TEST(Tpolybasis, ValuesAtTheEndsAndMidpoint) {
    // Intervals whose mapping is exact, so the rows are exact too.
    struct Case {
        double a, b, x;
        std::vector<double> row;
    } cases[] = {
        {-1, 3, -1, {1, -1, 1, -1, 1, -1}},
        {-1, 3, 3, {1, 1, 1, 1, 1, 1}},
        {-1, 3, 1, {1, 0, -1, 0, 1, 0}},
        {0, 1, 0.75, {1, 0.5, -0.5, -1, -0.5, 0.5}},
        {0, 1, 1.5, {1, 2, 7, 26, 97, 362}}, // outside: not clamped
        {-1, 1, -2, {1, -2, 7, -26, 97, -362}},
    };
    for (const auto &c : cases) {
        auto x = testutil::col({c.x});
        auto r = tpolybasis(6, c.a, c.b, x.get());
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(row_of(r.outputs[0].get(), 0), c.row) << c.a << " " << c.b << " " << c.x;
    }
    // An interval whose 2/(b-a) rounds: the ends agree up to that rounding.
    auto x = testutil::col({0.1, 0.7, 0.4});
    auto r = tpolybasis(5, 0.1, 0.7, x.get());
    ASSERT_TRUE(r.ok) << r.error;
    const double want[3][5] = {{1, -1, 1, -1, 1}, {1, 1, 1, 1, 1}, {1, 0, -1, 0, 1}};
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 5; ++j) EXPECT_NEAR(row_of(r.outputs[0].get(), i)[j], want[i][j], 1e-14);
}

TEST(Tpolybasis, MatchesClosedFormInsideAndOutsideTheInterval) {
    const double a = -0.3, b = 2.2;
    const int n = 24;
    std::vector<double> xs;
    for (int i = 0; i <= 200; ++i) xs.push_back(a + (b - a) * (i / 200.0));
    for (double v : {-0.5, -0.31, 2.21, 2.6}) xs.push_back(v);
    auto x = testutil::col(xs);
    auto r = tpolybasis(n, a, b, x.get());
    ASSERT_TRUE(r.ok) << r.error;
    const mxArray *B = r.outputs[0].get();
    ASSERT_EQ(mxGetM(B), xs.size());
    ASSERT_EQ(mxGetN(B), size_t(n));
    double worst = 0;
    for (size_t i = 0; i < xs.size(); ++i) {
        const double z = map_point(xs[i], a, b);
        for (int k = 0; k < n; ++k) {
            const long double want = cheb_t(k, z);
            const double err = std::fabs(double(mxGetPr(B)[i + xs.size() * k] - want)) /
                               std::max(1.0L, std::fabs(want));
            worst = std::max(worst, err);
        }
    }
    EXPECT_LT(worst, 2e-14);
}

TEST(Tpolybasis, Shapes) {
    auto x3 = testutil::col({0.2, 0.5, 0.9});
    auto xrow = testutil::row({0.25, 7, 8});
    auto xempty = make_double(0, 3);
    struct Case {
        double n;
        const mxArray *x;
        size_t m, cols;
        std::vector<double> values;
    } cases[] = {
        {1, x3.get(), 3, 1, {1, 1, 1}},
        {2, x3.get(), 3, 2, {1, 1, 1, map_point(0.2, 0, 1), 0, map_point(0.9, 0, 1)}},
        {3.7, xrow.get(), 1, 3, {1, -0.5, -0.5}}, // one row: only x's first element
        {1.9, xempty.get(), 0, 1, {}},
        {4, xempty.get(), 0, 4, {}},
    };
    for (const auto &c : cases) {
        auto r = tpolybasis(c.n, 0, 1, c.x);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(mxGetM(r.outputs[0].get()), c.m);
        EXPECT_EQ(mxGetN(r.outputs[0].get()), c.cols);
        EXPECT_EQ(testutil::values(r.outputs[0].get()), c.values);
    }
}

TEST(Tpolybasis, NoPointsAndAHugeCountIsAnEmptyMatrixAtOnce) {
    // 0 x 2^32 holds nothing; building it must not count through the columns.
    auto xempty = make_double(0, 1);
    const auto t0 = std::chrono::steady_clock::now();
    auto r = tpolybasis(4294967296.0, 0, 1, xempty.get());
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 1.0);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(mxGetM(r.outputs[0].get()), 0u);
    EXPECT_EQ(mxGetN(r.outputs[0].get()), size_t(4294967296));
}

TEST(Tpolybasis, MessagesInOrder) {
    auto s = make_scalar(1), two = testutil::row({1, 2}), x = testutil::col({0.5});
    auto i32 = mexhost::make_array({1, 1}, mxINT32_CLASS);
    auto sp = mexhost::make_sparse(1, 1, {0}, {0, 1}, {1.0});
    auto cplx = make_double(1, 1, {0.5}, {1});
    auto zero = make_scalar(0), neg = make_scalar(-2), half = make_scalar(0.5), nan = make_scalar(kNaN);
    auto huge = make_scalar(1e300), norows = make_double(3, 0);
    struct Case {
        int nargout;
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {1, {s.get(), s.get(), s.get()}, "Four arguments must be passed"},
        {2, {s.get(), s.get(), s.get()}, "Four arguments must be passed"},
        {2, {i32.get(), s.get(), s.get(), x.get()}, "tpolybasis produces only one output"},
        {1, {s.get(), s.get(), s.get(), i32.get()}, "Input arguments of inproper type"},
        {1, {s.get(), sp.get(), two.get(), x.get()}, "Input arguments of inproper type"},
        {1, {s.get(), s.get(), s.get(), cplx.get()}, "Input arguments of inproper type"},
        {1, {s.get(), two.get(), s.get(), x.get()}, "n, a and b must be scalars"},
        {1, {x.get(), s.get(), norows.get(), x.get()}, "n, a and b must be scalars"},
        {1, {zero.get(), s.get(), two.get(), x.get()}, "n, a and b must be scalars"},
        {1, {zero.get(), s.get(), s.get(), x.get()}, "n must be a positive integer"},
        {1, {neg.get(), s.get(), s.get(), x.get()}, "n must be a positive integer"},
        {1, {half.get(), s.get(), s.get(), x.get()}, "n must be a positive integer"},
        {1, {nan.get(), s.get(), s.get(), norows.get()}, "n must be a positive integer"},
        {1, {huge.get(), s.get(), s.get(), x.get()}, "n is too large"},
        {1, {s.get(), s.get(), s.get(), norows.get()}, "x must have at least one column"},
    };
    for (const auto &c : cases) {
        auto r = testutil::call("tpolybasis", c.nargout, c.in);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, c.msg);
    }
}

namespace {

struct Expansion {
    std::vector<double> n, a, b;
    size_t N = 1, p = 0;
    std::vector<double> c; // N x p
};

// sum over r of c(r, q) * prod_k T_(i_k)(w_k), and the same sum of absolute
// terms as the scale of the rounding error.
void direct_sum(const Expansion &e, const double *pt, size_t q, long double &value, long double &scale) {
    value = scale = 0;
    const size_t d = e.n.size();
    for (size_t r = 0; r < e.N; ++r) {
        long double prod = 1;
        size_t rest = r;
        for (size_t k = 0; k < d; ++k) {
            const size_t nk = size_t(e.n[k]), ik = rest % nk;
            rest /= nk;
            const double t = pt[k];
            const double w = ((t + t) - e.a[k] - e.b[k]) / (e.b[k] - e.a[k]);
            prod *= cheb_t(int(ik), w);
        }
        value += e.c[r + e.N * q] * prod;
        scale += std::fabs(e.c[r + e.N * q] * prod);
    }
}

mexhost::CallResult tpolyeval(const Expansion &e, const std::vector<double> &x, size_t m) {
    const size_t d = e.n.size();
    auto c = make_double(e.N, e.p, e.c), X = make_double(m, d, x);
    auto n = testutil::row(e.n), a = testutil::row(e.a), b = testutil::row(e.b);
    return testutil::call("tpolyeval", 1, {c.get(), X.get(), n.get(), a.get(), b.get()});
}

} // namespace

TEST(Tpolyeval, OneDimensionalExample) {
    Expansion e{{3}, {-1}, {1}, 3, 1, {1, 2, 3}};
    auto r = tpolyeval(e, {0.5, 1, -1}, 3);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(testutil::values(r.outputs[0].get()), (std::vector<double>{0.5, 6, 2}));
}

TEST(Tpolyeval, MatchesDirectSumsInOneToThreeDimensions) {
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> unit(-1, 1);
    struct Shape {
        std::vector<double> n, a, b;
    } shapes[] = {
        {{7}, {-2}, {3}},
        {{1}, {0}, {1}},                          // a constant only
        {{2, 3}, {0, -1}, {1, 4}},                // row = i1 + 2*i2
        {{4, 1}, {-1, 5}, {1, 6}},                // second dimension constant
        {{3, 5, 2}, {0, 0, -3}, {1, 2, -1}},
        {{1, 6, 4}, {-1, 0.25, 10}, {1, 0.75, 12}},
    };
    for (const Shape &s : shapes) {
        Expansion e;
        e.n = s.n;
        e.a = s.a;
        e.b = s.b;
        const size_t d = e.n.size();
        e.N = 1;
        for (double nk : e.n) e.N *= size_t(nk);
        e.p = 2;
        for (size_t i = 0; i < e.N * e.p; ++i) e.c.push_back(unit(rng));
        // Points inside the box and a little outside it (not clamped).
        const size_t m = 25;
        std::vector<double> x(m * d);
        for (size_t k = 0; k < d; ++k)
            for (size_t j = 0; j < m; ++j) {
                const double u = 0.5 * (1 + 1.2 * unit(rng));
                x[j + m * k] = e.a[k] + (e.b[k] - e.a[k]) * u;
            }
        auto r = tpolyeval(e, x, m);
        ASSERT_TRUE(r.ok) << r.error;
        const mxArray *Y = r.outputs[0].get();
        ASSERT_EQ(mxGetM(Y), m);
        ASSERT_EQ(mxGetN(Y), e.p);
        for (size_t j = 0; j < m; ++j) {
            double pt[3];
            for (size_t k = 0; k < d; ++k) pt[k] = x[j + m * k];
            for (size_t q = 0; q < e.p; ++q) {
                long double want, scale;
                direct_sum(e, pt, q, want, scale);
                EXPECT_NEAR(mxGetPr(Y)[j + m * q], double(want), 1e-14 * double(scale) + 1e-300)
                    << "d=" << d << " point " << j << " column " << q;
            }
        }
    }
}

TEST(Tpolyeval, EmptyPointsAndNoDimensions) {
    // No points: an empty 0 x p result.
    Expansion e{{2, 2}, {0, 0}, {1, 1}, 4, 3, std::vector<double>(12, 1.0)};
    auto r = tpolyeval(e, {}, 0);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(mxGetM(r.outputs[0].get()), 0u);
    EXPECT_EQ(mxGetN(r.outputs[0].get()), 3u);
    // No dimensions: empty products make c a single row of constants that
    // every point takes.
    Expansion constant{{}, {}, {}, 1, 2, {4, -5}};
    auto rc = tpolyeval(constant, {}, 3);
    ASSERT_TRUE(rc.ok) << rc.error;
    EXPECT_EQ(testutil::values(rc.outputs[0].get()), (std::vector<double>{4, 4, 4, -5, -5, -5}));
}

TEST(Tpolyeval, MessagesInOrder) {
    auto c4 = testutil::col({1, 2, 3, 4}), c5 = testutil::col({1, 2, 3, 4, 5});
    auto x = testutil::row({0.5, 0.5}), n22 = testutil::row({2, 2}), ab = testutil::row({0, 1});
    auto one = testutil::row({1}), three = testutil::row({0, 1, 2});
    auto i32 = mexhost::make_array({1, 2}, mxINT32_CLASS);
    auto sp = mexhost::make_sparse(1, 2, {0}, {0, 1, 1}, {1.0});
    auto cplx = make_double(1, 2, {0, 1}, {1, 0});
    auto n0 = testutil::row({2, 0}), nneg = testutil::row({-1, 2}), nhalf = testutil::row({2, 0.7});
    auto nnan = testutil::row({kNaN, 2}), n23 = testutil::row({2.9, 2.5}), nhuge = testutil::row({1e300, 2});
    struct Case {
        int nargout;
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {1, {c4.get(), x.get(), n22.get(), ab.get()}, "Not enough input arguments."},
        {1, {c4.get(), x.get(), n22.get(), ab.get(), ab.get(), ab.get()}, "Too many input arguments."},
        {2, {i32.get(), x.get(), n22.get(), ab.get(), ab.get()}, "Too many output arguments."},
        {1, {c4.get(), x.get(), i32.get(), ab.get(), ab.get()}, "Function not defined for variables of input class"},
        {1, {c4.get(), x.get(), n22.get(), ab.get(), sp.get()}, "Function not defined for variables of input class"},
        {1, {c4.get(), cplx.get(), n22.get(), ab.get(), sp.get()}, "Arguments must be real."},
        {1, {c4.get(), x.get(), three.get(), one.get(), one.get()}, "n has improper dimension"},
        {1, {c4.get(), x.get(), n22.get(), three.get(), one.get()}, "a has improper dimension"},
        {1, {c4.get(), x.get(), n22.get(), ab.get(), one.get()}, "b has improper dimension"},
        {1, {c5.get(), x.get(), n0.get(), ab.get(), ab.get()}, "n must contain positive integers"},
        {1, {c4.get(), x.get(), nneg.get(), ab.get(), ab.get()}, "n must contain positive integers"},
        {1, {c4.get(), x.get(), nhalf.get(), ab.get(), ab.get()}, "n must contain positive integers"},
        {1, {c4.get(), x.get(), nnan.get(), ab.get(), ab.get()}, "n must contain positive integers"},
        {1, {c5.get(), x.get(), n22.get(), ab.get(), ab.get()}, "c has improper number of rows"},
        {1, {c5.get(), x.get(), n23.get(), ab.get(), ab.get()}, "c has improper number of rows"},
        {1, {c4.get(), x.get(), nhuge.get(), ab.get(), ab.get()}, "c has improper number of rows"},
    };
    for (const auto &c : cases) {
        auto r = testutil::call("tpolyeval", c.nargout, c.in);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, c.msg);
    }
    // Truncated counts [2.9 2.5] -> [2 2] match four rows.
    auto r = testutil::call("tpolyeval", 1, {c4.get(), x.get(), n23.get(), ab.get(), ab.get()});
    EXPECT_TRUE(r.ok) << r.error;
}
