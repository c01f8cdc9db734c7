// X = gaussquant(P): standard normal quantile of every element of a real array.
// A sparse P gives the full result (the quantile of 0 is -Inf).
#include "normal_quantile.hpp"
#include "mex.h"
#include "mex_args.hpp"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    mexargs::elementwise_gateway(nlhs, plhs, nrhs, prhs, special::gaussquant_array);
}
