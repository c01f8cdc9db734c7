// Working storage of one call and the reading of integer controls.
#include "direct_search.hpp"

#include "direct_level_heap.hpp"

#include <cmath>

namespace direct {

namespace {

struct Layout {
    size_t third_pow, cache_slots, doubles, ints;
};

// Centres cached per call: about 256 KiB whatever n is, and never more
// slots than points.
constexpr size_t kCacheBytes = size_t(1) << 18;

Layout layout(long long n, long long X, long long W) {
    Layout l;
    l.third_pow = size_t((W - 1) / n + 2);
    l.cache_slots = 1;
    while (2 * l.cache_slots * size_t(n) * sizeof(double) <= kCacheBytes && l.cache_slots < size_t(X))
        l.cache_slots *= 2;
    // Heap nodes (X+1, 16 bytes each) come first, then the doubles.
    static_assert(sizeof(HeapNode) == 2 * sizeof(double), "heap nodes are two doubles wide");
    l.doubles = 2 * (size_t(X) + 1) + 3 * size_t(n) + l.third_pow + l.cache_slots * size_t(n);
    // selected, walk (X each); hull list (W); level tops (W+1); permutation
    // and long sides (n each); cache tags.
    l.ints = 2 * size_t(X) + size_t(W) + (size_t(W) + 1) + 2 * size_t(n) + l.cache_slots;
    return l;
}

} // namespace

size_t workspace_bytes(long long n, long long X, long long W) {
    const Layout l = layout(n, X, W);
    return l.doubles * sizeof(double) + l.ints * sizeof(int32_t);
}

Workspace workspace_partition(void *block, long long n, long long X, long long W) {
    const Layout l = layout(n, X, W);
    Workspace w;
    w.heap_nodes = block;
    double *d = static_cast<double *>(block) + 2 * (X + 1);
    w.side_best = d;
    w.f_plus = d + n;
    w.f_minus = d + 2 * n;
    w.third_pow = d + 3 * n;
    w.cache = w.third_pow + l.third_pow;
    w.cache_mask = (long long)l.cache_slots - 1;
    int32_t *i = reinterpret_cast<int32_t *>(static_cast<double *>(block) + l.doubles);
    w.selected = i;
    i += X;
    w.walk = i;
    i += X;
    w.hull_list = i;
    i += W;
    w.level_top = i;
    i += W + 1;
    w.perm = i;
    i += n;
    w.long_dims = i;
    i += n;
    w.cache_tag = i;
    // 3^-(k+1): start from the double nearest 1/3 and divide by 3 each
    // step, so every build produces the same step factors.
    w.third_pow[0] = 0.3333333333333333;
    for (size_t k = 1; k < l.third_pow; ++k) w.third_pow[k] = w.third_pow[k - 1] / 3.0;
    return w;
}

long long control_value(double v) {
    // Far beyond any count a search can reach, and exactly representable.
    const double limit = 4503599627370496.0; // 2^52
    if (std::isnan(v)) return 0;
    const double t = std::trunc(v);
    if (t > limit) return (long long)limit;
    if (t < -limit) return -(long long)limit;
    return (long long)t;
}

} // namespace direct
