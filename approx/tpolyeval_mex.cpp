// Y = tpolyeval(c, x, n, a, b): tensor-product Chebyshev expansions (the
// columns of c) evaluated at the points (rows of x) of the box [a, b].
#include "chebyshev_eval.hpp"
#include "mex.h"

#include <cmath>

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 5) mexErrMsgTxt("Not enough input arguments.");
    if (nrhs > 5) mexErrMsgTxt("Too many input arguments.");
    if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
    for (int i = 0; i < 5; ++i) {
        if (!mxIsDouble(prhs[i]) || mxIsSparse(prhs[i]))
            mexErrMsgTxt("Function not defined for variables of input class");
        if (mxIsComplex(prhs[i])) mexErrMsgTxt("Arguments must be real.");
    }
    const mxArray *c = prhs[0], *x = prhs[1], *narr = prhs[2], *a = prhs[3], *b = prhs[4];
    const size_t m = mxGetM(x), d = mxGetN(x);
    if (mxGetNumberOfElements(narr) != d) mxErrMsgTxt("n has improper dimension");
    if (mxGetNumberOfElements(a) != d) mxErrMsgTxt("a has improper dimension");
    if (mxGetNumberOfElements(b) != d) mxErrMsgTxt("b has improper dimension");

    // A count that truncates to 0 or less (or is NaN) leaves no coefficients
    // in its dimension.
    const double *nv = mxGetPr(narr);
    for (size_t k = 0; k < d; ++k)
        if (!(std::trunc(nv[k]) >= 1.0)) mxErrMsgTxt("n must contain positive integers");

    // The product is compared with the row count of c step by step, so huge
    // counts are refused before they could overflow.
    const size_t N = mxGetM(c), p = mxGetN(c);
    size_t *n = static_cast<size_t *>(mxCalloc(d, sizeof(size_t)));
    size_t prod = 1;
    for (size_t k = 0; k < d; ++k) {
        const double nk = std::trunc(nv[k]);
        // 2^64 exceeds every row count; below it the integral nk converts exactly.
        if (nk >= 18446744073709551616.0) mxErrMsgTxt("c has improper number of rows");
        n[k] = size_t(nk);
        if (n[k] > N / prod) mxErrMsgTxt("c has improper number of rows");
        prod *= n[k];
    }
    if (prod != N) mxErrMsgTxt("c has improper number of rows");

    plhs[0] = mxCreateDoubleMatrix(m, p, mxREAL);
    size_t *counts = static_cast<size_t *>(mxCalloc(d, sizeof(size_t)));
    double *work = static_cast<double *>(mxCalloc(N * p, sizeof(double)));
    approx::chebyshev_eval(mxGetPr(c), N, p, mxGetPr(x), m, d, n, mxGetPr(a), mxGetPr(b), mxGetPr(plhs[0]),
                           work, counts);
    mxFree(work);
    mxFree(counts);
    mxFree(n);
}
