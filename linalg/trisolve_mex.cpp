// x = trisolve(L, U, p, q, b): solves A*x = b from a factorisation
// A(p, q) = L*U. L and U may each be full or sparse; p and q are 1-based
// row and column permutations, or empty for none.
#include "mex.h"
#include "trisolve_kernels.hpp"

#include <cstddef>

namespace {

// Every entry, truncated toward zero, must name a row 1..n. NaN fails both
// comparisons and is refused too.
bool indices_in_range(const double *v, std::size_t count, std::size_t n) {
    const double upper = double(n) + 1.0;
    for (std::size_t j = 0; j < count; ++j)
        if (!(v[j] >= 1.0 && v[j] < upper)) return false;
    return true;
}

void solve_column(double *x, const mxArray *L, const mxArray *U, std::size_t n) {
    if (mxIsSparse(L))
        linalg::spforesub(x, mxGetPr(L), x, mxGetIr(L), mxGetJc(L), n);
    else
        linalg::foresub(x, mxGetPr(L), x, n);
    if (mxIsSparse(U))
        linalg::spbacksub(x, mxGetPr(U), x, mxGetIr(U), mxGetJc(U), n);
    else
        linalg::backsub(x, mxGetPr(U), x, n);
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 5) mexErrMsgTxt("Five arguments must be passed");
    if (nlhs > 1) mexErrMsgTxt("Only one output is produced by TriSolve");
    for (int a = 0; a < 5; ++a) {
        const bool factor = a < 2; // L and U may be sparse
        if (!mxIsDouble(prhs[a]) || (!factor && mxIsSparse(prhs[a])))
            mexErrMsgTxt("Input arguments of inproper type");
        if (mxIsComplex(prhs[a])) mexErrMsgTxt("Only real inputs are supported");
    }
    const mxArray *L = prhs[0], *U = prhs[1], *P = prhs[2], *Q = prhs[3], *B = prhs[4];
    const std::size_t n = mxGetM(L);
    if (mxGetN(L) != n) mexErrMsgTxt("First input must be square");
    if (mxGetM(U) != n || mxGetN(U) != n) mexErrMsgTxt("Second input must be square");
    if (mxGetM(B) != n) mexErrMsgTxt("Inputs are not comformable");

    plhs[0] = mxDuplicateArray(B);
    double *x = mxGetPr(plhs[0]);
    const std::size_t k = mxGetN(B);

    if (!mxIsEmpty(P)) {
        if (mxGetNumberOfElements(P) != n) mexErrMsgTxt("Row permutation index is the wrong size");
        const double *p = mxGetPr(P);
        if (!indices_in_range(p, n, n)) mexErrMsgTxt("Row permutation index is out of range");
        const double *b = mxGetPr(B);
        for (std::size_t c = 0; c < k; ++c)
            for (std::size_t j = 0; j < n; ++j) x[j + n * c] = b[std::size_t(p[j]) - 1 + n * c];
    }

    for (std::size_t c = 0; c < k; ++c) solve_column(x + n * c, L, U, n);

    if (!mxIsEmpty(Q)) {
        if (mxGetNumberOfElements(Q) != n) mexErrMsgTxt("Column permutation index is the wrong size");
        const double *q = mxGetPr(Q);
        if (!indices_in_range(q, n, n)) mexErrMsgTxt("Column permutation index is out of range");
        // One work vector for all columns: entries that a repeated index
        // leaves unwritten keep what the previous column put there.
        double *w = static_cast<double *>(mxCalloc(n, sizeof(double)));
        for (std::size_t c = 0; c < k; ++c) {
            double *xc = x + n * c;
            for (std::size_t j = 0; j < n; ++j) w[std::size_t(q[j]) - 1] = xc[j];
            for (std::size_t j = 0; j < n; ++j) xc[j] = w[j];
        }
        mxFree(w);
    }
}
