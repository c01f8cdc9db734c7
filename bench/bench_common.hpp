// Shared inputs and helpers for the benchmarks: reproducible point sets,
// host arrays, plug-in calls and the memory-bandwidth triad.
#ifndef BENCH_COMMON_HPP
#define BENCH_COMMON_HPP

#include "mexhost.hpp"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace bench {

inline std::vector<double> uniform_points(size_t n, double lo, double hi, unsigned seed = 42) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> d(lo, hi);
    std::vector<double> v(n);
    for (auto &x : v) x = d(rng);
    return v;
}

// Points spread evenly in log scale over [lo, hi] (0 < lo < hi).
inline std::vector<double> log_uniform_points(size_t n, double lo, double hi, unsigned seed = 42) {
    auto v = uniform_points(n, std::log(lo), std::log(hi), seed);
    for (auto &x : v) x = std::exp(x);
    return v;
}

// Whole numbers drawn evenly from lo..hi, as doubles.
inline std::vector<double> integer_points(size_t n, long lo, long hi, unsigned seed = 42) {
    std::mt19937_64 rng(seed);
    std::uniform_int_distribution<long> d(lo, hi);
    std::vector<double> v(n);
    for (auto &x : v) x = double(d(rng));
    return v;
}

inline mexhost::ArrayPtr matrix(size_t m, size_t n, const std::vector<double> &values) {
    return mexhost::make_double(m, n, values);
}

inline mexhost::ArrayPtr column(const std::vector<double> &values) { return matrix(values.size(), 1, values); }

inline void use_plugins() { mexhost::set_plugin_dir(MEX_PLUGIN_DIR); }

// One plug-in call per iteration; a failed call stops the benchmark with
// the plug-in's message.
inline void time_calls(benchmark::State &state, const std::string &name, int nargout,
                       const std::vector<const mxArray *> &in) {
    use_plugins();
    for (auto _ : state) {
        auto r = mexhost::call(name, nargout, in);
        if (!r.ok) {
            state.SkipWithError(r.error.c_str());
            break;
        }
        benchmark::DoNotOptimize(r.outputs.data());
    }
}

inline void items(benchmark::State &state, size_t per_iteration) {
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(per_iteration));
}

inline void bytes(benchmark::State &state, size_t per_iteration) {
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(per_iteration));
}

// a[i] = b[i] + s*c[i] over three arrays of 2^24 doubles (384 MiB in all):
// bytes counted as 3 streams (no write-allocate), the convention every
// bandwidth figure here follows (bytes read plus bytes written once).
inline void triad(benchmark::State &state) {
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
    bytes(state, 3 * n * sizeof(double));
}

} // namespace bench

// Each binary with memory-bound kernels measures its own triad, so that the
// bandwidth fractions compare figures taken under the same load.
#define BENCH_TRIAD()                                                                                                  \
    static void BM_triad(benchmark::State &state) { bench::triad(state); }                                           \
    BENCHMARK(BM_triad)->Unit(benchmark::kMillisecond)

#endif
