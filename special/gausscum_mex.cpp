// P = gausscum(X): standard normal CDF of every element of a real array.
#include "mex.h"
#include "mex_args.hpp"
#include "normal_cdf.hpp"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 1) mexErrMsgTxt("Not enough input arguments.");
    if (nrhs > 1) mexErrMsgTxt("Too many input arguments.");
    if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
    // Sparse arrays are admitted only as doubles: a sparse logical holds no
    // doubles to read.
    if (!mxIsDouble(prhs[0])) mexErrMsgTxt("Function not defined for variables of input class");
    if (mxIsComplex(prhs[0])) mexErrMsgTxt("X must be real.");

    // A sparse X is evaluated through its full equivalent (Phi(0) = 0.5, so
    // the result is full); the output then already holds the input values.
    plhs[0] = mexargs::elementwise_output(prhs[0]);
    double *p = mxGetPr(plhs[0]);
    const double *x = mxIsSparse(prhs[0]) ? p : mxGetPr(prhs[0]);
    const size_t n = mxGetNumberOfElements(plhs[0]);
    for (size_t i = 0; i < n; ++i) p[i] = special::gausscum(x[i]);
}
