// Size arithmetic that reports overflow instead of wrapping, for the counts
// and products of dimensions that decide how much memory a result needs.
#ifndef LINALG_SIZE_ARITH_HPP
#define LINALG_SIZE_ARITH_HPP

#include <cstddef>
#include <cstdint>

namespace linalg {

inline bool checked_mul(std::size_t a, std::size_t b, std::size_t *r) {
    if (a != 0 && b > SIZE_MAX / a) return false;
    *r = a * b;
    return true;
}

inline bool checked_add(std::size_t a, std::size_t b, std::size_t *r) {
    if (b > SIZE_MAX - a) return false;
    *r = a + b;
    return true;
}

} // namespace linalg

#endif
