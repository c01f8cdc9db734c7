#include "batch_solve.hpp"

#include "backslash.hpp"

#include <cstddef>

namespace linalg {
namespace {

// Systems of up to this size are solved several at a time, one per lane of
// a vector register, with their work matrices in local storage; larger ones
// one at a time.
constexpr std::size_t kMaxLaneN = 16;

// Two lanes: SSE2 on x86-64, the baseline vector unit elsewhere.
namespace lanes2 {
#define LANES 2
#define LANES_TARGET
#include "batch_solve_lanes.inc"
#undef LANES_TARGET
#undef LANES
} // namespace lanes2

#if defined(__x86_64__) && defined(__GNUC__)
// Four lanes with AVX2, or eight with AVX-512, chosen at run time where the
// processor has them. The instructions are the same IEEE operations (no
// fused multiply-add), so the results do not change.
#define SOLVE_HAVE_AVX2 1
namespace lanes4 {
#define LANES 4
#define LANES_TARGET __attribute__((target("avx2")))
#include "batch_solve_lanes.inc"
#undef LANES_TARGET
#undef LANES
} // namespace lanes4

// Eight lanes with AVX-512: divisions, which dominate the small solves,
// then complete twice as many lanes per instruction.
namespace lanes8 {
#define LANES 8
#define LANES_TARGET __attribute__((target("avx512f")))
#include "batch_solve_lanes.inc"
#undef LANES_TARGET
#undef LANES
} // namespace lanes8
#endif

std::size_t widest_lanes() {
#ifdef SOLVE_HAVE_AVX2
    if (__builtin_cpu_supports("avx512f")) return 8;
    if (__builtin_cpu_supports("avx2")) return 4;
#endif
    return 2;
}

// The number of lanes to use for a requested count (0: the widest).
std::size_t choose_lanes(std::size_t lanes) {
    const std::size_t widest = widest_lanes();
    if (lanes == 0 || lanes > widest) return widest;
    return lanes >= 8 ? 8 : lanes >= 4 ? 4 : 2;
}

// One system at a time with backslash, for systems i0..m-1.
std::size_t solve_each_from(const double *A, const double *B, double *X, std::size_t m, std::size_t n,
                            std::size_t i0, double *work) {
    double *W = work, *v = work + n * n;
    std::size_t singular = 0;
    for (std::size_t i = i0; i < m; ++i) {
        for (std::size_t c = 0; c < n; ++c) v[c] = B[i + m * c];
        for (std::size_t t = 0; t < n * n; ++t) W[t] = A[i + m * t];
        if (!backslash(W, v, n, 1)) ++singular;
        for (std::size_t c = 0; c < n; ++c) X[i + m * c] = v[c];
    }
    return singular;
}

std::size_t box_solve_each_from(const double *f, const double *J, const double *x, const double *xl,
                                const double *xu, std::size_t m, std::size_t n, double *D, double *phi,
                                bool negate, std::size_t i0, double *work) {
    double *W = work, *v = work + n * n;
    std::size_t singular = 0;
    for (std::size_t i = i0; i < m; ++i) {
        for (std::size_t t = 0; t < n * n; ++t) W[t] = 0.0;
        for (std::size_t j = 0; j < n; ++j) {
            const std::size_t k = i + m * j;
            if (active_bound(f[k], x[k], xl[k], xu[k], &v[j])) {
                if (phi) phi[k] = v[j];
                W[j + n * j] = -1.0;
            } else {
                v[j] = f[k];
                for (std::size_t c = 0; c < n; ++c) W[j + n * c] = J[i + m * (j + n * c)];
            }
        }
        if (!backslash(W, v, n, 1)) ++singular;
        for (std::size_t j = 0; j < n; ++j) D[i + m * j] = negate ? -v[j] : v[j];
    }
    return singular;
}

} // namespace

std::size_t batch_solve_work_size(std::size_t n) { return n * n + n; }

std::size_t batch_solve_each(const double *A, const double *B, double *X, std::size_t m, std::size_t n,
                             double *work) {
    return solve_each_from(A, B, X, m, n, 0, work);
}

std::size_t batch_solve(const double *A, const double *B, double *X, std::size_t m, std::size_t n,
                        double *work, std::size_t lanes) {
    if (m == 0 || n == 0) return 0;
    if (n > kMaxLaneN) return solve_each_from(A, B, X, m, n, 0, work);
    lanes = choose_lanes(lanes);
    std::size_t singular = 0;
#ifdef SOLVE_HAVE_AVX2
    if (lanes == 8) singular = lanes8::batch_groups(A, B, X, m, n);
    if (lanes == 4) singular = lanes4::batch_groups(A, B, X, m, n);
#endif
    if (lanes == 2) singular = lanes2::batch_groups(A, B, X, m, n);
    return singular + solve_each_from(A, B, X, m, n, m - m % lanes, work);
}

void minmax_residual(const double *x, const double *xl, const double *xu, double *phi, std::size_t N) {
    for (std::size_t k = 0; k < N; ++k) active_bound(phi[k], x[k], xl[k], xu[k], &phi[k]);
}

std::size_t box_solve_each(const double *f, const double *J, const double *x, const double *xl,
                           const double *xu, std::size_t m, std::size_t n, double *D, double *phi,
                           bool negate, double *work) {
    return box_solve_each_from(f, J, x, xl, xu, m, n, D, phi, negate, 0, work);
}

std::size_t box_solve(const double *f, const double *J, const double *x, const double *xl,
                      const double *xu, std::size_t m, std::size_t n, double *D, double *phi,
                      bool negate, double *work, std::size_t lanes) {
    if (m == 0 || n == 0) return 0;
    if (n > kMaxLaneN) return box_solve_each_from(f, J, x, xl, xu, m, n, D, phi, negate, 0, work);
    lanes = choose_lanes(lanes);
    std::size_t singular = 0;
#ifdef SOLVE_HAVE_AVX2
    if (lanes == 8) singular = lanes8::box_batch_groups(f, J, x, xl, xu, m, n, D, phi, negate);
    if (lanes == 4) singular = lanes4::box_batch_groups(f, J, x, xl, xu, m, n, D, phi, negate);
#endif
    if (lanes == 2) singular = lanes2::box_batch_groups(f, J, x, xl, xu, m, n, D, phi, negate);
    return singular + box_solve_each_from(f, J, x, xl, xu, m, n, D, phi, negate, m - m % lanes, work);
}

} // namespace linalg
