// I = rowlocate(A, B): for every row of A the row of B equal to it, or else
// the nearest in the sum of absolute differences (1-based, first on ties).
#include "mex.h"
#include "row_locate.hpp"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 2) mexErrMsgTxt("Not enough input arguments.");
    if (nrhs > 2) mexErrMsgTxt("Too many input arguments.");
    if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
    for (int i = 0; i < 2; ++i) {
        if (!mxIsDouble(prhs[i]) || mxIsSparse(prhs[i]))
            mexErrMsgTxt("Function not defined for variables of input class");
        if (mxIsComplex(prhs[i])) mexErrMsgTxt("Arguments must be real.");
    }
    const mxArray *A = prhs[0], *B = prhs[1];
    const size_t n = mxGetN(A);
    if (mxGetN(B) != n) mexErrMsgTxt("Inputs must have equal numbers of columns.");
    const size_t m = mxGetM(A), k = mxGetM(B);
    plhs[0] = mxCreateDoubleMatrix(m, 1, mxREAL);
    approx::rowlocate(mxGetPr(A), m, mxGetPr(B), k, n, mxGetPr(plhs[0]));
}
