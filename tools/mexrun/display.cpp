// Plain, readable display of host arrays, modelled on MATLAB's: a header
// with the name, shape and class, then the values laid out by rows.
#include "output.hpp"

#include "mexhost.hpp"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <type_traits>

namespace mexrun {
namespace {

const mwSize *dims_of(const mxArray *a, size_t &nd) {
    nd = mxGetNumberOfDimensions(a);
    return mxGetDimensions(a);
}

std::string shape_text(const mxArray *a) {
    size_t nd;
    const mwSize *d = dims_of(a, nd);
    std::string s;
    for (size_t k = 0; k < nd; ++k) s += (k ? "x" : "") + std::to_string(d[k]);
    return s;
}

// "1,2" or "1,2,3": the 1-based subscripts of linear index k.
std::string subscripts(const mxArray *a, size_t k) {
    size_t nd;
    const mwSize *d = dims_of(a, nd);
    std::string s;
    for (size_t i = 0; i < nd; ++i) {
        s += (i ? "," : "") + std::to_string(k % d[i] + 1);
        k /= d[i];
    }
    return s;
}

template <typename T> std::string int_text(const void *p, size_t k) {
    const T v = static_cast<const T *>(p)[k];
    if constexpr (std::is_signed<T>::value) return std::to_string(static_cast<long long>(v));
    else return std::to_string(static_cast<unsigned long long>(v));
}

// Text of the real or imaginary part of element k of a full numeric array.
std::string part_text(const mxArray *a, const void *data, size_t k, int precision) {
    switch (mxGetClassID(a)) {
    case mxDOUBLE_CLASS: return format_real(static_cast<const double *>(data)[k], precision);
    case mxSINGLE_CLASS:
        return format_real(double(static_cast<const float *>(data)[k]), std::min(precision, 9));
    case mxINT8_CLASS: return int_text<int8_t>(data, k);
    case mxUINT8_CLASS: case mxLOGICAL_CLASS: return int_text<uint8_t>(data, k);
    case mxINT16_CLASS: return int_text<int16_t>(data, k);
    case mxUINT16_CLASS: return int_text<uint16_t>(data, k);
    case mxINT32_CLASS: return int_text<int32_t>(data, k);
    case mxUINT32_CLASS: return int_text<uint32_t>(data, k);
    case mxINT64_CLASS: return int_text<int64_t>(data, k);
    case mxUINT64_CLASS: return int_text<uint64_t>(data, k);
    default: return "?";
    }
}

std::string element_text(const mxArray *a, size_t k, int precision) {
    std::string re = part_text(a, mxGetData(a), k, precision);
    if (!mxIsComplex(a)) return re;
    std::string im = part_text(a, mxGetImagData(a), k, precision);
    const bool negative = im[0] == '-';
    return re + (negative ? " - " : " + ") + (negative ? im.substr(1) : im) + "i";
}

// Right-aligned columns of an m-by-n page of element texts.
void layout(std::string &out, const std::vector<std::string> &cells, size_t m, size_t n, const std::string &indent) {
    size_t width = 0;
    for (const auto &c : cells) width = std::max(width, c.size());
    for (size_t i = 0; i < m; ++i) {
        out += indent;
        for (size_t j = 0; j < n; ++j) {
            const std::string &c = cells[i + m * j];
            out += std::string(j ? 2 : 0, ' ') + std::string(width - c.size(), ' ') + c;
        }
        out += '\n';
    }
}

// Pages (:,:,k...) of an N-D array; `page` writes one m-by-n page.
template <typename F> void pages(std::string &out, const mxArray *a, const std::string &indent, F page) {
    size_t nd;
    const mwSize *d = dims_of(a, nd);
    const size_t m = d[0], n = d[1];
    size_t count = 1;
    for (size_t k = 2; k < nd; ++k) count *= d[k];
    for (size_t p = 0; p < count; ++p) {
        if (nd > 2) {
            std::string label = "(:,:";
            size_t q = p;
            for (size_t k = 2; k < nd; ++k) {
                label += "," + std::to_string(q % d[k] + 1);
                q /= d[k];
            }
            out += indent + label + ")\n";
        }
        page(p * m * n, m, n);
    }
}

void show(std::string &out, const std::string &label, const mxArray *a, const std::string &indent,
          const DisplayOptions &opt);

void body(std::string &out, const mxArray *a, const std::string &indent, const DisplayOptions &opt) {
    const mxClassID cls = mxGetClassID(a);
    const size_t numel = mxGetNumberOfElements(a);
    if (cls == mxFUNCTION_CLASS) {
        out += indent + "@" + mexhost::function_handle_name(a) + "\n";
        return;
    }
    if (cls == mxCELL_CLASS) {
        if (numel == 0) out += indent + "{}\n";
        for (size_t k = 0; k < numel; ++k) show(out, "{" + subscripts(a, k) + "}", mxGetCell(a, k), indent, opt);
        return;
    }
    if (cls == mxCHAR_CLASS) {
        const mxChar *d = static_cast<const mxChar *>(mxGetData(a));
        if (numel == 0) {
            out += indent + "''\n";
            return;
        }
        pages(out, a, indent, [&](size_t base, size_t m, size_t n) {
            for (size_t i = 0; i < m; ++i) {
                std::vector<mxChar> row(n);
                for (size_t j = 0; j < n; ++j) row[j] = d[base + i + m * j];
                out += indent + "'" + utf8_from_units(row.data(), n) + "'\n";
            }
        });
        return;
    }
    if (!mxIsNumeric(a) && cls != mxLOGICAL_CLASS) {
        out += indent + "(values of class " + mxGetClassName(a) + " are not shown)\n";
        return;
    }
    if (mxIsSparse(a)) {
        const mwIndex *ir = mxGetIr(a), *jc = mxGetJc(a);
        const double *pr = mxGetPr(a), *pi = mxGetPi(a);
        const size_t n = mxGetN(a);
        std::vector<std::string> at, val;
        for (size_t j = 0; j < n; ++j)
            for (size_t k = jc[j]; k < jc[j + 1]; ++k) {
                at.push_back("(" + std::to_string(ir[k] + 1) + "," + std::to_string(j + 1) + ")");
                val.push_back(pi ? format_complex(pr[k], pi[k], opt.precision) : format_real(pr[k], opt.precision));
            }
        if (at.empty()) {
            out += indent + "(no stored entries)\n";
            return;
        }
        size_t wa = 0, wv = 0;
        for (size_t k = 0; k < at.size(); ++k) {
            wa = std::max(wa, at[k].size());
            wv = std::max(wv, val[k].size());
        }
        for (size_t k = 0; k < at.size(); ++k)
            out += indent + at[k] + std::string(wa - at[k].size() + 2 + wv - val[k].size(), ' ') + val[k] + "\n";
        return;
    }
    if (numel == 0) {
        out += indent + "[]\n";
        return;
    }
    pages(out, a, indent, [&](size_t base, size_t m, size_t n) {
        std::vector<std::string> cells(m * n);
        for (size_t k = 0; k < m * n; ++k) cells[k] = element_text(a, base + k, opt.precision);
        layout(out, cells, m, n, indent);
    });
}

void show(std::string &out, const std::string &label, const mxArray *a, const std::string &indent,
          const DisplayOptions &opt) {
    if (!a) {
        out += indent + label + " = 0x0 double\n" + indent + "  []\n";
        return;
    }
    std::string kind;
    if (mxIsSparse(a)) kind += "sparse ";
    if (mxIsComplex(a)) kind += "complex ";
    out += indent + label + " = " + shape_text(a) + " " + kind + mxGetClassName(a) + "\n";
    body(out, a, indent + "  ", opt);
}

} // namespace

std::string format_real(double x, int precision) {
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x > 0 ? "Inf" : "-Inf";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.*g", precision, x);
    return buf;
}

std::string format_complex(double re, double im, int precision) {
    std::string i = format_real(im, precision);
    const bool negative = i[0] == '-';
    return format_real(re, precision) + (negative ? " - " : " + ") + (negative ? i.substr(1) : i) + "i";
}

std::string utf8_from_units(const mxChar *units, size_t n) {
    std::string s;
    for (size_t k = 0; k < n; ++k) {
        unsigned cp = units[k];
        if (cp >= 0xD800 && cp <= 0xDBFF && k + 1 < n && units[k + 1] >= 0xDC00 && units[k + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units[k + 1] - 0xDC00);
            ++k;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            s += char(cp);
        } else if (cp < 0x800) {
            s += char(0xC0 | (cp >> 6));
            s += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            s += char(0xE0 | (cp >> 12));
            s += char(0x80 | ((cp >> 6) & 0x3F));
            s += char(0x80 | (cp & 0x3F));
        } else {
            s += char(0xF0 | (cp >> 18));
            s += char(0x80 | ((cp >> 12) & 0x3F));
            s += char(0x80 | ((cp >> 6) & 0x3F));
            s += char(0x80 | (cp & 0x3F));
        }
    }
    return s;
}

std::string display_array(const std::string &name, const mxArray *a, const DisplayOptions &opt) {
    std::string out;
    show(out, name, a, "", opt);
    return out;
}

} // namespace mexrun
