#include "batch_solve.hpp"

#include "backslash.hpp"

#include <cmath>
#include <cstring>
#include <limits>

namespace linalg {
namespace {

// Systems solved together: the chunk of the batch whose work matrices are
// interleaved so that every step of the elimination runs over the chunk with
// unit stride. 64 lanes of 12-by-12 systems take 74 KB.
constexpr std::size_t kLanes = 64;
// Larger systems are solved one at a time.
constexpr std::size_t kMaxLaneN = 12;
// Per-lane bookkeeping rows: best magnitude, pivot row, multiplier, singular.
constexpr std::size_t kAuxRows = 4;

// Solves the w systems of one chunk with the arithmetic of backslash, each
// lane separately: W holds entry (r, c) of lane l at (r + n*c)*kLanes + l
// and v entry r at r*kLanes + l. Pivot rows are kept per lane as doubles
// and rows are exchanged by selection, so the loops over lanes have no
// branches. A lane found singular goes on computing meaningless values
// (they never mix with other lanes) and is set to +Inf at the end. N is the
// system size when it is known at compile time, 0 otherwise.
template <std::size_t N>
std::size_t solve_lanes(double *__restrict W, double *__restrict v, std::size_t n_run, std::size_t w,
                        double *__restrict aux) {
    const std::size_t n = N ? N : n_run;
    double *__restrict best = aux;
    double *__restrict piv = aux + kLanes;
    double *__restrict g = aux + 2 * kLanes;
    double *__restrict sing = aux + 3 * kLanes;
    auto at = [W, n](std::size_t r, std::size_t c) { return W + (r + n * c) * kLanes; };

    for (std::size_t l = 0; l < w; ++l) sing[l] = 0.0;

    for (std::size_t r = 0; r < n; ++r) {
        for (std::size_t l = 0; l < w; ++l) best[l] = 0.0;
        for (std::size_t c = 0; c < n; ++c) {
            const double *__restrict a = at(r, c);
            for (std::size_t l = 0; l < w; ++l) {
                const double t = std::fabs(a[l]);
                best[l] = t > best[l] ? t : best[l];
            }
        }
        for (std::size_t c = 0; c < n; ++c) {
            double *__restrict a = at(r, c);
            for (std::size_t l = 0; l < w; ++l) a[l] /= best[l];
        }
        double *__restrict x = v + r * kLanes;
        for (std::size_t l = 0; l < w; ++l) x[l] /= best[l];
    }

    for (std::size_t j = 0; j + 1 < n; ++j) {
        for (std::size_t l = 0; l < w; ++l) {
            best[l] = 0.0;
            piv[l] = double(j);
        }
        for (std::size_t r = j; r < n; ++r) {
            const double *__restrict a = at(r, j);
            const double rr = double(r);
            for (std::size_t l = 0; l < w; ++l) {
                const double t = std::fabs(a[l]);
                const bool wins = t > best[l];
                piv[l] = wins ? rr : piv[l];
                best[l] = wins ? t : best[l];
            }
        }
        for (std::size_t l = 0; l < w; ++l) sing[l] = best[l] == 0.0 ? 1.0 : sing[l];

        // Exchange row j with the pivot row, lane by lane. Columns left of j
        // are never read again and are not exchanged.
        for (std::size_t r = j + 1; r < n; ++r) {
            const double rr = double(r);
            for (std::size_t c = j; c < n; ++c) {
                double *__restrict a = at(j, c);
                double *__restrict b = at(r, c);
                for (std::size_t l = 0; l < w; ++l) {
                    const bool swap = piv[l] == rr;
                    const double x = a[l], y = b[l];
                    a[l] = swap ? y : x;
                    b[l] = swap ? x : y;
                }
            }
            double *__restrict a = v + j * kLanes;
            double *__restrict b = v + r * kLanes;
            for (std::size_t l = 0; l < w; ++l) {
                const bool swap = piv[l] == rr;
                const double x = a[l], y = b[l];
                a[l] = swap ? y : x;
                b[l] = swap ? x : y;
            }
        }

        const double *__restrict d = at(j, j);
        for (std::size_t r = j + 1; r < n; ++r) {
            const double *__restrict e = at(r, j);
            for (std::size_t l = 0; l < w; ++l) g[l] = e[l] / d[l];
            for (std::size_t c = j + 1; c < n; ++c) {
                const double *__restrict a = at(j, c);
                double *__restrict b = at(r, c);
                for (std::size_t l = 0; l < w; ++l) b[l] = b[l] - g[l] * a[l];
            }
            const double *__restrict a = v + j * kLanes;
            double *__restrict b = v + r * kLanes;
            for (std::size_t l = 0; l < w; ++l) b[l] = b[l] - g[l] * a[l];
        }
    }

    for (std::size_t r = n; r-- > 0;) {
        double *__restrict x = v + r * kLanes;
        for (std::size_t c = r + 1; c < n; ++c) {
            const double *__restrict a = at(r, c);
            const double *__restrict y = v + c * kLanes;
            for (std::size_t l = 0; l < w; ++l) x[l] = x[l] - a[l] * y[l];
        }
        const double *__restrict d = at(r, r);
        for (std::size_t l = 0; l < w; ++l) x[l] /= d[l];
    }

    std::size_t singular = 0;
    const double inf = std::numeric_limits<double>::infinity();
    for (std::size_t l = 0; l < w; ++l) {
        if (sing[l] == 0.0) continue;
        ++singular;
        for (std::size_t r = 0; r < n; ++r) v[r * kLanes + l] = inf;
    }
    return singular;
}

using LaneSolver = std::size_t (*)(double *, double *, std::size_t, std::size_t, double *);

LaneSolver lane_solver(std::size_t n) {
    switch (n) {
    case 1: return solve_lanes<1>;
    case 2: return solve_lanes<2>;
    case 3: return solve_lanes<3>;
    case 4: return solve_lanes<4>;
    case 5: return solve_lanes<5>;
    case 6: return solve_lanes<6>;
    default: return solve_lanes<0>;
    }
}

// Scratch layout of the chunked path: work matrices, right-hand sides, and
// the per-lane bookkeeping rows.
struct LaneWork {
    double *W, *v, *aux;
    LaneWork(double *work, std::size_t n)
        : W(work), v(work + n * n * kLanes), aux(work + (n * n + n) * kLanes) {}
};

} // namespace

std::size_t batch_solve_work_size(std::size_t n) {
    if (n <= kMaxLaneN) return (n * n + n + kAuxRows) * kLanes;
    return n * n + n;
}

std::size_t batch_solve_each(const double *A, const double *B, double *X, std::size_t m, std::size_t n,
                             double *work) {
    double *W = work, *v = work + n * n;
    std::size_t singular = 0;
    for (std::size_t i = 0; i < m; ++i) {
        for (std::size_t c = 0; c < n; ++c) v[c] = B[i + m * c];
        for (std::size_t t = 0; t < n * n; ++t) W[t] = A[i + m * t];
        if (!backslash(W, v, n, 1)) ++singular;
        for (std::size_t c = 0; c < n; ++c) X[i + m * c] = v[c];
    }
    return singular;
}

std::size_t batch_solve(const double *A, const double *B, double *X, std::size_t m, std::size_t n,
                        double *work) {
    if (m == 0 || n == 0) return 0;
    if (n > kMaxLaneN) return batch_solve_each(A, B, X, m, n, work);
    const LaneWork lw(work, n);
    const LaneSolver solve = lane_solver(n);
    std::size_t singular = 0;
    for (std::size_t i0 = 0; i0 < m; i0 += kLanes) {
        const std::size_t w = m - i0 < kLanes ? m - i0 : kLanes;
        for (std::size_t t = 0; t < n * n; ++t) std::memcpy(lw.W + t * kLanes, A + i0 + m * t, w * sizeof(double));
        for (std::size_t c = 0; c < n; ++c) std::memcpy(lw.v + c * kLanes, B + i0 + m * c, w * sizeof(double));
        singular += solve(lw.W, lw.v, n, w, lw.aux);
        for (std::size_t c = 0; c < n; ++c) std::memcpy(X + i0 + m * c, lw.v + c * kLanes, w * sizeof(double));
    }
    return singular;
}

void minmax_residual(const double *x, const double *xl, const double *xu, double *phi, std::size_t N) {
    for (std::size_t k = 0; k < N; ++k) active_bound(phi[k], x[k], xl[k], xu[k], &phi[k]);
}

std::size_t box_solve_each(const double *f, const double *J, const double *x, const double *xl,
                           const double *xu, std::size_t m, std::size_t n, double *D, double *phi,
                           bool negate, double *work) {
    double *W = work, *v = work + n * n;
    std::size_t singular = 0;
    for (std::size_t i = 0; i < m; ++i) {
        for (std::size_t t = 0; t < n * n; ++t) W[t] = 0.0;
        for (std::size_t j = 0; j < n; ++j) {
            const std::size_t k = i + m * j;
            if (active_bound(f[k], x[k], xl[k], xu[k], &v[j])) {
                if (phi) phi[k] = v[j];
                W[j + n * j] = -1.0;
            } else {
                v[j] = f[k];
                for (std::size_t c = 0; c < n; ++c) W[j + n * c] = J[i + m * (j + n * c)];
            }
        }
        if (!backslash(W, v, n, 1)) ++singular;
        for (std::size_t j = 0; j < n; ++j) D[i + m * j] = negate ? -v[j] : v[j];
    }
    return singular;
}

std::size_t box_solve(const double *f, const double *J, const double *x, const double *xl,
                      const double *xu, std::size_t m, std::size_t n, double *D, double *phi,
                      bool negate, double *work) {
    if (m == 0 || n == 0) return 0;
    if (n > kMaxLaneN) return box_solve_each(f, J, x, xl, xu, m, n, D, phi, negate, work);
    const LaneWork lw(work, n);
    const LaneSolver solve = lane_solver(n);
    std::size_t singular = 0;
    for (std::size_t i0 = 0; i0 < m; i0 += kLanes) {
        const std::size_t w = m - i0 < kLanes ? m - i0 : kLanes;
        for (std::size_t j = 0; j < n; ++j) {
            double *rhs = lw.v + j * kLanes;
            double *active = lw.aux; // one flag per lane for this component
            for (std::size_t l = 0; l < w; ++l) {
                const std::size_t k = i0 + l + m * j;
                const bool act = active_bound(f[k], x[k], xl[k], xu[k], &rhs[l]);
                if (act && phi) phi[k] = rhs[l];
                if (!act) rhs[l] = f[k];
                active[l] = act ? 1.0 : 0.0;
            }
            for (std::size_t c = 0; c < n; ++c) {
                double *row = lw.W + (j + n * c) * kLanes;
                const double *jac = J + i0 + m * (j + n * c);
                const double diag = c == j ? -1.0 : 0.0;
                for (std::size_t l = 0; l < w; ++l) row[l] = active[l] != 0.0 ? diag : jac[l];
            }
        }
        singular += solve(lw.W, lw.v, n, w, lw.aux);
        for (std::size_t j = 0; j < n; ++j) {
            const double *y = lw.v + j * kLanes;
            double *out = D + i0 + m * j;
            if (negate) {
                for (std::size_t l = 0; l < w; ++l) out[l] = -y[l];
            } else {
                std::memcpy(out, y, w * sizeof(double));
            }
        }
    }
    return singular;
}

} // namespace linalg
