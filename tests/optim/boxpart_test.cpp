// The boxpart plug-in through the embedded host: gateway messages, refusal
// of unsafe state, the objective callback and the behaviour of the search on
// small hand-checked cases.
#include "boxpart_fixture.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

using boxtest::Box;
using boxtest::Objective;
using mexhost::ArrayPtr;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kThird = 0.3333333333333333; // the step factor of the first division

double quadratic(const std::vector<double> &x) {
    double s = 0;
    for (size_t d = 0; d < x.size(); ++d) s += (x[d] - 0.1) * (x[d] - 0.1);
    return s;
}

std::string line(long long iter, double fbest, long long nf) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "Iter: %4lld   fbest: %15.10f    fn evals: %8lld\n", iter, fbest, nf);
    return buf;
}

TEST(Boxpart, GatewayMessagesComeFirst) {
    Objective obj(quadratic);
    Box b({2.0}, {0.0}, 10, 5);
    b.I(2) = b.I(6) = 0;
    // Each case breaks one gateway rule while the rest of the call is valid.
    auto in = b.inputs(obj.get());
    ArrayPtr short_params = testutil::col({1e-4, 0, 0});
    ArrayPtr long_intarray = testutil::col(std::vector<double>(15, 1.0));
    auto with = [&](int pos, const mxArray *a) {
        auto v = in;
        v[size_t(pos)] = a;
        return v;
    };
    struct Case {
        std::vector<const mxArray *> inputs;
        int nargout;
        const char *message;
    } cases[] = {
        {std::vector<const mxArray *>(in.begin(), in.begin() + 11), 0, "Incorrect number of input arguments."},
        {in, 1, "Incorrect number of output arguments."},
        {with(10, short_params.get()), 0, "Parameters vector is the wrong size."},
        {with(11, long_intarray.get()), 0, "Intarray vector is the wrong size."},
    };
    for (const auto &c : cases) {
        const auto r = testutil::call("boxpart", c.nargout, c.inputs);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, c.message);
    }
    EXPECT_TRUE(b.call(obj.get()).ok); // the unbroken call is accepted
    EXPECT_EQ(obj.calls(), 0u);
}

// A small valid state after three iterations of a maximisation, handed back in
// the user's sign as a resuming caller would.
Box advanced_state(Objective &obj) {
    Box b({1.0, 2.0}, {0.5, 0.0}, 40, 12);
    b.f(1) = obj.fn({0.5, 0.0});
    b.P(4) = -1;
    b.I(6) = 3;
    EXPECT_TRUE(b.call(obj.get()).ok);
    for (long long p = 1; p <= b.nf(); ++p) b.f(p) = -b.f(p);
    b.I(6) = 10;
    return b;
}

TEST(Boxpart, UnsafeStateIsRefusedBeforeAnythingChanges) {
    Objective obj(quadratic);
    const Box base = advanced_state(obj);
    ASSERT_EQ(Box(base).nf(), 13);
    ASSERT_EQ(Box(base).I(3), 5);
    ASSERT_EQ(Box(base).lev(9), 4); // one short side: its long side is named by points 10 and 11
    const size_t evaluations = obj.calls();

    struct Case {
        const char *message;
        std::function<void(Box &)> mutate;
    } cases[] = {
        {"box_width (argument 2) must be a full double array.",
         [](Box &b) { b.width = mexhost::make_array({2, 1}, mxINT32_CLASS); }},
        {"root_center (argument 3) must be a full double array.",
         [](Box &b) { b.centre = mexhost::make_sparse(2, 1, {0}, {0, 1}, {0.5}); }},
        {"parent (argument 4) must be an int32 array.",
         [](Box &b) { b.parent = boxtest::column(mxDOUBLE_CLASS, 40); }},
        {"offset (argument 5) must be a full double array.",
         [](Box &b) { b.offset = boxtest::column(mxSINGLE_CLASS, 40); }},
        {"cut_dim (argument 6) must be an int16 array.", [](Box &b) { b.cut = boxtest::column(mxINT32_CLASS, 40); }},
        {"level (argument 7) must be an int16 array.", [](Box &b) { b.level = boxtest::column(mxUINT16_CLASS, 40); }},
        {"fval (argument 8) must be a full double array.", [](Box &b) { b.fval = boxtest::column(mxINT16_CLASS, 40); }},
        {"level_size (argument 9) must be a full double array.",
         [](Box &b) { b.size = mexhost::make_string("twelve chars"); }},
        {"level_min (argument 10) must be a full double array.",
         [](Box &b) { b.lmin = boxtest::column(mxINT64_CLASS, 12); }},
        {"params (argument 11) must be a full double array.",
         [](Box &b) { b.params = boxtest::column(mxINT32_CLASS, 4); }},
        {"intarray (argument 12) must be a full double array.",
         [](Box &b) { b.ia = boxtest::column(mxSINGLE_CLASS, 14); }},
        {"intarray(6) must not be NaN.", [](Box &b) { b.I(6) = kNaN; }},
        {"intarray(8), the number of dimensions, must be between 1 and 32767.", [](Box &b) { b.I(8) = 0; }},
        {"intarray(8), the number of dimensions, must be between 1 and 32767.", [](Box &b) { b.I(8) = 32768; }},
        {"intarray(9), the point capacity, must be between 1 and 2147483647.", [](Box &b) { b.I(9) = 0.5; }},
        {"intarray(9), the point capacity, must be between 1 and 2147483647.", [](Box &b) { b.I(9) = 3e9; }},
        {"intarray(10), the level capacity, must be at least 1 and small enough that the levels of divided boxes "
         "stay within 32767.",
         [](Box &b) { b.I(10) = 0; }},
        {"intarray(10), the level capacity, must be at least 1 and small enough that the levels of divided boxes "
         "stay within 32767.",
         [](Box &b) { b.I(10) = 32767; }}, // dividing at level 32767 would write level 32769
        {"box_width has fewer than intarray(8) elements.", [](Box &b) { b.width = testutil::col({1.0}); }},
        {"root_center has fewer than intarray(8) elements.", [](Box &b) { b.centre = testutil::col({1.0}); }},
        {"parent has fewer than intarray(9) elements.", [](Box &b) { b.I(9) = 41; }},
        {"cut_dim has fewer than intarray(9) elements.", [](Box &b) { b.cut = boxtest::column(mxINT16_CLASS, 39); }},
        {"fval has fewer than intarray(9) elements.", [](Box &b) { b.fval = testutil::col({1.0}); }},
        {"level_size has fewer than intarray(10) elements.", [](Box &b) { b.I(10) = 13; }},
        {"level_min has fewer than intarray(10) elements.", [](Box &b) { b.lmin = testutil::col({0, 0}); }},
        {"intarray(1), the number of stored points, must be between 1 and intarray(9).", [](Box &b) { b.I(1) = 0; }},
        {"intarray(1), the number of stored points, must be between 1 and intarray(9).", [](Box &b) { b.I(9) = 10; }},
        {"intarray(3), the highest level in use, must be between 1 and intarray(10).", [](Box &b) { b.I(3) = 13; }},
        {"intarray(4), the best point, must be between 1 and intarray(1).", [](Box &b) { b.I(4) = 14; }},
        {"intarray(4), the best point, must be between 1 and intarray(1).", [](Box &b) { b.I(4) = -1; }},
        // One array passed twice: the levels written would be read back as
        // cut dimensions.
        {"cut_dim and level must not share data.", [](Box &b) { b.alias = {5, 6}; }},
        {"offset and fval must not share data.", [](Box &b) { b.alias = {4, 7}; }},
        {"fval and level_min must not share data.", [](Box &b) { b.alias = {7, 9}; }},
        {"Stored point 4 has level 0, outside 1 to intarray(3).", [](Box &b) { b.lev(4) = 0; }},
        {"Stored point 7 has level 6, outside 1 to intarray(3).", [](Box &b) { b.lev(7) = 6; }},
        {"Stored point 5 has parent 5; a parent must be an earlier point.", [](Box &b) { b.par(5) = 5; }},
        {"Stored point 3 has parent 0; a parent must be an earlier point.", [](Box &b) { b.par(3) = 0; }},
        {"Stored point 6 has cut dimension 3, outside 1 to intarray(8).", [](Box &b) { b.dim(6) = 3; }},
        {"Stored point 2 has cut dimension -1, outside 1 to intarray(8).", [](Box &b) { b.dim(2) = -1; }},
        // With nf cut to 10, point 9's short-sided box has no sibling pair
        // after it to name its long side.
        {"Stored point 9 has a box with short sides but lacks the sibling points after it.",
         [](Box &b) { b.I(1) = 10; }},
    };
    for (const auto &c : cases) {
        Box b(base);
        c.mutate(b);
        const std::vector<unsigned char> before = b.bytes();
        const auto r = b.call(obj.get());
        EXPECT_FALSE(r.ok) << c.message;
        EXPECT_EQ(r.error, c.message);
        EXPECT_EQ(b.bytes(), before) << c.message; // not even the sign flip of a maximisation
    }
    EXPECT_EQ(obj.calls(), evaluations);

    // The untouched state resumes normally.
    Box b(base);
    const auto r = b.call(obj.get());
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_GT(b.nf(), 13);
}

TEST(Boxpart, RandomlyCorruptedStateIsRefusedOrSearchedSafely) {
    // Whatever single entry is corrupted, a call either refuses the state
    // with a message or runs a search that keeps every index in range, so a
    // second call on the result is accepted too.
    Objective obj(quadratic);
    const Box base = advanced_state(obj);
    std::mt19937 rng(11);
    auto pick = [&](long long lo, long long hi) { return lo + (long long)(rng() % (unsigned long long)(hi - lo + 1)); };
    const double specials[] = {kNaN, INFINITY, -INFINITY, -1, 0, 1, 2, 5, 12, 13, 14, 40, 41, 1e10, 2.5};
    int refused = 0, searched = 0;
    for (int trial = 0; trial < 400; ++trial) {
        Box b(base);
        const long long p = pick(1, 15);
        switch (pick(0, 4)) {
        case 0: b.lev(p) = int16_t(pick(-2, 8)); break;
        case 1: b.par(p) = int32_t(pick(-1, 16)); break;
        case 2: b.dim(p) = int16_t(pick(-1, 3)); break;
        case 3: b.f(p) = specials[pick(0, 14)]; break;
        default: b.I(int(pick(1, 14))) = specials[pick(0, 14)]; break;
        }
        const auto r = b.call(obj.get());
        if (!r.ok) {
            EXPECT_FALSE(r.error.empty());
            ++refused;
            continue;
        }
        ++searched;
        EXPECT_LE(b.I(1), b.I(9));
        b.I(6) = b.I(2) + 2;
        if (b.P(4) == -1)
            for (long long q = 1; q <= b.nf(); ++q) b.f(q) = -b.f(q);
        const auto again = b.call(obj.get());
        // A resumed search that ran out of levels is refused (its points lie
        // above the level capacity); any other one goes on.
        if (!again.ok) {
            EXPECT_NE(again.error.find("outside 1 to intarray(3)"), std::string::npos) << again.error;
        }
    }
    EXPECT_GT(refused, 50);
    EXPECT_GT(searched, 50);
}

TEST(Boxpart, ObjectiveValuesMustBeNumericAndNonEmpty) {
    struct Case {
        std::function<mxArray *()> make;
        bool ok;
        double value; // stored for the first new point when accepted
    } cases[] = {
        {[] { return mxCreateDoubleMatrix(0, 1, mxREAL); }, false, 0},
        {[] { return mxCreateString("1.5"); }, false, 0},
        {[] { return mxCreateCellMatrix(1, 1); }, false, 0},
        {[] {
             mxArray *a = mxCreateNumericMatrix(1, 1, mxINT32_CLASS, mxREAL);
             static_cast<int32_t *>(mxGetData(a))[0] = -7;
             return a;
         },
         true, -7.0},
        {[] {
             mxArray *a = mxCreateNumericMatrix(1, 1, mxSINGLE_CLASS, mxREAL);
             static_cast<float *>(mxGetData(a))[0] = 2.5f;
             return a;
         },
         true, 2.5},
        {[] {
             mxArray *a = mxCreateDoubleMatrix(1, 3, mxCOMPLEX);
             mxGetPr(a)[0] = 4.25;
             mxGetPi(a)[0] = 9.0;
             mxGetPr(a)[1] = -100.0;
             return a;
         },
         true, 4.25}, // first element of the real data
    };
    for (const auto &c : cases) {
        auto handle = mexhost::make_function_handle(
            [&](int, mxArray *plhs[], int, const mxArray *[]) { plhs[0] = c.make(); });
        Box b({2.0}, {0.0}, 10, 5, 1.0);
        const auto r = b.call(handle.get());
        EXPECT_EQ(r.ok, c.ok) << r.error;
        if (c.ok) {
            EXPECT_EQ(b.f(2), c.value);
        } else {
            EXPECT_EQ(r.error, "The objective must return a non-empty numeric value.");
            EXPECT_EQ(b.nf(), 1);
        }
    }
}

TEST(Boxpart, CallbackGetsTrialVectorAndExtrasOncePerNewPoint) {
    // box_width has three elements while n = 2: the trial vector has three
    // rows and its third entry stays zero.
    Box b({1.0, 1.0, 7.0}, {0.5, 0.5, 9.0}, 200, 20, 0.0);
    b.I(8) = 2;
    b.I(6) = 6;
    ArrayPtr extra1 = mexhost::make_scalar(3.0), extra2 = mexhost::make_string("tag");
    std::vector<std::vector<double>> points;
    std::vector<size_t> live;
    auto handle = mexhost::make_function_handle([&](int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
        EXPECT_EQ(nlhs, 1);
        ASSERT_EQ(nrhs, 3);
        EXPECT_EQ(mxGetM(prhs[0]), 3u);
        EXPECT_EQ(mxGetN(prhs[0]), 1u);
        EXPECT_EQ(prhs[1], extra1.get());
        EXPECT_EQ(prhs[2], extra2.get());
        const double *x = mxGetPr(prhs[0]);
        points.emplace_back(x, x + 3);
        live.push_back(mexhost::live_array_count());
        plhs[0] = mxCreateDoubleMatrix(1, 2, mxREAL); // two elements: the first is read
        mxGetPr(plhs[0])[0] = (x[0] - 0.3) * (x[0] - 0.3) + (x[1] - 0.6) * (x[1] - 0.6);
    });
    const auto r = b.call(handle.get(), {extra1.get(), extra2.get()});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(points.size(), size_t(b.nf() - 1)); // one evaluation per new point
    for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i][2], 0.0);
        // The two evaluations of a pair differ in exactly one coordinate.
        if (i % 2 == 1) {
            int differing = (points[i][0] != points[i - 1][0]) + (points[i][1] != points[i - 1][1]);
            EXPECT_EQ(differing, 1) << i;
        }
        // Each result array is destroyed before the next evaluation.
        EXPECT_EQ(live[i], live[0]) << i;
    }
    // The same search through a registered function named by a string.
    mexhost::register_function("boxpart_test_objective", [](int, mxArray *plhs[], int, const mxArray *prhs[]) {
        const double *x = mxGetPr(prhs[0]);
        plhs[0] = mxCreateDoubleScalar((x[0] - 0.3) * (x[0] - 0.3) + (x[1] - 0.6) * (x[1] - 0.6));
    });
    Box by_name({1.0, 1.0, 7.0}, {0.5, 0.5, 9.0}, 200, 20, 0.0);
    by_name.I(8) = 2;
    by_name.I(6) = 6;
    ArrayPtr name = mexhost::make_string("boxpart_test_objective");
    ASSERT_TRUE(by_name.call(name.get()).ok);
    EXPECT_EQ(by_name.bytes(), b.bytes());
    mexhost::unregister_function("boxpart_test_objective");
}

TEST(Boxpart, CallAtItsIterationLimitEvaluatesNothing) {
    Objective obj(quadratic);
    Box b({2.0, 2.0}, {0.0, 0.0}, 50, 10, 0.5);
    b.I(2) = 4;
    b.I(6) = 4;
    b.P(4) = -1;
    ASSERT_TRUE(b.call(obj.get()).ok);
    EXPECT_EQ(obj.calls(), 0u);
    EXPECT_EQ(b.I(5), 6);
    EXPECT_EQ(b.I(1), 1);
    EXPECT_EQ(b.I(2), 4);
    EXPECT_EQ(b.f(1), -0.5); // the entry sign flip happens regardless
}

TEST(Boxpart, OneDimensionTrisectsCubesOnePairAtATime) {
    const double w = 3.0;
    Objective obj([](const std::vector<double> &x) { return (x[0] - 0.37) * (x[0] - 0.37); });
    Box b({w}, {1.0}, 200, 30, obj.fn({1.0}));
    b.I(6) = 12;
    ASSERT_TRUE(b.call(obj.get()).ok);
    const long long nf = b.nf();
    ASSERT_GT(nf, 15);
    ASSERT_EQ(nf % 2, 1); // every division adds one pair
    std::vector<double> third = {kThird};
    for (int k = 1; k < 30; ++k) third.push_back(third.back() / 3.0);
    // Every box is a cube: a point at level L divides into one pair at level
    // L + 1, offset by 3^-L of the width, and moves up to level L + 1 itself.
    std::vector<std::vector<long long>> pairs(size_t(nf + 1)); // first child of each pair, by parent
    for (long long p = 2; p <= nf; p += 2) {
        EXPECT_EQ(b.par(p), b.par(p + 1));
        EXPECT_EQ(b.dim(p), 1);
        EXPECT_EQ(b.off(p), -b.off(p + 1));
        pairs[size_t(b.par(p))].push_back(p);
    }
    for (long long q = 1; q <= nf; ++q) {
        const long long j = (long long)pairs[size_t(q)].size();
        const long long first_level = b.lev(q) - j; // level before its first division
        if (q == 1) {
            EXPECT_EQ(first_level, 1);
        }
        for (long long i = 0; i < j; ++i) {
            const long long p = pairs[size_t(q)][size_t(i)];
            const long long L = first_level + i; // level at the (i+1)-th division
            EXPECT_EQ(b.off(p), third[size_t(L - 1)] * w) << p;
            // The children's own divisions account for the rest of their level.
            for (long long c : {p, p + 1}) EXPECT_EQ(b.lev(c) - (long long)pairs[size_t(c)].size(), L + 1) << c;
        }
    }
    EXPECT_NEAR(b.f((long long)b.I(4)), 0.0, 1e-6);
}

TEST(Boxpart, MaximisationFlipsSignsAndPrintsUserValues) {
    Objective obj([](const std::vector<double> &x) { return 2.0 - (x[0] - 0.2) * (x[0] - 0.2); });
    Box b({2.0}, {0.0}, 100, 20, obj.fn({0.0})); // values handed in the user's sign
    b.P(4) = -1;
    b.I(6) = 3;
    b.I(7) = 1;
    const auto r = b.call(obj.get());
    ASSERT_TRUE(r.ok);
    // Iteration 1 divides the root: f(+2/3) = 1.78, f(-2/3) = 1.25, so the
    // root's 1.96 stays the largest value.
    EXPECT_EQ(r.printed.substr(0, r.printed.find('\n') + 1),
              "Iter:    1   fbest:    1.9600000000    fn evals:        3\n");
    double best = 0;
    for (long long p = 1; p <= b.nf(); ++p) {
        EXPECT_LE(b.f(p), 0.0); // search-sign values of a positive objective
        best = std::max(best, -b.f(p));
    }
    EXPECT_EQ(-b.f((long long)b.I(4)), best);
    // Lines 2 and 3 show the running largest value in the user's sign.
    const std::string last = line(3, best, b.nf());
    EXPECT_EQ(r.printed.substr(r.printed.size() - last.size()), last);
    EXPECT_EQ(std::count(r.printed.begin(), r.printed.end(), '\n'), 3);
}

TEST(Boxpart, TargetTests) {
    // f = x^2 + 1 on [-1, 1]: the root holds the minimum value 1.
    struct Case {
        const char *what;
        double target, tolerance, sign;
        double status, iterations;
    } cases[] = {
        {"best equal to the target", 1.0, 0.0, 1, 3, 1},
        {"target zero: the relative test divides by zero", 0.0, 1e300, 1, 6, 5},
        {"gap exactly at the tolerance does not stop", 0.5, 1.0, 1, 6, 5},
        {"gap below the tolerance stops", 0.5, 1.0000001, 1, 4, 1},
        {"NaN target never stops", kNaN, 1e300, 1, 6, 5},
        {"maximisation target in the user's sign", -1.0, 0.0, -1, 3, 1},
        {"maximisation target not reached", -0.5, 0.0, -1, 6, 5},
    };
    for (const auto &c : cases) {
        Objective obj([&](const std::vector<double> &x) { return c.sign * (x[0] * x[0] + 1.0); });
        Box b({2.0}, {0.0}, 100, 20, obj.fn({0.0}));
        b.P(2) = c.target;
        b.P(3) = c.tolerance;
        b.P(4) = c.sign;
        b.I(6) = 5;
        ASSERT_TRUE(b.call(obj.get()).ok) << c.what;
        EXPECT_EQ(b.I(5), c.status) << c.what;
        EXPECT_EQ(b.I(2), c.iterations) << c.what;
    }
}

// n = 1 state built by hand: point 1 at level 2 (value 5) with two children
// at level 2 whose values tie at 1; all values further out are 2.
Box tied_state() {
    Box b({1.0}, {0.0}, 20, 10, 5.0);
    b.lev(1) = 2;
    for (int p = 2; p <= 3; ++p) {
        b.par(p) = 1;
        b.off(p) = p == 2 ? kThird : -kThird;
        b.dim(p) = 1;
        b.lev(p) = 2;
        b.f(p) = 1.0;
    }
    b.I(1) = 3;
    b.I(3) = 2;
    b.I(4) = 2;
    return b;
}

TEST(Boxpart, TiedLevelMinimaAreAllDividedUnlessFirstOnly) {
    for (double first_only : {0.0, 1.0}) {
        Objective obj([](const std::vector<double> &) { return 2.0; });
        Box b = tied_state();
        b.I(13) = first_only;
        ASSERT_TRUE(b.call(obj.get()).ok);
        std::vector<int> parents;
        for (long long p = 4; p <= b.nf(); ++p) parents.push_back(b.par(p));
        const std::vector<int> want = first_only == 1.0 ? std::vector<int>{2, 2} : std::vector<int>{2, 2, 3, 3};
        EXPECT_EQ(parents, want); // in index order
    }
}

TEST(Boxpart, HullPruningDropsLevelsAboveTheLowerHull) {
    // n = 1 with sizes 8, 4, 2, 1 for levels 1 to 4 and one point per level:
    // minima 2, 1, 5, 0. The candidates are levels 4, 3, 2, 1; the hull of
    // (size, minimum) keeps only levels 4 and 1.
    for (double skip : {0.0, 1.0}) {
        Objective obj([](const std::vector<double> &) { return 9.0; });
        Box b({1.0}, {0.0}, 30, 8, 0.0);
        const double sizes[] = {8, 4, 2, 1, 0.5, 0.25, 0.125, 0.0625};
        for (size_t L = 1; L <= 8; ++L) b.S(L) = sizes[L - 1];
        b.lev(1) = 4;
        const double values[] = {0, 5, 1, 2};
        for (int p = 2; p <= 4; ++p) {
            b.par(p) = 1;
            b.off(p) = 0.1 * p;
            b.dim(p) = 1;
            b.lev(p) = int16_t(5 - p);
            b.f(p) = values[p - 1];
        }
        b.I(1) = 4;
        b.I(3) = 4;
        b.I(14) = skip;
        ASSERT_TRUE(b.call(obj.get()).ok);
        std::vector<int> parents;
        for (long long p = 5; p <= b.nf(); ++p) parents.push_back(b.par(p));
        const std::vector<int> want =
            skip == 1.0 ? std::vector<int>{1, 1, 2, 2, 3, 3, 4, 4} : std::vector<int>{1, 1, 4, 4};
        EXPECT_EQ(parents, want);
        EXPECT_EQ(b.M(3), 5.0);
        EXPECT_EQ(b.M(4), 0.0);
    }
}

TEST(Boxpart, EqualSideValuesOrderChildrenByTheSort) {
    // A constant objective gives every side the same value: the order in
    // which the root's sides are cut is the sort's exchange order.
    struct Case {
        std::vector<int16_t> dims; // cut dimension of each pair, in storage order
    } cases[] = {{{2, 1}}, {{3, 2, 1}}, {{3, 4, 1, 2}}, {{4, 5, 3, 1, 2}}};
    for (const auto &c : cases) {
        const size_t n = c.dims.size();
        Objective obj([](const std::vector<double> &) { return 1.0; });
        Box b(std::vector<double>(n, 1.0), std::vector<double>(n, 0.0), 50, 40, 1.0);
        ASSERT_TRUE(b.call(obj.get()).ok);
        for (size_t j = 1; j <= n; ++j) {
            EXPECT_EQ(b.dim(long(2 * j)), c.dims[j - 1]) << "n = " << n;
            EXPECT_EQ(b.dim(long(2 * j + 1)), c.dims[j - 1]);
            EXPECT_EQ(b.lev(long(2 * j)), int16_t(1 + j));
        }
        EXPECT_EQ(b.I(4), 1); // equal values never replace the best
    }
}

TEST(Boxpart, NaNValueIsStoredButNeverDivided) {
    Objective obj([](const std::vector<double> &x) { return x[0] > 0.1 ? kNaN : (x[0] + 0.5) * (x[0] + 0.5); });
    Box b({2.0}, {0.0}, 200, 30, obj.fn({0.0}));
    b.I(6) = 10;
    ASSERT_TRUE(b.call(obj.get()).ok);
    ASSERT_TRUE(std::isnan(b.f(2))); // the plus child of the root
    EXPECT_EQ(b.lev(2), 2);         // never divided
    EXPECT_GT(b.nf(), 15);
    for (long long p = 2; p <= b.nf(); ++p) EXPECT_FALSE(std::isnan(b.f(b.par(p)))) << p;
    EXPECT_FALSE(std::isnan(b.M(2)));
}

TEST(Boxpart, ObjectiveErrorLeavesTheArraysAsFarAsTheyGot) {
    // Maximisation in 2-D; the objective fails on its fifth call, the first
    // evaluation of iteration 2.
    int calls = 0;
    auto handle = mexhost::make_function_handle([&](int, mxArray *plhs[], int, const mxArray *prhs[]) {
        if (++calls == 5) mexErrMsgTxt("objective failed");
        plhs[0] = mxCreateDoubleScalar(3.0 + mxGetPr(prhs[0])[0] - mxGetPr(prhs[0])[1]);
    });
    Box b({1.0, 1.0}, {0.5, 0.5}, 50, 20, 3.0);
    b.P(4) = -1;
    b.I(6) = 5;
    const auto r = b.call(handle.get());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "objective failed");
    const std::vector<double> untouched = {1, 0, 1, 1, 0};
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(b.I(k), untouched[size_t(k - 1)]) << k;
    EXPECT_EQ(b.f(1), -3.0); // negated on entry, not restored
    EXPECT_EQ(b.lev(1), 3);  // the first division completed
    for (int p = 2; p <= 5; ++p) {
        EXPECT_EQ(b.par(p), 1);
        EXPECT_LT(b.f(p), 0.0);
    }
    // Iteration 2 had rewritten the per-level minima before it failed.
    EXPECT_EQ(b.M(1), 1.7e308);
    EXPECT_EQ(b.M(2), std::min(b.f(2), b.f(3)));
    EXPECT_EQ(b.M(3), std::min({b.f(1), b.f(4), b.f(5)}));
}

TEST(Boxpart, HandCheckedFirstTwoIterations) {
    // f = (x1 - 0.55)^2 + 2 (x2 - 0.42)^2 on the unit square, centre (0.5, 0.5).
    auto f = [](double x1, double x2) { return (x1 - 0.55) * (x1 - 0.55) + 2.0 * (x2 - 0.42) * (x2 - 0.42); };
    Objective obj([&](const std::vector<double> &x) { return f(x[0], x[1]); });
    Box b({1.0, 1.0}, {0.5, 0.5}, 30, 10, f(0.5, 0.5)); // f = 0.0153
    b.I(6) = 2;
    b.I(7) = 1;
    const auto r = b.call(obj.get());
    ASSERT_TRUE(r.ok);
    const double t = kThird, t2 = kThird / 3.0;
    struct Row {
        int point, parent;
        double offset;
        int dim, level;
        double fval;
    } rows[] = {
        // Iteration 1 divides the root. Side values: dimension 1 gives
        // 0.0931 (+) and 0.1597 (-), dimension 2 gives 0.3442 (+) and
        // 0.1309 (-); dimension 1 has the better side and is cut first.
        {2, 1, t, 1, 3, f(0.5 + t, 0.5)}, // made at level 2, divided in iteration 2
        {3, 1, -t, 1, 2, f(0.5 - t, 0.5)},
        {4, 1, t, 2, 3, f(0.5, 0.5 + t)},
        {5, 1, -t, 2, 3, f(0.5, 0.5 - t)},
        // Iteration 2: the root (level 3, minimum 0.0153) and point 2
        // (level 2, minimum 0.0931) are the candidates, smaller box first.
        // The root's cube has sides 0.0165 (dim 1, +) and 0.0044 (dim 2, -):
        // dimension 2 is cut first, and its minus child becomes the best.
        {6, 1, t2, 2, 4, f(0.5, 0.5 + t2)},
        {7, 1, -t2, 2, 4, f(0.5, 0.5 - t2)},
        {8, 1, t2, 1, 5, f(0.5 + t2, 0.5)},
        {9, 1, -t2, 1, 5, f(0.5 - t2, 0.5)},
        // Point 2's box has one long side, named by its sibling pair (points
        // 4 and 5): dimension 2.
        {10, 2, t, 2, 3, f(0.5 + t, 0.5 + t)},
        {11, 2, -t, 2, 3, f(0.5 + t, 0.5 - t)},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(b.par(row.point), row.parent) << row.point;
        EXPECT_EQ(b.off(row.point), row.offset) << row.point;
        EXPECT_EQ(b.dim(row.point), row.dim) << row.point;
        EXPECT_EQ(b.lev(row.point), row.level) << row.point;
        EXPECT_EQ(b.f(row.point), row.fval) << row.point;
    }
    EXPECT_EQ(b.lev(1), 5);
    EXPECT_EQ(b.lev(2), 3);
    EXPECT_EQ(b.lev(3), 2);
    EXPECT_NEAR(f(0.5, 0.5 - t2), 0.0044358025, 1e-10);
    const std::vector<double> state = {11, 2, 5, 7, 6};
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(b.I(k), state[size_t(k - 1)]) << k;
    EXPECT_EQ(r.printed, line(1, f(0.5, 0.5), 5) + line(2, f(0.5, 0.5 - t2), 11));
    EXPECT_EQ(r.printed, "Iter:    1   fbest:    0.0153000000    fn evals:        5\n"
                         "Iter:    2   fbest:    0.0044358025    fn evals:       11\n");
}

} // namespace
