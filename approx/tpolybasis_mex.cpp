// B = tpolybasis(n, a, b, x): Chebyshev basis T0 ... T(n-1) at the points of
// the first column of x, mapped from [a, b] onto [-1, 1]; one row per point.
#include "chebyshev_basis.hpp"
#include "mex.h"

#include <cmath>

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 4) mexErrMsgTxt("Four arguments must be passed");
    if (nlhs > 1) mexErrMsgTxt("tpolybasis produces only one output");
    // Complex input is refused too: the basis would silently belong to the
    // real parts of the points.
    for (int i = 0; i < 4; ++i)
        if (!mxIsDouble(prhs[i]) || mxIsSparse(prhs[i]) || mxIsComplex(prhs[i]))
            mexErrMsgTxt("Input arguments of inproper type");
    for (int i = 0; i < 3; ++i)
        if (mxGetNumberOfElements(prhs[i]) != 1) mexErrMsgTxt("n, a and b must be scalars");
    const double nd = std::trunc(mxGetScalar(prhs[0]));
    if (!(nd >= 1.0)) mexErrMsgTxt("n must be a positive integer");
    // Beyond 2^53 the count is no longer an exact integer, and far beyond any
    // matrix that could be created.
    if (nd > 9007199254740992.0) mexErrMsgTxt("n is too large");
    const size_t n = size_t(nd);

    const double a = mxGetScalar(prhs[1]), b = mxGetScalar(prhs[2]);
    const mxArray *x = prhs[3];
    const size_t m = mxGetM(x);
    // The points are the first m stored values; an x with rows but no
    // columns has none to read.
    if (m > 0 && mxGetNumberOfElements(x) == 0) mexErrMsgTxt("x must have at least one column");

    plhs[0] = mxCreateDoubleMatrix(m, n, mxREAL);
    approx::chebyshev_basis(n, a, b, mxGetPr(x), m, mxGetPr(plhs[0]));
}
