#include "row_minima.hpp"

#include <limits>

namespace approx {

namespace {

// Shared scan; Column is the type of the column numbers.
template <typename Column>
void scan(const double *X, double *minima, Column *columns, std::size_t m, std::size_t n) {
    if (n == 0) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        for (std::size_t i = 0; i < m; ++i) minima[i] = nan;
        if (columns)
            for (std::size_t i = 0; i < m; ++i) columns[i] = Column(0);
        return;
    }
    for (std::size_t i = 0; i < m; ++i) minima[i] = X[i];
    if (columns)
        for (std::size_t i = 0; i < m; ++i) columns[i] = Column(1);
    for (std::size_t c = 1; c < n; ++c) {
        const double *col = X + m * c;
        if (columns) {
            const Column number = Column(c + 1);
            for (std::size_t i = 0; i < m; ++i)
                if (col[i] < minima[i]) {
                    minima[i] = col[i];
                    columns[i] = number;
                }
        } else {
            for (std::size_t i = 0; i < m; ++i)
                if (col[i] < minima[i]) minima[i] = col[i];
        }
    }
}

} // namespace

void leastvals(const double *X, double *minima, std::size_t m, std::size_t n) {
    scan<double>(X, minima, nullptr, m, n);
}

void leastvals2(const double *X, double *minima, double *columns, std::size_t m, std::size_t n) {
    scan(X, minima, columns, m, n);
}

void leastidx(const double *X, std::uint32_t *columns, std::size_t m, std::size_t n, double *scratch) {
    scan(X, scratch, columns, m, n);
}

} // namespace approx
