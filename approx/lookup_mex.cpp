// I = lookup(table, x[, endadj]): for every element of x the position of the
// last entry of the sorted table not greater than it. endadj 1 or 3 puts
// values below the table on the end of its leading run; endadj 2 or 3 keeps
// values at or above the top on the last entry before its trailing run.
#include "mex.h"
#include "table_lookup.hpp"

#include <cmath>

void mexFunction(int, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 2) mexErrMsgTxt("Two arguments must be passed");
    const mxArray *table = prhs[0], *x = prhs[1];
    if (!mxIsDouble(table) || !mxIsDouble(x)) mexErrMsgTxt("Input arguments of inproper type");
    if (mxIsSparse(table) || mxIsSparse(x)) mexErrMsgTxt("Input arguments of inproper type");
    // A complex x would come back as a complex array of positions.
    if (mxIsComplex(table) || mxIsComplex(x)) mexErrMsgTxt("Input arguments of inproper type");

    // endadj is taken from its first element, of any numeric class; an empty
    // one means the default. Compared as a double, so NaN or huge values
    // clamp nothing at the bottom (and NaN nothing at the top). A text option
    // (another lookup's 'm', 'b', 'lr'...) is refused rather than read as
    // its character code.
    if (nrhs >= 3 && !mxIsNumeric(prhs[2])) mexErrMsgTxt("Input arguments of inproper type");
    double endadj = 0.0;
    if (nrhs >= 3 && !mxIsEmpty(prhs[2])) endadj = std::trunc(mxGetScalar(prhs[2]));
    const bool clamp_below = endadj == 1.0 || endadj == 3.0;
    const bool clamp_top = endadj > 1.0;

    const size_t n = mxGetNumberOfElements(table);
    if (n == 0) mexErrMsgTxt("Table must contain at least one element");

    plhs[0] = mxDuplicateArray(x);
    double *out = mxGetPr(plhs[0]);
    approx::lookup(mxGetPr(table), n, out, mxGetNumberOfElements(x), clamp_below, clamp_top, out);
}
