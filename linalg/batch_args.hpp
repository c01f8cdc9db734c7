// Argument helpers shared by the gateways of the batched solver and
// product plug-ins.
#ifndef LINALG_BATCH_ARGS_HPP
#define LINALG_BATCH_ARGS_HPP

#include "mex.h"

#include <cstddef>

namespace linalg {

// True for the arrays whose data can be read as plain doubles: full arrays
// of class double (a complex one is read through its real part).
inline bool is_full_double(const mxArray *a) { return mxIsDouble(a) && !mxIsSparse(a); }

// The element count a*b*c, or false when it does not fit in a size_t (and
// so cannot be the element count of any array). A zero factor gives 0 even
// when the other two overflow together.
inline bool count_product(std::size_t a, std::size_t b, std::size_t c, std::size_t *out) {
    std::size_t ab;
    if (a == 0 || b == 0 || c == 0) {
        *out = 0;
        return true;
    }
    return !__builtin_mul_overflow(a, b, &ab) && !__builtin_mul_overflow(ab, c, out);
}

} // namespace linalg

#endif
