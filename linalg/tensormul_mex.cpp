// z = tensormul(B, c) or z = tensormul(B, c, ind): the product of the
// row-wise Kronecker basis of the matrices in cell array B (all of them in
// linear order, or B{ind(1)}, B{ind(2)}, ...) with the coefficients c,
// without forming the basis. Factors may be full or sparse.
#include "mex.h"
#include "size_arith.hpp"
#include "tensormul_kernel.hpp"

#include <cmath>
#include <cstddef>

void mexFunction(int, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 2) mexErrMsgTxt("Two arguments must be passed");
    const mxArray *B = prhs[0], *c = prhs[1];
    if (!mxIsCell(B) || !mxIsDouble(c) || mxIsSparse(c)) mexErrMsgTxt("Input arguments of inproper type");
    if (mxIsEmpty(B)) mexErrMsgTxt("Inputs cannot be empty");
    const std::size_t ncells = mxGetNumberOfElements(B);
    if (ncells < 2) mexErrMsgTxt("At least two matrices must be passed");

    // Cell positions of the selected factors, 0-based.
    const mxArray *ind = nrhs >= 3 ? prhs[2] : nullptr;
    std::size_t s = ncells;
    if (ind) {
        if (!mxIsDouble(ind) || mxIsSparse(ind)) mexErrMsgTxt("Index argument must be a full double array");
        s = mxGetNumberOfElements(ind);
        if (s < 2) mexErrMsgTxt("At least two matrices must be passed");
    }
    std::size_t *pos = static_cast<std::size_t *>(mxCalloc(s, sizeof(std::size_t)));
    if (ind) {
        const double *v = mxGetPr(ind);
        for (std::size_t k = 0; k < s; ++k) {
            if (std::isnan(v[k])) mexErrMsgTxt("Index argument must not contain NaN");
            if (v[k] > double(ncells) || v[k] < 1.0) mexErrMsgTxt("Input arguments of improper type");
            pos[k] = std::size_t(v[k] - 1.0);
        }
    } else {
        for (std::size_t k = 0; k < s; ++k) pos[k] = k;
    }

    // The row count comes from the first cell, selected or not; an unset
    // cell counts as an empty matrix.
    const mxArray *first = mxGetCell(B, 0);
    const std::size_t m = first ? mxGetM(first) : 0;

    auto *F = static_cast<linalg::TensorFactor<mwIndex> *>(mxCalloc(s, sizeof(linalg::TensorFactor<mwIndex>)));
    std::size_t N = 1;
    bool fits = true;
    for (std::size_t k = 0; k < s; ++k) {
        const mxArray *f = mxGetCell(B, pos[k]);
        if (!f || !mxIsDouble(f)) mexErrMsgTxt("B must be composed of matrices of real numbers");
        if (mxGetM(f) != m) mexErrMsgTxt("All rows in cell array must be equal");
        const bool sp = mxIsSparse(f);
        F[k] = {mxGetPr(f), sp ? mxGetIr(f) : nullptr, sp ? mxGetJc(f) : nullptr, mxGetN(f)};
        fits = fits && linalg::checked_mul(N, F[k].ncols, &N);
    }
    // A basis too wide to count has more columns than any c has rows.
    if (!fits || mxGetM(c) != N) mexErrMsgTxt("B and c are not conformable");

    const std::size_t K = mxGetN(c);
    plhs[0] = mxCreateDoubleMatrix(m, K, mxREAL);
    if (m > 0 && K > 0 && N > 0) {
        linalg::TensorWork work;
        work.levels = static_cast<double *>(mxCalloc(s, m * sizeof(double)));
        work.w = static_cast<double *>(mxCalloc(m, sizeof(double)));
        work.cols = static_cast<std::size_t *>(mxCalloc(s, sizeof(std::size_t)));
        linalg::tensormul(mxGetPr(plhs[0]), F, s, m, mxGetPr(c), N, K, work);
        mxFree(work.cols);
        mxFree(work.w);
        mxFree(work.levels);
    }
    mxFree(F);
    mxFree(pos);
}
