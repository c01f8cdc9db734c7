// V = euoption(sigma, S, K, r, delta, T[, put]): European option values with
// scalar expansion over the parameters.
#include "mex.h"
#include "option_gateway.hpp"
#include "option_value.hpp"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 6) mexErrMsgTxt("Not enough input arguments.");
    if (nrhs > 7) mexErrMsgTxt("Too many input arguments.");
    // A second output is accepted but never assigned (the host reports it).
    if (nlhs > 2) mexErrMsgTxt("Too many output arguments.");

    void *scratch[7];
    const special::OptionInputs in = special::read_option_inputs(nrhs, prhs, scratch);
    plhs[0] = in.value;
    double *v = mxGetPr(in.value);
    const double *p[6];
    for (int k = 0; k < 6; ++k) p[k] = in.data[k];
    const unsigned char *put = in.put;
    for (size_t i = 0; i < in.count; ++i) {
        v[i] = special::euoption(*put != 0, *p[0], *p[1], *p[2], *p[3], *p[4], *p[5]);
        for (int k = 0; k < 6; ++k) p[k] += in.stride[k];
        put += in.put_stride;
    }
    special::free_option_scratch(scratch);
}
