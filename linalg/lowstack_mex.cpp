// v = lowstack(A) or v = lowstack(A, order): the lower triangle of a square
// matrix stacked column by column, or with order 1 the upper triangle row by
// row. A complex A gives a complex v, both parts stacked alike.
#include "lowstack.hpp"
#include "mex.h"
#include "option_arg.hpp"

#include <cstddef>

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    const char *const kClass = "Function 'lowstack' not defined for variables of input class";
    if (nrhs < 1) mexErrMsgTxt("Not enough input arguments.");
    if (nrhs > 2) mexErrMsgTxt("Too many input arguments.");
    if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
    const mxArray *A = prhs[0];
    if (!mxIsDouble(A) || mxIsSparse(A)) mexErrMsgTxt(kClass);
    const std::size_t n = mxGetM(A);
    if (mxGetN(A) != n) mexErrMsgTxt("Input matrix must be square");

    // Row order only for a first element of exactly 1; anything else,
    // NaN and an empty flag included, keeps column order.
    bool row_order = false;
    if (nrhs == 2) {
        double flag;
        if (!linalg::first_element(prhs[1], &flag)) mexErrMsgTxt(kClass);
        row_order = flag == 1.0;
    }

    const bool cplx = mxIsComplex(A);
    plhs[0] = mxCreateDoubleMatrix(n * (n + 1) / 2, 1, cplx ? mxCOMPLEX : mxREAL);
    if (!linalg::lowstack(mxGetPr(A), mxGetPr(plhs[0]), n, row_order)) mexErrMsgTxt("Cannot overwrite with this function");
    if (cplx && !linalg::lowstack(mxGetPi(A), mxGetPi(plhs[0]), n, row_order))
        mexErrMsgTxt("Cannot overwrite with this function");
}
