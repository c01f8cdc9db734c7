#include "lowunstack.hpp"

namespace linalg {

void lowunstack(const double *v, double *A, std::size_t n, int kind) {
    if (kind == 1) {
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < i; ++j) A[i + n * j] = 0.0;
            for (std::size_t j = i; j < n; ++j) A[i + n * j] = *v++;
        }
        return;
    }
    for (std::size_t j = 0; j < n; ++j) {
        double *col = A + n * j;
        if (kind == 2)
            for (std::size_t i = 0; i < j; ++i) col[i] = 0.0;
        for (std::size_t i = j; i < n; ++i) {
            const double x = *v++;
            col[i] = x;
            if (kind == 0) A[j + n * i] = x; // mirror into the upper triangle
        }
    }
}

} // namespace linalg
