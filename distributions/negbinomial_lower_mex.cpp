// p = negbinomial_lower(x, a, b): probability of at most x failures before
// the a-th success, each trial succeeding with probability b, at every point
// of the first column of x. A fractional x interpolates continuously.
#include "beta_family.hpp"
#include "cdf_gateway.hpp"

namespace {
const cdfgate::ParamCheck kChecks[] = {
    {0, cdfgate::ParamRule::AtLeastTiny, "negbinomial_lower: # of trials < 1e-37"},
    {1, cdfgate::ParamRule::UnitInterval, "negbinomial_lower: 0 < prob < 1"},
};
const cdfgate::GatewaySpec kSpec = {3, "negbinomial_lower: 3 inputs required.", "negbinomial_lower: 1 output argument",
                                    "negbinomial_lower: x must be a double array.", kChecks, 2};
} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    const cdfgate::GatewayCall call = cdfgate::open_gateway(kSpec, nlhs, plhs, nrhs, prhs);
    const double xn = call.param[0], pr = call.param[1];
    const double ompr = 1.0 - pr;
    cdfgate::gateway_loop(call, [&](double s) {
        double cum, ccum;
        dist::negbinomial_tails(&s, &xn, &pr, &ompr, &cum, &ccum);
        return cum;
    });
}
