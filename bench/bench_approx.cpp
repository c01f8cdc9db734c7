// Table lookup per value against std::upper_bound, and the other
// approximation and indexing plug-ins per element (no peer).
#include "bench_common.hpp"
#include "table_lookup.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

namespace {

constexpr size_t kValues = 1000000;

struct LookupData {
    std::vector<double> table, x;
};

// A sorted table of n entries and 1e6 values spread over (and a little
// beyond) its range, sorted or in random order.
LookupData lookup_data(size_t n, bool sorted) {
    LookupData d;
    d.table = bench::uniform_points(n, 0.0, 1.0, 11);
    std::sort(d.table.begin(), d.table.end());
    d.x = bench::uniform_points(kValues, -0.01, 1.01, 12);
    if (sorted) std::sort(d.x.begin(), d.x.end());
    return d;
}

void lookup_ours(benchmark::State &state, const LookupData &d) {
    std::vector<double> out(d.x.size());
    for (auto _ : state) {
        approx::lookup(d.table.data(), d.table.size(), d.x.data(), d.x.size(), false, false, out.data());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    bench::items(state, d.x.size());
}

void lookup_peer(benchmark::State &state, const LookupData &d) {
    std::vector<double> out(d.x.size());
    const double *t = d.table.data(), *end = t + d.table.size();
    for (auto _ : state) {
        for (size_t i = 0; i < d.x.size(); ++i) out[i] = double(std::upper_bound(t, end, d.x[i]) - t);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    bench::items(state, d.x.size());
}

const bool registered = [] {
    for (size_t n : {size_t(1000), size_t(1000000)})
        for (bool sorted : {true, false}) {
            auto d = std::make_shared<LookupData>(lookup_data(n, sorted));
            const std::string suffix =
                std::string("lookup_value/table_") + (n == 1000 ? "1e3" : "1e6") + (sorted ? "_sorted" : "_random");
            benchmark::RegisterBenchmark(("BM_ours_" + suffix).c_str(),
                                         [d](benchmark::State &s) { lookup_ours(s, *d); })
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("BM_peer_" + suffix).c_str(),
                                         [d](benchmark::State &s) { lookup_peer(s, *d); })
                ->Unit(benchmark::kMillisecond);
        }
    return true;
}();

} // namespace

// Plug-in calls: per output element unless said otherwise.
static void BM_tpolybasis_n10_m1e5(benchmark::State &state) {
    auto x = bench::column(bench::uniform_points(100000, -1.0, 1.0));
    auto n = mexhost::make_scalar(10), a = mexhost::make_scalar(-1), b = mexhost::make_scalar(1);
    bench::time_calls(state, "tpolybasis", 1, {n.get(), a.get(), b.get(), x.get()});
    bench::items(state, 100000 * 10);
}
BENCHMARK(BM_tpolybasis_n10_m1e5)->Unit(benchmark::kMillisecond);

// Three variables of 8 coefficients each (512 coefficients), per point.
static void BM_tpolyeval_d3_n8_per_point(benchmark::State &state) {
    const size_t m = 10000;
    auto c = bench::column(bench::uniform_points(512, -1.0, 1.0));
    auto x = bench::matrix(m, 3, bench::uniform_points(3 * m, -1.0, 1.0));
    auto n = bench::matrix(1, 3, {8, 8, 8});
    auto a = bench::matrix(1, 3, {-1, -1, -1}), b = bench::matrix(1, 3, {1, 1, 1});
    bench::time_calls(state, "tpolyeval", 1, {c.get(), x.get(), n.get(), a.get(), b.get()});
    bench::items(state, m);
}
BENCHMARK(BM_tpolyeval_d3_n8_per_point)->Unit(benchmark::kMillisecond);

// 1e4 rows of 3 columns located among 1e3 rows, per located row.
static void BM_rowlocate_1e4_in_1e3(benchmark::State &state) {
    auto A = bench::matrix(10000, 3, bench::integer_points(30000, 0, 9, 5));
    auto B = bench::matrix(1000, 3, bench::integer_points(3000, 0, 9, 6));
    bench::time_calls(state, "rowlocate", 1, {A.get(), B.get()});
    bench::items(state, 10000);
}
BENCHMARK(BM_rowlocate_1e4_in_1e3)->Unit(benchmark::kMillisecond);

// 1e3 by 1e3 values into 1e3 bins, per value.
static void BM_binsum_1e3x1e3(benchmark::State &state) {
    auto V = bench::matrix(1000, 1000, bench::uniform_points(1000000, 0.0, 1.0));
    auto I = bench::matrix(1000, 1000, bench::integer_points(1000000, 1, 1000, 8));
    bench::time_calls(state, "binsum", 1, {V.get(), I.get()});
    bench::items(state, 1000000);
}
BENCHMARK(BM_binsum_1e3x1e3)->Unit(benchmark::kMillisecond);

// Row minima of a 1e5 by 20 matrix, per element.
static void row_minima(benchmark::State &state, const char *name, int nargout) {
    auto X = bench::matrix(100000, 20, bench::uniform_points(2000000, 0.0, 1.0));
    bench::time_calls(state, name, nargout, {X.get()});
    bench::items(state, 2000000);
}
BENCHMARK_CAPTURE(row_minima, leastvals_1e5x20, "leastvals", 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(row_minima, leastidx_1e5x20, "leastidx", 1)->Unit(benchmark::kMillisecond);
