// DIRECT iterations: candidate selection, division of the selected boxes and
// the stopping tests, on the caller's state arrays.
#include "direct_search.hpp"

#include "direct_level_heap.hpp"

#include <cmath>

namespace direct {

namespace {

// Everything one call works with; point and level numbers are 1-based.
struct Search {
    const SearchArrays &a;
    const Workspace &w;
    const Callbacks &cb;
    double *x;
    LevelHeaps heaps;

    double sign;
    long long n, X, W;
    long long nf, hl, best;
    double fbest;

    Search(double *x_, const SearchArrays &a_, const Workspace &w_, const Callbacks &cb_)
        : a(a_), w(w_), cb(cb_), x(x_), heaps(static_cast<HeapNode *>(w_.heap_nodes), w_.level_top) {}

    double evaluate() { return sign * cb.evaluate(cb.ctx); }

    // A point takes part in the per-level minima only with a value below
    // kNoValue (never when NaN); levels past W are never searched again in
    // this call, since reaching them ends it.
    void enter(long long p) {
        const long long L = a.level[p - 1];
        const double v = a.fval[p - 1];
        if (L <= W && v < kNoValue) heaps.push(L, int32_t(p), v);
    }

    // Centre of point p into x(1..n): the root centre plus the offsets along
    // the path, added from the root's child down to p. The walk up stops at
    // the nearest ancestor whose centre is cached; that centre is exactly
    // the partial sum the full walk would have reached there, so the result
    // is the same to the last bit. Centres built on the way down are cached.
    void centre_of(long long p) {
        long long depth = 0, j = p;
        while (j > 1 && w.cache_tag[j & w.cache_mask] != j) {
            w.walk[depth++] = int32_t(j);
            j = a.parent[j - 1];
        }
        const double *from = j > 1 ? w.cache + (j & w.cache_mask) * n : a.root_center;
        for (long long d = 0; d < n; ++d) x[d] = from[d];
        while (depth > 0) {
            j = w.walk[--depth];
            x[a.cut_dim[j - 1] - 1] += a.offset[j - 1];
            double *slot = w.cache + (j & w.cache_mask) * n;
            for (long long d = 0; d < n; ++d) slot[d] = x[d];
            w.cache_tag[j & w.cache_mask] = int32_t(j);
        }
    }

    // Trisects every long side of box p, best side first. Returns false,
    // changing nothing, when the children would not fit in X.
    bool divide(long long p) {
        const long long L = a.level[p - 1];
        const long long r = (L - 1) % n;
        const long long c = n - r;
        if (nf + 2 * c > X) return false;

        if (r != 0) {
            // A box made by a division and not divided since keeps as long
            // sides exactly the dimensions of the sibling pairs after its own.
            for (long long k = 1; k <= c; ++k) w.long_dims[k - 1] = a.cut_dim[p + 2 * k - 1];
        } else {
            for (long long k = 1; k <= c; ++k) w.long_dims[k - 1] = int32_t(k);
        }
        const double q = w.third_pow[(L - 1) / n];

        centre_of(p);
        for (long long k = 0; k < c; ++k) {
            const long long d = w.long_dims[k] - 1;
            const double v = x[d];
            const double step = q * a.box_width[d];
            x[d] = v + step;
            const double fp = evaluate();
            w.f_plus[k] = fp;
            x[d] = v - step;
            const double fm = evaluate();
            w.f_minus[k] = fm;
            x[d] = v;
            w.side_best[k] = fp <= fm ? fp : fm; // NaN on either side gives f_minus
            w.perm[k] = int32_t(k + 1);
        }
        quicksortind(w.side_best, w.perm, 1, long(c));

        if (fbest > w.side_best[0]) {
            fbest = w.side_best[0];
            best = w.side_best[0] == w.f_plus[w.perm[0] - 1] ? nf + 1 : nf + 2;
        }

        // The side with the best value is cut first, so its pair keeps the
        // largest boxes (lowest level).
        for (long long j = 1; j <= c; ++j) {
            const int32_t k = w.perm[j - 1];
            const int32_t d = w.long_dims[k - 1];
            const double step = q * a.box_width[d - 1];
            const long long plus = nf + 2 * j - 1, minus = nf + 2 * j;
            const int16_t child_level = int16_t(L + j);
            a.parent[plus - 1] = int32_t(p);
            a.offset[plus - 1] = step;
            a.cut_dim[plus - 1] = int16_t(d);
            a.fval[plus - 1] = w.f_plus[k - 1];
            a.level[plus - 1] = child_level;
            a.parent[minus - 1] = int32_t(p);
            a.offset[minus - 1] = -step;
            a.cut_dim[minus - 1] = int16_t(d);
            a.fval[minus - 1] = w.f_minus[k - 1];
            a.level[minus - 1] = child_level;
        }
        const long long first = nf + 1;
        nf += 2 * c;
        a.level[p - 1] = int16_t(L + c);
        if (L + c > hl) hl = L + c;
        enter(p);
        for (long long child = first; child <= nf; ++child) enter(child);
        return true;
    }
};

} // namespace

void run(double *x, const SearchArrays &a, const Workspace &w, const Callbacks &cb) {
    Search s(x, a, w, cb);
    double *ia = a.intarray;
    const double epsilon = a.params[kEpsilon];
    const double tolerance = a.params[kTargetTolerance];
    s.sign = a.params[kSign];

    s.nf = control_value(ia[kNumPoints]);
    long long iterations = control_value(ia[kIterations]);
    s.hl = control_value(ia[kHighestLevel]);
    s.best = control_value(ia[kBestPoint]);
    const long long limit = control_value(ia[kIterationLimit]);
    const bool print = control_value(ia[kPrintProgress]) == 1;
    s.n = control_value(ia[kDimensions]);
    s.X = control_value(ia[kPointCapacity]);
    s.W = control_value(ia[kLevelCapacity]);
    const long long stop_points = control_value(ia[kSizeStopPoints]);
    const long long stop_level = control_value(ia[kSizeStopLevel]);
    const bool first_tie_only = control_value(ia[kFirstTieOnly]) == 1;
    const bool skip_hull = control_value(ia[kSkipHull]) == 1;

    // Maximisation works on the negated values; the caller hands them over
    // in its own sign and receives them in the search sign.
    if (s.sign == -1.0)
        for (long long p = 0; p < s.nf; ++p) a.fval[p] = -a.fval[p];

    s.fbest = a.fval[s.best - 1];
    const double target = a.params[kTarget] * s.sign;

    for (long long p = 1; p <= s.nf; ++p) s.enter(p);

    int status = kRunning;
    while (iterations < limit && status == kRunning) {
        ++iterations;

        for (long long k = 1; k <= s.hl; ++k)
            a.level_min[k - 1] = s.heaps.top(k) != 0 ? s.heaps.top_value(k) : kNoValue;

        const double product = epsilon * std::fabs(s.fbest);
        const double eps_abs = product >= 1e-8 ? product : 1e-8;

        // Candidate levels, from the best point's level down to the largest
        // boxes: the level of least slope heads the list, followed by every
        // larger-box level after it.
        long count = 0;
        double least = kNoValue;
        for (long long k = a.level[s.best - 1]; k >= 1; --k) {
            const double m = a.level_min[k - 1];
            if (m >= kNoValue) continue;
            const double slope = ((m - s.fbest) + eps_abs) / a.level_size[k - 1];
            if (least > slope) {
                least = slope;
                w.hull_list[0] = int32_t(k);
                count = 1;
            } else {
                w.hull_list[count++] = int32_t(k);
            }
        }
        if (!skip_hull) count = lconvhull(a.level_size, a.level_min, w.hull_list, count);

        // Smallest boxes first; within a level, the points of its minimal
        // value in index order.
        long long selected = 0;
        for (long i = 0; i < count; ++i) {
            const long long k = w.hull_list[i];
            const double m = s.heaps.top_value(k);
            w.selected[selected++] = s.heaps.pop(k);
            if (!first_tie_only)
                while (s.heaps.top(k) != 0 && s.heaps.top_value(k) == m) w.selected[selected++] = s.heaps.pop(k);
        }

        for (long long i = 0; i < selected; ++i)
            if (!s.divide(w.selected[i])) {
                status = kCapacityFull;
                break;
            }

        if (s.hl > s.W) {
            s.hl = s.W;
            status = kLevelsExhausted;
        }
        if (target >= s.fbest) status = kTargetReached;
        else if (tolerance > (s.fbest - target) / std::fabs(target)) status = kTargetGapSmall;
        if (a.level[s.best - 1] >= stop_level && s.nf >= stop_points) status = kBoxSmall;

        if (print) cb.progress(cb.ctx, iterations, s.sign * s.fbest, s.nf);
    }
    if (iterations >= limit) status = kIterationLimitReached;

    ia[kNumPoints] = double(s.nf);
    ia[kIterations] = double(iterations);
    ia[kHighestLevel] = double(s.hl);
    ia[kBestPoint] = double(s.best);
    ia[kStatus] = double(status);
}

} // namespace direct
