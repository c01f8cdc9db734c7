// Y = rowlowstack(X, m, n): for every row of X, read as an m-by-n matrix Z
// in column order, the column-order stack of Z*Z' with its diagonal halved.
// Y is L-by-m(m+1)/2 for an X of L rows and m*n columns.
#include "lowstack.hpp"
#include "mex.h"
#include "rowlowstack_kernels.hpp"
#include "size_arith.hpp"

#include <cmath>
#include <cstddef>

namespace {

const char *const kTooLarge = "Requested array exceeds the maximum possible size.";

double *scratch(std::size_t rows, std::size_t cols) {
    std::size_t count;
    if (!linalg::checked_mul(rows, cols, &count)) mexErrMsgTxt(kTooLarge);
    return static_cast<double *>(mxCalloc(count, sizeof(double)));
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 3) mexErrMsgTxt("Three arguments must be passed");
    if (nlhs > 1) mexErrMsgTxt("ROWLOWSTACK produce only on  output");
    for (int a = 0; a < 3; ++a)
        if (!mxIsDouble(prhs[a]) || mxIsSparse(prhs[a])) mexErrMsgTxt("Inputs must be full double matrices");
    if (mxGetNumberOfElements(prhs[1]) != 1) mexErrMsgTxt("m must be a scalar");
    if (mxGetNumberOfElements(prhs[2]) != 1) mexErrMsgTxt("n must be a scalar");

    const mxArray *X = prhs[0];
    const std::size_t L = mxGetM(X), cols = mxGetN(X);
    // Block sizes are truncated toward zero and must be counts whose
    // product is the column count of X: NaN, infinite or negative sizes
    // describe no block shape.
    const double md = std::trunc(mxGetPr(prhs[1])[0]), nd = std::trunc(mxGetPr(prhs[2])[0]);
    if (!(md >= 0.0 && nd >= 0.0) || md * nd != double(cols)) mexErrMsgTxt("Inputs are incompatible");
    // With n = 0 any m passes; keep m(m+1)/2 representable.
    if (md >= 4294967296.0) mexErrMsgTxt(kTooLarge);
    const std::size_t m = std::size_t(md), n = std::size_t(nd), mm = m * (m + 1) / 2;

    if (L == 0 || m == 0 || n == 0) {
        // No rows, or Z*Z' is an empty sum: the result is all zeros.
        plhs[0] = mxCreateDoubleMatrix(L, mm, mxREAL);
        return;
    }

    const std::size_t mn = m * n;
    double *xt = scratch(mn, L);    // row r of X as column r
    double *stacked = scratch(mm, L); // stacked result of row r as column r
    double *S = scratch(m, m);
    linalg::transpose(mxGetPr(X), xt, L, mn);
    for (std::size_t r = 0; r < L; ++r) {
        linalg::outprod(xt + mn * r, S, m, n);
        for (std::size_t a = 0; a < m; ++a) S[a + m * a] = S[a + m * a] * 0.5;
        linalg::lowstack(S, stacked + mm * r, m, false);
    }
    mxFree(S);
    mxFree(xt);
    plhs[0] = mxCreateDoubleMatrix(L, mm, mxREAL);
    linalg::transpose(stacked, mxGetPr(plhs[0]), mm, L);
    mxFree(stacked);
}
