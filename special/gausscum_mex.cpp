// P = gausscum(X): standard normal CDF of every element of a real array.
// A sparse X gives the full result (Phi(0) = 0.5).
#include "normal_cdf.hpp"
#include "mex.h"
#include "mex_args.hpp"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    mexargs::elementwise_gateway(nlhs, plhs, nrhs, prhs, [](double x) { return special::gausscum(x); });
}
