#include "rowcolscale_kernels.hpp"

namespace linalg {

void axdbf(double *C, const double *X, const double *y, std::size_t m, std::size_t n) {
    for (std::size_t j = 0; j < n; ++j) {
        const double d = y[j];
        const double *xc = X + m * j;
        double *cc = C + m * j;
        for (std::size_t i = 0; i < m; ++i) cc[i] = xc[i] * d;
    }
}

void daxbf(double *C, const double *Y, const double *x, std::size_t m, std::size_t n) {
    for (std::size_t j = 0; j < n; ++j) {
        const double *yc = Y + m * j;
        double *cc = C + m * j;
        for (std::size_t i = 0; i < m; ++i) cc[i] = yc[i] * x[i];
    }
}

void scale_values(double *C, const double *Y, double s, std::size_t count) {
    for (std::size_t k = 0; k < count; ++k) C[k] = s * Y[k];
}

} // namespace linalg
