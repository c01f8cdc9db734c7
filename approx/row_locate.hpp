// Location of the rows of one matrix among the rows of another.
#ifndef APPROX_ROW_LOCATE_HPP
#define APPROX_ROW_LOCATE_HPP

#include <cstddef>

namespace approx {

// For each row i of the m-by-n matrix A, the 1-based number of the row of the
// k-by-n matrix B equal to it (the first such row), or else of the row
// nearest to it in the sum of absolute differences (the first on ties),
// stored as a double in out[i]. Rows whose distances are all NaN or +Inf,
// and every row when B has no rows, get 1.
void rowlocate(const double *A, std::size_t m, const double *B, std::size_t k, std::size_t n, double *out);

} // namespace approx

#endif
