// phi = batchminmax(x, xl, xu, fx) or [phi, dx] = batchminmax(x, xl, xu, fx, J):
// the min-max residual of m box-constrained problems and its Newton step.
#include "mex.h"

#include "backslash.hpp"
#include "batch_args.hpp"
#include "batch_solve.hpp"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != 4 && nrhs != 5) mexErrMsgTxt("Four or five arguments must be passed");
    if (nlhs > 2) mexErrMsgTxt("BatchSolve produces at most two outputs");
    const mxArray *x = prhs[0], *xl = prhs[1], *xu = prhs[2], *fx = prhs[3];
    if (!mxIsDouble(x) || !mxIsDouble(xl)) mexErrMsgTxt("Input arguments of inproper type");
    if (mxIsSparse(x) || mxIsSparse(xl)) mexErrMsgTxt("Input arguments of inproper type");
    const bool step = nlhs == 2;
    if (step && nrhs == 4) mexErrMsgTxt("Must pass a Jacobian to compute the newton step");
    const size_t m = mxGetM(x), n = mxGetN(x), mn = m * n;
    if (mxGetNumberOfElements(xl) != mn) mexErrMsgTxt("xl is of improper size");
    if (mxGetNumberOfElements(xu) != mn) mexErrMsgTxt("xu is of improper size");
    if (mxGetNumberOfElements(fx) != mn) mexErrMsgTxt("fx is of improper size");

    plhs[0] = mxDuplicateArray(fx);
    const mxArray *J = step ? prhs[4] : nullptr;
    size_t mnn;
    if (step && (!linalg::count_product(m, n, n, &mnn) || mnn != mxGetNumberOfElements(J)))
        mexErrMsgTxt("Inputs are not compatible");
    // xu, fx and (for the step) J are read as doubles: any other class or a
    // sparse array would be misread, or phi written past its end.
    if (!linalg::is_full_double(xu) || !linalg::is_full_double(fx) || (step && !linalg::is_full_double(J)))
        mexErrMsgTxt("Input arguments of inproper type");

    double *phi = mxGetPr(plhs[0]);
    if (!step) {
        linalg::minmax_residual(mxGetPr(x), mxGetPr(xl), mxGetPr(xu), phi, mn);
        return;
    }
    plhs[1] = mxCreateDoubleMatrix(m, n, mxREAL);
    if (m == 0 || n == 0) return;
    double *work = static_cast<double *>(mxCalloc(linalg::batch_solve_work_size(n), sizeof(double)));
    const size_t singular = linalg::box_solve(mxGetPr(fx), mxGetPr(J), mxGetPr(x), mxGetPr(xl), mxGetPr(xu), m,
                                              n, mxGetPr(plhs[1]), phi, true, work);
    mxFree(work);
    for (size_t s = 0; s < singular; ++s) mexWarnMsgTxt(linalg::kSingularWarning);
}
