// p = poisson_lower(x, a): P(N <= x) for N Poisson with mean a at every count
// of the first column of x, as an m-by-1 column. Counts are not rounded: a
// fractional count gives the continuous interpolation Q(x + 1, a).
#include "cdf_gateway.hpp"
#include "gamma_family.hpp"
#include "gamma_gateway_element.hpp"

namespace {
const cdfgate::ParamCheck kChecks[] = {
    {0, cdfgate::ParamRule::AtLeastTiny, "poisson_lower: a < 1e-37"},
};
const cdfgate::GatewaySpec kSpec = {2, "poisson_lower: 2 inputs required.", "poisson_lower: 1 output argument",
                                    "poisson_lower: x must be a double array.", kChecks, 1};
} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    const cdfgate::GatewayCall call = cdfgate::open_gateway(kSpec, nlhs, plhs, nrhs, prhs);
    const double a = call.param[0];
    cdfgate::gateway_loop(call, [&](double x) {
        return dist::lower_tail_or_nan([&](double *cum, double *ccum) { dist::poisson_tails(&x, &a, cum, ccum); });
    });
}
