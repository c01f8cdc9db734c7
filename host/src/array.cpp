// Array operations of the host interface: creation, access, duplication and
// destruction of numeric, char, sparse, cell and function-handle arrays.
#include "context.hpp"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

using mexhost::detail::raise;

namespace {

std::atomic<size_t> g_live_arrays{0};

size_t checked_mul(size_t a, size_t b) {
    size_t r;
    if (__builtin_mul_overflow(a, b, &r) || r > mexhost::allocation_limit())
        raise("Requested array exceeds the maximum possible size.");
    return r;
}

size_t checked_count(const std::vector<mwSize> &dims) {
    size_t n = 1;
    for (mwSize d : dims) n = checked_mul(n, d);
    return n;
}

// Data blocks are zero-filled and never smaller than one double per element,
// so a caller that misreads a narrow class as doubles still stays inside it.
void *alloc_data(size_t count, size_t elsize) {
    size_t width = elsize < sizeof(double) ? sizeof(double) : elsize;
    size_t bytes = checked_mul(count == 0 ? 1 : count, width);
    void *p = std::calloc(1, bytes);
    if (!p) raise("Out of memory. The requested array is too large.");
    return p;
}

std::vector<mwSize> normalise_dims(size_t ndim, const mwSize *dims) {
    std::vector<mwSize> d;
    for (size_t i = 0; i < ndim; ++i) d.push_back(dims[i]);
    while (d.size() < 2) d.push_back(d.empty() ? 0 : 1);
    while (d.size() > 2 && d.back() == 1) d.pop_back();
    return d;
}

bool is_numeric_class(mxClassID c) {
    return c == mxDOUBLE_CLASS || c == mxSINGLE_CLASS || (c >= mxINT8_CLASS && c <= mxUINT64_CLASS);
}

mxArray *new_array() {
    mxArray *a = new mxArray_tag();
    ++g_live_arrays;
    mexhost::detail::link_array(a);
    return a;
}

void free_payload(mxArray *a) {
    std::free(a->re);
    std::free(a->im);
    std::free(a->ir);
    std::free(a->jc);
    for (mxArray *c : a->cells)
        if (c) {
            c->ctx = nullptr; // owned by the cell, not linked anywhere
            mxDestroyArray(c);
        }
    a->cells.clear();
}

mxArray *create_full(std::vector<mwSize> dims, mxClassID cls, mxComplexity c) {
    size_t n = checked_count(dims);
    size_t es = mexhost::detail::class_size(cls);
    void *re = alloc_data(n, es);
    void *im = nullptr;
    if (c == mxCOMPLEX) {
        im = std::calloc(1, checked_mul(n == 0 ? 1 : n, es < 8 ? 8 : es));
        if (!im) {
            std::free(re);
            raise("Out of memory. The requested array is too large.");
        }
    }
    mxArray *a = new_array();
    a->cls = cls;
    a->dims = std::move(dims);
    a->complex = c == mxCOMPLEX;
    a->re = re;
    a->im = im;
    return a;
}

template <typename T> double first_as_double(const void *p) { return double(*static_cast<const T *>(p)); }

} // namespace

namespace mexhost {
namespace detail {

size_t class_size(mxClassID cls) {
    switch (cls) {
    case mxDOUBLE_CLASS: case mxINT64_CLASS: case mxUINT64_CLASS: return 8;
    case mxSINGLE_CLASS: case mxINT32_CLASS: case mxUINT32_CLASS: return 4;
    case mxINT16_CLASS: case mxUINT16_CLASS: case mxCHAR_CLASS: return 2;
    case mxINT8_CLASS: case mxUINT8_CLASS: case mxLOGICAL_CLASS: return 1;
    case mxCELL_CLASS: return sizeof(mxArray *);
    default: return 0;
    }
}

size_t numel_of(const mxArray *a) {
    size_t n = 1;
    for (mwSize d : a->dims) n *= d;
    return n;
}

} // namespace detail

size_t live_array_count() { return g_live_arrays.load(); }

namespace {
// Largest single block the host hands out (512 GiB unless a program sets a
// lower limit). Requests above it, or whose size computation overflows, are
// refused with an error, never wrapped.
std::atomic<size_t> g_allocation_limit{size_t(1) << 39};
} // namespace

void set_allocation_limit(size_t bytes) { g_allocation_limit.store(bytes); }
size_t allocation_limit() { return g_allocation_limit.load(); }

} // namespace mexhost

extern "C" {

double *mxGetPr(const mxArray *a) { return a ? static_cast<double *>(a->re) : nullptr; }
double *mxGetPi(const mxArray *a) { return a ? static_cast<double *>(a->im) : nullptr; }
void *mxGetData(const mxArray *a) { return a ? a->re : nullptr; }
void *mxGetImagData(const mxArray *a) { return a ? a->im : nullptr; }
mwIndex *mxGetIr(const mxArray *a) { return a ? a->ir : nullptr; }
mwIndex *mxGetJc(const mxArray *a) { return a ? a->jc : nullptr; }
mwSize mxGetNzmax(const mxArray *a) { return a && a->sparse ? a->nzmax : mxGetNumberOfElements(a); }

size_t mxGetM(const mxArray *a) { return a->dims[0]; }
size_t mxGetN(const mxArray *a) {
    size_t n = 1;
    for (size_t i = 1; i < a->dims.size(); ++i) n *= a->dims[i];
    return n;
}
size_t mxGetNumberOfElements(const mxArray *a) { return mexhost::detail::numel_of(a); }
mwSize mxGetNumberOfDimensions(const mxArray *a) { return a->dims.size(); }
const mwSize *mxGetDimensions(const mxArray *a) { return a->dims.data(); }
size_t mxGetElementSize(const mxArray *a) { return mexhost::detail::class_size(a->cls); }

mxClassID mxGetClassID(const mxArray *a) { return a->cls; }
const char *mxGetClassName(const mxArray *a) {
    switch (a->cls) {
    case mxCELL_CLASS: return "cell";
    case mxSTRUCT_CLASS: return "struct";
    case mxLOGICAL_CLASS: return "logical";
    case mxCHAR_CLASS: return "char";
    case mxDOUBLE_CLASS: return "double";
    case mxSINGLE_CLASS: return "single";
    case mxINT8_CLASS: return "int8";
    case mxUINT8_CLASS: return "uint8";
    case mxINT16_CLASS: return "int16";
    case mxUINT16_CLASS: return "uint16";
    case mxINT32_CLASS: return "int32";
    case mxUINT32_CLASS: return "uint32";
    case mxINT64_CLASS: return "int64";
    case mxUINT64_CLASS: return "uint64";
    case mxFUNCTION_CLASS: return "function_handle";
    default: return "unknown";
    }
}
bool mxIsDouble(const mxArray *a) { return a->cls == mxDOUBLE_CLASS; }
bool mxIsSingle(const mxArray *a) { return a->cls == mxSINGLE_CLASS; }
bool mxIsInt8(const mxArray *a) { return a->cls == mxINT8_CLASS; }
bool mxIsUint8(const mxArray *a) { return a->cls == mxUINT8_CLASS; }
bool mxIsInt16(const mxArray *a) { return a->cls == mxINT16_CLASS; }
bool mxIsUint16(const mxArray *a) { return a->cls == mxUINT16_CLASS; }
bool mxIsInt32(const mxArray *a) { return a->cls == mxINT32_CLASS; }
bool mxIsUint32(const mxArray *a) { return a->cls == mxUINT32_CLASS; }
bool mxIsInt64(const mxArray *a) { return a->cls == mxINT64_CLASS; }
bool mxIsUint64(const mxArray *a) { return a->cls == mxUINT64_CLASS; }
bool mxIsNumeric(const mxArray *a) { return is_numeric_class(a->cls); }
bool mxIsChar(const mxArray *a) { return a->cls == mxCHAR_CLASS; }
bool mxIsCell(const mxArray *a) { return a->cls == mxCELL_CLASS; }
bool mxIsFunctionHandle(const mxArray *a) { return a->cls == mxFUNCTION_CLASS; }
bool mxIsSparse(const mxArray *a) { return a->sparse; }
bool mxIsComplex(const mxArray *a) { return a->complex; }
bool mxIsEmpty(const mxArray *a) { return mexhost::detail::numel_of(a) == 0; }

double mxGetScalar(const mxArray *a) {
    if (!a || !a->re) return 0.0;
    if (a->sparse) return a->jc[mxGetN(a)] > 0 ? static_cast<double *>(a->re)[0] : 0.0; // first stored value
    if (mexhost::detail::numel_of(a) == 0) return 0.0;
    switch (a->cls) {
    case mxDOUBLE_CLASS: return first_as_double<double>(a->re);
    case mxSINGLE_CLASS: return first_as_double<float>(a->re);
    case mxINT8_CLASS: return first_as_double<int8_t>(a->re);
    case mxUINT8_CLASS: case mxLOGICAL_CLASS: return first_as_double<uint8_t>(a->re);
    case mxINT16_CLASS: return first_as_double<int16_t>(a->re);
    case mxUINT16_CLASS: case mxCHAR_CLASS: return first_as_double<uint16_t>(a->re);
    case mxINT32_CLASS: return first_as_double<int32_t>(a->re);
    case mxUINT32_CLASS: return first_as_double<uint32_t>(a->re);
    case mxINT64_CLASS: return first_as_double<int64_t>(a->re);
    case mxUINT64_CLASS: return first_as_double<uint64_t>(a->re);
    default: return 0.0;
    }
}

bool mxIsNaN(double x) { return std::isnan(x); }
bool mxIsInf(double x) { return std::isinf(x); }
bool mxIsFinite(double x) { return std::isfinite(x); }
double mxGetNaN(void) { return std::numeric_limits<double>::quiet_NaN(); }
double mxGetInf(void) { return std::numeric_limits<double>::infinity(); }
double mxGetEps(void) { return std::numeric_limits<double>::epsilon(); }

mxArray *mxCreateDoubleMatrix(mwSize m, mwSize n, mxComplexity c) {
    return create_full({m, n}, mxDOUBLE_CLASS, c);
}

mxArray *mxCreateDoubleScalar(double v) {
    mxArray *a = create_full({1, 1}, mxDOUBLE_CLASS, mxREAL);
    static_cast<double *>(a->re)[0] = v;
    return a;
}

mxArray *mxCreateNumericMatrix(mwSize m, mwSize n, mxClassID cls, mxComplexity c) {
    if (!is_numeric_class(cls) && cls != mxLOGICAL_CLASS) raise("mxCreateNumericMatrix: not a numeric class.");
    return create_full({m, n}, cls, c);
}

mxArray *mxCreateNumericArray(mwSize ndim, const mwSize *dims, mxClassID cls, mxComplexity c) {
    if (!is_numeric_class(cls) && cls != mxLOGICAL_CLASS) raise("mxCreateNumericArray: not a numeric class.");
    return create_full(normalise_dims(ndim, dims), cls, c);
}

mxArray *mxCreateCharArray(mwSize ndim, const mwSize *dims) {
    return create_full(normalise_dims(ndim, dims), mxCHAR_CLASS, mxREAL);
}

mxArray *mxCreateString(const char *s) {
    size_t len = s ? std::strlen(s) : 0;
    mxArray *a = create_full({len == 0 ? size_t(0) : size_t(1), len}, mxCHAR_CLASS, mxREAL);
    mxChar *d = static_cast<mxChar *>(a->re);
    for (size_t i = 0; i < len; ++i) d[i] = static_cast<unsigned char>(s[i]);
    return a;
}

mxArray *mxCreateSparse(mwSize m, mwSize n, mwSize nzmax, mxComplexity c) {
    if (nzmax == 0) nzmax = 1;
    checked_mul(m, 1);
    size_t cols1 = n + 1;
    if (cols1 == 0) raise("Requested array exceeds the maximum possible size.");
    void *re = std::calloc(1, checked_mul(nzmax, sizeof(double)));
    void *im = c == mxCOMPLEX ? std::calloc(1, checked_mul(nzmax, sizeof(double))) : nullptr;
    void *ir = std::calloc(1, checked_mul(nzmax, sizeof(mwIndex)));
    void *jc = std::calloc(1, checked_mul(cols1, sizeof(mwIndex)));
    if (!re || !ir || !jc || (c == mxCOMPLEX && !im)) {
        std::free(re);
        std::free(im);
        std::free(ir);
        std::free(jc);
        raise("Out of memory. The requested array is too large.");
    }
    mxArray *a = new_array();
    a->cls = mxDOUBLE_CLASS;
    a->dims = {m, n};
    a->complex = c == mxCOMPLEX;
    a->sparse = true;
    a->re = re;
    a->im = im;
    a->ir = static_cast<mwIndex *>(ir);
    a->jc = static_cast<mwIndex *>(jc);
    a->nzmax = nzmax;
    return a;
}

mxArray *mxCreateCellArray(mwSize ndim, const mwSize *dims) {
    std::vector<mwSize> d = normalise_dims(ndim, dims);
    size_t n = checked_count(d);
    checked_mul(n, sizeof(mxArray *));
    mxArray *a = new_array();
    a->cls = mxCELL_CLASS;
    a->dims = std::move(d);
    a->cells.assign(n, nullptr);
    return a;
}

mxArray *mxCreateCellMatrix(mwSize m, mwSize n) {
    mwSize d[2] = {m, n};
    return mxCreateCellArray(2, d);
}

mxArray *mxDuplicateArray(const mxArray *src) {
    if (!src) return nullptr;
    mxArray *a;
    if (src->cls == mxCELL_CLASS) {
        a = mxCreateCellArray(src->dims.size(), src->dims.data());
        for (size_t i = 0; i < src->cells.size(); ++i)
            if (src->cells[i]) mxSetCell(a, i, mxDuplicateArray(src->cells[i]));
        return a;
    }
    if (src->cls == mxFUNCTION_CLASS) {
        a = new_array();
        a->cls = mxFUNCTION_CLASS;
        a->dims = src->dims;
        a->fname = src->fname;
        a->fn = src->fn;
        return a;
    }
    if (src->sparse) {
        size_t n = mxGetN(src);
        a = mxCreateSparse(src->dims[0], n, src->nzmax, src->complex ? mxCOMPLEX : mxREAL);
        std::memcpy(a->re, src->re, src->nzmax * sizeof(double));
        if (src->complex) std::memcpy(a->im, src->im, src->nzmax * sizeof(double));
        std::memcpy(a->ir, src->ir, src->nzmax * sizeof(mwIndex));
        std::memcpy(a->jc, src->jc, (n + 1) * sizeof(mwIndex));
        return a;
    }
    a = create_full(src->dims, src->cls, src->complex ? mxCOMPLEX : mxREAL);
    size_t bytes = mexhost::detail::numel_of(src) * mexhost::detail::class_size(src->cls);
    if (bytes) {
        std::memcpy(a->re, src->re, bytes);
        if (src->complex) std::memcpy(a->im, src->im, bytes);
    }
    return a;
}

void mxDestroyArray(mxArray *a) {
    if (!a) return;
    mexhost::detail::release_from_call(a);
    free_payload(a);
    delete a;
    --g_live_arrays;
}

mxArray *mxGetCell(const mxArray *a, mwIndex i) {
    if (!a || a->cls != mxCELL_CLASS || i >= a->cells.size()) return nullptr;
    return a->cells[i];
}

void mxSetCell(mxArray *a, mwIndex i, mxArray *v) {
    if (!a || a->cls != mxCELL_CLASS || i >= a->cells.size()) raise("mxSetCell: index out of range.");
    if (a->cells[i] == v) return;
    if (a->cells[i]) {
        a->cells[i]->ctx = nullptr;
        mxDestroyArray(a->cells[i]);
    }
    if (v) mexhost::detail::release_from_call(v); // now owned by the cell
    a->cells[i] = v;
}

char *mxArrayToString(const mxArray *a) {
    if (!a || a->cls != mxCHAR_CLASS) return nullptr;
    size_t n = mexhost::detail::numel_of(a);
    char *s = static_cast<char *>(mxCalloc(n + 1, 1));
    const mxChar *d = static_cast<const mxChar *>(a->re);
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(d[i] < 128 ? d[i] : '?');
    return s;
}

int mxGetString(const mxArray *a, char *buf, mwSize buflen) {
    if (!a || a->cls != mxCHAR_CLASS || !buf || buflen == 0) return 1;
    size_t n = mexhost::detail::numel_of(a);
    const mxChar *d = static_cast<const mxChar *>(a->re);
    size_t k = 0;
    for (; k < n && k + 1 < buflen; ++k) buf[k] = static_cast<char>(d[k] < 128 ? d[k] : '?');
    buf[k] = '\0';
    return k == n ? 0 : 1;
}

} // extern "C"
