// Working storage of one call and the reading of integer controls.
#include "direct_search.hpp"

#include <cmath>

namespace direct {

namespace {

struct Layout {
    size_t third_pow, doubles, ints;
};

Layout layout(long long n, long long X, long long W) {
    Layout l;
    l.third_pow = size_t((W - 1) / n + 2);
    l.doubles = 3 * size_t(n) + l.third_pow;
    // selected, walk (X each); heap links (X+1 each); hull list (W); level
    // tops (W+1); permutation and long sides (n each).
    l.ints = 2 * size_t(X) + 2 * (size_t(X) + 1) + size_t(W) + (size_t(W) + 1) + 2 * size_t(n);
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
    double *d = static_cast<double *>(block);
    w.side_best = d;
    w.f_plus = d + n;
    w.f_minus = d + 2 * n;
    w.third_pow = d + 3 * n;
    int32_t *i = reinterpret_cast<int32_t *>(d + l.doubles);
    w.selected = i;
    i += X;
    w.walk = i;
    i += X;
    w.heap_child = i;
    i += X + 1;
    w.heap_next = i;
    i += X + 1;
    w.hull_list = i;
    i += W;
    w.level_top = i;
    i += W + 1;
    w.perm = i;
    i += n;
    w.long_dims = i;
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
