// boxpart(objective, box_width, root_center, parent, offset, cut_dim, level,
//         fval, level_size, level_min, params, intarray, extra...)
//
// Runs DIRECT iterations on search state owned by the caller, updating the
// state arrays in place; returns nothing. The objective is called through
// feval as objective(x, extra...) once per new point.
#include "direct_search.hpp"
#include "mex.h"

#include <cstdint>
#include <cstdio>

namespace {

struct Feval {
    int nargs;
    mxArray **args;
    mxArray **result;
};

// Objective value at the trial vector. The result array is the plug-in's
// and is destroyed as soon as its first element is read.
double evaluate(void *ctx) {
    Feval *f = static_cast<Feval *>(ctx);
    f->result[0] = nullptr;
    mexCallMATLAB(1, f->result, f->nargs, f->args, "feval");
    mxArray *r = f->result[0];
    if (r == nullptr || mxIsEmpty(r) || !(mxIsNumeric(r) || mxGetClassID(r) == mxLOGICAL_CLASS)) {
        if (r != nullptr) mxDestroyArray(r);
        f->result[0] = nullptr;
        mexErrMsgTxt("The objective must return a non-empty numeric value.");
    }
    // A full double result is read straight from its real data; any other
    // numeric class is converted from its first element (a sparse result
    // gives its first stored value, as the real data would).
    const double v = (mxIsDouble(r) && !mxIsSparse(r)) ? mxGetPr(r)[0] : mxGetScalar(r);
    mxDestroyArray(r);
    f->result[0] = nullptr;
    return v;
}

void progress(void *, long long iteration, double fbest, long long nf) {
    mexPrintf("Iter: %4lld   fbest: %15.10f    fn evals: %8lld\n", iteration, fbest, nf);
}

// Class checks of the state arrays: the search reads and writes their data
// as the class named here, so any other class would be misread.
bool is_full_double(const mxArray *a) { return mxIsDouble(a) && !mxIsSparse(a); }
bool is_class(const mxArray *a, mxClassID id) { return mxGetClassID(a) == id; }

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    (void)plhs;
    if (nrhs <= 11) mexErrMsgTxt("Incorrect number of input arguments.");
    if (nlhs != 0) mexErrMsgTxt("Incorrect number of output arguments.");
    if (mxGetNumberOfElements(prhs[10]) != 4) mexErrMsgTxt("Parameters vector is the wrong size.");
    if (mxGetNumberOfElements(prhs[11]) != 14) mexErrMsgTxt("Intarray vector is the wrong size.");
    static_assert(sizeof(int16_t) == 2, "levels and dimensions are read as 2-byte integers");

    static const struct {
        int arg;
        mxClassID cls;
        const char *text;
    } classes[] = {
        {1, mxDOUBLE_CLASS, "box_width (argument 2) must be a full double array."},
        {2, mxDOUBLE_CLASS, "root_center (argument 3) must be a full double array."},
        {3, mxINT32_CLASS, "parent (argument 4) must be an int32 array."},
        {4, mxDOUBLE_CLASS, "offset (argument 5) must be a full double array."},
        {5, mxINT16_CLASS, "cut_dim (argument 6) must be an int16 array."},
        {6, mxINT16_CLASS, "level (argument 7) must be an int16 array."},
        {7, mxDOUBLE_CLASS, "fval (argument 8) must be a full double array."},
        {8, mxDOUBLE_CLASS, "level_size (argument 9) must be a full double array."},
        {9, mxDOUBLE_CLASS, "level_min (argument 10) must be a full double array."},
        {10, mxDOUBLE_CLASS, "params (argument 11) must be a full double array."},
        {11, mxDOUBLE_CLASS, "intarray (argument 12) must be a full double array."},
    };
    for (const auto &c : classes) {
        const mxArray *a = prhs[c.arg];
        const bool ok = c.cls == mxDOUBLE_CLASS ? is_full_double(a) : is_class(a, c.cls);
        if (!ok) mexErrMsgTxt(c.text);
    }

    direct::SearchArrays s;
    s.box_width = mxGetPr(prhs[1]);
    s.root_center = mxGetPr(prhs[2]);
    s.parent = static_cast<int32_t *>(mxGetData(prhs[3]));
    s.offset = mxGetPr(prhs[4]);
    s.cut_dim = static_cast<int16_t *>(mxGetData(prhs[5]));
    s.level = static_cast<int16_t *>(mxGetData(prhs[6]));
    s.fval = mxGetPr(prhs[7]);
    s.level_size = mxGetPr(prhs[8]);
    s.level_min = mxGetPr(prhs[9]);
    s.params = mxGetPr(prhs[10]);
    s.intarray = mxGetPr(prhs[11]);

    direct::ArrayLengths len;
    len.box_width = mxGetNumberOfElements(prhs[1]);
    len.root_center = mxGetNumberOfElements(prhs[2]);
    len.parent = mxGetNumberOfElements(prhs[3]);
    len.offset = mxGetNumberOfElements(prhs[4]);
    len.cut_dim = mxGetNumberOfElements(prhs[5]);
    len.level = mxGetNumberOfElements(prhs[6]);
    len.fval = mxGetNumberOfElements(prhs[7]);
    len.level_size = mxGetNumberOfElements(prhs[8]);
    len.level_min = mxGetNumberOfElements(prhs[9]);
    char message[200];
    if (!direct::check_state(s, len, message, sizeof message)) mexErrMsgTxt(message);

    // Callback argument list: the objective, the trial vector, then the
    // extra arguments unchanged. The trial vector is reclaimed by the host
    // when the call returns.
    const int nargs = nrhs - 10;
    mxArray **args = static_cast<mxArray **>(mxCalloc(size_t(nargs), sizeof(mxArray *)));
    mxArray **result = static_cast<mxArray **>(mxCalloc(1, sizeof(mxArray *)));
    mxArray *trial = mxCreateDoubleMatrix(len.box_width, 1, mxREAL);
    args[0] = const_cast<mxArray *>(prhs[0]);
    args[1] = trial;
    for (int i = 12; i < nrhs; ++i) args[i - 10] = const_cast<mxArray *>(prhs[i]);

    const long long n = direct::control_value(s.intarray[direct::kDimensions]);
    const long long X = direct::control_value(s.intarray[direct::kPointCapacity]);
    const long long W = direct::control_value(s.intarray[direct::kLevelCapacity]);
    void *block = mxCalloc(direct::workspace_bytes(n, X, W), 1);
    const direct::Workspace work = direct::workspace_partition(block, n, X, W);

    Feval feval{nargs, args, result};
    const direct::Callbacks cb{evaluate, progress, &feval};
    direct::run(mxGetPr(trial), s, work, cb);

    mxFree(block);
    mxFree(result);
    mxFree(args);
}
