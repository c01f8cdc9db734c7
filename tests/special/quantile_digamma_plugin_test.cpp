// The gaussquant and digamma plug-ins: one element-wise gateway each, with
// the same checks, shapes and sparse treatment.
#include "digamma.hpp"
#include "normal_quantile.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {
struct Plugin {
    const char *name;
    double (*fn)(double);
};
const Plugin kPlugins[] = {{"gaussquant", special::gaussquant}, {"digamma", special::digamma}};

void expect_same(double got, double want, const char *name, size_t i) {
    if (std::isnan(want)) {
        EXPECT_TRUE(std::isnan(got)) << name << " element " << i;
    } else {
        EXPECT_EQ(got, want) << name << " element " << i;
    }
}
} // namespace

TEST(QuantileDigammaPlugins, KeepDimensionsAndApplyTheScalarFunction) {
    const double in[8] = {0.5, 0.975, 1e-20, 0.0, 1.0, -0.5, 3.0, std::nan("")};
    for (const auto &pl : kPlugins) {
        auto x = mexhost::make_array({2, 2, 2}, mxDOUBLE_CLASS);
        std::memcpy(mxGetPr(x.get()), in, sizeof in);
        auto r = testutil::call(pl.name, 1, {x.get()});
        ASSERT_TRUE(r.ok) << pl.name << ": " << r.error;
        const mxArray *o = r.outputs[0].get();
        ASSERT_EQ(mxGetNumberOfDimensions(o), 3u);
        EXPECT_EQ(mxGetDimensions(o)[2], 2u);
        for (size_t i = 0; i < 8; ++i) expect_same(mxGetPr(o)[i], pl.fn(in[i]), pl.name, i);
        EXPECT_EQ(mxGetPr(x.get())[1], 0.975) << "input left unchanged";

        auto empty = mexhost::make_double(0, 4);
        auto re = testutil::call(pl.name, 0, {empty.get()});
        ASSERT_TRUE(re.ok) << re.error;
        EXPECT_EQ(mxGetM(re.outputs[0].get()), 0u);
        EXPECT_EQ(mxGetN(re.outputs[0].get()), 4u);
    }
}

TEST(QuantileDigammaPlugins, SparseInputGivesTheFullResult) {
    // 3x2 with stored entries (1,0) = 0.25 and (2,1) = 0.9.
    auto sp = mexhost::make_sparse(3, 2, {1, 2}, {0, 1, 2}, {0.25, 0.9});
    const double full[6] = {0, 0.25, 0, 0, 0, 0.9};
    for (const auto &pl : kPlugins) {
        auto r = testutil::call(pl.name, 1, {sp.get()});
        ASSERT_TRUE(r.ok) << pl.name << ": " << r.error;
        const mxArray *o = r.outputs[0].get();
        EXPECT_FALSE(mxIsSparse(o));
        ASSERT_EQ(mxGetM(o), 3u);
        ASSERT_EQ(mxGetN(o), 2u);
        for (size_t i = 0; i < 6; ++i) expect_same(mxGetPr(o)[i], pl.fn(full[i]), pl.name, i);
    }
}

TEST(QuantileDigammaPlugins, MessagesInOrder) {
    auto d = testutil::row({0.5});
    auto i32 = mexhost::make_array({1, 1}, mxINT32_CLASS);
    auto str = mexhost::make_string("a");
    auto cplx = mexhost::make_double(1, 1, {0.5}, {1});
    auto spc = mexhost::make_sparse(1, 1, {0}, {0, 1}, {0.5}, {1});
    struct Case {
        int nargout;
        std::vector<const mxArray *> in;
        const char *msg;
    } cases[] = {
        {1, {}, "Not enough input arguments."},
        {3, {i32.get(), d.get()}, "Too many input arguments."},
        {2, {i32.get()}, "Too many output arguments."},
        {1, {i32.get()}, "Function not defined for variables of input class"},
        {1, {str.get()}, "Function not defined for variables of input class"},
        {1, {cplx.get()}, "X must be real."},
        {1, {spc.get()}, "X must be real."},
    };
    for (const auto &pl : kPlugins)
        for (const auto &c : cases) {
            auto r = testutil::call(pl.name, c.nargout, c.in);
            EXPECT_FALSE(r.ok) << pl.name << ": " << c.msg;
            EXPECT_EQ(r.error, c.msg) << pl.name;
        }
}
