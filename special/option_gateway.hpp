// Argument handling shared by the euoption and amoption gateways: class and
// complexity checks, scalar expansion over the six or seven parameter
// arrays, and the put selectors.
#ifndef SPECIAL_OPTION_GATEWAY_HPP
#define SPECIAL_OPTION_GATEWAY_HPP

#include "mex.h"
#include "mex_args.hpp"

#include <cstddef>

namespace special {

// One value stream per parameter: element i of the expanded call reads
// data[i * stride] (stride 1 for an array of N elements, 0 for a scalar).
struct OptionInputs {
    const double *data[6];  // sigma, S, K, r, delta, T
    size_t stride[6];
    const unsigned char *put; // 1 where the put input equals 1.0
    size_t put_stride;
    size_t count;   // N, the number of output elements
    mxArray *value; // the first output, shaped like the first non-scalar input
};

namespace detail {
// An output shaped like `in`. Its values are overwritten, so a sparse input
// (whose storage does not hold every element) gives a full matrix of its size.
inline mxArray *shaped_like(const mxArray *in) {
    if (mxIsSparse(in)) return mxCreateDoubleMatrix(mxGetM(in), mxGetN(in), mxREAL);
    return mxDuplicateArray(in);
}

// The values of a parameter array; a sparse one is expanded to its full
// equivalent in host scratch memory (released by the caller's mxFree or at
// the end of the call).
inline const double *full_values(const mxArray *in, void **scratch) {
    *scratch = nullptr;
    if (!mxIsSparse(in)) return mxGetPr(in);
    const size_t n = mxGetNumberOfElements(in);
    double *buf = static_cast<double *>(mxCalloc(n > 0 ? n : 1, sizeof(double)));
    mexargs::sparse_to_full(in, buf);
    *scratch = buf;
    return buf;
}
} // namespace detail

// Checks and expands the inputs prhs[0 .. nrhs-1] (nrhs 6 or 7, already
// counted). Raises the class, complexity and size messages; the scratch
// blocks (at most seven) are listed in scratch[] for the caller to free.
inline OptionInputs read_option_inputs(int nrhs, const mxArray *prhs[], void *scratch[7]) {
    for (int k = 0; k < nrhs; ++k) {
        // Sparse inputs are admitted only as doubles (a sparse logical holds
        // no doubles to read).
        if (!mxIsDouble(prhs[k])) mexErrMsgTxt("Function not defined for variables of input class");
        if (mxIsComplex(prhs[k])) mexErrMsgTxt("X must be real.");
    }

    // Scalar expansion: only element counts are compared, and the output
    // takes the shape of the first input with more than one element. An
    // empty input beside a non-scalar one has nothing to repeat and is
    // refused; beside scalars it makes the result empty.
    OptionInputs in{};
    size_t N = mxGetNumberOfElements(prhs[0]);
    const mxArray *shape = N != 1 ? prhs[0] : nullptr;
    for (int k = 1; k < nrhs; ++k) {
        const size_t nk = mxGetNumberOfElements(prhs[k]);
        if (nk == N) continue;
        if (N == 1) {
            shape = prhs[k];
            N = nk;
        } else if (nk > 1 || nk == 0) {
            mexErrMsgTxt("Inputs are not size compatible");
        }
    }

    for (int k = 0; k < 7; ++k) scratch[k] = nullptr;
    for (int k = 0; k < 6; ++k) {
        in.data[k] = detail::full_values(prhs[k], &scratch[k]);
        in.stride[k] = mxGetNumberOfElements(prhs[k]) > 1 ? 1 : 0;
    }

    // Put selectors as bytes; without a seventh input, one zero byte (a call).
    const size_t np = nrhs > 6 ? mxGetNumberOfElements(prhs[6]) : 0;
    unsigned char *put = static_cast<unsigned char *>(mxCalloc(np > 0 ? np : 1, 1));
    if (nrhs > 6) {
        void *tmp = nullptr;
        const double *p = detail::full_values(prhs[6], &tmp);
        for (size_t i = 0; i < np; ++i) put[i] = p[i] == 1.0 ? 1 : 0;
        if (tmp) mxFree(tmp);
    }
    scratch[6] = put;
    in.put = put;
    in.put_stride = np > 1 ? 1 : 0;

    in.count = N;
    in.value = N == 1 ? mxCreateDoubleMatrix(1, 1, mxREAL) : detail::shaped_like(shape);
    return in;
}

inline void free_option_scratch(void *scratch[7]) {
    for (int k = 0; k < 7; ++k)
        if (scratch[k]) mxFree(scratch[k]);
}

} // namespace special

#endif
