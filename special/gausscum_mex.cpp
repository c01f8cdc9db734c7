// P = gausscum(X): standard normal CDF of every element of a real array.
// A sparse X gives the full result (Phi(0) = 0.5).
#include "normal_cdf.hpp"
#include "mex.h"
#include "mex_args.hpp"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    mexargs::elementwise_gateway(nlhs, plhs, nrhs, prhs, [](const double *x, double *y, size_t n) {
        for (size_t i = 0; i < n; ++i) y[i] = special::gausscum(x[i]);
    });
}
