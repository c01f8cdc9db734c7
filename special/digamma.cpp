#include "digamma.hpp"

#include <cmath>
#include <limits>

namespace special {

double digamma(double x) {
    if (x <= 0.0) return std::numeric_limits<double>::quiet_NaN();

    // Shift up to at least 10, where seven terms of the asymptotic series
    // are accurate to double precision.
    int n = 0;
    double xs = x;
    if (x < 10.0) {
        n = 10 - static_cast<int>(std::floor(x));
        xs = x + n;
    }

    const double z = 1.0 / (xs * xs);
    const double series =
        (((((((-0.08333333333333333 * z + 0.021092796092796094) * z - 0.007575757575757576) * z +
             0.004166666666666667) * z - 0.003968253968253968) * z + 0.008333333333333333) * z -
          0.08333333333333333) * z);
    double psi = series + (std::log(xs) - 0.5 / xs);

    // Step down with psi(x) = psi(x + 1) - 1/x, largest term first. The
    // smallest point is x itself, not (x + n) - n: the shift rounds away up
    // to 8.9e-16 of x, a relative error of 8.9e-16/x in the dominant -1/x
    // term (1e-7 at x = 1e-8, and -Inf once x + 10 rounds to 10).
    if (n > 0) {
        psi = psi - 1.0 / x;
        --n;
    }
    for (; n > 0; --n) psi = psi - 1.0 / (xs - n);
    return psi;
}

} // namespace special
