#include "cdf_gateway.hpp"

#include <limits>

namespace cdfgate {

namespace {

bool passes(ParamRule rule, double p) {
    // Written so that a NaN parameter fails both rules.
    switch (rule) {
    case ParamRule::AtLeastTiny: return p >= 1e-37;
    case ParamRule::UnitInterval: return p >= 0.0 && p <= 1.0;
    }
    return false;
}

// Copies the first m entries of the first column of x (its full equivalent
// when sparse) into out. Only the real part of a complex array is read.
void first_column(const mxArray *x, std::size_t m, double *out) {
    if (m == 0) return; // no column to read (a sparse x with no columns has no jc[1])
    for (std::size_t i = 0; i < m; ++i) out[i] = 0.0;
    const double *pr = mxGetPr(x);
    if (!mxIsSparse(x)) {
        for (std::size_t i = 0; i < m; ++i) out[i] = pr[i];
        return;
    }
    const mwIndex *ir = mxGetIr(x), *jc = mxGetJc(x);
    for (mwIndex k = jc[0]; k < jc[1]; ++k) out[ir[k]] = pr[k];
}

} // namespace

GatewayCall open_gateway(const GatewaySpec &spec, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs != spec.ninputs) mexErrMsgTxt(spec.inputs_message);
    if (nlhs != 1) mexErrMsgTxt(spec.outputs_message);
    const mxArray *x = prhs[0];
    // Other classes hold no doubles to read; a sparse double is read through
    // its full equivalent.
    if (!mxIsDouble(x)) mexErrMsgTxt(spec.class_message);

    GatewayCall call{};
    const std::size_t rows = mxGetM(x);
    // A first input with rows but no columns has no points to evaluate.
    call.m = mxGetN(x) == 0 ? 0 : rows;
    // An empty parameter has no value: NaN, which fails its range check
    // (some hosts refuse mxGetScalar of an empty array outright).
    for (int k = 1; k < spec.ninputs && k <= kMaxParams; ++k)
        call.param[k - 1] = mxIsEmpty(prhs[k]) ? std::numeric_limits<double>::quiet_NaN() : mxGetScalar(prhs[k]);

    for (int c = 0; c < spec.nchecks; ++c) {
        const ParamCheck &chk = spec.checks[c];
        if (!passes(chk.rule, call.param[chk.param])) mexErrMsgTxt(chk.message);
    }

    plhs[0] = mxCreateDoubleMatrix(rows, call.m == 0 && rows > 0 ? 0 : 1, mxREAL);
    call.values = mxGetPr(plhs[0]);
    first_column(x, call.m, call.values);
    return call;
}

} // namespace cdfgate
