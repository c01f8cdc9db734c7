#include "kernel_density.hpp"

#include "normal_cdf.hpp"

#include <cmath>
#include <limits>

namespace special {

namespace {
constexpr double kEpanFactor = 0.06708203932499368;  // 3/(4 sqrt(5)): unit-variance Epanechnikov
constexpr double kGaussFactor = 0.3989422804014327;  // 1/sqrt(2 pi)
constexpr double kSqrt5 = 2.23606797749979;          // half-width of the Epanechnikov support
constexpr double kTenSqrt5 = 22.360679774997898;
} // namespace

Kernel kernel_from_selector(double ktype) {
    // trunc(ktype) == 1 exactly when 1 <= ktype < 2; NaN fails both tests.
    return (ktype >= 1.0 && ktype < 2.0) ? Kernel::Epanechnikov : Kernel::Gaussian;
}

void kernel_density(const double *x, size_t m, const double *xi, size_t n, const double *h, size_t nh,
                    Kernel kernel, double *f, double *F) {
    if (n == 0) return;
    if (n == 1) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        for (size_t k = 0; k < m; ++k) {
            f[k] = nan;
            if (F) F[k] = nan;
        }
        return;
    }
    const bool epan = kernel == Kernel::Epanechnikov;
    const double dn = static_cast<double>(n);

    // A zero bandwidth asks for the rule of thumb, common to all points.
    bool per_point = nh != 1;
    double hj = h[0];
    if (hj == 0.0) {
        hj = (epan ? 1.0487 : 1.0592) * std::pow(dn, -0.2);
        per_point = false;
    }

    double sum = 0.0;
    for (size_t j = 0; j < n; ++j) sum += xi[j];
    const double mean = sum / dn;
    double ss = 0.0;
    for (size_t j = 0; j < n; ++j) ss += (xi[j] - mean) * (xi[j] - mean);
    const double sd = std::sqrt(ss / (dn - 1.0));

    const double c = (epan ? kEpanFactor : kGaussFactor) / dn;
    for (size_t j = 0; j < n; ++j) {
        if (per_point) hj = h[j];
        const double w = sd * hj;
        const double cw = c / w;
        const double xj = xi[j];
        if (epan && !F) {
            for (size_t k = 0; k < m; ++k) {
                const double u = (x[k] - xj) / w;
                if (std::fabs(u) < kSqrt5) f[k] += (5.0 - u * u) * cw;
            }
        } else if (epan) {
            for (size_t k = 0; k < m; ++k) {
                const double u = (x[k] - xj) / w;
                if (u * u < 5.0) {
                    f[k] += (5.0 - u * u) * cw;
                    F[k] += ((15.0 - u * u) * u + kTenSqrt5) * c / 3.0;
                } else if (u >= kSqrt5) {
                    // The whole kernel mass lies below x[k].
                    F[k] += 1.0 / dn;
                }
            }
        } else {
            for (size_t k = 0; k < m; ++k) {
                const double u = (x[k] - xj) / w;
                f[k] += std::exp(u * (-0.5) * u) * cw;
                if (F) F[k] += gausscum(u) / dn;
            }
        }
    }
}

} // namespace special
