// d = batchsolvebox(F, J, x, xl, xu): for m box-constrained problems, the
// solution of the linear system of the min-max residual (not negated).
#include "mex.h"

#include "backslash.hpp"
#include "batch_args.hpp"
#include "batch_solve.hpp"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 5) mexErrMsgTxt("Five arguments must be passed");
    if (nlhs > 1) mexErrMsgTxt("BatchSolve produces only one output");
    const mxArray *F = prhs[0], *J = prhs[1], *x = prhs[2], *xl = prhs[3], *xu = prhs[4];
    if (!mxIsDouble(F) || !mxIsDouble(J)) mexErrMsgTxt("Input arguments of inproper type");
    if (mxIsSparse(F) || mxIsSparse(J)) mexErrMsgTxt("Input arguments of inproper type");
    const size_t m = mxGetM(F), n = mxGetN(F), mn = m * n;
    size_t mnn;
    if (!linalg::count_product(m, n, n, &mnn) || mnn != mxGetNumberOfElements(J))
        mexErrMsgTxt("Inputs are not compatible");
    if (mxGetNumberOfElements(x) != mn) mexErrMsgTxt("x is of improper size");
    if (mxGetNumberOfElements(xl) != mn) mexErrMsgTxt("xl is of improper size");
    if (mxGetNumberOfElements(xu) != mn) mexErrMsgTxt("xu is of improper size");
    // x, xl and xu are read as m*n doubles: any other class or a sparse
    // array would be misread (or read past its end).
    if (!linalg::is_full_double(x) || !linalg::is_full_double(xl) || !linalg::is_full_double(xu))
        mexErrMsgTxt("Input arguments of inproper type");

    plhs[0] = mxCreateDoubleMatrix(m, n, mxREAL);
    if (m == 0 || n == 0) return;
    double *work = static_cast<double *>(mxCalloc(linalg::batch_solve_work_size(n), sizeof(double)));
    const size_t singular = linalg::box_solve(mxGetPr(F), mxGetPr(J), mxGetPr(x), mxGetPr(xl), mxGetPr(xu), m,
                                              n, mxGetPr(plhs[0]), nullptr, false, work);
    mxFree(work);
    for (size_t s = 0; s < singular; ++s) mexWarnMsgTxt(linalg::kSingularWarning);
}
