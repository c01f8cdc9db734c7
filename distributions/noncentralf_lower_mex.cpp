// p = noncentralf_lower(x, a, b, c): lower tail of the noncentral F
// distribution with a numerator and b denominator degrees of freedom and
// noncentrality c at every point of the first column of x.
#include "cdf_gateway.hpp"
#include "noncentral_f.hpp"

namespace {
const cdfgate::ParamCheck kChecks[] = {
    {0, cdfgate::ParamRule::AtLeastTiny, "noncentralf_lower: a or b < 1e-37"},
    {1, cdfgate::ParamRule::AtLeastTiny, "noncentralf_lower: a or b < 1e-37"},
    {2, cdfgate::ParamRule::AtLeastTiny, "noncentralf_lower: c < 1e-37"},
};
const cdfgate::GatewaySpec kSpec = {4, "noncentralf_lower: 4 inputs required.", "noncentralf_lower: 1 output argument",
                                    "noncentralf_lower: x must be a double array.", kChecks, 3};
} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    const cdfgate::GatewayCall call = cdfgate::open_gateway(kSpec, nlhs, plhs, nrhs, prhs);
    const double dfn = call.param[0], dfd = call.param[1], pnonc = call.param[2];
    // The parameters are common to all points: their share of the work is
    // done once.
    dist::NoncentralFParameters p;
    dist::noncentral_f_prepare(dist::NoncentralFStopping::remainder_bound, &dfn, &dfd, &pnonc, &p);
    cdfgate::gateway_loop(call, [&](double f) {
        double cum, ccum;
        dist::noncentral_f_tails_prepared(p, &f, &cum, &ccum);
        return cum;
    });
}
