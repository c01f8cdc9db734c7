// Table lookup: the hunting search against a plain linear definition, the
// end adjustments, NaN handling, hostile tables and the plug-in gateway.
#include "table_lookup.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

using mexhost::make_double;
using mexhost::make_scalar;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// The positions of the values x by definition (for a sorted table): the
// largest i <= L with t_i <= v, or the end of the leading run (clamp_below)
// or 0 below the table. L excludes the trailing run when clamping at the
// top, unless the table is a single run.
std::vector<double> reference(const std::vector<double> &t, const std::vector<double> &x, bool clamp_below,
                              bool clamp_top) {
    const size_t n = t.size();
    size_t F = 1;
    while (F < n && t[F] == t[0]) ++F;
    size_t L = n;
    if (clamp_top) {
        size_t run = 1;
        while (run < n && t[n - 1 - run] == t[n - 1]) ++run;
        L = run < n ? n - run : n;
    }
    std::vector<double> out;
    for (double v : x) {
        const size_t p = size_t(std::upper_bound(t.begin(), t.begin() + long(L), v) - t.begin());
        out.push_back(std::isnan(v) ? kNaN : p == 0 && clamp_below ? double(F) : double(p));
    }
    return out;
}

// Results are doubles holding integers or NaN; compare with NaN == NaN.
void expect_same(const std::vector<double> &got, const std::vector<double> &want, const std::string &what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (size_t i = 0; i < got.size(); ++i)
        if (!(got[i] == want[i] || (std::isnan(got[i]) && std::isnan(want[i]))))
            FAIL() << what << ": value " << i << " gives " << got[i] << ", expected " << want[i];
}

mexhost::CallResult lookup(const std::vector<double> &table, const mxArray *x, const mxArray *endadj = nullptr) {
    auto t = testutil::row(table);
    std::vector<const mxArray *> in{t.get(), x};
    if (endadj) in.push_back(endadj);
    return testutil::call("lookup", 1, in);
}

std::vector<double> lookup_values(const std::vector<double> &table, const std::vector<double> &x, double endadj) {
    auto X = testutil::row(x), e = make_scalar(endadj);
    auto r = lookup(table, X.get(), e.get());
    EXPECT_TRUE(r.ok) << r.error;
    return r.ok ? testutil::values(r.outputs[0].get()) : std::vector<double>{};
}

} // namespace

TEST(Lookup, EndAdjustmentsWithDuplicatesAtBothEnds) {
    struct Case {
        std::vector<double> table, x;
        double endadj;
        std::vector<double> want;
    } cases[] = {
        {{1, 2, 3}, {0, 1, 1.5, 3, 4}, 0, {0, 1, 1, 3, 3}},
        {{1, 2, 3}, {0, 1, 1.5, 3, 4}, 1, {1, 1, 1, 3, 3}},
        {{1, 2, 3}, {0, 1, 1.5, 3, 4}, 2, {0, 1, 1, 2, 2}},
        {{1, 2, 3}, {0, 1, 1.5, 3, 4}, 3, {1, 1, 1, 2, 2}},
        {{1, 1, 2, 3, 3}, {0, 1, 2.5, 3}, 0, {0, 2, 3, 5}},
        {{1, 1, 2, 3, 3}, {0, 1, 2.5, 3}, 1, {2, 2, 3, 5}},
        {{1, 1, 2, 3, 3}, {0, 1, 2.5, 3}, 2, {0, 2, 3, 3}},
        {{1, 1, 2, 3, 3}, {0, 1, 2.5, 3}, 3, {2, 2, 3, 3}},
        {{1, 1, 1, 3, 3, 3}, {3, 0, 2, -kInf, kInf}, 3, {3, 3, 3, 3, 3}},
        {{5}, {4, 5, 6}, 0, {0, 1, 1}},
        {{5}, {4, 5, 6}, 1, {1, 1, 1}},
        // No entry before the trailing run: the top clamp does not apply.
        {{5}, {4, 5, 6}, 2, {0, 1, 1}},
        {{5}, {4, 5, 6}, 3, {1, 1, 1}},
        {{5, 5, 5}, {4, 5, 6}, 2, {0, 3, 3}},
        {{5, 5, 5}, {4, 5, 6}, 3, {3, 3, 3}},
        // endadj is truncated; other values clamp nothing below, > 1 the top.
        {{1, 2, 3}, {0, 3}, 2.9, {0, 2}},
        {{1, 2, 3}, {0, 3}, 3.5, {1, 2}},
        {{1, 2, 3}, {0, 3}, 1.99, {1, 3}},
        {{1, 2, 3}, {0, 3}, -1, {0, 3}},
        {{1, 2, 3}, {0, 3}, 4, {0, 2}},
        {{1, 2, 3}, {0, 3}, kNaN, {0, 3}},
    };
    for (const auto &c : cases) {
        std::ostringstream what;
        what << "endadj " << c.endadj << " table of " << c.table.size();
        expect_same(lookup_values(c.table, c.x, c.endadj), c.want, what.str());
        // Every value on its own, and all in reverse order, give the same.
        std::vector<double> rev(c.x.rbegin(), c.x.rend()), want_rev(c.want.rbegin(), c.want.rend());
        expect_same(lookup_values(c.table, rev, c.endadj), want_rev, what.str() + " reversed");
        for (size_t i = 0; i < c.x.size(); ++i)
            expect_same(lookup_values(c.table, {c.x[i]}, c.endadj), {c.want[i]}, what.str() + " alone");
    }
}

TEST(Lookup, HuntMatchesDefinitionForEveryQueryOrder) {
    std::mt19937_64 rng(7);
    for (size_t n : {1, 2, 3, 4, 9, 64, 1000, 5000}) {
        for (int levels : {3, 1 << 30}) { // many duplicates, or nearly distinct
            std::uniform_int_distribution<int> pick(0, levels);
            std::vector<double> t(n);
            for (auto &v : t) v = pick(rng) * 0.5;
            std::sort(t.begin(), t.end());
            // Queries: entries, points between and beyond them, infinities
            // and NaN, in sorted, descending, random and clustered orders.
            std::vector<double> q;
            for (double v : t) q.insert(q.end(), {v, v + 0.25, v - 0.25});
            q.insert(q.end(), {-kInf, kInf, t[0] - 100, t[n - 1] + 100});
            std::sort(q.begin(), q.end());
            std::vector<std::vector<double>> orders{q, std::vector<double>(q.rbegin(), q.rend())};
            std::vector<double> shuffled = q;
            std::shuffle(shuffled.begin(), shuffled.end(), rng);
            shuffled.insert(shuffled.begin() + shuffled.size() / 2, kNaN);
            shuffled.push_back(kNaN);
            orders.push_back(shuffled);
            std::vector<double> walk;
            size_t pos = q.size() / 2;
            std::uniform_int_distribution<int> jump(-40, 40);
            for (size_t i = 0; i < 3 * q.size(); ++i) {
                pos = size_t(std::clamp<long>(long(pos) + jump(rng), 0, long(q.size()) - 1));
                walk.push_back(q[pos]);
            }
            orders.push_back(walk);
            // Scattered values, then sorted ones, then scattered again.
            std::vector<double> mixed = shuffled;
            mixed.insert(mixed.end(), q.begin(), q.end());
            mixed.insert(mixed.end(), shuffled.begin(), shuffled.end());
            orders.push_back(mixed);
            for (int endadj = 0; endadj < 4; ++endadj) {
                const bool below = endadj % 2 == 1, top = endadj >= 2;
                for (size_t o = 0; o < orders.size(); ++o) {
                    const auto &x = orders[o];
                    std::vector<double> got(x.size());
                    approx::lookup(t.data(), n, x.data(), x.size(), below, top, got.data());
                    std::ostringstream what;
                    what << "n=" << n << " levels=" << levels << " endadj=" << endadj << " order " << o;
                    expect_same(got, reference(t, x, below, top), what.str());
                }
            }
        }
    }
}

TEST(Lookup, NaNValueGivesNaNWhereverTheHuntStands) {
    const std::vector<double> t{1, 2, 3, 4, 5, 6, 7, 8};
    for (int endadj = 0; endadj < 4; ++endadj) {
        const bool below = endadj % 2 == 1, top = endadj >= 2;
        const std::vector<double> x{0, kNaN, 8, kNaN, 4.5, kNaN, kNaN, 7.5, kNaN, 0.5};
        std::vector<double> got(x.size());
        approx::lookup(t.data(), t.size(), x.data(), x.size(), below, top, got.data());
        expect_same(got, reference(t, x, below, top), "endadj " + std::to_string(endadj));
    }
    // Single-run tables take the no-search path; NaN still gives NaN.
    const std::vector<double> one{5};
    const double x[2] = {kNaN, 5};
    double got[2];
    approx::lookup(one.data(), 1, x, 2, true, true, got);
    EXPECT_TRUE(std::isnan(got[0]));
    EXPECT_EQ(got[1], 1);
}

TEST(Lookup, UnsortedOrNaNTablesGivePositionsInsideTheTable) {
    // Exactly sized vectors: under the address sanitizer any read outside
    // the table fails the test.
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> u(-10, 10);
    std::uniform_int_distribution<int> coin(0, 5);
    for (size_t n : {1, 2, 3, 5, 40, 300}) {
        for (int rep = 0; rep < 20; ++rep) {
            std::vector<double> t(n);
            for (auto &v : t) v = coin(rng) == 0 ? kNaN : u(rng);
            if (rep % 2) std::sort(t.begin(), t.end(), [](double a, double b) { return a > b; });
            std::vector<double> x(200);
            for (auto &v : x) v = coin(rng) == 0 ? kNaN : 1.5 * u(rng);
            if (rep % 4 == 1) std::sort(x.begin(), x.end());
            for (int endadj = 0; endadj < 4; ++endadj) {
                std::vector<double> got(x.size());
                approx::lookup(t.data(), n, x.data(), x.size(), endadj % 2 == 1, endadj >= 2, got.data());
                for (size_t i = 0; i < x.size(); ++i) {
                    if (std::isnan(x[i])) {
                        EXPECT_TRUE(std::isnan(got[i]));
                        continue;
                    }
                    EXPECT_GE(got[i], 0);
                    EXPECT_LE(got[i], double(n));
                    EXPECT_EQ(got[i], std::floor(got[i]));
                }
            }
        }
    }
}

TEST(Lookup, GatewayShapesAndEndadjForms) {
    const std::vector<double> table{1, 1, 2, 3, 3};
    // A 2 x 2 x: the result keeps its shape; the table's shape does not matter.
    auto x = make_double(2, 2, {3, 0, 2.5, 1});
    auto tcol = testutil::col(table);
    auto r = testutil::call("lookup", 1, {tcol.get(), x.get()});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(mxGetM(r.outputs[0].get()), 2u);
    EXPECT_EQ(mxGetN(r.outputs[0].get()), 2u);
    EXPECT_EQ(testutil::values(r.outputs[0].get()), (std::vector<double>{5, 0, 3, 2}));

    // endadj of another class, empty (the default), or with further
    // elements (the first counts); inputs past the third are ignored.
    auto i32 = mexhost::make_array({1, 1}, mxINT32_CLASS);
    static_cast<int32_t *>(mxGetData(i32.get()))[0] = 3;
    auto empty = make_double(0, 0), pair = testutil::row({3, 0});
    const std::vector<double> with3{3, 2, 3, 2}, with0{5, 0, 3, 2};
    struct Case {
        std::vector<const mxArray *> extra;
        std::vector<double> want;
    } cases[] = {
        {{i32.get()}, with3},
        {{empty.get()}, with0},
        {{pair.get()}, with3},
        {{pair.get(), i32.get(), empty.get()}, with3},
    };
    for (const auto &c : cases) {
        std::vector<const mxArray *> in{tcol.get(), x.get()};
        in.insert(in.end(), c.extra.begin(), c.extra.end());
        auto rc = testutil::call("lookup", 0, in);
        ASSERT_TRUE(rc.ok) << rc.error;
        EXPECT_EQ(testutil::values(rc.outputs[0].get()), c.want);
    }
    // A text option (as another lookup takes) is refused, not read as a code.
    auto text = mexhost::make_string("m");
    auto rt = testutil::call("lookup", 1, {tcol.get(), x.get(), text.get()});
    EXPECT_FALSE(rt.ok);
    EXPECT_EQ(rt.error, "Input arguments of inproper type");

    auto none = make_double(0, 3);
    auto re = lookup(table, none.get());
    ASSERT_TRUE(re.ok) << re.error;
    EXPECT_EQ(mxGetM(re.outputs[0].get()), 0u);
    EXPECT_EQ(mxGetN(re.outputs[0].get()), 3u);
}

TEST(Lookup, MessagesInOrder) {
    auto t = testutil::row({1, 2}), x = testutil::row({1.5});
    auto i32 = mexhost::make_array({1, 2}, mxINT32_CLASS), i32empty = mexhost::make_array({0, 0}, mxINT32_CLASS);
    auto sp = mexhost::make_sparse(1, 1, {0}, {0, 1}, {1.0});
    auto cplx = make_double(1, 1, {1}, {1});
    auto empty = make_double(1, 0);
    struct Case {
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {{}, "Two arguments must be passed"},
        {{t.get()}, "Two arguments must be passed"},
        {{i32.get(), x.get()}, "Input arguments of inproper type"},
        {{t.get(), i32.get()}, "Input arguments of inproper type"},
        {{i32empty.get(), x.get()}, "Input arguments of inproper type"},
        {{t.get(), sp.get()}, "Input arguments of inproper type"},
        {{sp.get(), x.get()}, "Input arguments of inproper type"},
        {{t.get(), cplx.get()}, "Input arguments of inproper type"},
        {{cplx.get(), x.get()}, "Input arguments of inproper type"},
        {{empty.get(), x.get()}, "Table must contain at least one element"},
        {{empty.get(), x.get(), t.get()}, "Table must contain at least one element"},
    };
    for (const auto &c : cases) {
        auto r = testutil::call("lookup", 1, c.in);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, c.msg);
    }
}
