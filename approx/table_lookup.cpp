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
constexpr Index kNear = Index(1) << kHuntProbes;
// The values are taken as scattered once those found far from the one
// before (see search_all) outnumber the near ones by kScattered; each is then
// bisected over the whole table, a search that does not wait for the previous
// result, so the processor can overlap the memory accesses of consecutive
// values. The same margin of near values brings the hunt back.
constexpr int kScattered = 4;
// Tables of this many entries (32 KiB) or more outgrow the first-level cache.
constexpr std::size_t kPrefetchFrom = 4096;

inline void prefetch(const double *p) {
#if defined(__GNUC__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

// Largest index in [lo, hi) whose entry is <= v, given t[lo] <= v (or
// lo == -1, nothing known below) and v < t[hi] (or hi is the end of the
// searchable part). The loop count depends only on hi - lo and the update is
// a conditional move, so the search does not pay for mispredicted branches.
// Every probe lies in [lo + 1, hi - 1].
// Without a branch to speculate on, each probe would wait for the one before
// it to arrive from memory; in tables larger than the first-level cache
// (Prefetch) both candidates of the next step are fetched early, until they
// share a cache line.
template <bool Prefetch>
inline Index bisect(const double *t, Index lo, Index hi, double v) {
    Index base = lo, len = hi - lo;
    if (Prefetch) {
        while (len > 16) {
            const Index half = len >> 1, next = (len - half) >> 1;
            prefetch(t + (base + next));
            prefetch(t + (base + half + next));
            base = (t[base + half] <= v) ? base + half : base;
            len -= half;
        }
    }
    while (len > 1) {
        const Index half = len >> 1;
        base = (t[base + half] <= v) ? base + half : base;
        len -= half;
    }
    return base;
}

// Index in [-1, L) of the last searchable entry <= v, starting from the
// hunt position j (0 <= j < L).
template <bool Prefetch>
inline Index hunt(const double *t, Index L, Index j, double v) {
    if (t[j] <= v) {
        // Walk up: probes at j+1, j+3, j+7, ... until one exceeds v.
        Index lo = j, step = 1;
        for (int k = 0; k < kHuntProbes; ++k) {
            const Index probe = lo + step;
            if (probe >= L) return bisect<Prefetch>(t, lo, L, v);
            if (v < t[probe]) return bisect<Prefetch>(t, lo, probe, v);
            lo = probe;
            step += step;
        }
        return bisect<Prefetch>(t, lo, L, v);
    }
    // Walk down: probes at j-1, j-3, j-7, ... until one is <= v.
    Index hi = j, step = 1;
    for (int k = 0; k < kHuntProbes; ++k) {
        const Index probe = hi - step;
        if (probe < 0) return bisect<Prefetch>(t, -1, hi, v);
        if (t[probe] <= v) return bisect<Prefetch>(t, probe, hi, v);
        hi = probe;
        step += step;
    }
    return bisect<Prefetch>(t, -1, hi, v);
}

// The searches of lookup over the searchable part t[0..L-1], L >= 2.
template <bool Prefetch>
void search_all(const double *t, Index L, const double *x, std::size_t m, double below, double *out) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // A hunt over d entries costs about 2*log2(d) probes, some with
    // mispredicted branches; a bisection of the table log2(L) probes without
    // any. Values count as near when found within about sqrt(L)/2 entries of
    // the previous one (and within reach of the bounded hunt).
    Index near = 2;
    while (near < kNear && 4 * near * near < L) near += near;
    Index j = 0;   // hunt position: where the previous value was found
    int score = 0; // rises with each value found far from the one before
    for (std::size_t i = 0; i < m; ++i) {
        const double v = x[i];
        if (v != v) {
            out[i] = nan; // fails every comparison; the hunt position is kept
            continue;
        }
        if (score < kScattered && t[j] <= v && (j + 1 == L || v < t[j + 1])) {
            // Still in the interval of the previous value (the common case
            // for sorted input): the hunt would return j at once.
            score -= score > 0;
            out[i] = double(j + 1);
            continue;
        }
        const Index lo = score < kScattered ? hunt<Prefetch>(t, L, j, v) : bisect<Prefetch>(t, -1, L, v);
        // Kept free of branches: a branch on lo would be mispredicted for
        // scattered values and discard the searches started after it.
        // (-near < lo - j < near as one unsigned comparison.)
        const int far = std::size_t(lo - j + near - 1) >= std::size_t(2 * near - 1);
        score += far - (score > 0) * (1 - far) - (score == 2 * kScattered) * far;
        out[i] = lo < 0 ? below : double(lo + 1);
        j = lo < 0 ? 0 : lo;
    }
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

    if (L >= kPrefetchFrom)
        search_all<true>(t, Index(L), x, m, below, out);
    else
        search_all<false>(t, Index(L), x, m, below, out);
}

} // namespace approx
