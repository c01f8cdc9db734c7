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

} // namespace mexargs

#endif
