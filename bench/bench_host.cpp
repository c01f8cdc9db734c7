// The host's own cost, and the memory-bandwidth limit (STREAM-style triad)
// that the memory-bound kernels are measured against.
#include "bench_common.hpp"
#include "mexhost.hpp"

#include <benchmark/benchmark.h>

#include <vector>

static void BM_host_call_gausscum_one_element(benchmark::State &state) {
    mexhost::set_plugin_dir(MEX_PLUGIN_DIR);
    auto x = mexhost::make_scalar(0.3);
    std::vector<const mxArray *> in{x.get()};
    for (auto _ : state) {
        auto r = mexhost::call("gausscum", 1, in);
        benchmark::DoNotOptimize(r.outputs.data());
    }
    bench::items(state, 1); // per call
}
BENCHMARK(BM_host_call_gausscum_one_element);

BENCH_TRIAD();
