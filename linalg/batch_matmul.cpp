#include "batch_matmul.hpp"

namespace linalg {
namespace {

// Distance, in batch members, at which the streams of A and B are
// prefetched (2 KB ahead in each).
constexpr std::size_t kPrefetchAhead = 256;

namespace lanes2 {
#define LANES 2
#define LANES_TARGET
#include "batch_matmul_lanes.inc"
#undef LANES_TARGET
#undef LANES
} // namespace lanes2

#if defined(__x86_64__) && defined(__GNUC__)
// Four lanes with AVX2 where the processor has it; the same IEEE operations
// (no fused multiply-add), so the results do not change.
#define MATMUL_HAVE_AVX2 1
namespace lanes4 {
#define LANES 4
#define LANES_TARGET __attribute__((target("avx2")))
#include "batch_matmul_lanes.inc"
#undef LANES_TARGET
#undef LANES
} // namespace lanes4
#endif

std::size_t choose_lanes(std::size_t lanes) {
    std::size_t widest = 2;
#ifdef MATMUL_HAVE_AVX2
    if (__builtin_cpu_supports("avx2")) widest = 4;
#endif
    return lanes == 0 || lanes > widest ? widest : lanes;
}

} // namespace

void batch_matmul(const double *A, const double *B, double *C, std::size_t n, std::size_t p, std::size_t q,
                  std::size_t r, std::size_t lanes) {
    if (n == 0 || p == 0 || r == 0) return;
    lanes = choose_lanes(lanes);
    std::size_t done = 0;
#ifdef MATMUL_HAVE_AVX2
    if (lanes == 4) done = lanes4::product_lanes(A, B, C, n, p, q, r);
#endif
    if (lanes == 2) done = lanes2::product_lanes(A, B, C, n, p, q, r);
    // The last batch members, one at a time.
    for (std::size_t l = done; l < n; ++l)
        for (std::size_t j = 0; j < r; ++j)
            for (std::size_t i = 0; i < p; ++i) {
                double c = 0.0;
                for (std::size_t k = 0; k < q; ++k) c = A[l + n * (i + p * k)] * B[l + n * (k + q * j)] + c;
                C[l + n * (i + p * j)] = c;
            }
}

} // namespace linalg
