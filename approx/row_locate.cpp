#include "row_locate.hpp"

#include <cmath>
#include <limits>

namespace approx {

void rowlocate(const double *A, std::size_t m, const double *B, std::size_t k, std::size_t n, double *out) {
    for (std::size_t i = 0; i < m; ++i) {
        double best = std::numeric_limits<double>::infinity();
        std::size_t result = 1;
        for (std::size_t r = 0; r < k; ++r) {
            double dist = 0.0;
            for (std::size_t j = 0; j < n; ++j) dist += std::fabs(A[i + m * j] - B[r + k * j]);
            if (dist == 0.0) {
                result = r + 1; // an exact match ends the scan
                break;
            }
            // Strict: ties keep the earlier row, and NaN distances never win.
            if (dist < best) {
                best = dist;
                result = r + 1;
            }
        }
        out[i] = double(result);
    }
}

} // namespace approx
