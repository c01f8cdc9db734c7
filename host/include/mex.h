/* Host array interface used by every plug-in.
 *
 * These are this project's own declarations of the conventional MEX array
 * interface: an opaque array handle, size and index types, class IDs with
 * their conventional values, and the operations plug-ins call.  Plug-ins
 * include only this header; the Octave build substitutes Octave's own. */
#ifndef MEXHOST_MEX_H
#define MEXHOST_MEX_H

#include <stddef.h>
#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct mxArray_tag mxArray;
typedef size_t mwSize;
typedef size_t mwIndex;
typedef ptrdiff_t mwSignedIndex;
typedef uint16_t mxChar;

typedef enum {
    mxUNKNOWN_CLASS = 0,
    mxCELL_CLASS = 1,
    mxSTRUCT_CLASS = 2,
    mxLOGICAL_CLASS = 3,
    mxCHAR_CLASS = 4,
    mxVOID_CLASS = 5,
    mxDOUBLE_CLASS = 6,
    mxSINGLE_CLASS = 7,
    mxINT8_CLASS = 8,
    mxUINT8_CLASS = 9,
    mxINT16_CLASS = 10,
    mxUINT16_CLASS = 11,
    mxINT32_CLASS = 12,
    mxUINT32_CLASS = 13,
    mxINT64_CLASS = 14,
    mxUINT64_CLASS = 15,
    mxFUNCTION_CLASS = 16
} mxClassID;

typedef enum { mxREAL = 0, mxCOMPLEX = 1 } mxComplexity;

#if defined(__GNUC__)
#define MEXHOST_NORETURN __attribute__((noreturn))
#define MEXHOST_EXPORT __attribute__((visibility("default")))
#define MEXHOST_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define MEXHOST_NORETURN
#define MEXHOST_EXPORT
#define MEXHOST_PRINTF(f, a)
#endif

/* The one entry point every plug-in exports. */
MEXHOST_EXPORT void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

/* Data access. */
double *mxGetPr(const mxArray *a);
double *mxGetPi(const mxArray *a);
void *mxGetData(const mxArray *a);
void *mxGetImagData(const mxArray *a);
mwIndex *mxGetIr(const mxArray *a);
mwIndex *mxGetJc(const mxArray *a);
mwSize mxGetNzmax(const mxArray *a);

/* Shape. */
size_t mxGetM(const mxArray *a);
size_t mxGetN(const mxArray *a);
size_t mxGetNumberOfElements(const mxArray *a);
mwSize mxGetNumberOfDimensions(const mxArray *a);
const mwSize *mxGetDimensions(const mxArray *a);
size_t mxGetElementSize(const mxArray *a);

/* Class and storage tests. */
mxClassID mxGetClassID(const mxArray *a);
const char *mxGetClassName(const mxArray *a);
bool mxIsDouble(const mxArray *a);
bool mxIsSingle(const mxArray *a);
bool mxIsInt8(const mxArray *a);
bool mxIsUint8(const mxArray *a);
bool mxIsInt16(const mxArray *a);
bool mxIsUint16(const mxArray *a);
bool mxIsInt32(const mxArray *a);
bool mxIsUint32(const mxArray *a);
bool mxIsInt64(const mxArray *a);
bool mxIsUint64(const mxArray *a);
bool mxIsNumeric(const mxArray *a);
bool mxIsChar(const mxArray *a);
bool mxIsCell(const mxArray *a);
bool mxIsFunctionHandle(const mxArray *a);
bool mxIsSparse(const mxArray *a);
bool mxIsComplex(const mxArray *a);
bool mxIsEmpty(const mxArray *a);

/* Scalars and special values. */
double mxGetScalar(const mxArray *a);
bool mxIsNaN(double x);
bool mxIsInf(double x);
bool mxIsFinite(double x);
double mxGetNaN(void);
double mxGetInf(void);
double mxGetEps(void);

/* Creation and destruction. */
mxArray *mxCreateDoubleMatrix(mwSize m, mwSize n, mxComplexity c);
mxArray *mxCreateDoubleScalar(double v);
mxArray *mxCreateNumericMatrix(mwSize m, mwSize n, mxClassID cls, mxComplexity c);
mxArray *mxCreateNumericArray(mwSize ndim, const mwSize *dims, mxClassID cls, mxComplexity c);
mxArray *mxCreateSparse(mwSize m, mwSize n, mwSize nzmax, mxComplexity c);
mxArray *mxCreateCellMatrix(mwSize m, mwSize n);
mxArray *mxCreateCellArray(mwSize ndim, const mwSize *dims);
mxArray *mxCreateString(const char *s);
mxArray *mxCreateCharArray(mwSize ndim, const mwSize *dims);
mxArray *mxDuplicateArray(const mxArray *a);
void mxDestroyArray(mxArray *a);

/* Cells and characters. */
mxArray *mxGetCell(const mxArray *a, mwIndex i);
void mxSetCell(mxArray *a, mwIndex i, mxArray *v);
char *mxArrayToString(const mxArray *a);
int mxGetString(const mxArray *a, char *buf, mwSize buflen);

/* Memory: zero-filled blocks released by mxFree or when the call ends. */
void *mxCalloc(size_t n, size_t size);
void *mxMalloc(size_t n);
void *mxRealloc(void *p, size_t n);
void mxFree(void *p);

/* Errors, warnings, console, callback. */
MEXHOST_NORETURN void mexErrMsgTxt(const char *msg);
MEXHOST_NORETURN void mxErrMsgTxt(const char *msg);
MEXHOST_NORETURN void mexErrMsgIdAndTxt(const char *id, const char *fmt, ...) MEXHOST_PRINTF(2, 3);
void mexWarnMsgTxt(const char *msg);
int mexPrintf(const char *fmt, ...) MEXHOST_PRINTF(1, 2);
int mexCallMATLAB(int nlhs, mxArray *plhs[], int nrhs, mxArray *prhs[], const char *name);

#ifdef __cplusplus
}
#endif

#endif
