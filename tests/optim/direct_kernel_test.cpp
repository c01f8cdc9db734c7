// The DIRECT kernel without a host: hull pruning, the index-carrying sort,
// and whole searches compared with a plain full-rescan model.
#include "direct_reference.hpp"
#include "direct_search.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST(LConvHull, KeepsTheLowerHullOfTheCandidateLevels) {
    // x = level_size and y = level_min indexed by level number; the list runs
    // from small boxes (high level) to large ones.
    struct Case {
        const char *what;
        std::vector<double> x, y;
        std::vector<int32_t> idx, kept;
    } cases[] = {
        {"two entries are never pruned", {1, 2}, {5, 0}, {1, 2}, {1, 2}},
        {"point above the chord goes", {4, 2, 1}, {1, 5, 0}, {3, 2, 1}, {3, 1}},
        {"point below the chord stays", {4, 2, 1}, {1, 0.2, 0}, {3, 2, 1}, {3, 2, 1}},
        {"collinear point stays", {3, 2, 1}, {2, 1, 0}, {3, 2, 1}, {3, 2, 1}},
        // Removing level 3 makes level 2 face a new neighbour, and it goes too.
        {"removal re-tests the previous entry", {8, 4, 2, 1}, {2, 1, 5, 0}, {4, 3, 2, 1}, {4, 1}},
        {"back-step stops at the second entry", {8, 4, 2, 1}, {1, 9, 8, 0}, {4, 3, 2, 1}, {4, 1}},
        {"NaN in the comparison removes the point", {4, 2, 1}, {1, kNaN, 0}, {3, 2, 1}, {3, 1}},
        {"convex chain is kept whole", {16, 8, 4, 2, 1}, {6, 2, 0.5, 0.1, 0}, {5, 4, 3, 2, 1}, {5, 4, 3, 2, 1}},
    };
    for (auto &c : cases) {
        std::vector<int32_t> idx = c.idx;
        const long count = direct::lconvhull(c.x.data(), c.y.data(), idx.data(), long(idx.size()));
        idx.resize(static_cast<size_t>(count));
        EXPECT_EQ(idx, c.kept) << c.what;
    }
}

TEST(QuickSortInd, EqualValuesFollowTheExchangePattern) {
    // All-equal side values: the permutation is whatever the exchanges
    // produce, which decides the order in which the long sides are cut.
    const std::vector<std::vector<int32_t>> expected = {
        {1}, {2, 1}, {3, 2, 1}, {3, 4, 1, 2}, {4, 5, 3, 1, 2}};
    for (const auto &want : expected) {
        const long n = long(want.size());
        std::vector<double> a(size_t(n), 0.5);
        std::vector<int32_t> idx(static_cast<size_t>(n));
        for (long k = 0; k < n; ++k) idx[size_t(k)] = int32_t(k + 1);
        direct::quicksortind(a.data(), idx.data(), 1, n);
        EXPECT_EQ(idx, want) << "n = " << n;
    }
    // Partial ties mixed with distinct values.
    std::vector<double> a = {3, 1, 3, 1, 2};
    std::vector<int32_t> idx = {1, 2, 3, 4, 5};
    direct::quicksortind(a.data(), idx.data(), 1, 5);
    EXPECT_EQ(a, (std::vector<double>{1, 1, 2, 3, 3}));
    EXPECT_EQ(idx, (std::vector<int32_t>{4, 2, 5, 1, 3}));
}

TEST(QuickSortInd, SortsAndCarriesIndicesOnRandomInput) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 200; ++trial) {
        const long n = 1 + long(rng() % 40);
        std::vector<double> a(static_cast<size_t>(n));
        for (auto &v : a) v = double(rng() % 6); // many ties
        const std::vector<double> orig = a;
        std::vector<int32_t> idx(static_cast<size_t>(n));
        for (long k = 0; k < n; ++k) idx[size_t(k)] = int32_t(k + 1);
        direct::quicksortind(a.data(), idx.data(), 1, n);
        for (long k = 0; k < n; ++k) {
            if (k > 0) {
                EXPECT_LE(a[size_t(k - 1)], a[size_t(k)]);
            }
            EXPECT_EQ(a[size_t(k)], orig[size_t(idx[size_t(k)] - 1)]);
        }
    }
    // NaN values must not drive the scans outside the range.
    std::vector<double> a = {kNaN, 2, kNaN, 1, kNaN, 0};
    std::vector<int32_t> idx = {1, 2, 3, 4, 5, 6};
    direct::quicksortind(a.data(), idx.data(), 1, 6);
    std::vector<int32_t> sorted = idx;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
}

// ---- whole searches: heaps against the full rescan --------------------------

struct Problem {
    const char *name;
    int n;
    directref::Fn f;
};

double quad(const double *x, int n) {
    double s = 0;
    for (int d = 0; d < n; ++d) s += (d + 1) * (x[d] - 0.3 - 0.1 * d) * (x[d] - 0.3 - 0.1 * d);
    return s;
}

std::vector<Problem> problems() {
    return {
        {"quadratic 1-D", 1, [](const double *x) { return quad(x, 1); }},
        {"quadratic 2-D", 2, [](const double *x) { return quad(x, 2); }},
        {"quadratic 5-D", 5, [](const double *x) { return quad(x, 5); }},
        // Coarse plateaus: many equal values within and across levels.
        {"plateaus 2-D", 2, [](const double *x) { return std::floor(4.0 * quad(x, 2)) / 4.0; }},
        {"plateaus 3-D", 3, [](const double *x) { return std::floor(3.0 * quad(x, 3)) / 3.0; }},
        {"constant 3-D", 3, [](const double *) { return 1.0; }},
        {"NaN region 2-D", 2, [](const double *x) { return x[0] > 0.55 ? kNaN : quad(x, 2); }},
        {"infinite and huge values 2-D", 2,
         [](const double *x) { return x[1] < 0.1 ? kInf : x[1] > 0.8 ? 1.7e308 : quad(x, 2); }},
        {"rugged 2-D", 2,
         [](const double *x) { return std::cos(9 * x[0]) * std::sin(7 * x[1]) + 0.1 * quad(x, 2); }},
        {"signed zeros 2-D", 2, [](const double *x) { return x[0] > 0.5 ? -0.0 : 0.0; }},
    };
}

directref::State fresh(const Problem &p, long long X, long long W, double sign, bool first_tie, bool skip_hull,
                       long long limit) {
    const int n = p.n;
    directref::State s;
    for (int d = 0; d < n; ++d) {
        s.box_width.push_back(1.0 + 0.5 * d);
        s.root_center.push_back(0.25 + 0.1 * d);
    }
    s.parent.assign(size_t(X), 0);
    s.offset.assign(size_t(X), 0.0);
    s.cut_dim.assign(size_t(X), 0);
    s.level.assign(size_t(X), 0);
    s.fval.assign(size_t(X), 0.0);
    s.level_min.assign(size_t(W), 0.0);
    for (long long L = 1; L <= W; ++L) {
        const long long m = (L - 1) / n, r = (L - 1) % n;
        const double lng = std::pow(3.0, -double(m)), sht = lng / 3.0;
        s.level_size.push_back(0.5 * std::sqrt(double(r) * sht * sht + double(n - r) * lng * lng));
    }
    s.params = {1e-4, kNaN, 0.0, sign};
    s.intarray = {1, 0, 1, 1, 0, double(limit), 1, double(n), double(X), double(W), 0, 1e9,
                  first_tie ? 1.0 : 0.0, skip_hull ? 1.0 : 0.0};
    s.level[0] = 1;
    s.fval[0] = p.f(s.root_center.data()); // user sign, as every call expects
    return s;
}

struct KernelCtx {
    const directref::Fn *f;
    const double *x;
    std::vector<long long> progress;
};

double kernel_eval(void *c) {
    auto *k = static_cast<KernelCtx *>(c);
    return (*k->f)(k->x);
}
void kernel_progress(void *c, long long, double, long long nf) { static_cast<KernelCtx *>(c)->progress.push_back(nf); }

// One call of the kernel on the state, with its own workspace.
void kernel_call(directref::State &s, KernelCtx &ctx) {
    direct::SearchArrays a{s.box_width.data(), s.root_center.data(), s.parent.data(), s.offset.data(),
                           s.cut_dim.data(),   s.level.data(),       s.fval.data(),   s.level_size.data(),
                           s.level_min.data(), s.params.data(),      s.intarray.data()};
    char message[200];
    direct::ArrayLengths len{s.box_width.size(), s.root_center.size(), s.parent.size(),
                             s.offset.size(),    s.cut_dim.size(),     s.level.size(),
                             s.fval.size(),      s.level_size.size(),  s.level_min.size()};
    ASSERT_TRUE(direct::check_state(a, len, message, sizeof message)) << message;
    const long long n = (long long)s.intarray[7], X = (long long)s.intarray[8], W = (long long)s.intarray[9];
    std::vector<double> block(direct::workspace_bytes(n, X, W) / sizeof(double) + 1, 0.0);
    const direct::Workspace w = direct::workspace_partition(block.data(), n, X, W);
    std::vector<double> x(s.box_width.size(), 0.0);
    ctx.x = x.data();
    direct::run(x.data(), a, w, direct::Callbacks{kernel_eval, kernel_progress, &ctx});
}

bool same_bits(const std::vector<double> &a, const std::vector<double> &b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

TEST(DirectSearch, HeapBookkeepingMatchesFullRescan) {
    struct Setting {
        double sign;
        bool first_tie, skip_hull;
        long long X, W;
    } settings[] = {
        {1, false, false, 800, 60},  {1, true, false, 800, 60},  {1, false, true, 800, 60},
        {-1, false, false, 800, 60}, {-1, true, true, 800, 60},
        {1, false, false, 97, 60}, // evaluation capacity runs out early
        {1, false, false, 800, 7}, // level capacity exceeded
    };
    for (const auto &p : problems())
        for (const auto &st : settings) {
            const std::string what = std::string(p.name) + " sign " + std::to_string(int(st.sign)) + " tie " +
                                     std::to_string(st.first_tie) + " hull-off " + std::to_string(st.skip_hull) +
                                     " X " + std::to_string(st.X) + " W " + std::to_string(st.W);
            const long long limit = 30;
            directref::State want = fresh(p, st.X, st.W, st.sign, st.first_tie, st.skip_hull, limit);
            directref::State got = want;
            std::vector<long long> want_progress;
            directref::run(want, p.f, &want_progress);

            // The kernel runs the same search in several calls of a few
            // iterations, handing the values back in the user's sign each
            // time. A capacity stop ends a search for good, while a batch
            // limit reached in the same iteration would hide it, so such
            // searches run in one call.
            const bool capacity_stop = want.intarray[4] == 1 || want.intarray[4] == 2;
            const long long batch = capacity_stop ? limit : 4;
            KernelCtx ctx{&p.f, nullptr, {}};
            for (long long upto = batch;; upto += batch) {
                got.intarray[5] = double(std::min(upto, limit));
                kernel_call(got, ctx);
                if (got.intarray[4] != 6 || upto >= limit) break;
                if (st.sign == -1)
                    for (long long q = 0; q < (long long)got.intarray[0]; ++q) got.fval[size_t(q)] = -got.fval[size_t(q)];
            }
            got.intarray[5] = double(limit); // the batches set their own limits
            EXPECT_EQ(got.intarray, want.intarray) << what;
            EXPECT_EQ(got.parent, want.parent) << what;
            EXPECT_TRUE(same_bits(got.offset, want.offset)) << what;
            EXPECT_EQ(got.cut_dim, want.cut_dim) << what;
            EXPECT_EQ(got.level, want.level) << what;
            EXPECT_TRUE(same_bits(got.fval, want.fval)) << what;
            EXPECT_TRUE(same_bits(got.level_min, want.level_min)) << what;
            EXPECT_EQ(ctx.progress, want_progress) << what;
            EXPECT_GT(got.intarray[0], 1) << what;
        }
}

} // namespace
