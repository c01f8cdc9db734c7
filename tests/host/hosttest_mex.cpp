// A plug-in that exercises the host: the first input selects a behaviour.
#include "mex.h"

#include <cstring>

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
    if (nrhs < 1) mexErrMsgTxt("hosttest: mode required");
    const int mode = int(mxGetScalar(prhs[0]));
    switch (mode) {
    case 1: { // error after scratch, temporaries and a stored output
        double *s = static_cast<double *>(mxCalloc(100, sizeof(double)));
        s[0] = 1.0;
        mxArray *tmp = mxCreateDoubleMatrix(10, 10, mxREAL);
        (void)tmp;
        plhs[0] = mxCreateDoubleMatrix(3, 3, mxREAL);
        mexErrMsgTxt("boom");
    }
    case 2: // a warning returns
        mexWarnMsgTxt("careful");
        plhs[0] = mxCreateDoubleScalar(42.0);
        return;
    case 3: // leaves requested outputs after the first unassigned
        plhs[0] = mxCreateDoubleScalar(1.0);
        return;
    case 4: { // feval(prhs[1], prhs[2..]) and return its first output
        mxArray *args[8];
        int n = nrhs - 1 > 8 ? 8 : nrhs - 1;
        for (int i = 0; i < n; ++i) args[i] = const_cast<mxArray *>(prhs[i + 1]);
        mxArray *out[1] = {nullptr};
        mexCallMATLAB(1, out, n, args, "feval");
        plhs[0] = out[0];
        return;
    }
    case 5: // deep copy of the second input
        plhs[0] = mxDuplicateArray(prhs[1]);
        return;
    case 6:
        mexPrintf("x=%d %s\n", 7, "ok");
        plhs[0] = mxCreateDoubleMatrix(0, 0, mxREAL);
        return;
    case 7: { // N-D array with the dimensions in the second input; returns [M N numel ndims]
        const double *d = mxGetPr(prhs[1]);
        mwSize dims[8];
        size_t nd = mxGetNumberOfElements(prhs[1]);
        for (size_t i = 0; i < nd && i < 8; ++i) dims[i] = mwSize(d[i]);
        mxArray *a = mxCreateNumericArray(nd, dims, mxDOUBLE_CLASS, mxREAL);
        plhs[0] = mxCreateDoubleMatrix(1, 4, mxREAL);
        double *o = mxGetPr(plhs[0]);
        o[0] = double(mxGetM(a));
        o[1] = double(mxGetN(a));
        o[2] = double(mxGetNumberOfElements(a));
        o[3] = double(mxGetNumberOfDimensions(a));
        if (nlhs > 1) plhs[1] = a;
        else mxDestroyArray(a);
        return;
    }
    case 8: // hands an input back as an output
        plhs[0] = const_cast<mxArray *>(prhs[1]);
        return;
    case 9: { // many small scratch blocks, half released by the plug-in
        for (int i = 0; i < 1000; ++i) {
            void *p = mxCalloc(3, sizeof(double));
            if (i % 2) mxFree(p);
        }
        plhs[0] = mxCreateDoubleScalar(0.0);
        return;
    }
    case 10: // error from a mexCallMATLAB with an unsupported name
        mexCallMATLAB(0, nullptr, 0, nullptr, "disp");
        return;
    case 11: // the dimension-message channel
        mxErrMsgTxt("dimension message");
    default:
        mexErrMsgTxt("hosttest: unknown mode");
    }
}
