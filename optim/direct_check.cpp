// Validation of the controls, array lengths and stored points of a search
// before a call touches anything. A state the search itself produced from a
// proper start always passes; anything else would make the iterations read
// or write outside the caller's arrays.
#include "direct_search.hpp"

#include <cmath>
#include <cstdio>

namespace direct {

namespace {

bool fail(char *message, size_t size, const char *text) {
    std::snprintf(message, size, "%s", text);
    return false;
}

} // namespace

bool check_state(const SearchArrays &a, const ArrayLengths &len, char *message, size_t size) {
    static const int read_entries[] = {1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    for (int k : read_entries)
        if (std::isnan(a.intarray[k - 1])) {
            std::snprintf(message, size, "intarray(%d) must not be NaN.", k);
            return false;
        }

    const long long n = control_value(a.intarray[kDimensions]);
    const long long X = control_value(a.intarray[kPointCapacity]);
    const long long W = control_value(a.intarray[kLevelCapacity]);
    if (n < 1 || n > 32767) return fail(message, size, "intarray(8), the number of dimensions, must be between 1 and 32767.");
    if (X < 1 || X > 2147483647LL)
        return fail(message, size, "intarray(9), the point capacity, must be between 1 and 2147483647.");
    // Dividing a box at level L <= W writes levels up to the next cube
    // level after it; the largest of those must fit in 16 bits.
    if (W < 1 || W > 32767 || ((W - 1) / n + 1) * n + 1 > 32767)
        return fail(message, size,
                    "intarray(10), the level capacity, must be at least 1 and small enough that the levels of "
                    "divided boxes stay within 32767.");

    const struct {
        size_t have;
        long long need;
        const char *text;
    } lengths[] = {
        {len.box_width, n, "box_width has fewer than intarray(8) elements."},
        {len.root_center, n, "root_center has fewer than intarray(8) elements."},
        {len.parent, X, "parent has fewer than intarray(9) elements."},
        {len.offset, X, "offset has fewer than intarray(9) elements."},
        {len.cut_dim, X, "cut_dim has fewer than intarray(9) elements."},
        {len.level, X, "level has fewer than intarray(9) elements."},
        {len.fval, X, "fval has fewer than intarray(9) elements."},
        {len.level_size, W, "level_size has fewer than intarray(10) elements."},
        {len.level_min, W, "level_min has fewer than intarray(10) elements."},
    };
    for (const auto &l : lengths)
        if (l.have < (unsigned long long)l.need) return fail(message, size, l.text);

    // Arrays written in place must not share memory with any other state
    // array: a level written through one name would be read back as a cut
    // dimension through the other, and used as an index. (Read-only arrays
    // may share data among themselves.)
    const struct {
        const void *data;
        size_t bytes;
        bool written;
        const char *name;
    } regions[] = {
        {a.box_width, len.box_width * sizeof(double), false, "box_width"},
        {a.root_center, len.root_center * sizeof(double), false, "root_center"},
        {a.parent, len.parent * sizeof(int32_t), true, "parent"},
        {a.offset, len.offset * sizeof(double), true, "offset"},
        {a.cut_dim, len.cut_dim * sizeof(int16_t), true, "cut_dim"},
        {a.level, len.level * sizeof(int16_t), true, "level"},
        {a.fval, len.fval * sizeof(double), true, "fval"},
        {a.level_size, len.level_size * sizeof(double), false, "level_size"},
        {a.level_min, len.level_min * sizeof(double), true, "level_min"},
        {a.params, kParamCount * sizeof(double), false, "params"},
        {a.intarray, kControlCount * sizeof(double), true, "intarray"},
    };
    for (size_t i = 0; i < sizeof regions / sizeof regions[0]; ++i)
        for (size_t j = i + 1; j < sizeof regions / sizeof regions[0]; ++j) {
            if (!regions[i].written && !regions[j].written) continue;
            const uintptr_t bi = uintptr_t(regions[i].data), bj = uintptr_t(regions[j].data);
            if (bi < bj + regions[j].bytes && bj < bi + regions[i].bytes) {
                std::snprintf(message, size, "%s and %s must not share data.", regions[i].name, regions[j].name);
                return false;
            }
        }

    const long long nf = control_value(a.intarray[kNumPoints]);
    const long long hl = control_value(a.intarray[kHighestLevel]);
    const long long best = control_value(a.intarray[kBestPoint]);
    if (nf < 1 || nf > X)
        return fail(message, size, "intarray(1), the number of stored points, must be between 1 and intarray(9).");
    if (hl < 1 || hl > W)
        return fail(message, size, "intarray(3), the highest level in use, must be between 1 and intarray(10).");
    if (best < 1 || best > nf)
        return fail(message, size, "intarray(4), the best point, must be between 1 and intarray(1).");

    for (long long p = 1; p <= nf; ++p) {
        const int L = a.level[p - 1];
        if (L < 1 || L > hl) {
            std::snprintf(message, size, "Stored point %lld has level %d, outside 1 to intarray(3).", p, L);
            return false;
        }
        // The long sides of a box not divided since it was made are named by
        // the sibling pairs stored after it; they must exist.
        const long long r = (L - 1) % n;
        if (r != 0 && p + 2 * (n - r) > nf) {
            std::snprintf(message, size,
                          "Stored point %lld has a box with short sides but lacks the sibling points after it.", p);
            return false;
        }
        if (p == 1) continue; // the root's parent and cut dimension are never read
        const long long parent = a.parent[p - 1];
        if (parent < 1 || parent >= p) {
            std::snprintf(message, size, "Stored point %lld has parent %lld; a parent must be an earlier point.", p,
                          parent);
            return false;
        }
        const int d = a.cut_dim[p - 1];
        if (d < 1 || d > n) {
            std::snprintf(message, size, "Stored point %lld has cut dimension %d, outside 1 to intarray(8).", p, d);
            return false;
        }
    }
    return true;
}

} // namespace direct
