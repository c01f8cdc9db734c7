// The embedded host: call lifecycle, memory release, warnings, callbacks,
// array kinds and the loader.
#include "test_util.hpp"

#include <gtest/gtest.h>

using mexhost::ArrayPtr;
using mexhost::make_double;
using mexhost::make_scalar;

namespace {

mexhost::CallResult hosttest(int nargout, std::vector<const mxArray *> in) {
    mexhost::set_plugin_dir(TEST_PLUGIN_DIR);
    return mexhost::call("hosttest", nargout, in);
}

struct LiveCounts {
    size_t arrays = mexhost::live_array_count();
    size_t blocks = mexhost::live_block_count();
};

} // namespace

TEST(Host, ErrorAbandonsCallAndFreesEverything) {
    auto mode = make_scalar(1);
    LiveCounts before;
    auto r = hosttest(1, {mode.get()});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "boom");
    EXPECT_TRUE(r.outputs.empty());
    EXPECT_EQ(mexhost::live_array_count(), before.arrays);
    EXPECT_EQ(mexhost::live_block_count(), before.blocks);
}

TEST(Host, ScratchBlocksReleasedAtCallEnd) {
    auto mode = make_scalar(9);
    LiveCounts before;
    auto r = hosttest(1, {mode.get()});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(mexhost::live_block_count(), before.blocks);
    r.outputs.clear();
    EXPECT_EQ(mexhost::live_array_count(), before.arrays);
}

TEST(Host, WarningReturnsAndIsRecorded) {
    auto mode = make_scalar(2);
    auto r = hosttest(1, {mode.get()});
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0], "careful");
    EXPECT_EQ(mxGetScalar(r.outputs[0].get()), 42.0);
}

TEST(Host, UnassignedRequestedOutputIsAnErrorNamingThePlugin) {
    auto mode = make_scalar(3);
    LiveCounts before;
    auto r = hosttest(2, {mode.get()});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("hosttest"), std::string::npos);
    EXPECT_NE(r.error.find("2"), std::string::npos);
    EXPECT_EQ(mexhost::live_array_count(), before.arrays);
    // Zero requested outputs: the first slot may still be filled.
    auto r0 = hosttest(0, {mode.get()});
    ASSERT_TRUE(r0.ok);
    ASSERT_EQ(r0.outputs.size(), 1u);
    EXPECT_EQ(mxGetScalar(r0.outputs[0].get()), 1.0);
}

TEST(Host, PrintedTextAndDimensionChannel) {
    auto six = make_scalar(6), eleven = make_scalar(11);
    auto r = hosttest(1, {six.get()});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.printed, "x=7 ok\n");
    auto e = hosttest(1, {eleven.get()});
    EXPECT_FALSE(e.ok);
    EXPECT_EQ(e.error, "dimension message");
}

TEST(Host, CallbackThroughHandleAndRegisteredName) {
    mexhost::register_function("twice", [](int, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
        if (nrhs != 1) mexErrMsgTxt("twice: one argument");
        plhs[0] = mxCreateDoubleScalar(2.0 * mxGetScalar(prhs[0]));
    });
    auto mode = make_scalar(4), arg = make_scalar(21);
    auto by_name = mexhost::make_string("twice");
    auto by_handle = mexhost::make_function_handle("twice");
    auto lambda = mexhost::make_function_handle([](int, mxArray *plhs[], int, const mxArray *prhs[]) {
        plhs[0] = mxCreateDoubleScalar(mxGetScalar(prhs[0]) + 1.0);
    });
    for (const mxArray *f : {by_name.get(), by_handle.get()}) {
        auto r = hosttest(1, {mode.get(), f, arg.get()});
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(mxGetScalar(r.outputs[0].get()), 42.0);
    }
    auto r = hosttest(1, {mode.get(), lambda.get(), arg.get()});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(mxGetScalar(r.outputs[0].get()), 22.0);
}

TEST(Host, ErrorInsideCallbackAbandonsTheCall) {
    mexhost::register_function("fails", [](int, mxArray *[], int, const mxArray *[]) {
        mxArray *leak = mxCreateDoubleMatrix(5, 5, mxREAL); // released with the call
        (void)leak;
        mexErrMsgTxt("objective failed");
    });
    auto mode = make_scalar(4);
    auto f = mexhost::make_function_handle("fails");
    LiveCounts before;
    auto r = hosttest(1, {mode.get(), f.get()});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "objective failed");
    EXPECT_EQ(mexhost::live_array_count(), before.arrays);

    auto missing = mexhost::make_function_handle("no_such_function");
    auto m = hosttest(1, {mode.get(), missing.get()});
    EXPECT_FALSE(m.ok);
    EXPECT_NE(m.error.find("no_such_function"), std::string::npos);

    auto ten = make_scalar(10);
    auto d = hosttest(1, {ten.get()});
    EXPECT_FALSE(d.ok);
    EXPECT_NE(d.error.find("feval"), std::string::npos);
}

TEST(Host, SparseAndCellKeepDataAndStructure) {
    auto mode = make_scalar(5);
    // [0 2; 1 0; 0 3] with an explicit stored zero kept in column 0.
    auto sp = mexhost::make_sparse(3, 2, {0, 1, 0, 2}, {0, 2, 4}, {0.0, 1.0, 2.0, 3.0}, {0.5, 0, 0, -1});
    auto r = hosttest(1, {mode.get(), sp.get()});
    ASSERT_TRUE(r.ok) << r.error;
    const mxArray *o = r.outputs[0].get();
    ASSERT_TRUE(mxIsSparse(o));
    ASSERT_TRUE(mxIsComplex(o));
    EXPECT_EQ(mxGetM(o), 3u);
    EXPECT_EQ(mxGetN(o), 2u);
    EXPECT_EQ(std::vector<mwIndex>(mxGetJc(o), mxGetJc(o) + 3), (std::vector<mwIndex>{0, 2, 4}));
    EXPECT_EQ(std::vector<mwIndex>(mxGetIr(o), mxGetIr(o) + 4), (std::vector<mwIndex>{0, 1, 0, 2}));
    EXPECT_EQ(std::vector<double>(mxGetPr(o), mxGetPr(o) + 4), (std::vector<double>{0, 1, 2, 3}));
    EXPECT_EQ(mxGetPi(o)[3], -1.0);

    std::vector<ArrayPtr> elems;
    elems.push_back(make_scalar(7));
    elems.push_back(mexhost::make_string("ab"));
    auto cell = mexhost::make_cell(1, 2, std::move(elems));
    auto rc = hosttest(1, {mode.get(), cell.get()});
    ASSERT_TRUE(rc.ok) << rc.error;
    const mxArray *c = rc.outputs[0].get();
    ASSERT_TRUE(mxIsCell(c));
    EXPECT_EQ(mxGetScalar(mxGetCell(c, 0)), 7.0);
    char buf[8];
    EXPECT_EQ(mxGetString(mxGetCell(c, 1), buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "ab");
    EXPECT_NE(mxGetCell(c, 0), mxGetCell(cell.get(), 0)); // deep copy
}

TEST(Host, NDimensionalShapes) {
    struct Case {
        std::vector<double> dims;
        std::vector<double> want; // M, N, numel, ndims
    } cases[] = {
        {{2, 3, 4}, {2, 12, 24, 3}},
        {{2, 3, 1}, {2, 3, 6, 2}}, // trailing singleton dropped
        {{5}, {5, 1, 5, 2}},
        {{2, 0, 3}, {2, 0, 0, 3}},
        {{1, 1, 1, 2}, {1, 2, 2, 4}},
    };
    auto mode = make_scalar(7);
    for (const auto &c : cases) {
        auto dims = testutil::row(c.dims);
        auto r = hosttest(2, {mode.get(), dims.get()});
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(testutil::values(r.outputs[0].get()), c.want);
        EXPECT_EQ(mxGetNumberOfDimensions(r.outputs[1].get()), size_t(c.want[3]));
    }
}

TEST(Host, InputHandedBackIsCopied) {
    auto mode = make_scalar(8), x = testutil::row({1, 2, 3});
    auto r = hosttest(1, {mode.get(), x.get()});
    ASSERT_TRUE(r.ok);
    EXPECT_NE(r.outputs[0].get(), x.get());
    EXPECT_EQ(testutil::values(r.outputs[0].get()), (std::vector<double>{1, 2, 3}));
}

TEST(Host, LoaderReportsUnknownPlugins) {
    auto r = testutil::call("no_such_plugin", 1, {});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("no_such_plugin"), std::string::npos);
    auto bad = testutil::call("../evil", 1, {});
    EXPECT_FALSE(bad.ok);
    mexhost::set_plugin_dir(MEX_PLUGIN_DIR);
    auto names = mexhost::list_plugins();
    EXPECT_NE(std::find(names.begin(), names.end(), "gausscum"), names.end());
}

TEST(Host, OversizedAllocationsAreErrors) {
    EXPECT_THROW(mxCreateDoubleMatrix(size_t(1) << 40, size_t(1) << 40, mxREAL), mexhost::Error);
    EXPECT_THROW(mxCreateDoubleMatrix(1000000, 1000000, mxREAL), mexhost::Error);
    EXPECT_THROW(mxCalloc(SIZE_MAX / 2, 4), mexhost::Error);
}
