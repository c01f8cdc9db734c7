#include "table_lookup.hpp"

#include <cstddef>
#include <limits>

namespace approx {

namespace {

using Index = std::ptrdiff_t;

// Doubling probes made from the previous position before giving up on the
// neighbourhood and bisecting the rest of the table: enough to bracket a
// value up to 2^kHuntProbes - 1 entries away.
constexpr int kHuntProbes = 5;

// Largest index in [lo, hi) whose entry is <= v, given t[lo] <= v (or
// lo == -1, nothing known below) and v < t[hi] (or hi is the end of the
// searchable part). The loop count depends only on hi - lo and the update is
// a conditional move, so the search does not pay for mispredicted branches.
// Every probe lies in [lo + 1, hi - 1].
inline Index bisect(const double *t, Index lo, Index hi, double v) {
    Index base = lo, len = hi - lo;
    while (len > 1) {
        const Index half = len >> 1;
        base = (t[base + half] <= v) ? base + half : base;
        len -= half;
    }
    return base;
}

// Index in [-1, L) of the last searchable entry <= v, starting from the
// hunt position j (0 <= j < L).
inline Index hunt(const double *t, Index L, Index j, double v) {
    if (t[j] <= v) {
        // Walk up: probes at j+1, j+3, j+7, ... until one exceeds v.
        Index lo = j, step = 1;
        for (int k = 0; k < kHuntProbes; ++k) {
            const Index probe = lo + step;
            if (probe >= L) return bisect(t, lo, L, v);
            if (v < t[probe]) return bisect(t, lo, probe, v);
            lo = probe;
            step += step;
        }
        return bisect(t, lo, L, v);
    }
    // Walk down: probes at j-1, j-3, j-7, ... until one is <= v.
    Index hi = j, step = 1;
    for (int k = 0; k < kHuntProbes; ++k) {
        const Index probe = hi - step;
        if (probe < 0) return bisect(t, -1, hi, v);
        if (t[probe] <= v) return bisect(t, probe, hi, v);
        hi = probe;
        step += step;
    }
    return bisect(t, -1, hi, v);
}

} // namespace

std::size_t leading_run(const double *t, std::size_t n) {
    std::size_t F = 1;
    while (F < n && t[F] == t[0]) ++F;
    return F;
}

std::size_t searchable_length(const double *t, std::size_t n, bool clamp_top) {
    if (!clamp_top) return n;
    std::size_t L = n - 1; // t[n-1] opens the trailing run
    while (L > 0 && t[L - 1] == t[n - 1]) --L;
    return L > 0 ? L : n;
}

void lookup(const double *t, std::size_t n, const double *x, std::size_t m, bool clamp_below,
            bool clamp_top, double *out) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::size_t F = leading_run(t, n);
    const std::size_t L = searchable_length(t, n, clamp_top);
    const double below = clamp_below ? double(F) : 0.0;

    if (L <= F) {
        // The searchable part holds a single value: no search needed.
        for (std::size_t i = 0; i < m; ++i) {
            const double v = x[i];
            out[i] = v != v ? nan : (v >= t[0] ? double(L) : below);
        }
        return;
    }

    Index j = 0;
    for (std::size_t i = 0; i < m; ++i) {
        const double v = x[i];
        if (v != v) {
            out[i] = nan; // fails every comparison; the hunt position is kept
            continue;
        }
        const Index lo = hunt(t, Index(L), j, v);
        out[i] = lo < 0 ? below : double(lo + 1);
        j = lo < 0 ? 0 : lo;
    }
}

} // namespace approx
