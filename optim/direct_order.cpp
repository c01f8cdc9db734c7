// Hull pruning of the candidate levels and the index-carrying sort of the
// side values.
#include "direct_search.hpp"

namespace direct {

long lconvhull(const double *x, const double *y, int32_t *idx, long count) {
    if (count <= 2) return count;
    // Walk the middle entries; b stays when it lies on or below the chord
    // from its left neighbour a to its right neighbour c. After a removal the
    // previous entry is tested again against its new right neighbour. A NaN
    // makes the comparison false and removes b.
    long i = 2; // 1-based position of b
    while (i < count) {
        const int32_t a = idx[i - 2], b = idx[i - 1], c = idx[i];
        const double xa = x[a - 1], ya = y[a - 1];
        if ((x[b - 1] - xa) * (y[c - 1] - ya) >= (x[c - 1] - xa) * (y[b - 1] - ya)) {
            ++i;
        } else {
            for (long k = i; k < count; ++k) idx[k - 1] = idx[k];
            --count;
            if (i > 2) --i;
        }
    }
    return count;
}

void quicksortind(double *a, int32_t *idx, long lo, long hi) {
    // The two parts left by one partition pass are disjoint, so sorting the
    // smaller one first (recursively) and the larger one in this frame gives
    // the same exchanges as sorting left then right, with depth O(log n).
    for (;;) {
        const double pivot = a[(lo + hi) / 2 - 1];
        long i = lo, j = hi;
        do {
            while (pivot > a[i - 1]) ++i;
            while (a[j - 1] > pivot) --j;
            if (i <= j) {
                const double t = a[i - 1];
                a[i - 1] = a[j - 1];
                a[j - 1] = t;
                const int32_t u = idx[i - 1];
                idx[i - 1] = idx[j - 1];
                idx[j - 1] = u;
                ++i;
                --j;
            }
        } while (i <= j);
        const bool left = lo < j, right = i < hi;
        if (left && right) {
            if (j - lo < hi - i) {
                quicksortind(a, idx, lo, j);
                lo = i;
            } else {
                quicksortind(a, idx, i, hi);
                hi = j;
            }
        } else if (left) {
            hi = j;
        } else if (right) {
            lo = i;
        } else {
            return;
        }
    }
}

} // namespace direct
