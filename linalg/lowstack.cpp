#include "lowstack.hpp"

#include <cstring>

namespace linalg {

bool lowstack(const double *src, double *dst, std::size_t n, bool row_order) {
    if (row_order) {
        if (dst == src) return false;
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = i; j < n; ++j) *dst++ = src[i + n * j];
        return true;
    }
    // Each column tail is one contiguous block; memmove keeps the in-place
    // case correct, where a block may overlap its own source.
    for (std::size_t j = 0; j < n; ++j) {
        const std::size_t len = n - j;
        std::memmove(dst, src + j + n * j, len * sizeof(double));
        dst += len;
    }
    return true;
}

} // namespace linalg
