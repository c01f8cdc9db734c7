// Kernel estimates of a density and its distribution function.
#ifndef SPECIAL_KERNEL_DENSITY_HPP
#define SPECIAL_KERNEL_DENSITY_HPP

#include <cstddef>

namespace special {

enum class Kernel { Epanechnikov, Gaussian };

// The kernel chosen by a selector value: Epanechnikov when it truncates
// toward zero to 1, Gaussian otherwise (NaN included).
Kernel kernel_from_selector(double ktype);

// Estimates at the m points x from the n data xi, with bandwidths relative
// to the sample standard deviation: h[0] alone when nh == 1 (or when h[0]
// is 0, which asks for the rule-of-thumb bandwidth), else h[j] for xi[j]
// (nh == n). Adds into f[0..m-1] and, when F is not null, F[0..m-1]; both
// must hold zeros on entry. With n = 0 nothing is added and h is not read;
// with n = 1 the spread of the sample is undefined and every estimate is NaN.
void kernel_density(const double *x, size_t m, const double *xi, size_t n, const double *h, size_t nh,
                    Kernel kernel, double *f, double *F);

} // namespace special

#endif
