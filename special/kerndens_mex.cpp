// [f, F] = kerndens(x, xi, h, ktype): kernel estimates of the density and
// the distribution function of the sample xi at the points x.
#include "kernel_density.hpp"
#include "mex.h"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 4) mexErrMsgTxt("Not enough input arguments.");
    if (nrhs > 4) mexErrMsgTxt("Too many input arguments.");
    if (nlhs > 2) mexErrMsgTxt("Too many output arguments.");
    for (int k = 0; k < 4; ++k) {
        if (!mxIsDouble(prhs[k])) mexErrMsgTxt("Function not defined for variables of input class");
        if (mxIsSparse(prhs[k])) mexErrMsgTxt("Function not defined for sparse matrices");
        // Only real parts would be read: refuse complex data rather than
        // silently dropping its imaginary part.
        if (mxIsComplex(prhs[k])) mexErrMsgTxt("X must be real.");
    }
    const size_t m = mxGetNumberOfElements(prhs[0]);
    const size_t n = mxGetNumberOfElements(prhs[1]);
    const size_t nh = mxGetNumberOfElements(prhs[2]);
    if (nh != 1 && nh != n) mexErrMsgTxt("xi and h are incompatible");

    const special::Kernel kernel =
        mxIsEmpty(prhs[3]) ? special::Kernel::Epanechnikov : special::kernel_from_selector(mxGetPr(prhs[3])[0]);

    // Outputs keep the dimensions of x and start from zeros.
    plhs[0] = mxDuplicateArray(prhs[0]);
    double *f = mxGetPr(plhs[0]);
    for (size_t k = 0; k < m; ++k) f[k] = 0.0;
    double *F = nullptr;
    if (nlhs >= 2) {
        plhs[1] = mxDuplicateArray(plhs[0]);
        F = mxGetPr(plhs[1]);
    }
    special::kernel_density(mxGetPr(prhs[0]), m, mxGetPr(prhs[1]), n, mxGetPr(prhs[2]), nh, kernel, f, F);
}
