#include "batch_matmul.hpp"

namespace linalg {
namespace {

// The batch is processed a block of lanes at a time, sized so that the
// block's slices of A and B (p*q + q*r doubles per lane) stay in the level-1
// cache while every product of the block reuses them; A, B and C then cross
// memory once each.
constexpr std::size_t kCacheDoubles = 3072;
constexpr std::size_t kMinLanes = 16;
constexpr std::size_t kMaxLanes = 512;

std::size_t block_lanes(std::size_t p, std::size_t q, std::size_t r) {
    const std::size_t per_lane = p * q + q * r;
    std::size_t lanes = per_lane == 0 ? kMaxLanes : kCacheDoubles / per_lane;
    if (lanes > kMaxLanes) lanes = kMaxLanes;
    lanes -= lanes % kMinLanes;
    return lanes < kMinLanes ? kMinLanes : lanes;
}

} // namespace

void batch_matmul(const double *A, const double *B, double *C, std::size_t n, std::size_t p, std::size_t q,
                  std::size_t r) {
    if (n == 0 || p == 0 || r == 0) return;
    const std::size_t lanes = block_lanes(p, q, r);
    double acc[kMaxLanes];
    for (std::size_t l0 = 0; l0 < n; l0 += lanes) {
        const std::size_t w = n - l0 < lanes ? n - l0 : lanes;
        for (std::size_t j = 0; j < r; ++j) {
            for (std::size_t i = 0; i < p; ++i) {
                for (std::size_t l = 0; l < w; ++l) acc[l] = 0.0;
                for (std::size_t k = 0; k < q; ++k) {
                    const double *__restrict a = A + l0 + n * (i + p * k);
                    const double *__restrict b = B + l0 + n * (k + q * j);
                    for (std::size_t l = 0; l < w; ++l) acc[l] = a[l] * b[l] + acc[l];
                }
                double *__restrict c = C + l0 + n * (i + p * j);
                for (std::size_t l = 0; l < w; ++l) c[l] = acc[l];
            }
        }
    }
}

} // namespace linalg
