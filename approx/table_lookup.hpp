// Interval lookup in a sorted table with a hunting search.
#ifndef APPROX_TABLE_LOOKUP_HPP
#define APPROX_TABLE_LOOKUP_HPP

#include <cstddef>

namespace approx {

// Length of the leading run of entries equal to t[0] (n >= 1).
std::size_t leading_run(const double *t, std::size_t n);

// Number of entries the search may return when values at the top end are
// clamped: the entries before the trailing run of entries equal to t[n-1].
// A table that is one single run has no such entry; the clamp then cannot
// apply and the whole table stays searchable (n is returned).
std::size_t searchable_length(const double *t, std::size_t n, bool clamp_top);

// For each of the m values x[i], the 1-based position of the last entry of
// the sorted table t[0..n-1] (n >= 1) that is <= x[i], as a double:
//   - at most L = searchable_length(t, n, clamp_top);
//   - 0 when x[i] < t[0], or leading_run(t, n) when clamp_below;
//   - NaN when x[i] is NaN.
// Each search hunts from the previous result within a few doubling steps, so
// sorted or clustered values cost O(1) each; once values turn out scattered,
// each is bisected over the table without waiting for the one before. Any
// value costs O(log n). For an unsorted table or one holding
// NaN the positions are still in 0..n and no entry outside t[0..n-1] is read.
// out may be x itself.
void lookup(const double *t, std::size_t n, const double *x, std::size_t m, bool clamp_below,
            bool clamp_top, double *out);

} // namespace approx

#endif
