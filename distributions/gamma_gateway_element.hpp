// Per-element value of the gamma-side CDF plug-ins.
#ifndef DISTRIBUTIONS_GAMMA_GATEWAY_ELEMENT_HPP
#define DISTRIBUTIONS_GAMMA_GATEWAY_ELEMENT_HPP

#include <cmath>

namespace dist {

// The lower tail delivered by a distribution function tails(&cum, &ccum).
// A failure of the incomplete gamma ratio marks one output with 2 and may
// leave the other unwritten; such an element is NaN, never a "probability"
// of 2 or a stale value.
template <class Tails>
double lower_tail_or_nan(Tails tails) {
    double cum = std::nan(""), ccum = std::nan("");
    tails(&cum, &ccum);
    if (cum == 2.0 || ccum == 2.0) return std::nan("");
    return cum;
}

} // namespace dist

#endif
