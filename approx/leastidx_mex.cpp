// j = leastidx(X): the (first) column of the minimum of every row of X, as
// uint32.
#include "mex.h"
#include "row_minima.hpp"

#include <cstdint>
#include <cstdlib>

void mexFunction(int, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 1) mexErrMsgTxt("No input argument passed.");
    const mxArray *X = prhs[0];
    // The data is read as full doubles, so other classes and sparse storage
    // are refused as leastvals refuses them.
    if (!mxIsDouble(X)) mexErrMsgTxt("Matrix must be double");
    if (mxIsSparse(X)) mexErrMsgTxt("Matrix must be full (not sparse)");
    const size_t m = mxGetM(X), n = mxGetN(X);
    if (mxIsComplex(X)) mexErrMsgTxt("Matrix must be real");
    if (m > 0 && n > UINT32_MAX) mexErrMsgTxt("Matrix has too many columns for uint32 column numbers");

    plhs[0] = mxCreateNumericMatrix(m, 1, mxUINT32_CLASS, mxREAL);
    if (m == 0) return;
    double *minima = static_cast<double *>(std::malloc(m * sizeof(double)));
    if (!minima) mexErrMsgTxt("Out of memory.");
    approx::leastidx(mxGetPr(X), static_cast<std::uint32_t *>(mxGetData(plhs[0])), m, n, minima);
    std::free(minima);
}
