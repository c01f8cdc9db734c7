// Normal CDF per element against Boost.Math's normal distribution, with
// double precision kept (no promotion to long double) and with the default
// policy.
#include "bench_common.hpp"
#include "normal_cdf.hpp"

#include <benchmark/benchmark.h>
#include <boost/math/distributions/normal.hpp>

namespace {

using NoPromote = boost::math::policies::policy<boost::math::policies::promote_double<false>>;
const std::vector<double> &points() {
    static const std::vector<double> p = bench::uniform_points(1000000, -12.0, 12.0);
    return p;
}

void per_element(benchmark::State &state) { state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(points().size())); }

} // namespace

static void BM_ours_gausscum(benchmark::State &state) {
    const auto &x = points();
    std::vector<double> y(x.size());
    for (auto _ : state) {
        for (size_t i = 0; i < x.size(); ++i) y[i] = special::gausscum(x[i]);
        benchmark::DoNotOptimize(y.data());
    }
    per_element(state);
}
BENCHMARK(BM_ours_gausscum)->Unit(benchmark::kMillisecond);

static void BM_peer_gausscum(benchmark::State &state) {
    const auto &x = points();
    std::vector<double> y(x.size());
    boost::math::normal_distribution<double, NoPromote> nd;
    for (auto _ : state) {
        for (size_t i = 0; i < x.size(); ++i) y[i] = boost::math::cdf(nd, x[i]);
        benchmark::DoNotOptimize(y.data());
    }
    per_element(state);
}
BENCHMARK(BM_peer_gausscum)->Unit(benchmark::kMillisecond);

static void BM_peerdefault_gausscum(benchmark::State &state) {
    const auto &x = points();
    std::vector<double> y(x.size());
    boost::math::normal_distribution<double> nd;
    for (auto _ : state) {
        for (size_t i = 0; i < x.size(); ++i) y[i] = boost::math::cdf(nd, x[i]);
        benchmark::DoNotOptimize(y.data());
    }
    per_element(state);
}
BENCHMARK(BM_peerdefault_gausscum)->Unit(benchmark::kMillisecond);
