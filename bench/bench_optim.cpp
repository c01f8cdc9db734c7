// DIRECT search: cost per evaluation of a whole driver run (array set-up,
// the boxpart call and every host feval round trip included) beyond the
// objective, a sum of squares whose own cost is timed apart. Two iteration
// limits with the same evaluation budget show whether any set-up grows with
// the limit.
#include "bench_common.hpp"
#include "direct_driver.hpp"

#include <benchmark/benchmark.h>

namespace {

double sum_of_squares(const double *x, size_t n) {
    double s = 0.0;
    for (size_t i = 0; i < n; ++i) s += (x[i] - 0.3) * (x[i] - 0.3);
    return s;
}

void search(benchmark::State &state) {
    bench::use_plugins();
    const size_t dims = size_t(state.range(0));
    direct::Options o;
    o.lower.assign(dims, -1.0);
    o.upper.assign(dims, 2.0);
    o.max_evaluations = 20000;
    o.max_iterations = state.range(1);
    long long evaluations = 0;
    for (auto _ : state) {
        const direct::Result r = direct::solve(sum_of_squares, o);
        if (!r.ok) {
            state.SkipWithError(r.error.c_str());
            break;
        }
        evaluations += r.evaluations;
    }
    state.SetItemsProcessed(evaluations);
}

// The objective alone on the same number of points, per evaluation.
void objective_alone(benchmark::State &state) {
    const size_t dims = size_t(state.range(0));
    const auto x = bench::uniform_points(20000 * dims, -1.0, 2.0);
    for (auto _ : state) {
        double s = 0.0;
        for (size_t k = 0; k < 20000; ++k) s += sum_of_squares(&x[k * dims], dims);
        benchmark::DoNotOptimize(s);
    }
    bench::items(state, 20000);
}

} // namespace

// Arguments: dimensions, iteration limit.
BENCHMARK(search)->Name("BM_boxpart_per_evaluation")->Args({2, 100000})->Args({6, 100000})->Args({2, 100000000})
    ->Args({6, 100000000})->Unit(benchmark::kMillisecond);
BENCHMARK(objective_alone)->Name("BM_boxpart_objective_alone")->Arg(2)->Arg(6);
