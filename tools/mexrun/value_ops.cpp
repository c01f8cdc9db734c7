// Class conversion, arithmetic and concatenation of literal values.
#include "value_ops.hpp"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>

namespace mexrun {

size_t Value::numel() const {
    size_t n = 1;
    for (size_t d : dims) n *= d;
    return n;
}

void fail(size_t pos, std::string message) { throw LiteralFailure{pos, std::move(message)}; }

namespace {

struct ClassInfo {
    mxClassID id;
    const char *name;
    double lo, hi; // integer range; unused for the others
};

const ClassInfo kClasses[] = {
    {mxDOUBLE_CLASS, "double", 0, 0},
    {mxSINGLE_CLASS, "single", 0, 0},
    {mxLOGICAL_CLASS, "logical", 0, 1},
    {mxCHAR_CLASS, "char", 0, 65535},
    {mxINT8_CLASS, "int8", -128.0, 127.0},
    {mxUINT8_CLASS, "uint8", 0, 255.0},
    {mxINT16_CLASS, "int16", -32768.0, 32767.0},
    {mxUINT16_CLASS, "uint16", 0, 65535.0},
    {mxINT32_CLASS, "int32", -2147483648.0, 2147483647.0},
    {mxUINT32_CLASS, "uint32", 0, 4294967295.0},
    // The 64-bit limits are not doubles; these bounds (-2^63, 2^63, 2^64)
    // saturate correctly because the stored integer is clamped again.
    {mxINT64_CLASS, "int64", -9223372036854775808.0, 9223372036854775808.0},
    {mxUINT64_CLASS, "uint64", 0, 18446744073709551616.0},
    {mxCELL_CLASS, "cell", 0, 0},
    {mxFUNCTION_CLASS, "function_handle", 0, 0},
};

const ClassInfo *info(mxClassID c) {
    for (const auto &k : kClasses)
        if (k.id == c) return &k;
    return nullptr;
}

bool is_scalar(const Value &v) { return v.numel() == 1; }

const char *op_text(char op) {
    switch (op) {
    case 'x': return ".*";
    case 'd': return "./";
    case 'p': return ".^";
    case '+': return "+";
    case '-': return "-";
    case '*': return "*";
    case '/': return "/";
    default: return "^";
    }
}

// Drops an imaginary part that is zero everywhere, as MATLAB does with the
// result of arithmetic.
void narrow(Value &v) {
    if (v.im.empty()) return;
    if (std::all_of(v.im.begin(), v.im.end(), [](double x) { return x == 0.0; })) v.im.clear();
}

void normalise_values(Value &v) {
    if (v.cls == mxDOUBLE_CLASS) return;
    for (double &x : v.re) x = to_class(v.cls, x);
    for (double &x : v.im) x = to_class(v.cls, x);
}

// Class of the result of arithmetic between a and b.
mxClassID result_class(const Value &a, const Value &b, char op, size_t pos) {
    for (const Value *v : {&a, &b})
        if (!is_arithmetic(*v))
            fail(pos, std::string("operator '") + op_text(op) + "' is not defined for " + class_name(v->cls) +
                          " values");
    const bool ia = is_integer_class(a.cls), ib = is_integer_class(b.cls);
    if (ia && ib && a.cls != b.cls)
        fail(pos, std::string("integers of different classes (") + class_name(a.cls) + " and " + class_name(b.cls) +
                      ") cannot be combined");
    if (ia) return a.cls;
    if (ib) return b.cls;
    if (a.cls == mxSINGLE_CLASS || b.cls == mxSINGLE_CLASS) return mxSINGLE_CLASS;
    return mxDOUBLE_CLASS;
}

using cplx = std::complex<double>;

double real_op(char op, double x, double y) {
    switch (op) {
    case '+': return x + y;
    case '-': return x - y;
    case '*': case 'x': return x * y;
    case '/': case 'd': return x / y;
    default: return std::pow(x, y);
    }
}

cplx complex_op(char op, cplx x, cplx y) {
    switch (op) {
    case '+': return x + y;
    case '-': return x - y;
    case '*': case 'x': return x * y;
    case '/': case 'd': return x / y;
    default: return std::pow(x, y);
    }
}

bool sparse_result(char op, const Value &a, const Value &b) {
    switch (op) {
    case '*': case 'x': return a.sparse || b.sparse; // zeros stay zero
    case '/': case 'd': return a.sparse;
    case '+': case '-': return a.sparse && b.sparse;
    default: return false;
    }
}

Value matrix_product(const Value &a, const Value &b, mxClassID cls, size_t pos) {
    if (a.dims.size() > 2 || b.dims.size() > 2) fail(pos, "matrix product of N-D arrays; use .*");
    const size_t m = a.dims[0], k = a.dims[1], n = b.dims[1];
    if (k != b.dims[0])
        fail(pos, "inner dimensions do not agree for '*' (" + dims_text(a.dims) + " times " + dims_text(b.dims) + ")");
    if (double(m) * double(k) * double(n) > 1e8) fail(pos, "matrix product too large for a literal");
    Value r;
    r.cls = cls;
    r.dims = {m, n};
    checked_numel(r.dims, pos);
    r.sparse = a.sparse || b.sparse;
    if (r.sparse && cls != mxDOUBLE_CLASS) fail(pos, "sparse values can only be double");
    const bool cx = a.complex() || b.complex();
    r.re.assign(m * n, 0.0);
    if (cx) r.im.assign(m * n, 0.0);
    for (size_t j = 0; j < n; ++j)
        for (size_t i = 0; i < m; ++i) {
            if (cx) {
                cplx s = 0.0;
                for (size_t l = 0; l < k; ++l)
                    s += cplx(a.re[i + m * l], a.complex() ? a.im[i + m * l] : 0.0) *
                         cplx(b.re[l + k * j], b.complex() ? b.im[l + k * j] : 0.0);
                r.re[i + m * j] = s.real();
                r.im[i + m * j] = s.imag();
            } else {
                double s = 0.0;
                for (size_t l = 0; l < k; ++l) s += a.re[i + m * l] * b.re[l + k * j];
                r.re[i + m * j] = s;
            }
        }
    normalise_values(r);
    narrow(r);
    return r;
}

} // namespace

bool is_integer_class(mxClassID c) { return c >= mxINT8_CLASS && c <= mxUINT64_CLASS; }

bool is_arithmetic(const Value &v) {
    return v.cls == mxDOUBLE_CLASS || v.cls == mxSINGLE_CLASS || v.cls == mxLOGICAL_CLASS || v.cls == mxCHAR_CLASS ||
           is_integer_class(v.cls);
}

const char *class_name(mxClassID c) {
    const ClassInfo *k = info(c);
    return k ? k->name : "unknown";
}

mxClassID class_from_name(const std::string &name) {
    for (const auto &k : kClasses)
        if (name == k.name && k.id != mxCELL_CLASS && k.id != mxFUNCTION_CLASS) return k.id;
    return mxUNKNOWN_CLASS;
}

std::string dims_text(const std::vector<size_t> &dims) {
    std::string s;
    for (size_t i = 0; i < dims.size(); ++i) s += (i ? "x" : "") + std::to_string(dims[i]);
    return s;
}

double to_class(mxClassID cls, double x) {
    switch (cls) {
    case mxDOUBLE_CLASS: return x;
    case mxSINGLE_CLASS: {
        // Converting a double beyond the float range is undefined in C++;
        // round it the way IEEE rounding to float would.
        const double top = 3.4028235677973366e38; // halfway between FLT_MAX and 2^128
        if (std::fabs(x) > double(FLT_MAX) && std::isfinite(x))
            return std::fabs(x) >= top ? std::copysign(HUGE_VAL, x) : std::copysign(double(FLT_MAX), x);
        return double(float(x));
    }
    case mxLOGICAL_CLASS: return x != 0.0 ? 1.0 : 0.0;
    default: break;
    }
    const ClassInfo *k = info(cls);
    if (!k) return x;
    if (std::isnan(x)) return 0.0;
    const double r = std::round(x); // half away from zero
    return r < k->lo ? k->lo : r > k->hi ? k->hi : r;
}

size_t checked_numel(const std::vector<size_t> &dims, size_t pos) {
    size_t n = 1;
    bool zero = std::find(dims.begin(), dims.end(), size_t(0)) != dims.end();
    if (zero) return 0;
    for (size_t d : dims) {
        if (d > kMaxLiteralElements || n > kMaxLiteralElements / d)
            fail(pos, "literal too large: " + dims_text(dims) + " (at most " + std::to_string(kMaxLiteralElements) +
                          " elements)");
        n *= d;
    }
    return n;
}

std::vector<size_t> normal_dims(std::vector<size_t> dims) {
    while (dims.size() < 2) dims.push_back(dims.empty() ? 0 : 1);
    while (dims.size() > 2 && dims.back() == 1) dims.pop_back();
    return dims;
}

Value scalar(double x) {
    Value v;
    v.dims = {1, 1};
    v.re = {x};
    return v;
}

Value filled(const std::vector<size_t> &dims, mxClassID cls, double x, size_t pos) {
    Value v;
    v.cls = cls;
    v.dims = normal_dims(dims);
    v.re.assign(checked_numel(v.dims, pos), to_class(cls, x));
    return v;
}

Value convert(const Value &v, mxClassID cls, size_t pos) {
    const std::string target = class_name(cls);
    if (!is_arithmetic(v)) fail(pos, std::string("cannot convert a ") + class_name(v.cls) + " value to " + target);
    if (v.sparse && cls != mxDOUBLE_CLASS) fail(pos, "sparse values can only be double");
    if (v.complex() && (cls == mxLOGICAL_CLASS || cls == mxCHAR_CLASS))
        fail(pos, "complex values cannot be converted to " + target);
    if (cls == mxLOGICAL_CLASS && std::any_of(v.re.begin(), v.re.end(), [](double x) { return std::isnan(x); }))
        fail(pos, "NaN cannot be converted to logical");
    Value r = v;
    r.cls = cls;
    normalise_values(r);
    return r;
}

Value binary(char op, const Value &a, const Value &b, size_t pos) {
    const mxClassID cls = result_class(a, b, op, pos);
    if (op == '*' && !is_scalar(a) && !is_scalar(b)) return matrix_product(a, b, cls, pos);
    if (op == '/' && !is_scalar(b)) fail(pos, "matrix division is not supported; divide by a scalar or use ./");
    if (op == '^' && !(is_scalar(a) && is_scalar(b))) fail(pos, "matrix power is not supported; use .^");
    if (!is_scalar(a) && !is_scalar(b) && a.dims != b.dims)
        fail(pos, std::string("sizes do not agree for '") + op_text(op) + "' (" + dims_text(a.dims) + " and " +
                      dims_text(b.dims) + ")");

    Value r;
    r.cls = cls;
    r.dims = is_scalar(a) ? b.dims : a.dims;
    r.sparse = sparse_result(op, a, b);
    if (r.sparse && cls != mxDOUBLE_CLASS) fail(pos, "sparse values can only be double");
    const size_t n = is_scalar(a) ? b.numel() : a.numel();
    const size_t sa = is_scalar(a) ? 0 : 1, sb = is_scalar(b) ? 0 : 1; // index strides
    r.re.resize(n);
    // A negative base with a non-integer exponent has a complex power.
    bool cx = a.complex() || b.complex();
    if (!cx && (op == '^' || op == 'p'))
        for (size_t i = 0; i < n && !cx; ++i)
            cx = a.re[i * sa] < 0 && std::isfinite(b.re[i * sb]) && b.re[i * sb] != std::trunc(b.re[i * sb]);
    if (cx) {
        r.im.resize(n);
        for (size_t i = 0; i < n; ++i) {
            const cplx x(a.re[i * sa], a.complex() ? a.im[i * sa] : 0.0);
            const cplx y(b.re[i * sb], b.complex() ? b.im[i * sb] : 0.0);
            // Real operands keep real arithmetic where the operation allows,
            // so that signed zeros and infinities are not disturbed.
            cplx z;
            if ((op == '+' || op == '-') && !b.complex())
                z = cplx(real_op(op, x.real(), y.real()), x.imag());
            else if ((op == '*' || op == 'x' || op == '/' || op == 'd') && !b.complex())
                z = cplx(real_op(op, x.real(), y.real()), real_op(op, x.imag(), y.real()));
            else if ((op == '*' || op == 'x') && !a.complex())
                z = cplx(x.real() * y.real(), x.real() * y.imag());
            else
                z = complex_op(op, x, y);
            r.re[i] = z.real();
            r.im[i] = z.imag();
        }
    } else {
        for (size_t i = 0; i < n; ++i) r.re[i] = real_op(op, a.re[i * sa], b.re[i * sb]);
    }
    normalise_values(r);
    narrow(r);
    return r;
}

Value negate(const Value &v, size_t pos) {
    if (!is_arithmetic(v)) fail(pos, std::string("unary minus is not defined for ") + class_name(v.cls) + " values");
    Value r = v;
    if (r.cls == mxCHAR_CLASS || r.cls == mxLOGICAL_CLASS) r.cls = mxDOUBLE_CLASS;
    for (double &x : r.re) x = -x;
    for (double &x : r.im) x = -x;
    normalise_values(r);
    return r;
}

Value unary_plus(const Value &v, size_t pos) {
    if (!is_arithmetic(v)) fail(pos, std::string("unary plus is not defined for ") + class_name(v.cls) + " values");
    Value r = v;
    if (r.cls == mxCHAR_CLASS || r.cls == mxLOGICAL_CLASS) r.cls = mxDOUBLE_CLASS;
    return r;
}

Value transpose(const Value &v, bool conjugate, size_t pos) {
    if (v.dims.size() > 2) fail(pos, "transpose is not defined for N-D arrays");
    const size_t m = v.dims[0], n = v.dims[1];
    Value r = v;
    r.dims = {n, m};
    for (size_t i = 0; i < m; ++i)
        for (size_t j = 0; j < n; ++j) {
            const size_t from = i + m * j, to = j + n * i;
            if (!v.re.empty()) r.re[to] = v.re[from];
            if (!v.im.empty()) r.im[to] = conjugate ? -v.im[from] : v.im[from];
            if (!v.cells.empty()) r.cells[to] = v.cells[from];
        }
    return r;
}

Value concatenate(std::vector<Item> items, bool horizontal) {
    if (items.empty()) return Value{};
    if (items.size() == 1) return std::move(items[0].value);

    bool any_cell = false;
    for (const Item &it : items) {
        if (it.value.cls == mxFUNCTION_CLASS) fail(it.pos, "function handles cannot be concatenated; use { }");
        if (it.value.dims.size() > 2) fail(it.pos, "N-D arrays cannot be concatenated in a literal");
        any_cell = any_cell || it.value.cls == mxCELL_CLASS;
    }
    for (const Item &it : items)
        if (any_cell && it.value.cls != mxCELL_CLASS)
            fail(it.pos, "a cell array cannot be concatenated with a non-cell value; put the value in { }");

    // Result class: cell; else char if any is char; else the leftmost integer
    // class; else single if any; else logical if all are; else double.
    mxClassID cls = mxDOUBLE_CLASS;
    bool any_char = false, any_single = false, all_logical = true, any_sparse = false, any_complex = false;
    mxClassID int_cls = mxUNKNOWN_CLASS;
    for (const Item &it : items) {
        const Value &v = it.value;
        any_char = any_char || v.cls == mxCHAR_CLASS;
        any_single = any_single || v.cls == mxSINGLE_CLASS;
        all_logical = all_logical && v.cls == mxLOGICAL_CLASS;
        any_sparse = any_sparse || v.sparse;
        any_complex = any_complex || v.complex();
        if (int_cls == mxUNKNOWN_CLASS && is_integer_class(v.cls)) int_cls = v.cls;
    }
    if (any_cell) cls = mxCELL_CLASS;
    else if (any_char) cls = mxCHAR_CLASS;
    else if (int_cls != mxUNKNOWN_CLASS) cls = int_cls;
    else if (any_single) cls = mxSINGLE_CLASS;
    else if (all_logical) cls = mxLOGICAL_CLASS;
    if (any_sparse && cls != mxDOUBLE_CLASS && cls != mxLOGICAL_CLASS)
        fail(items[0].pos, std::string("sparse values cannot be concatenated into a ") + class_name(cls) + " array");
    if (any_sparse) cls = mxDOUBLE_CLASS;
    if (any_complex && (cls == mxCHAR_CLASS || cls == mxLOGICAL_CLASS))
        fail(items[0].pos, "complex values cannot be concatenated with char values");

    // Empty arrays take no part; if all are empty, the result keeps the
    // common extent of the other dimension when there is one.
    const size_t keep = horizontal ? 0 : 1, grow = horizontal ? 1 : 0;
    std::vector<const Item *> parts;
    for (const Item &it : items)
        if (it.value.numel() > 0) parts.push_back(&it);
    Value r;
    r.cls = cls;
    r.sparse = any_sparse;
    if (parts.empty()) {
        size_t ext = items[0].value.dims[keep], total = 0;
        bool same = true;
        for (const Item &it : items) {
            same = same && it.value.dims[keep] == ext;
            total += it.value.dims[grow];
        }
        r.dims = same ? std::vector<size_t>(2) : std::vector<size_t>{0, 0};
        if (same) {
            r.dims[keep] = ext;
            r.dims[grow] = total;
        }
        return r;
    }
    const size_t ext = parts[0]->value.dims[keep];
    size_t total = 0;
    for (const Item *it : parts) {
        if (it->value.dims[keep] != ext)
            fail(it->pos, "dimensions of arrays being concatenated are not consistent (" +
                              dims_text(parts[0]->value.dims) + (horizontal ? " beside " : " above ") +
                              dims_text(it->value.dims) + ")");
        total += it->value.dims[grow];
        if (total > kMaxLiteralElements) break;
    }
    r.dims.assign(2, 0);
    r.dims[keep] = ext;
    r.dims[grow] = total;
    const size_t n = checked_numel(r.dims, items[0].pos);

    if (cls == mxCELL_CLASS) r.cells.reserve(n);
    else r.re.reserve(n);
    if (any_complex) r.im.reserve(n);
    auto append = [&](const Value &v, size_t from, size_t count) {
        if (cls == mxCELL_CLASS) {
            r.cells.insert(r.cells.end(), v.cells.begin() + long(from), v.cells.begin() + long(from + count));
            return;
        }
        for (size_t k = 0; k < count; ++k) r.re.push_back(to_class(cls, v.re[from + k]));
        if (any_complex)
            for (size_t k = 0; k < count; ++k) r.im.push_back(v.complex() ? to_class(cls, v.im[from + k]) : 0.0);
    };
    if (horizontal) {
        // Column-major: the columns of each part follow one another.
        for (const Item *it : parts) append(it->value, 0, it->value.numel());
    } else {
        for (size_t j = 0; j < r.dims[1]; ++j)
            for (const Item *it : parts) append(it->value, j * it->value.dims[0], it->value.dims[0]);
    }
    return r;
}

} // namespace mexrun
