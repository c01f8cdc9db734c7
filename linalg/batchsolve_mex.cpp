// X = batchsolve(B, A): solves the m systems A_i * x = B(i, :)' of a batch.
#include "mex.h"

#include "backslash.hpp"
#include "batch_args.hpp"
#include "batch_solve.hpp"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 2) mexErrMsgTxt("Two arguments must be passed");
    if (nlhs > 1) mexErrMsgTxt("BatchSolve produces only one output");
    const mxArray *B = prhs[0], *A = prhs[1];
    if (!mxIsDouble(B) || !mxIsDouble(A)) mexErrMsgTxt("Input arguments of inproper type");
    if (mxIsSparse(B) || mxIsSparse(A)) mexErrMsgTxt("Input arguments of inproper type");
    const size_t m = mxGetM(B), n = mxGetN(B);
    size_t mnn;
    if (!linalg::count_product(m, n, n, &mnn) || mnn != mxGetNumberOfElements(A))
        mexErrMsgTxt("Inputs are not compatible");

    plhs[0] = mxCreateDoubleMatrix(m, n, mxREAL);
    if (m == 0 || n == 0) return;
    double *work = static_cast<double *>(mxCalloc(linalg::batch_solve_work_size(n), sizeof(double)));
    const size_t singular = linalg::batch_solve(mxGetPr(A), mxGetPr(B), mxGetPr(plhs[0]), m, n, work);
    mxFree(work);
    for (size_t s = 0; s < singular; ++s) mexWarnMsgTxt(linalg::kSingularWarning);
}
