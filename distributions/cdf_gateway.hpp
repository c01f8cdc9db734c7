// Frame shared by the CDF plug-ins: p = name(x, parameters...) evaluates one
// distribution function at the points of the first column of x, with scalar
// parameters, and returns the lower tails as an m-by-1 column.
//
// open_gateway checks, in this order, the input count, the output count, the
// class of the points (a double array, full or sparse), reads every
// parameter with mxGetScalar and then runs the parameter checks in the order
// given. The first failure ends the call through mexErrMsgTxt. On success it
// creates the m-by-1 result (m = row count of x), stores it in plhs[0] and
// fills it with the points, which gateway_loop then replaces one by one with
// the distribution function's value.
#ifndef DISTRIBUTIONS_CDF_GATEWAY_HPP
#define DISTRIBUTIONS_CDF_GATEWAY_HPP

#include "mex.h"

#include <cstddef>

namespace cdfgate {

enum class ParamRule {
    AtLeastTiny,  // p >= 1e-37; fails below and for NaN, +Inf passes
    UnitInterval, // 0 <= p <= 1; fails outside and for NaN
};

struct ParamCheck {
    int param; // 0 for the first parameter (the second input), 1 for the next...
    ParamRule rule;
    const char *message;
};

constexpr int kMaxParams = 4;

struct GatewaySpec {
    int ninputs;                 // the points and the parameters
    const char *inputs_message;  // wrong input count
    const char *outputs_message; // output count other than 1
    const char *class_message;   // points not a double array
    const ParamCheck *checks;
    int nchecks;
};

struct GatewayCall {
    double *values;  // m entries: the points on entry to gateway_loop, the results after it
    std::size_t m;   // number of points; 0 when x has no rows or no columns
    double param[kMaxParams];
};

GatewayCall open_gateway(const GatewaySpec &spec, int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

// Replaces every point x[i] by element(x[i]).
template <class Element>
void gateway_loop(const GatewayCall &call, Element element) {
    for (std::size_t i = 0; i < call.m; ++i) call.values[i] = element(call.values[i]);
}

} // namespace cdfgate

#endif
