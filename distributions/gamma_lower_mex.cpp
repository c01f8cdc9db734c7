// p = gamma_lower(x, a): lower tail of the gamma distribution with shape a and
// scale 1 at every point of the first column of x, as an m-by-1 column.
#include "cdf_gateway.hpp"
#include "gamma_family.hpp"
#include "gamma_gateway_element.hpp"

namespace {
const cdfgate::ParamCheck kChecks[] = {
    {0, cdfgate::ParamRule::AtLeastTiny, "gamma_lower: a < 1e-37"},
};
const cdfgate::GatewaySpec kSpec = {2, "gamma_lower: 2 inputs required.", "gamma_lower: 1 output argument",
                                    "gamma_lower: x must be a double array.", kChecks, 1};
} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    const cdfgate::GatewayCall call = cdfgate::open_gateway(kSpec, nlhs, plhs, nrhs, prhs);
    const double a = call.param[0];
    cdfgate::gateway_loop(call, [&](double x) {
        return dist::lower_tail_or_nan([&](double *cum, double *ccum) { dist::gamma_tails(&x, &a, cum, ccum); });
    });
}
