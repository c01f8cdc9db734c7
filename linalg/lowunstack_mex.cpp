// A = lowunstack(v) or A = lowunstack(v, kind): the square matrix whose
// stacked triangle is v. kind 0 (default): symmetric, from the column-order
// stack; 1: upper triangular, from the row-order stack; 2: lower
// triangular, from the column-order stack. Complex v gives complex A.
#include "lowunstack.hpp"
#include "mex.h"
#include "option_arg.hpp"

#include <cmath>
#include <cstddef>

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    const char *const kClass = "Function 'lowunstack' not defined for variables of input class";
    if (nrhs < 1) mexErrMsgTxt("Not enough input arguments.");
    if (nrhs > 2) mexErrMsgTxt("Too many input arguments.");
    if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
    const mxArray *v = prhs[0];
    if (!mxIsDouble(v) || mxIsSparse(v)) mexErrMsgTxt(kClass);
    if (mxGetNumberOfDimensions(v) > 2) mexErrMsgTxt("Input arguments must be 2-D.");

    // n from N = n(n+1)/2; the 0.5 offsets keep the floor clear of rounding
    // in the square root (it lands at n + 0.75 for a valid N).
    const std::size_t count = mxGetNumberOfElements(v);
    const std::size_t n = std::size_t(std::floor((std::sqrt(8.0 * double(count) + 1.0) - 0.5) * 0.5 + 0.5));
    if (count != n * (n + 1) / 2) mexErrMsgTxt("Input vector is of improper size.");

    int kind = 0;
    if (nrhs == 2) {
        double flag;
        if (!linalg::first_element(prhs[1], &flag)) mexErrMsgTxt(kClass);
        const double t = std::trunc(flag); // NaN compares unequal to both
        kind = t == 1.0 ? 1 : (t == 2.0 ? 2 : 0);
    }

    const bool cplx = mxIsComplex(v);
    plhs[0] = mxCreateDoubleMatrix(n, n, cplx ? mxCOMPLEX : mxREAL);
    linalg::lowunstack(mxGetPr(v), mxGetPr(plhs[0]), n, kind);
    if (cplx) linalg::lowunstack(mxGetPi(v), mxGetPi(plhs[0]), n, kind);
}
