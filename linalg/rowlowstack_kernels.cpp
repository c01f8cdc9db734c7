#include "rowlowstack_kernels.hpp"

namespace linalg {

void transpose(const double *src, double *dst, std::size_t rows, std::size_t cols) {
    if (rows == 1 || cols == 1) {
        for (std::size_t k = 0; k < rows * cols; ++k) dst[k] = src[k];
        return;
    }
    for (std::size_t j = 0; j < cols; ++j)
        for (std::size_t i = 0; i < rows; ++i) dst[j + cols * i] = src[i + rows * j];
}

void outprod(const double *Z, double *S, std::size_t m, std::size_t n) {
    for (std::size_t k = 0; k < m * m; ++k) S[k] = 0.0;
    // b outermost keeps the sum of every entry in increasing b while the
    // innermost loop runs down a column of S and of Z.
    for (std::size_t b = 0; b < n; ++b) {
        const double *zb = Z + m * b;
        for (std::size_t c = 0; c < m; ++c) {
            const double zc = zb[c];
            double *sc = S + m * c;
            for (std::size_t a = 0; a < m; ++a) sc[a] = sc[a] + zb[a] * zc;
        }
    }
}

} // namespace linalg
