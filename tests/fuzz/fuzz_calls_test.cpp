// Generated-input pass over every plug-in: whatever it is passed, a plug-in
// returns a result or a clear error, promptly, with no sanitizer finding and
// no leak.
#include "arg_generator.hpp"
#include "test_util.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>

namespace {

size_t calls_per_plugin() {
    const char *env = std::getenv("FUZZ_CALLS");
    return env && *env ? size_t(std::strtoull(env, nullptr, 10)) : 2000;
}

void register_objectives() {
    mexhost::register_function("fuzz_objective", [](int, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
        double s = 0;
        if (nrhs > 0 && mxIsDouble(prhs[0]) && !mxIsSparse(prhs[0])) {
            const double *x = mxGetPr(prhs[0]);
            for (size_t i = 0; i < mxGetNumberOfElements(prhs[0]); ++i) s += (x[i] - 0.3) * (x[i] - 0.3);
        }
        plhs[0] = mxCreateDoubleScalar(s);
    });
    mexhost::register_function("fuzz_failing",
                               [](int, mxArray *[], int, const mxArray *[]) { mexErrMsgTxt("objective failed"); });
}

class EveryPlugin : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryPlugin, AnswersEveryGeneratedCallSafely) {
    const std::string name = GetParam();
    register_objectives();
    mexhost::set_plugin_dir(MEX_PLUGIN_DIR);
    fuzz::ArgGenerator gen(std::hash<std::string>{}(name) ^ 0x5eedULL);
    const size_t live_arrays = mexhost::live_array_count(), live_blocks = mexhost::live_block_count();
    size_t ok = 0, refused = 0;
    for (size_t i = 0; i < calls_per_plugin(); ++i) {
        fuzz::GeneratedArgs g = gen.args(8);
        const int nargout = gen.nargout();
        const auto t0 = std::chrono::steady_clock::now();
        mexhost::CallResult r = mexhost::call(name, nargout, g.arrays);
        const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const std::string what = name + "(" + g.description + ") nargout=" + std::to_string(nargout);
        EXPECT_LT(secs, 1.0) << what;
        if (r.ok) {
            ++ok;
            EXPECT_EQ(r.outputs.size(), size_t(std::max(nargout, 1))) << what;
        } else {
            ++refused;
            EXPECT_FALSE(r.error.empty()) << what;
        }
    }
    EXPECT_EQ(mexhost::live_array_count(), live_arrays + 0) << "arrays leaked by the host call path";
    EXPECT_EQ(mexhost::live_block_count(), live_blocks);
    RecordProperty("accepted", int(ok));
    RecordProperty("refused", int(refused));
}

std::vector<std::string> plugins() {
    mexhost::set_plugin_dir(MEX_PLUGIN_DIR);
    return mexhost::list_plugins();
}

INSTANTIATE_TEST_SUITE_P(Fuzz, EveryPlugin, ::testing::ValuesIn(plugins()),
                         [](const ::testing::TestParamInfo<std::string> &p) { return p.param; });

} // namespace
