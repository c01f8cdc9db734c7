// Batched solves of many small independent systems in the batch layout:
// vector i of a batch of m vectors of length n is row i of an m-by-n matrix,
// and entry (r, c) of matrix i of a batch of n-by-n matrices lies at offset
// i + m*(r + n*c) (the batch index runs fastest).
//
// Every system is solved with exactly the arithmetic of linalg::backslash,
// so results are bit-identical to solving the systems one by one. Small
// systems are solved several neighbours at a time in the lanes of a vector
// register (the batch index runs fastest, so their entries are adjacent in
// memory); each system keeps its own pivot choices.
#ifndef LINALG_BATCH_SOLVE_HPP
#define LINALG_BATCH_SOLVE_HPP

#include <cstddef>

namespace linalg {

// Number of doubles of scratch memory the batched routines below need for
// systems of size n (the caller allocates it; contents need not be set).
std::size_t batch_solve_work_size(std::size_t n);

// X(i, :) solves A_i * x = B(i, :)' for i = 0..m-1. B and X are m-by-n
// (X may alias B), A holds m*n*n doubles in the batch layout. A singular
// system gives a row of +Inf. Returns the number of singular systems.
// `lanes` chooses the number of systems per vector register: 0 for the
// widest the processor has (8 with AVX-512, 4 with AVX2, else 2), or 2, 4
// or 8 (falling back to the widest available); every choice gives the same
// results.
std::size_t batch_solve(const double *A, const double *B, double *X, std::size_t m, std::size_t n,
                        double *work, std::size_t lanes = 0);

// The min-max residual of one component with function value f at point x
// and bounds xl, xu: stores xl - x or xu - x in *phi and returns true when
// that bound is active, returns false (interior) otherwise. The differences
// are rounded to double before the comparisons; a NaN makes a comparison
// false, so a NaN f is always interior.
inline bool active_bound(double f, double x, double xl, double xu, double *phi) {
    const double dl = xl - x;
    if (f <= dl) {
        *phi = dl;
        return true;
    }
    const double du = xu - x;
    if (f >= du) {
        *phi = du;
        return true;
    }
    return false;
}

// Replaces every one of the N values of phi (function values on entry) by
// its min-max residual.
void minmax_residual(const double *x, const double *xl, const double *xu, double *phi, std::size_t N);

// For m box-constrained problems in n variables (all vectors m-by-n, J in
// the matrix batch layout), solves the system of the min-max residual: row j
// of problem i is -e_j with right-hand side xl - x or xu - x when a bound is
// active, else row j of J_i with right-hand side f(i, j). The solution, or
// its negation when `negate` is set, is stored as row i of D. When phi is
// not null, the residual of every active component is stored there (the
// interior ones are left untouched). Returns the number of singular systems;
// a singular system's row of D is +Inf (-Inf when negated). `lanes` as for
// batch_solve.
std::size_t box_solve(const double *f, const double *J, const double *x, const double *xl,
                      const double *xu, std::size_t m, std::size_t n, double *D, double *phi,
                      bool negate, double *work, std::size_t lanes = 0);

// The same two routines, solving one system at a time with linalg::backslash.
// They define the results that the batched forms reproduce bit for bit.
std::size_t batch_solve_each(const double *A, const double *B, double *X, std::size_t m, std::size_t n,
                             double *work);
std::size_t box_solve_each(const double *f, const double *J, const double *x, const double *xl,
                           const double *xu, std::size_t m, std::size_t n, double *D, double *phi,
                           bool negate, double *work);

} // namespace linalg

#endif
