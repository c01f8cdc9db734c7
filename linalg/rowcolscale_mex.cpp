// C = rowcolscale(X, Y): product with a diagonal matrix given as a vector.
// X a matrix: C = X*diag(Y). X a scalar: C = X*Y. X any other vector:
// C = diag(X)*Y. The result keeps the storage and the exact sparsity
// structure of the matrix operand; an entry scaled to zero stays stored.
#include "mex.h"
#include "mex_args.hpp"
#include "rowcolscale_kernels.hpp"

#include <cstddef>
#include <cstring>

namespace {

// The vector operand as full doubles: a sparse one is expanded into scratch
// (returned in *scratch for release) so that every position is read from
// its full equivalent.
const double *full_values(const mxArray *a, double **scratch) {
    if (!mxIsSparse(a)) return mxGetPr(a);
    *scratch = static_cast<double *>(mxCalloc(mxGetNumberOfElements(a) + 1, sizeof(double)));
    mexargs::sparse_to_full(a, *scratch);
    return *scratch;
}

// A result with the shape and storage of the matrix operand a: a full array
// of the same dimensions, or a sparse matrix with the same room, row indices
// and column starts. Values are left for the caller to write.
mxArray *result_like(const mxArray *a) {
    if (!mxIsSparse(a))
        return mxCreateNumericArray(mxGetNumberOfDimensions(a), mxGetDimensions(a), mxDOUBLE_CLASS, mxREAL);
    const std::size_t n = mxGetN(a);
    mxArray *c = mxCreateSparse(mxGetM(a), n, mxGetNzmax(a), mxREAL);
    const mwIndex *jc = mxGetJc(a);
    std::memcpy(mxGetJc(c), jc, (n + 1) * sizeof(mwIndex));
    std::memcpy(mxGetIr(c), mxGetIr(a), std::size_t(jc[n]) * sizeof(mwIndex));
    return c;
}

std::size_t stored_count(const mxArray *a) {
    return mxIsSparse(a) ? std::size_t(mxGetJc(a)[mxGetN(a)]) : mxGetNumberOfElements(a);
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 2) mexErrMsgTxt("Two parameters must be passed");
    if (nlhs > 1) mexErrMsgTxt("Only one output is created");
    const mxArray *X = prhs[0], *Y = prhs[1];
    if (!mxIsDouble(X)) mexErrMsgTxt("Inputs must be matrices");
    if (!mxIsDouble(Y)) mexErrMsgTxt("Inputs must be matrices");
    if (mxIsComplex(X) || mxIsComplex(Y)) mexErrMsgTxt("Inputs must be real");

    const std::size_t r = mxGetM(X), c = mxGetN(X);
    double *scratch = nullptr;
    if (r != 1 && c != 1) { // X*diag(Y)
        const std::size_t yr = mxGetM(Y), yc = mxGetN(Y);
        if (yr > 1 && yc > 1) mexErrMsgTxt("One of the inputs must be a vector");
        const std::size_t len = yc == 1 ? yr : yc;
        // A Y with no rows but c columns has no entries to scale with.
        if (len != c || mxGetNumberOfElements(Y) != c) mexErrMsgTxt("Inputs are not comformable");
        const double *y = full_values(Y, &scratch);
        mxArray *C = result_like(X);
        if (mxIsSparse(X))
            linalg::axdbs(mxGetPr(C), mxGetPr(X), mxGetJc(X), y, c);
        else
            linalg::axdbf(mxGetPr(C), mxGetPr(X), y, r, c);
        plhs[0] = C;
    } else if (r == 1 && c == 1) { // X*Y
        const double s = full_values(X, &scratch)[0];
        mxArray *C = result_like(Y);
        linalg::scale_values(mxGetPr(C), mxGetPr(Y), s, stored_count(Y));
        plhs[0] = C;
    } else { // diag(X)*Y
        // An empty X is a diagonal of length 0, whatever its orientation.
        const std::size_t len = mxIsEmpty(X) ? 0 : (r == 1 && c >= 2 ? c : r);
        if (mxGetM(Y) != len) mexErrMsgTxt("Inputs are not comformable");
        const double *x = full_values(X, &scratch);
        mxArray *C = result_like(Y);
        if (mxIsSparse(Y))
            linalg::daxbs(mxGetPr(C), mxGetPr(Y), mxGetIr(Y), x, stored_count(Y));
        else
            linalg::daxbf(mxGetPr(C), mxGetPr(Y), x, len, mxGetNumberOfElements(Y) / (len ? len : 1));
        plhs[0] = C;
    }
    mxFree(scratch);
}
