// The euoption and amoption gateways: argument checks in order, scalar
// expansion by element counts, put selectors, sparse inputs and the
// optional outputs of amoption.
#include "option_value.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using mexhost::ArrayPtr;

namespace {
const char *const kPlugins[] = {"euoption", "amoption"};

// The scalar function a plug-in applies to one element.
double scalar(const std::string &name, bool put, const double p[6]) {
    if (name == "euoption") return special::euoption(put, p[0], p[1], p[2], p[3], p[4], p[5]);
    double ve, sstar;
    return special::amoption(put, p[0], p[1], p[2], p[3], p[4], p[5], &ve, &sstar);
}

std::vector<size_t> dims(const mxArray *a) {
    const mwSize *d = mxGetDimensions(a);
    return std::vector<size_t>(d, d + mxGetNumberOfDimensions(a));
}

ArrayPtr filled(const std::vector<size_t> &shape, double first, double step) {
    auto a = mexhost::make_array(shape, mxDOUBLE_CLASS);
    double *p = mxGetPr(a.get());
    for (size_t i = 0; i < mxGetNumberOfElements(a.get()); ++i) p[i] = first + step * double(i);
    return a;
}

// Default contract sigma, S, K, r, delta, T.
const double kBase[6] = {0.25, 100, 100, 0.1, 0.02, 0.5};
} // namespace

TEST(OptionPlugins, ScalarExpansionByElementCount) {
    struct Case {
        const char *what;
        std::vector<std::vector<size_t>> shapes; // per input; {1, 1} is a scalar
        std::vector<size_t> out;
    } cases[] = {
        {"all scalar", {{1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}}, {1, 1}},
        {"S a column", {{1, 1}, {3, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}}, {3, 1}},
        {"first non-scalar wins", {{1, 3}, {1, 1}, {3, 1}, {1, 1}, {1, 1}, {1, 1}}, {1, 3}},
        {"counts only", {{1, 1}, {2, 3}, {6, 1}, {1, 1}, {1, 1}, {3, 2}}, {2, 3}},
        {"three dimensions", {{1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {2, 1, 2}}, {2, 1, 2}},
        {"put decides the shape", {{1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 4}}, {1, 4}},
        {"empty beside scalars", {{1, 1}, {0, 3}, {1, 1}, {1, 1}, {1, 1}, {1, 1}}, {0, 3}},
        {"all empty", {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}, {0, 0}},
    };
    const double step[6] = {0.05, 7, -3, 0.01, 0.005, 0.25};
    for (const char *name : kPlugins)
        for (const auto &c : cases) {
            std::vector<ArrayPtr> in;
            for (size_t k = 0; k < c.shapes.size(); ++k)
                in.push_back(k < 6 ? filled(c.shapes[k], kBase[k], step[k]) : filled(c.shapes[k], 0, 1));
            std::vector<const mxArray *> args;
            for (auto &a : in) args.push_back(a.get());
            auto r = testutil::call(name, 1, args);
            ASSERT_TRUE(r.ok) << name << ", " << c.what << ": " << r.error;
            const mxArray *o = r.outputs[0].get();
            EXPECT_EQ(dims(o), c.out) << name << ", " << c.what;
            EXPECT_FALSE(mxIsSparse(o));
            // Element i takes element i of every non-scalar input, element 0
            // of every scalar one.
            for (size_t i = 0; i < mxGetNumberOfElements(o); ++i) {
                double p[6];
                for (int k = 0; k < 6; ++k) {
                    const mxArray *a = in[size_t(k)].get();
                    p[k] = mxGetPr(a)[mxGetNumberOfElements(a) > 1 ? i : 0];
                }
                bool put = false;
                if (in.size() == 7) {
                    const mxArray *a = in[6].get();
                    put = mxGetPr(a)[mxGetNumberOfElements(a) > 1 ? i : 0] == 1.0;
                }
                EXPECT_EQ(mxGetPr(o)[i], scalar(name, put, p)) << name << ", " << c.what << ", element " << i;
            }
        }
}

TEST(OptionPlugins, PutOnlyWhereTheSelectorIsExactlyOne) {
    auto put = testutil::row({1, 0, 2, -1, std::nan(""), 1.0000000000000002, 1});
    std::vector<ArrayPtr> in;
    for (double v : kBase) in.push_back(mexhost::make_scalar(v));
    std::vector<const mxArray *> args;
    for (auto &a : in) args.push_back(a.get());
    args.push_back(put.get());
    const bool want[7] = {true, false, false, false, false, false, true};
    for (const char *name : kPlugins) {
        auto r = testutil::call(name, 1, args);
        ASSERT_TRUE(r.ok) << name << ": " << r.error;
        for (int i = 0; i < 7; ++i) EXPECT_EQ(mxGetPr(r.outputs[0].get())[i], scalar(name, want[i], kBase)) << name << " " << i;
    }
}

TEST(OptionPlugins, SparseInputsComputeFromTheFullEquivalent) {
    // sigma sparse 2x2 with one stored value: the output is full 2x2, and
    // the unstored zeros are sigma = 0.
    auto sigma = mexhost::make_sparse(2, 2, {1}, {0, 1, 1}, {0.3});
    auto S = mexhost::make_sparse(1, 1, {0}, {0, 1}, {95.0});
    std::vector<ArrayPtr> rest;
    for (int k = 2; k < 6; ++k) rest.push_back(mexhost::make_scalar(kBase[k]));
    std::vector<const mxArray *> args = {sigma.get(), S.get()};
    for (auto &a : rest) args.push_back(a.get());
    for (const char *name : kPlugins) {
        auto r = testutil::call(name, 1, args);
        ASSERT_TRUE(r.ok) << name << ": " << r.error;
        const mxArray *o = r.outputs[0].get();
        EXPECT_FALSE(mxIsSparse(o));
        EXPECT_EQ(dims(o), (std::vector<size_t>{2, 2}));
        const double sig[4] = {0, 0.3, 0, 0};
        for (int i = 0; i < 4; ++i) {
            const double p[6] = {sig[i], 95.0, kBase[2], kBase[3], kBase[4], kBase[5]};
            const double want = scalar(name, false, p);
            if (std::isnan(want)) {
                EXPECT_TRUE(std::isnan(mxGetPr(o)[i])) << name << " " << i;
            } else {
                EXPECT_EQ(mxGetPr(o)[i], want) << name << " " << i;
            }
        }
    }
}

TEST(OptionPlugins, MessagesInOrder) {
    auto s = mexhost::make_scalar(1);
    auto two = testutil::row({1, 2});
    auto three = testutil::col({1, 2, 3});
    auto empty = mexhost::make_double(0, 0);
    auto i32 = mexhost::make_array({1, 1}, mxINT32_CLASS);
    auto cplx = mexhost::make_double(1, 1, {1}, {1});
    auto six = [&](std::vector<const mxArray *> v) {
        while (v.size() < 6) v.push_back(s.get());
        return v;
    };
    struct Case {
        int nargout_eu, nargout_am;
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {1, 1, std::vector<const mxArray *>(5, s.get()), "Not enough input arguments."},
        {9, 9, std::vector<const mxArray *>(8, i32.get()), "Too many input arguments."},
        {3, 4, six({i32.get()}), "Too many output arguments."},
        {1, 1, six({s.get(), s.get(), i32.get()}), "Function not defined for variables of input class"},
        {1, 1, six({cplx.get(), i32.get()}), "X must be real."},
        {1, 1, six({i32.get(), cplx.get()}), "Function not defined for variables of input class"},
        {1, 1, [&] { auto v = six({two.get(), three.get()}); v.push_back(i32.get()); return v; }(),
         "Function not defined for variables of input class"},
        {1, 1, six({s.get(), two.get(), three.get()}), "Inputs are not size compatible"},
        {1, 1, [&] { auto v = six({three.get()}); v.push_back(two.get()); return v; }(), "Inputs are not size compatible"},
        // An empty input has nothing to repeat beside a non-scalar one.
        {1, 1, six({three.get(), empty.get()}), "Inputs are not size compatible"},
        {1, 1, six({empty.get(), three.get()}), "Inputs are not size compatible"},
        {1, 1, six({s.get(), three.get(), s.get(), s.get(), s.get(), empty.get()}), "Inputs are not size compatible"},
    };
    for (const auto &c : cases) {
        auto re = testutil::call("euoption", c.nargout_eu, c.in);
        EXPECT_FALSE(re.ok);
        EXPECT_EQ(re.error, c.msg) << "euoption";
        auto ra = testutil::call("amoption", c.nargout_am, c.in);
        EXPECT_FALSE(ra.ok);
        EXPECT_EQ(ra.error, c.msg) << "amoption";
    }
    // euoption accepts a second output request but never fills it.
    auto r = testutil::call("euoption", 2, six({}));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("Output argument 2"), std::string::npos) << r.error;
}

TEST(OptionPlugins, AmoptionOptionalOutputs) {
    // sigma fails its test in elements 0 and 2: NaN in all three outputs
    // there (not the copied sigma values).
    auto sigma = testutil::row({-1, 0.25, 2e8, 0.2});
    auto put = testutil::row({1, 1, 1, 0});
    std::vector<ArrayPtr> in;
    in.push_back(mexhost::make_scalar(0)); // placeholder for sigma
    for (int k = 1; k < 6; ++k) in.push_back(mexhost::make_scalar(kBase[k]));
    std::vector<const mxArray *> args = {sigma.get()};
    for (int k = 1; k < 6; ++k) args.push_back(in[size_t(k)].get());
    args.push_back(put.get());

    for (int nargout = 0; nargout <= 3; ++nargout) {
        auto r = testutil::call("amoption", nargout, args);
        ASSERT_TRUE(r.ok) << nargout << ": " << r.error;
        for (int j = 0; j < std::max(nargout, 1); ++j) {
            const mxArray *o = r.outputs[size_t(j)].get();
            ASSERT_NE(o, nullptr);
            EXPECT_EQ(dims(o), (std::vector<size_t>{1, 4}));
            for (int i = 0; i < 4; ++i) {
                const double sg = mxGetPr(sigma.get())[i];
                double ve, sstar;
                const double v = special::amoption(i < 3, sg, kBase[1], kBase[2], kBase[3], kBase[4], kBase[5], &ve,
                                                   &sstar);
                const double want = j == 0 ? v : j == 1 ? ve : sstar;
                if (i == 0 || i == 2) {
                    EXPECT_TRUE(std::isnan(mxGetPr(o)[i])) << "output " << j << " element " << i;
                } else {
                    EXPECT_EQ(mxGetPr(o)[i], want) << "output " << j << " element " << i;
                }
            }
        }
    }
}
