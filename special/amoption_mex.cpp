// [V, VE, Sstar] = amoption(sigma, S, K, r, delta, T[, put]): American option
// values, with the European values and critical prices, with scalar
// expansion over the parameters.
#include "mex.h"
#include "option_gateway.hpp"
#include "option_value.hpp"

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 6) mexErrMsgTxt("Not enough input arguments.");
    if (nrhs > 7) mexErrMsgTxt("Too many input arguments.");
    if (nlhs > 3) mexErrMsgTxt("Too many output arguments.");

    void *scratch[7];
    const special::OptionInputs in = special::read_option_inputs(nrhs, prhs, scratch);
    plhs[0] = in.value;
    double *v = mxGetPr(in.value);

    // The European value and S* go to the second and third outputs when
    // requested, otherwise to one scratch double each that every element
    // overwrites.
    double *ve, *sstar;
    size_t ve_stride = 1, sstar_stride = 1;
    double *spare = static_cast<double *>(mxCalloc(2, sizeof(double)));
    if (nlhs >= 2) {
        plhs[1] = mxDuplicateArray(in.value);
        ve = mxGetPr(plhs[1]);
    } else {
        ve = spare;
        ve_stride = 0;
    }
    if (nlhs >= 3) {
        plhs[2] = mxDuplicateArray(in.value);
        sstar = mxGetPr(plhs[2]);
    } else {
        sstar = spare + 1;
        sstar_stride = 0;
    }

    const double *p[6];
    for (int k = 0; k < 6; ++k) p[k] = in.data[k];
    const unsigned char *put = in.put;
    for (size_t i = 0; i < in.count; ++i) {
        v[i] = special::amoption(*put != 0, *p[0], *p[1], *p[2], *p[3], *p[4], *p[5], ve, sstar);
        ve += ve_stride;
        sstar += sstar_stride;
        for (int k = 0; k < 6; ++k) p[k] += in.stride[k];
        put += in.put_stride;
    }
    mxFree(spare);
    special::free_option_scratch(scratch);
}
