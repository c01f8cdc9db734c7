// Small host functions for driving plug-ins that call back into the host:
// objectives for optimisers and probes for the callback path.
#include "functions.hpp"

#include "mexhost.hpp"
#include "output.hpp"

#include <string>

namespace mexrun {
namespace {

const mxArray *first_double(int nrhs, const mxArray *prhs[], const char *name) {
    if (nrhs < 1) mexErrMsgIdAndTxt("mexrun:args", "%s: not enough input arguments.", name);
    if (!mxIsDouble(prhs[0])) mexErrMsgIdAndTxt("mexrun:args", "%s: the argument must be double.", name);
    return prhs[0];
}

// Stored values: all elements of a full array, the nonzeros of a sparse one.
size_t stored_count(const mxArray *a) {
    return mxIsSparse(a) ? mxGetJc(a)[mxGetN(a)] : mxGetNumberOfElements(a);
}

// y = sum of |x_k|^2 over every element of the first argument, summed in
// column-major order; further arguments are ignored.
void sumsq(int, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    const mxArray *x = first_double(nrhs, prhs, "sumsq");
    const double *re = mxGetPr(x), *im = mxGetPi(x);
    double s = 0.0;
    for (size_t k = 0, n = stored_count(x); k < n; ++k) {
        s += re[k] * re[k];
        if (im) s += im[k] * im[k];
    }
    plhs[0] = mxCreateDoubleScalar(s);
}

// y = -x, same shape and storage; further arguments are ignored.
void neg(int, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    const mxArray *x = first_double(nrhs, prhs, "neg");
    mxArray *y = mxDuplicateArray(x);
    double *re = mxGetPr(y), *im = mxGetPi(y);
    for (size_t k = 0, n = stored_count(y); k < n; ++k) {
        re[k] = -re[k];
        if (im) im[k] = -im[k];
    }
    plhs[0] = y;
}

// [a, b, ...] = identity(a, b, ...): each output is a copy of its input.
void identity(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    const int want = nlhs < 1 ? 1 : nlhs;
    if (want > nrhs) mexErrMsgTxt("identity: more outputs requested than inputs given.");
    for (int k = 0; k < want; ++k) plhs[k] = mxDuplicateArray(prhs[k]);
}

// error(message): raises an error with the given text.
void raise_error(int, mxArray *[], int nrhs, const mxArray *prhs[]) {
    if (nrhs >= 1 && mxIsChar(prhs[0])) {
        const std::string text =
            utf8_from_units(static_cast<const mxChar *>(mxGetData(prhs[0])), mxGetNumberOfElements(prhs[0]));
        mexErrMsgTxt(text.c_str());
    }
    mexErrMsgTxt("error called.");
}

} // namespace

const std::vector<FunctionInfo> &builtin_functions() {
    static const std::vector<FunctionInfo> list = {
        {"error", "error(msg): raises an error with the text msg"},
        {"identity", "[a, b, ...] = identity(a, b, ...): returns copies of its inputs"},
        {"neg", "y = neg(x): -x for a double x (full or sparse, real or complex)"},
        {"sumsq", "y = sumsq(x, ...): sum of |x(k)|^2 over all elements of a double x; other arguments ignored"},
    };
    return list;
}

void register_functions() {
    mexhost::register_function("error", raise_error);
    mexhost::register_function("identity", identity);
    mexhost::register_function("neg", neg);
    mexhost::register_function("sumsq", sumsq);
}

} // namespace mexrun
