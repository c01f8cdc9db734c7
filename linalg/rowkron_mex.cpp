// C = rowkron(A, B): row-wise Kronecker product of two matrices with the
// same number of rows, full or sparse in any combination. The result is
// sparse when either input is; an empty input returns the other one.
#include "mex.h"
#include "rowkron_kernels.hpp"
#include "size_arith.hpp"

#include <cstddef>

namespace {

const char *const kTooLarge = "Requested array exceeds the maximum possible size.";

void count_rows(std::size_t *count, const mxArray *a) {
    if (mxIsSparse(a))
        linalg::count_row_stored(count, mxGetIr(a), mxGetJc(a), mxGetN(a));
    else
        linalg::count_row_nonzeros(count, mxGetPr(a), mxGetM(a), mxGetN(a));
}

mxArray *sparse_product(const mxArray *A, const mxArray *B, std::size_t m, std::size_t p, std::size_t q,
                        std::size_t pq) {
    std::size_t *count = static_cast<std::size_t *>(mxCalloc(2 * m, sizeof(std::size_t)));
    count_rows(count, A);
    count_rows(count + m, B);
    std::size_t total = 0;
    const bool fits = linalg::kron_entry_total(count, count + m, m, &total);
    mxFree(count);
    if (!fits) mexErrMsgTxt(kTooLarge);

    mxArray *C = mxCreateSparse(m, pq, total, mxREAL);
    double *cv = mxGetPr(C);
    mwIndex *cir = mxGetIr(C), *cjc = mxGetJc(C);
    if (mxIsSparse(A) && mxIsSparse(B))
        linalg::rowkron_sparse_sparse(cv, cir, cjc, mxGetPr(A), mxGetIr(A), mxGetJc(A), p, mxGetPr(B), mxGetIr(B),
                                      mxGetJc(B), q);
    else if (mxIsSparse(B))
        linalg::rowkron_full_sparse(cv, cir, cjc, mxGetPr(A), m, p, mxGetPr(B), mxGetIr(B), mxGetJc(B), q);
    else
        linalg::rowkron_sparse_full(cv, cir, cjc, mxGetPr(A), mxGetIr(A), mxGetJc(A), p, mxGetPr(B), m, q);
    return C;
}

} // namespace

void mexFunction(int, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 2) mexErrMsgTxt("Two parameters must be passed");
    const mxArray *A = prhs[0], *B = prhs[1];
    if (!mxIsDouble(A) || !mxIsDouble(B)) mexErrMsgTxt("Inputs must be full or sparse double matrices");
    if (mxIsComplex(A) || mxIsComplex(B)) mexErrMsgTxt("Complex matrices not supported in rowkron");
    if (mxGetM(A) != mxGetM(B)) mexErrMsgTxt("Matrices must have the same number of rows");

    if (mxIsEmpty(A)) {
        plhs[0] = mxDuplicateArray(B);
        return;
    }
    if (mxIsEmpty(B)) {
        plhs[0] = mxDuplicateArray(A);
        return;
    }
    const std::size_t m = mxGetM(A), p = mxGetN(A), q = mxGetN(B);
    std::size_t pq;
    if (!linalg::checked_mul(p, q, &pq)) mexErrMsgTxt(kTooLarge);

    if (mxIsSparse(A) || mxIsSparse(B)) {
        plhs[0] = sparse_product(A, B, m, p, q, pq);
    } else {
        plhs[0] = mxCreateDoubleMatrix(m, pq, mxREAL);
        linalg::rowkron_full(mxGetPr(plhs[0]), mxGetPr(A), mxGetPr(B), m, p, q);
    }
}
