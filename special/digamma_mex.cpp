// Y = digamma(X): psi of every element of a real array.
// A sparse X gives the full result (psi(0) is NaN).
#include "digamma.hpp"
#include "mex.h"
#include "mex_args.hpp"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    mexargs::elementwise_gateway(nlhs, plhs, nrhs, prhs, special::digamma_array);
}
