// Reading the optional flag argument of lowstack and lowunstack, whose
// first element selects a variant.
#ifndef LINALG_OPTION_ARG_HPP
#define LINALG_OPTION_ARG_HPP

#include "mex.h"

#include <limits>

namespace linalg {

// The first element of a, as a double: NaN when a is empty, the stored value
// or 0 for a sparse double, the converted value for any full numeric,
// logical or char array. Returns false, leaving *value alone, for classes
// that hold no numbers (cell, struct, function handle, sparse logical).
inline bool first_element(const mxArray *a, double *value) {
    if (mxIsEmpty(a)) {
        *value = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    if (mxIsSparse(a)) {
        if (!mxIsDouble(a)) return false;
        const mwIndex *ir = mxGetIr(a), *jc = mxGetJc(a);
        *value = jc[1] > 0 && ir[0] == 0 ? mxGetPr(a)[0] : 0.0;
        return true;
    }
    if (mxIsDouble(a)) {
        *value = mxGetPr(a)[0];
        return true;
    }
    if (mxIsNumeric(a) || mxIsChar(a) || mxGetClassID(a) == mxLOGICAL_CLASS) {
        *value = mxGetScalar(a);
        return true;
    }
    return false;
}

} // namespace linalg

#endif
