#include "bin_sum.hpp"

#include <cmath>

namespace approx {

bool binsum(const double *V, const double *IND, std::size_t m, std::size_t n, double *S) {
    const double top = double(m);
    for (std::size_t j = 0; j < n; ++j) {
        for (std::size_t i = 0; i < m; ++i) {
            const std::size_t e = i + m * j;
            // Tested as a double before any conversion, so NaN and values
            // beyond the integer range are refused rather than wrapped.
            const double c = std::trunc(IND[e]);
            if (!(c >= 1.0 && c <= top)) return false;
            S[i + m * (std::size_t(c) - 1)] += V[e];
        }
    }
    return true;
}

} // namespace approx
