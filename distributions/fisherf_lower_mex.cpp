// p = fisherf_lower(x, a, b): lower tail of the F distribution with a
// numerator and b denominator degrees of freedom at every point of the first
// column of x.
#include "beta_family.hpp"
#include "cdf_gateway.hpp"

namespace {
const cdfgate::ParamCheck kChecks[] = {
    {0, cdfgate::ParamRule::AtLeastTiny, "fisherf_lower: a < 1e-37"},
    {1, cdfgate::ParamRule::AtLeastTiny, "fisherf_lower: b < 1e-37"},
};
const cdfgate::GatewaySpec kSpec = {3, "fisherf_lower: 3 inputs required.", "fisherf_lower: 1 output argument",
                                    "fisherf_lower: x must be a double array.", kChecks, 2};
} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    const cdfgate::GatewayCall call = cdfgate::open_gateway(kSpec, nlhs, plhs, nrhs, prhs);
    const double dfn = call.param[0], dfd = call.param[1];
    cdfgate::gateway_loop(call, [&](double f) {
        double cum, ccum;
        dist::fisher_f_tails(&f, &dfn, &dfd, &cum, &ccum);
        return cum;
    });
}
