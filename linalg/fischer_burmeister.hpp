// Smoothed min-max residual of box-constrained (mixed complementarity)
// problems: two Fischer-Burmeister functions composed component by component,
// with the partial derivatives a Newton method needs.
#ifndef LINALG_FISCHER_BURMEISTER_HPP
#define LINALG_FISCHER_BURMEISTER_HPP

#include <cstddef>

namespace linalg {

// phi_k = U(b_k - x_k, L(a_k - x_k, f_k)) for k = 0..N-1, where
// L(p, q) = p + q + sqrt(p^2 + q^2) and U(p, q) = p + q - sqrt(p^2 + q^2).
// An infinite bound (either sign) is absent and its stage passes the value
// through. a and b hold na and nb values, each N or 1 (one bound for every
// component). When dphi_f is not null it receives d phi / d f; when dphi_b
// is not null it receives d phi/d(a - x) + d phi/d(b - x). Any output may
// alias f.
void fischer_burmeister(const double *x, const double *a, std::size_t na, const double *b, std::size_t nb,
                        const double *f, std::size_t N, double *phi, double *dphi_f, double *dphi_b);

} // namespace linalg

#endif
