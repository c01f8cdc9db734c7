// p = beta_lower(x, a, b): lower tail of the beta distribution with shapes a
// and b at every point of the first column of x, as an m-by-1 column.
#include "beta_family.hpp"
#include "cdf_gateway.hpp"

namespace {
const cdfgate::ParamCheck kChecks[] = {
    {0, cdfgate::ParamRule::AtLeastTiny, "beta_lower: a or b < 1e-37"},
    {1, cdfgate::ParamRule::AtLeastTiny, "beta_lower: a or b < 1e-37"},
};
const cdfgate::GatewaySpec kSpec = {3, "beta_lower: 3 inputs required.", "beta_lower: 1 output argument",
                                    "beta_lower: x must be a double array.", kChecks, 2};
} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    const cdfgate::GatewayCall call = cdfgate::open_gateway(kSpec, nlhs, plhs, nrhs, prhs);
    const double a = call.param[0], b = call.param[1];
    // y = 1 - x is formed per point; for x > 0.5 it is exact, which is where
    // the upper tail needs it.
    cdfgate::gateway_loop(call, [&](double x) {
        const double y = 1.0 - x;
        double cum, ccum;
        dist::beta_tails(&x, &y, &a, &b, &cum, &ccum);
        return cum;
    });
}
