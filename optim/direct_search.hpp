// DIRECT (dividing rectangles) iterations on caller-owned search state.
//
// The state of a search lives in arrays the caller owns: one entry per
// sampled point (parent, offset from the parent's centre, dimension of that
// offset, level of the point's box, its value) and one entry per level (a
// size measure supplied by the caller and a per-level minimum written here),
// plus a 4-entry parameter vector and a 14-entry control/state vector. Point
// and level numbers are 1-based; the pointers below address element 0.
//
// The kernel knows nothing about the host: the objective is reached through
// a callback that evaluates it at the trial vector the kernel has filled in.
#ifndef OPTIM_DIRECT_SEARCH_HPP
#define OPTIM_DIRECT_SEARCH_HPP

#include <cstddef>
#include <cstdint>

namespace direct {

// Positions in the control/state vector (0-based offsets of its entries 1..14).
enum Control : int {
    kNumPoints = 0,     // nf, stored points (read, written)
    kIterations = 1,    // iterations done so far (read, written)
    kHighestLevel = 2,  // highest level in use (read, written)
    kBestPoint = 3,     // index of the best point (read, written)
    kStatus = 4,        // status of the call (written)
    kIterationLimit = 5,
    kPrintProgress = 6, // 1 prints one progress line per iteration
    kDimensions = 7,    // n
    kPointCapacity = 8, // X
    kLevelCapacity = 9, // W
    kSizeStopPoints = 10,
    kSizeStopLevel = 11,
    kFirstTieOnly = 12, // 1 divides only the lowest-index point of a level's minimum
    kSkipHull = 13,     // 1 skips the convex-hull pruning
    kControlCount = 14
};

// Positions in the parameter vector.
enum Param : int { kEpsilon = 0, kTarget = 1, kTargetTolerance = 2, kSign = 3, kParamCount = 4 };

// Status codes written to the control vector.
enum Status : int {
    kRunning = 0,
    kCapacityFull = 1,
    kLevelsExhausted = 2,
    kTargetReached = 3,
    kTargetGapSmall = 4,
    kBoxSmall = 5,
    kIterationLimitReached = 6
};

// Values at or above this never count as a level minimum.
constexpr double kNoValue = 1.7e308;

struct SearchArrays {
    const double *box_width;   // n
    const double *root_center; // n
    int32_t *parent;           // X
    double *offset;            // X
    int16_t *cut_dim;          // X
    int16_t *level;            // X
    double *fval;              // X
    const double *level_size;  // W
    double *level_min;         // W
    const double *params;      // 4
    double *intarray;          // 14
};

struct Callbacks {
    // Objective at the current trial vector, in the user's sign. May throw
    // (a host error abandons the search where it stands).
    double (*evaluate)(void *ctx);
    // One progress line: iteration count, best value in the user's sign, nf.
    void (*progress)(void *ctx, long long iteration, double fbest, long long nf);
    void *ctx;
};

// Working storage of one call, carved from one zero-filled block.
struct Workspace {
    int32_t *selected;   // X: boxes to divide in the current iteration
    int32_t *hull_list;  // W: candidate levels
    int32_t *walk;       // X: path from a point up to the root
    int32_t *perm;       // n: permutation sorted with the side values
    int32_t *long_dims;  // n: dimensions to trisect
    void *heap_nodes;    // X+1 nodes of the per-level heaps of points ordered by (value, index)
    int32_t *level_top;  // W+1: heap root of each level (0 = no point)
    double *side_best;   // n
    double *f_plus;      // n
    double *f_minus;     // n
    double *third_pow;   // (W-1)/n + 2: third_pow[k] = 3^-(k+1)
    // Direct-mapped cache of recently built centres: slot p & cache_mask
    // holds the centre of point cache_tag[slot] (0: empty).
    double *cache;       // (cache_mask + 1) * n
    int32_t *cache_tag;  // cache_mask + 1
    long long cache_mask;
};

// Bytes of the working block for n dimensions, X points and W levels.
size_t workspace_bytes(long long n, long long X, long long W);
// Partitions a zero-filled block of workspace_bytes(n, X, W) bytes.
Workspace workspace_partition(void *block, long long n, long long X, long long W);

// Integer value of a control entry: truncation toward zero, saturated far
// beyond every meaningful count (NaN reads as 0).
long long control_value(double v);

// Checks the controls and the stored points before anything is modified.
// Lengths are the element counts of the arrays as passed (box_width,
// root_center, then the five point arrays, then the two level arrays).
// Returns true when the state is usable; otherwise writes a message.
struct ArrayLengths {
    size_t box_width, root_center, parent, offset, cut_dim, level, fval, level_size, level_min;
};
bool check_state(const SearchArrays &a, const ArrayLengths &len, char *message, size_t message_size);

// Runs iterations until a status is set or the iteration limit is reached,
// then writes nf, iterations, highest level, best point and status back.
// x is the trial vector handed to the objective (at least n entries).
void run(double *x, const SearchArrays &a, const Workspace &w, const Callbacks &cb);

// Prunes idx[0..count-1] (1-based level numbers) to the lower convex
// hull of the points (x(level), y(level)); returns the new count.
long lconvhull(const double *x, const double *y, int32_t *idx, long count);

// Sorts a(lo..hi) ascending (1-based bounds) and applies the same exchanges
// to idx(lo..hi). The exchange pattern fixes the order of equal values.
void quicksortind(double *a, int32_t *idx, long lo, long hi);

} // namespace direct

#endif
