// X = gaussquant(P): standard normal quantile of every element of a real array.
#include "mex.h"
#include "mex_args.hpp"
#include "normal_quantile.hpp"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 1) mexErrMsgTxt("Not enough input arguments.");
    if (nrhs > 1) mexErrMsgTxt("Too many input arguments.");
    if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
    // Sparse arrays are admitted only as doubles: a sparse logical holds no
    // doubles to read.
    if (!mxIsDouble(prhs[0])) mexErrMsgTxt("Function not defined for variables of input class");
    if (mxIsComplex(prhs[0])) mexErrMsgTxt("X must be real.");

    // The output starts as a (full) copy of P and is transformed in place;
    // a sparse P gives the full result (the quantile of 0 is -Inf).
    plhs[0] = mexargs::elementwise_output(prhs[0]);
    double *x = mxGetPr(plhs[0]);
    const size_t n = mxGetNumberOfElements(plhs[0]);
    for (size_t i = 0; i < n; ++i) x[i] = special::gaussquant(x[i]);
}
