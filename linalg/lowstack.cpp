#include "lowstack.hpp"

namespace linalg {

bool lowstack(const double *src, double *dst, std::size_t n, bool row_order) {
    if (row_order) {
        if (dst == src) return false;
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = i; j < n; ++j) *dst++ = src[i + n * j];
        return true;
    }
    for (std::size_t j = 0; j < n; ++j) {
        const double *col = src + n * j;
        for (std::size_t i = j; i < n; ++i) *dst++ = col[i];
    }
    return true;
}

} // namespace linalg
