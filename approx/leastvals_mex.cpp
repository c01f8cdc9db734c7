// v = leastvals(X) or [v, j] = leastvals(X): the minimum of every row of X
// and the (first) column where it occurs, as doubles.
#include "mex.h"
#include "row_minima.hpp"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 1) mexErrMsgTxt("No input argument passed.");
    const mxArray *X = prhs[0];
    if (!mxIsDouble(X)) mexErrMsgTxt("Matrix must be double");
    if (mxIsSparse(X)) mexErrMsgTxt("Matrix must be full (not sparse)");
    if (mxIsComplex(X)) mexErrMsgTxt("Matrix must be real");
    const size_t m = mxGetM(X), n = mxGetN(X);
    plhs[0] = mxCreateDoubleMatrix(m, 1, mxREAL);
    if (nlhs >= 2) {
        plhs[1] = mxCreateDoubleMatrix(m, 1, mxREAL);
        approx::leastvals2(mxGetPr(X), mxGetPr(plhs[0]), mxGetPr(plhs[1]), m, n);
    } else {
        approx::leastvals(mxGetPr(X), mxGetPr(plhs[0]), m, n);
    }
}
