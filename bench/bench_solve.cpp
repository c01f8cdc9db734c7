// Batched solves and Newton steps per system against Eigen's fixed-size
// PartialPivLU (the system gathered from the batch layout, solved and the
// solution scattered back) and LAPACK's dgesv per system; batched matrix
// products as a fraction of the triad bandwidth measured in the same run.
#include "batch_matmul.hpp"
#include "batch_solve.hpp"
#include "bench_common.hpp"

#include <Eigen/Dense>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

extern "C" void dgesv_(const int *n, const int *nrhs, double *a, const int *lda, int *ipiv, double *b,
                       const int *ldb, int *info);

BENCH_TRIAD();

namespace {

// m systems of size n in the batch layout: entries in (-1, 1) plus 2 on the
// diagonal (row pivoting still happens), right-hand sides in (-1, 1); for
// the Newton steps points in (0, 1) with bounds 0 and 1 and function values
// in (-1, 1), so that about a third of the components sit at a bound.
struct Batch {
    size_t m, n;
    std::vector<double> A, B, x, xl, xu;
    Batch(size_t m_, size_t n_) : m(m_), n(n_) {
        A = bench::uniform_points(m * n * n, -1.0, 1.0, unsigned(n));
        for (size_t r = 0; r < n; ++r)
            for (size_t i = 0; i < m; ++i) A[i + m * (r + n * r)] += 2.0;
        B = bench::uniform_points(m * n, -1.0, 1.0, 100 + unsigned(n));
        x = bench::uniform_points(m * n, 0.0, 1.0, 200 + unsigned(n));
        xl.assign(m * n, 0.0);
        xu.assign(m * n, 1.0);
    }
};

const Batch &batch(size_t m, size_t n) {
    static std::map<std::pair<size_t, size_t>, std::unique_ptr<Batch>> cache;
    auto &b = cache[{m, n}];
    if (!b) b.reset(new Batch(m, n));
    return *b;
}

void ours_solve(benchmark::State &state, size_t m, size_t n) {
    const Batch &b = batch(m, n);
    std::vector<double> X(m * n), work(linalg::batch_solve_work_size(n));
    for (auto _ : state) {
        linalg::batch_solve(b.A.data(), b.B.data(), X.data(), m, n, work.data());
        benchmark::ClobberMemory();
    }
    bench::items(state, m);
}

// The Newton step of batchminmax: the negated solution of the min-max
// system, with the residuals of the active components.
void ours_step(benchmark::State &state, size_t m, size_t n) {
    const Batch &b = batch(m, n);
    std::vector<double> D(m * n), phi(m * n), work(linalg::batch_solve_work_size(n));
    for (auto _ : state) {
        linalg::box_solve(b.B.data(), b.A.data(), b.x.data(), b.xl.data(), b.xu.data(), m, n, D.data(), phi.data(),
                          true, work.data());
        benchmark::ClobberMemory();
    }
    bench::items(state, m);
}

template <int N> void eigen(benchmark::State &state, size_t m, bool step) {
    const Batch &b = batch(m, N);
    const size_t n = N;
    std::vector<double> X(m * n), phi(m * n);
    Eigen::Matrix<double, N, N> M;
    Eigen::Matrix<double, N, 1> v;
    for (auto _ : state) {
        for (size_t i = 0; i < m; ++i) {
            for (size_t c = 0; c < n; ++c)
                for (size_t r = 0; r < n; ++r) M(r, c) = b.A[i + m * (r + n * c)];
            for (size_t r = 0; r < n; ++r) v(r) = b.B[i + m * r];
            if (step)
                for (size_t r = 0; r < n; ++r) {
                    double p;
                    if (linalg::active_bound(v(r), b.x[i + m * r], b.xl[i + m * r], b.xu[i + m * r], &p)) {
                        M.row(r).setZero();
                        M(r, r) = -1.0;
                        v(r) = p;
                        phi[i + m * r] = p;
                    }
                }
            const Eigen::Matrix<double, N, 1> s = M.partialPivLu().solve(v);
            for (size_t r = 0; r < n; ++r) X[i + m * r] = step ? -s(r) : s(r);
        }
        benchmark::DoNotOptimize(X.data());
    }
    bench::items(state, m);
}

void lapack(benchmark::State &state, size_t m, size_t n) {
    const Batch &b = batch(m, n);
    std::vector<double> X(m * n), M(n * n), v(n);
    std::vector<int> piv(n);
    const int nn = int(n), one = 1;
    for (auto _ : state) {
        for (size_t i = 0; i < m; ++i) {
            for (size_t t = 0; t < n * n; ++t) M[t] = b.A[i + m * t];
            for (size_t r = 0; r < n; ++r) v[r] = b.B[i + m * r];
            int info = 0;
            dgesv_(&nn, &one, M.data(), &nn, piv.data(), v.data(), &nn, &info);
            for (size_t r = 0; r < n; ++r) X[i + m * r] = v[r];
        }
        benchmark::DoNotOptimize(X.data());
    }
    bench::items(state, m);
}

template <int N> void register_size() {
    for (size_t m : {size_t(100000), size_t(1000000)}) {
        const std::string tag = "n" + std::to_string(N) + (m == 100000 ? "_m1e5" : "_m1e6");
        benchmark::RegisterBenchmark(("BM_ours_batchsolve_system/" + tag).c_str(),
                                     [=](benchmark::State &s) { ours_solve(s, m, N); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_peer_batchsolve_system/" + tag).c_str(),
                                     [=](benchmark::State &s) { eigen<N>(s, m, false); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_alt_batchsolve_system/" + tag).c_str(),
                                     [=](benchmark::State &s) { lapack(s, m, N); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_ours_batchminmax_system/" + tag).c_str(),
                                     [=](benchmark::State &s) { ours_step(s, m, N); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_peer_batchminmax_system/" + tag).c_str(),
                                     [=](benchmark::State &s) { eigen<N>(s, m, true); })
            ->Unit(benchmark::kMillisecond);
    }
}

const bool registered = [] {
    register_size<2>();
    register_size<3>();
    register_size<4>();
    register_size<8>();
    return true;
}();

} // namespace

// C_l = A_l B_l over batches of more than 100 MB; bytes: A, B and C once.
static void BM_batchmatmul(benchmark::State &state) {
    const size_t n = size_t(state.range(0)), p = size_t(state.range(1)), q = p, r = p;
    const auto A = bench::uniform_points(n * p * q, -1.0, 1.0, 1), B = bench::uniform_points(n * q * r, -1.0, 1.0, 2);
    std::vector<double> C(n * p * r, 0.0);
    for (auto _ : state) {
        linalg::batch_matmul(A.data(), B.data(), C.data(), n, p, q, r);
        benchmark::ClobberMemory();
    }
    bench::bytes(state, 8 * n * (p * q + q * r + p * r));
    bench::items(state, n);
}
BENCHMARK(BM_batchmatmul)->Args({500000, 3})->Args({300000, 4})->Unit(benchmark::kMillisecond);
