// p = studentt_lower(x, a): lower tail of Student's t distribution with a
// degrees of freedom at every point of the first column of x.
#include "beta_family.hpp"
#include "cdf_gateway.hpp"

namespace {
const cdfgate::ParamCheck kChecks[] = {
    {0, cdfgate::ParamRule::AtLeastTiny, "studentt_lower: a < 1e-37"},
};
const cdfgate::GatewaySpec kSpec = {2, "studentt_lower: 2 inputs required.", "studentt_lower: 1 output argument",
                                    "studentt_lower: x must be a double array.", kChecks, 1};
} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    const cdfgate::GatewayCall call = cdfgate::open_gateway(kSpec, nlhs, plhs, nrhs, prhs);
    const double df = call.param[0];
    cdfgate::gateway_loop(call, [&](double t) {
        double cum, ccum;
        dist::student_t_tails(&t, &df, &cum, &ccum);
        return cum;
    });
}
