// Matrix utilities: the memory-bound kernels as a fraction of the triad
// bandwidth measured in the same run (bytes read plus bytes written once),
// and the tensor-basis product against forming the row-wise Kronecker basis
// explicitly and multiplying it (Eigen) by the coefficients.
#include "bench_common.hpp"
#include "lowstack.hpp"
#include "rowcolscale_kernels.hpp"
#include "rowkron_kernels.hpp"

#include <Eigen/Dense>
#include <benchmark/benchmark.h>

BENCH_TRIAD();

// C = rowkron(A, B), A m by p, B m by q, full: m*(p + q + p*q) doubles moved.
static void BM_rowkron_full(benchmark::State &state) {
    const size_t m = size_t(state.range(0)), p = size_t(state.range(1)), q = size_t(state.range(2));
    const auto A = bench::uniform_points(m * p, -1.0, 1.0, 1), B = bench::uniform_points(m * q, -1.0, 1.0, 2);
    std::vector<double> C(m * p * q, 0.0);
    for (auto _ : state) {
        linalg::rowkron_full(C.data(), A.data(), B.data(), m, p, q);
        benchmark::ClobberMemory();
    }
    bench::bytes(state, 8 * m * (p + q + p * q));
    bench::items(state, m * p * q);
}
BENCHMARK(BM_rowkron_full)->Args({1000000, 4, 4})->Args({4000000, 2, 3})->Args({200, 100, 100})->Unit(benchmark::kMillisecond);

// C = X*diag(y) (X m by n) and C = diag(x)*Y: 2*m*n doubles moved, plus
// the diagonal.
static void BM_rowcolscale(benchmark::State &state) {
    const size_t m = size_t(state.range(0)), n = size_t(state.range(1));
    const bool columns = state.range(2) != 0;
    const auto X = bench::uniform_points(m * n, -1.0, 1.0, 1);
    const auto d = bench::uniform_points(columns ? n : m, -1.0, 1.0, 2);
    std::vector<double> C(m * n, 0.0);
    for (auto _ : state) {
        if (columns)
            linalg::axdbf(C.data(), X.data(), d.data(), m, n);
        else
            linalg::daxbf(C.data(), X.data(), d.data(), m, n);
        benchmark::ClobberMemory();
    }
    bench::bytes(state, 8 * (2 * m * n + d.size()));
    bench::items(state, m * n);
}
// Third argument: 1 scales the columns (X*diag(y)), 0 the rows (diag(x)*Y).
BENCHMARK(BM_rowcolscale)->Args({4000000, 4, 1})->Args({4000000, 4, 0})->Args({4, 4000000, 1})->Args({4, 4000000, 0})
    ->Unit(benchmark::kMillisecond);

// lowstack of an n by n matrix: the n(n+1)/2 lower entries read and written.
static void BM_lowstack(benchmark::State &state) {
    const size_t n = size_t(state.range(0));
    const bool row_order = state.range(1) != 0;
    const auto A = bench::uniform_points(n * n, -1.0, 1.0, 1);
    std::vector<double> v(n * (n + 1) / 2, 0.0);
    for (auto _ : state) {
        linalg::lowstack(A.data(), v.data(), n, row_order);
        benchmark::ClobberMemory();
    }
    bench::bytes(state, 8 * 2 * v.size());
    bench::items(state, v.size());
}
// Second argument: 0 stacks by columns, 1 by rows.
BENCHMARK(BM_lowstack)->Args({4000, 0})->Args({4000, 1})->Unit(benchmark::kMillisecond);

// z = (F1 (.) F2 (.) F3) c, three full factors of 10 columns, m = 1e4, one
// column of coefficients; per row of the basis times coefficient column.
namespace {
struct TensorData {
    size_t m = 10000, n = 10;
    std::vector<double> F1, F2, F3, c;
    TensorData()
        : F1(bench::uniform_points(m * n, -1, 1, 1)), F2(bench::uniform_points(m * n, -1, 1, 2)),
          F3(bench::uniform_points(m * n, -1, 1, 3)), c(bench::uniform_points(n * n * n, -1, 1, 4)) {}
};
const TensorData &tensor_data() {
    static const TensorData d;
    return d;
}
} // namespace

static void BM_ours_tensormul_3x10_m1e4(benchmark::State &state) {
    const TensorData &d = tensor_data();
    std::vector<mexhost::ArrayPtr> cells;
    cells.push_back(bench::matrix(d.m, d.n, d.F1));
    cells.push_back(bench::matrix(d.m, d.n, d.F2));
    cells.push_back(bench::matrix(d.m, d.n, d.F3));
    auto B = mexhost::make_cell(1, 3, std::move(cells));
    auto c = bench::column(d.c);
    bench::time_calls(state, "tensormul", 1, {B.get(), c.get()});
    bench::items(state, 1);
}
BENCHMARK(BM_ours_tensormul_3x10_m1e4)->Unit(benchmark::kMillisecond);

static void BM_peer_tensormul_3x10_m1e4(benchmark::State &state) {
    const TensorData &d = tensor_data();
    const size_t m = d.m, n = d.n;
    std::vector<double> z(m);
    for (auto _ : state) {
        std::vector<double> K2(m * n * n), K3(m * n * n * n);
        linalg::rowkron_full(K2.data(), d.F1.data(), d.F2.data(), m, n, n);
        linalg::rowkron_full(K3.data(), K2.data(), d.F3.data(), m, n * n, n);
        Eigen::Map<Eigen::VectorXd>(z.data(), Eigen::Index(m)).noalias() =
            Eigen::Map<const Eigen::MatrixXd>(K3.data(), Eigen::Index(m), Eigen::Index(n * n * n)) *
            Eigen::Map<const Eigen::VectorXd>(d.c.data(), Eigen::Index(n * n * n));
        benchmark::DoNotOptimize(z.data());
    }
    bench::items(state, 1);
}
BENCHMARK(BM_peer_tensormul_3x10_m1e4)->Unit(benchmark::kMillisecond);
