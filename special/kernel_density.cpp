#include "kernel_density.hpp"

#include "lanes.hpp"
#include "normal_cdf.hpp"
#include "normal_cdf_lanes.hpp"

#include <cmath>
#include <cstring>
#include <limits>

namespace special {

namespace {
constexpr double kEpanFactor = 0.06708203932499368;  // 3/(4 sqrt(5)): unit-variance Epanechnikov
constexpr double kGaussFactor = 0.3989422804014327;  // 1/sqrt(2 pi)
constexpr double kSqrt5 = 2.23606797749979;          // half-width of the Epanechnikov support
constexpr double kTenSqrt5 = 22.360679774997898;

// The inner loop over the evaluation points runs in the lanes of a vector
// (W points at once). The arithmetic of each lane is that of the scalar loop,
// operation by operation, so every lane width and instruction set gives the
// same results bit for bit; a branch of the scalar loop becomes a lane-wise
// choice between the updated and the unchanged sum. The one departure from
// the scalar loop is the Gaussian kernel's exponential, in the density and
// inside the normal CDF of the distribution estimate: exp_nonpositive, within
// 2 units in the last place of the library's exp. The last group holds the
// 1 to W-1 points left over.

struct Pass {
    double xj, w, cw, c, inv_n, dn;
};

template <int W> LANE_INLINE void epanechnikov_f(const double *x, size_t m, const Pass &q, double *f) {
    typedef typename Lanes<W>::D D;
    typedef typename Lanes<W>::L L;
    for_lanes<W>(m, [&](size_t k, size_t len) LANE_INLINE_LAMBDA {
        const D u = (load<D>(x + k, len) - q.xj) / q.w;
        const D fk = load<D>(f + k, len);
        const L inside = (u < 0.0 ? -u : u) < kSqrt5; // |u| < sqrt(5); NaN is outside
        store(f + k, inside ? fk + (5.0 - u * u) * q.cw : fk, len);
    });
}

template <int W> LANE_INLINE void epanechnikov_f_F(const double *x, size_t m, const Pass &q, double *f, double *F) {
    typedef typename Lanes<W>::D D;
    typedef typename Lanes<W>::L L;
    for_lanes<W>(m, [&](size_t k, size_t len) LANE_INLINE_LAMBDA {
        const D u = (load<D>(x + k, len) - q.xj) / q.w;
        const D fk = load<D>(f + k, len), Fk = load<D>(F + k, len);
        const D uu = u * u;
        const L inside = uu < 5.0;
        const L above = u >= kSqrt5; // the whole kernel mass lies below x[k]
        store(f + k, inside ? fk + (5.0 - uu) * q.cw : fk, len);
        store(F + k, inside ? Fk + ((15.0 - uu) * u + kTenSqrt5) * q.c / 3.0 : (above ? Fk + q.inv_n : Fk), len);
    });
}

template <int W> LANE_INLINE void gaussian_f(const double *x, size_t m, const Pass &q, double *f) {
    typedef typename Lanes<W>::D D;
    for_lanes<W>(m, [&](size_t k, size_t len) LANE_INLINE_LAMBDA {
        const D u = (load<D>(x + k, len) - q.xj) / q.w;
        store(f + k, load<D>(f + k, len) + exp_nonpositive<W>(u * (-0.5) * u) * q.cw, len);
    });
}

template <int W> LANE_INLINE void gaussian_f_F(const double *x, size_t m, const Pass &q, double *f, double *F) {
    typedef typename Lanes<W>::D D;
    for_lanes<W>(m, [&](size_t k, size_t len) LANE_INLINE_LAMBDA {
        const D u = (load<D>(x + k, len) - q.xj) / q.w;
        store(f + k, load<D>(f + k, len) + exp_nonpositive<W>(u * (-0.5) * u) * q.cw, len);
        store(F + k, load<D>(F + k, len) + normal_cdf_lanes<W>(u, kDensityConstants) / q.dn, len);
    });
}

enum class Pair { EpanechnikovF, EpanechnikovFF, GaussianF, GaussianFF };

template <int W> LANE_INLINE void pass(Pair kind, const double *x, size_t m, const Pass &q, double *f, double *F) {
    switch (kind) {
    case Pair::EpanechnikovF: epanechnikov_f<W>(x, m, q, f); break;
    case Pair::EpanechnikovFF: epanechnikov_f_F<W>(x, m, q, f, F); break;
    case Pair::GaussianF: gaussian_f<W>(x, m, q, f); break;
    case Pair::GaussianFF: gaussian_f_F<W>(x, m, q, f, F); break;
    }
}

// One data point's contribution to all m evaluation points, in one version
// per vector width.
#ifdef LANES_X86
LANES_AVX2 void one_point_4(Pair kind, const double *x, size_t m, const Pass &q, double *f, double *F) {
    pass<4>(kind, x, m, q, f, F);
}
LANES_AVX512 void one_point_8(Pair kind, const double *x, size_t m, const Pass &q, double *f, double *F) {
    pass<8>(kind, x, m, q, f, F);
}
#endif
void one_point_2(Pair kind, const double *x, size_t m, const Pass &q, double *f, double *F) {
    pass<2>(kind, x, m, q, f, F);
}

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
    const Pair kind = epan ? (F ? Pair::EpanechnikovFF : Pair::EpanechnikovF) : (F ? Pair::GaussianFF : Pair::GaussianF);
    // The widest vectors the processor has; the build itself stays generic.
    void (*one_point)(Pair, const double *, size_t, const Pass &, double *, double *) = one_point_2;
#ifdef LANES_X86
    const int width = lane_width();
    if (width == 8) one_point = one_point_8;
    if (width == 4) one_point = one_point_4;
#endif
    for (size_t j = 0; j < n; ++j) {
        if (per_point) hj = h[j];
        const double w = sd * hj;
        const Pass q{xi[j], w, c / w, c, 1.0 / dn, dn};
        one_point(kind, x, m, q, f, F);
    }
}

} // namespace special
