// Y = digamma(X): psi of every element of a real array.
#include "digamma.hpp"
#include "mex.h"
#include "mex_args.hpp"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 1) mexErrMsgTxt("Not enough input arguments.");
    if (nrhs > 1) mexErrMsgTxt("Too many input arguments.");
    if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
    // Sparse arrays are admitted only as doubles: a sparse logical holds no
    // doubles to read.
    if (!mxIsDouble(prhs[0])) mexErrMsgTxt("Function not defined for variables of input class");
    if (mxIsComplex(prhs[0])) mexErrMsgTxt("X must be real.");

    // A sparse X is evaluated through its full equivalent (psi(0) is NaN).
    plhs[0] = mexargs::elementwise_output(prhs[0]);
    double *y = mxGetPr(plhs[0]);
    const size_t n = mxGetNumberOfElements(plhs[0]);
    for (size_t i = 0; i < n; ++i) y[i] = special::digamma(y[i]);
}
