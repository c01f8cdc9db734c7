// Per-level minima of the stored points, kept up to date between iterations.
//
// Each level holds a pairing heap of its points ordered by (value, index),
// linked through two arrays indexed by point number, so no memory is taken
// per point. The top of a level is its minimal value at the lowest index,
// and popping repeatedly yields the points that tie for it in index order:
// exactly the per-level minimum and tie list a full scan of the points in
// index order would build, at O(log) cost per division instead of O(nf) per
// iteration. Points whose value is NaN or at least kNoValue never enter.
#ifndef OPTIM_DIRECT_LEVEL_HEAP_HPP
#define OPTIM_DIRECT_LEVEL_HEAP_HPP

#include <cstdint>

namespace direct {

class LevelHeaps {
public:
    LevelHeaps(const double *fval, int32_t *child, int32_t *next, int32_t *top)
        : fval_(fval), child_(child), next_(next), top_(top) {}

    int32_t top(long level) const { return top_[level]; }
    double top_value(long level) const { return fval_[top_[level] - 1]; }

    void push(long level, int32_t p) {
        child_[p] = 0;
        next_[p] = 0;
        top_[level] = meld(top_[level], p);
    }

    int32_t pop(long level) {
        const int32_t r = top_[level];
        top_[level] = merge_children(child_[r]);
        child_[r] = 0;
        return r;
    }

private:
    bool before(int32_t a, int32_t b) const {
        const double fa = fval_[a - 1], fb = fval_[b - 1];
        return fa < fb || (fa == fb && a < b);
    }

    // Joins two heap roots; the loser becomes the first child of the winner.
    int32_t meld(int32_t a, int32_t b) {
        if (a == 0) return b;
        if (b == 0) return a;
        if (before(b, a)) {
            const int32_t t = a;
            a = b;
            b = t;
        }
        next_[b] = child_[a];
        child_[a] = b;
        return a;
    }

    // Two-pass pairing of a sibling list: meld neighbours left to right,
    // then fold the pairs right to left.
    int32_t merge_children(int32_t first) {
        int32_t pairs = 0; // stack of melded pairs, linked through next_
        while (first != 0) {
            const int32_t a = first, b = next_[a];
            if (b == 0) {
                next_[a] = pairs;
                pairs = a;
                break;
            }
            first = next_[b];
            const int32_t m = meld(a, b);
            next_[m] = pairs;
            pairs = m;
        }
        int32_t result = 0;
        while (pairs != 0) {
            const int32_t following = next_[pairs];
            next_[pairs] = 0;
            result = meld(result, pairs);
            pairs = following;
        }
        if (result != 0) next_[result] = 0;
        return result;
    }

    const double *fval_;
    int32_t *child_;
    int32_t *next_;
    int32_t *top_;
};

} // namespace direct

#endif
