// Small helpers for plug-in gateways, written only against the conventional
// array interface so they build with any host.
#ifndef MEXHOST_MEX_ARGS_HPP
#define MEXHOST_MEX_ARGS_HPP

#include "mex.h"

#include <cstddef>

namespace mexargs {

// Writes the full column-major equivalent of a real sparse double matrix
// into out[0 .. m*n-1], reading only the stored entries.
inline void sparse_to_full(const mxArray *a, double *out) {
    const size_t m = mxGetM(a), n = mxGetN(a);
    for (size_t i = 0; i < m * n; ++i) out[i] = 0.0;
    const double *pr = mxGetPr(a);
    const mwIndex *ir = mxGetIr(a), *jc = mxGetJc(a);
    for (size_t j = 0; j < n; ++j)
        for (mwIndex k = jc[j]; k < jc[j + 1]; ++k) out[ir[k] + m * j] = pr[k];
}

// The output of an element-wise plug-in: a copy of the input, so it keeps
// the input's dimensions. A sparse input yields a full matrix of the same
// size holding the full equivalent of the input (values are filled in).
inline mxArray *elementwise_output(const mxArray *in) {
    if (!mxIsSparse(in)) return mxDuplicateArray(in);
    mxArray *out = mxCreateDoubleMatrix(mxGetM(in), mxGetN(in), mxREAL);
    sparse_to_full(in, mxGetPr(out));
    return out;
}

// The whole gateway of an element-wise plug-in Y = name(X): one real double
// input of any size (a sparse one evaluated through its full equivalent,
// giving a full result), at most one output with X's dimensions. The kernel
// f(x, y, n) writes y[i] from x[i] for i = 0 .. n-1 (x and y may coincide).
template <typename F> void elementwise_gateway(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[], F f) {
    if (nrhs < 1) mexErrMsgTxt("Not enough input arguments.");
    if (nrhs > 1) mexErrMsgTxt("Too many input arguments.");
    if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
    // Sparse arrays are admitted only as doubles: a sparse logical holds no
    // doubles to read.
    if (!mxIsDouble(prhs[0])) mexErrMsgTxt("Function not defined for variables of input class");
    if (mxIsComplex(prhs[0])) mexErrMsgTxt("X must be real.");

    plhs[0] = elementwise_output(prhs[0]);
    double *y = mxGetPr(plhs[0]);
    const double *x = mxIsSparse(prhs[0]) ? y : mxGetPr(prhs[0]);
    f(x, y, mxGetNumberOfElements(plhs[0]));
}

} // namespace mexargs

#endif
