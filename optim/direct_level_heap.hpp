// Per-level minima of the stored points, kept up to date between iterations.
//
// Each level holds a pairing heap of its points ordered by (value, index),
// kept in one node array indexed by point number (the value sits beside the
// links, so a comparison touches one cache line), so no memory is taken per
// point. The top of a level is its minimal value at the lowest index,
// and popping repeatedly yields the points that tie for it in index order:
// exactly the per-level minimum and tie list a full scan of the points in
// index order would build, at O(log) cost per division instead of O(nf) per
// iteration. Points whose value is NaN or at least kNoValue never enter.
#ifndef OPTIM_DIRECT_LEVEL_HEAP_HPP
#define OPTIM_DIRECT_LEVEL_HEAP_HPP

#include <cstdint>

namespace direct {

struct HeapNode {
    double value;
    int32_t child; // first child (0: none)
    int32_t next;  // next sibling (0: none)
};

class LevelHeaps {
public:
    LevelHeaps(HeapNode *nodes, int32_t *top) : node_(nodes), top_(top) {}

    int32_t top(long level) const { return top_[level]; }
    double top_value(long level) const { return node_[top_[level]].value; }

    void push(long level, int32_t p, double value) {
        node_[p].value = value;
        node_[p].child = 0;
        node_[p].next = 0;
        top_[level] = meld(top_[level], p);
    }

    int32_t pop(long level) {
        const int32_t r = top_[level];
        top_[level] = merge_children(node_[r].child);
        node_[r].child = 0;
        return r;
    }

private:
    bool before(int32_t a, int32_t b) const {
        const double fa = node_[a].value, fb = node_[b].value;
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
        node_[b].next = node_[a].child;
        node_[a].child = b;
        return a;
    }

    // Two-pass pairing of a sibling list: meld neighbours left to right,
    // then fold the pairs right to left.
    int32_t merge_children(int32_t first) {
        int32_t pairs = 0; // stack of melded pairs, linked through next_
        while (first != 0) {
            const int32_t a = first, b = node_[a].next;
            if (b == 0) {
                node_[a].next = pairs;
                pairs = a;
                break;
            }
            first = node_[b].next;
            const int32_t m = meld(a, b);
            node_[m].next = pairs;
            pairs = m;
        }
        int32_t result = 0;
        while (pairs != 0) {
            const int32_t following = node_[pairs].next;
            node_[pairs].next = 0;
            result = meld(result, pairs);
            pairs = following;
        }
        if (result != 0) node_[result].next = 0;
        return result;
    }

    HeapNode *node_;
    int32_t *top_;
};

} // namespace direct

#endif
