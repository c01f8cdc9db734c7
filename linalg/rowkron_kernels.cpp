#include "rowkron_kernels.hpp"
#include "size_arith.hpp"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace linalg {

namespace {

// Rows per block for inputs of `cols` columns in all: about 256 KiB of
// input, which stays in the second-level cache while every product column of
// the block is written; at least 512 rows so that each output segment spans
// whole pages.
std::size_t rows_per_block(std::size_t cols) {
    const std::size_t budget = 32768; // doubles
    const std::size_t rows = cols > 0 ? budget / cols : budget;
    return rows < 512 ? 512 : rows;
}

// Outputs at least this large (bytes) cannot stay in the cache for their
// reader anyway; they are written with non-temporal stores, which skip
// reading each output line into the cache before it is overwritten.
constexpr std::size_t kStreamFrom = std::size_t(16) << 20;

// c[r] = a[r]*b[r], r < len.
void multiply_into(double *c, const double *a, const double *b, std::size_t len, bool stream) {
    std::size_t r = 0;
#if defined(__SSE2__)
    if (stream) {
        if ((reinterpret_cast<std::uintptr_t>(c) & 15) != 0 && len > 0) {
            c[0] = a[0] * b[0];
            r = 1;
        }
        if ((reinterpret_cast<std::uintptr_t>(c + r) & 15) == 0)
            for (; r + 2 <= len; r += 2) _mm_stream_pd(c + r, _mm_mul_pd(_mm_loadu_pd(a + r), _mm_loadu_pd(b + r)));
    }
#else
    (void)stream;
#endif
    for (; r < len; ++r) c[r] = a[r] * b[r];
}

} // namespace

void rowkron_full(double *C, const double *A, const double *B, std::size_t m, std::size_t p, std::size_t q) {
    // Rows are taken in blocks whose columns of A and B stay in the cache
    // while every product column of the block is written: each input is read
    // from memory once instead of once per output column, and the output is
    // the only stream left. Each product is the same single multiplication
    // as in the column-by-column order.
    const std::size_t block = rows_per_block(p + q);
    const bool stream = m * p * q >= kStreamFrom / sizeof(double);
    for (std::size_t r0 = 0; r0 < m; r0 += block) {
        const std::size_t len = m - r0 < block ? m - r0 : block;
        for (std::size_t i = 0; i < p; ++i)
            for (std::size_t j = 0; j < q; ++j)
                multiply_into(C + m * (i * q + j) + r0, A + m * i + r0, B + m * j + r0, len, stream);
    }
#if defined(__SSE2__)
    if (stream) _mm_sfence();
#endif
}

void count_row_nonzeros(std::size_t *count, const double *A, std::size_t m, std::size_t n) {
    for (std::size_t j = 0; j < n; ++j) {
        const double *col = A + m * j;
        for (std::size_t r = 0; r < m; ++r) count[r] += col[r] != 0.0 ? 1 : 0;
    }
}

bool kron_entry_total(const std::size_t *nA, const std::size_t *nB, std::size_t m, std::size_t *total) {
    std::size_t sum = 0;
    for (std::size_t r = 0; r < m; ++r) {
        std::size_t prod;
        if (!checked_mul(nA[r], nB[r], &prod) || !checked_add(sum, prod, &sum)) return false;
    }
    *total = sum;
    return true;
}

} // namespace linalg
