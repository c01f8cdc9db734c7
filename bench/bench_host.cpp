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
}
BENCHMARK(BM_host_call_gausscum_one_element);

// a[i] = b[i] + s*c[i] over three arrays of 2^24 doubles (384 MiB in all):
// bytes counted as 3 streams (no write-allocate).
static void BM_triad(benchmark::State &state) {
    const size_t n = size_t(1) << 24;
    std::vector<double> a(n, 0.0), b(n, 1.0), c(n, 2.0);
    const double s = 3.0;
    for (auto _ : state) {
        double *__restrict pa = a.data();
        const double *__restrict pb = b.data();
        const double *__restrict pc = c.data();
        for (size_t i = 0; i < n; ++i) pa[i] = pb[i] + s * pc[i];
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(3 * n * sizeof(double)));
}
BENCHMARK(BM_triad)->Unit(benchmark::kMillisecond);
