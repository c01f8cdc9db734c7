// C = batchmatmul(A, B, n, p, q, r): the n products C_l = A_l * B_l of p-by-q
// and q-by-r matrices stored with the batch index running fastest.
#include "mex.h"

#include "batch_args.hpp"
#include "batch_matmul.hpp"

#include <cmath>

namespace {

// Sizes are exact integers in doubles only up to 2^53, far above any array
// the host can hold.
constexpr double kMaxSize = 9007199254740992.0;

size_t size_arg(const mxArray *a) {
    const double v = mxGetScalar(a);
    // Negative, NaN and infinite values have no size; converting them (or a
    // value beyond every size type) would be undefined.
    if (!(v >= 0.0) || std::isinf(v)) mexErrMsgTxt("n, p, q, and r must be finite and non-negative");
    if (v > kMaxSize) mexErrMsgTxt("n, p, q, and r are too large");
    return static_cast<size_t>(v); // truncation toward zero
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 6) mexErrMsgTxt("Six arguments must be passed");
    if (nlhs > 1) mexErrMsgTxt("BatchMatMul produces only one output");
    for (int k = 0; k < 6; ++k)
        if (!linalg::is_full_double(prhs[k])) mexErrMsgTxt("Input arguments of inproper type");
    for (int k = 2; k < 6; ++k)
        if (mxGetNumberOfElements(prhs[k]) != 1) mexErrMsgTxt("n, p, q, and r must be scalars");
    const size_t n = size_arg(prhs[2]), p = size_arg(prhs[3]), q = size_arg(prhs[4]), r = size_arg(prhs[5]);
    size_t count;
    if (!linalg::count_product(n, p, q, &count) || count != mxGetNumberOfElements(prhs[0]))
        mexErrMsgTxt("A is of improper size");
    if (!linalg::count_product(n, q, r, &count) || count != mxGetNumberOfElements(prhs[1]))
        mexErrMsgTxt("B is of improper size");
    // With q = 0 the inputs are empty and say nothing about n*p*r.
    if (!linalg::count_product(n, p, r, &count)) mexErrMsgTxt("BatchMatMul output is too large");

    mwSize *dims = static_cast<mwSize *>(mxCalloc(3, sizeof(mwSize)));
    dims[0] = n;
    dims[1] = p;
    dims[2] = r;
    plhs[0] = mxCreateNumericArray(3, dims, mxDOUBLE_CLASS, mxREAL);
    mxFree(dims);
    linalg::batch_matmul(mxGetPr(prhs[0]), mxGetPr(prhs[1]), mxGetPr(plhs[0]), n, p, q, r);
}
