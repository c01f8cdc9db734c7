// p = noncentralchi2_lower(x, a, b): lower tail of the noncentral chi-square
// distribution with a degrees of freedom and noncentrality b at every point
// of the first column of x, as an m-by-1 column.
#include "cdf_gateway.hpp"
#include "gamma_gateway_element.hpp"
#include "noncentral_chi2.hpp"

namespace {
const cdfgate::ParamCheck kChecks[] = {
    {0, cdfgate::ParamRule::AtLeastTiny, "noncentralchi2_lower: a or b < 1e-37"},
    {1, cdfgate::ParamRule::AtLeastTiny, "noncentralchi2_lower: a or b < 1e-37"},
};
const cdfgate::GatewaySpec kSpec = {3, "noncentralchi2_lower: 3 inputs required.",
                                    "noncentralchi2_lower: 1 output argument",
                                    "noncentralchi2_lower: x must be a double array.", kChecks, 2};
} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    const cdfgate::GatewayCall call = cdfgate::open_gateway(kSpec, nlhs, plhs, nrhs, prhs);
    const double a = call.param[0], b = call.param[1];
    cdfgate::gateway_loop(call, [&](double x) {
        return dist::lower_tail_or_nan(
            [&](double *cum, double *ccum) { dist::noncentral_chi2_tails(&x, &a, &b, cum, ccum); });
    });
}
