// [phi, dphi_f, dphi_b] = batchsmooth(x, a, b, f): the smoothed (Fischer-
// Burmeister) residual of box-constrained problems, element by element.
#include "mex.h"

#include "batch_args.hpp"
#include "fischer_burmeister.hpp"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 4) mexErrMsgTxt("4 input arguments must be passed");
    for (int k = 0; k < 3; ++k)
        if (!linalg::is_full_double(prhs[k])) mexErrMsgTxt("All inputs must be full matrices");
    if (nlhs > 3) mexErrMsgTxt("Only three output arguments are produced");
    const mxArray *x = prhs[0], *a = prhs[1], *b = prhs[2], *f = prhs[3];
    const size_t N = mxGetNumberOfElements(x);
    const size_t na = mxGetNumberOfElements(a), nb = mxGetNumberOfElements(b);
    if (na != N && na != 1) mexErrMsgTxt("Lower bound matrix is improperly specified");
    if (nb != N && nb != 1) mexErrMsgTxt("Upper bound matrix is improperly specified");
    if (mxGetNumberOfElements(f) != N) mexErrMsgTxt("Function value matrix is improperly specified");
    // f is read as doubles and its copies receive the results: any other
    // class or a sparse f would be misread and its copies overrun.
    if (!linalg::is_full_double(f)) mexErrMsgTxt("All inputs must be full matrices");

    plhs[0] = mxDuplicateArray(f);
    double *dphi_f = nullptr, *dphi_b = nullptr;
    if (nlhs >= 2) {
        plhs[1] = mxDuplicateArray(f);
        dphi_f = mxGetPr(plhs[1]);
    }
    if (nlhs >= 3) {
        plhs[2] = mxDuplicateArray(f);
        dphi_b = mxGetPr(plhs[2]);
    }
    linalg::fischer_burmeister(mxGetPr(x), mxGetPr(a), na, mxGetPr(b), nb, mxGetPr(f), N, mxGetPr(plhs[0]),
                               dphi_f, dphi_b);
}
