// S = binsum(V, IND): S(i, c) is the sum of the values of row i of V whose
// index in IND (truncated toward zero) is c; S is m-by-m for m rows.
#include "bin_sum.hpp"
#include "mex.h"

#include <cstdint>

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 2) mexErrMsgTxt("Two arguments must be passed");
    const mxArray *V = prhs[0], *IND = prhs[1];
    if (!mxIsDouble(V) || !mxIsDouble(IND)) mexErrMsgTxt("Input arguments of inproper type");
    if (mxIsSparse(V) || mxIsSparse(IND)) mexErrMsgTxt("Input arguments of inproper type");
    // The imaginary parts would be dropped without notice.
    if (mxIsComplex(V) || mxIsComplex(IND)) mexErrMsgTxt("Input arguments of inproper type");
    if (nlhs > 1) mexErrMsgTxt("Only one output is returned by binsum");
    const size_t m = mxGetM(V), n = mxGetN(V);
    if (mxGetM(IND) != m || mxGetN(IND) != n) mexErrMsgTxt("Inputs must be the same size");
    // The result is m*m doubles even for few columns; a row count whose
    // square does not fit in memory addresses is refused before allocating.
    if (m > 0 && m > SIZE_MAX / sizeof(double) / m) mexErrMsgTxt("The result of binsum is too large to allocate");

    plhs[0] = mxCreateDoubleMatrix(m, m, mxREAL);
    if (!approx::binsum(mxGetPr(V), mxGetPr(IND), m, n, mxGetPr(plhs[0])))
        mexErrMsgTxt("IND contains improper values");
}
