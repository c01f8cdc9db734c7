// The JSON form of call results. Numbers are written here (17 significant
// digits, non-finite values as strings); nlohmann::json escapes the strings.
#include "output.hpp"

#include "mexhost.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <type_traits>

namespace mexrun {
namespace {

template <typename T> void int_values(std::string &out, const void *p, size_t n) {
    const T *d = static_cast<const T *>(p);
    out += '[';
    for (size_t k = 0; k < n; ++k) {
        if (k) out += ',';
        if constexpr (std::is_signed<T>::value) out += std::to_string(static_cast<long long>(d[k]));
        else out += std::to_string(static_cast<unsigned long long>(d[k]));
    }
    out += ']';
}

void float_values(std::string &out, const double *d, size_t n) {
    out += '[';
    for (size_t k = 0; k < n; ++k) {
        if (k) out += ',';
        out += json_number(d[k]);
    }
    out += ']';
}

// Values of one part (real or imaginary) of a full numeric or logical array.
void numeric_values(std::string &out, const mxArray *a, const void *p, size_t n) {
    switch (mxGetClassID(a)) {
    case mxDOUBLE_CLASS: float_values(out, static_cast<const double *>(p), n); break;
    case mxSINGLE_CLASS: {
        const float *f = static_cast<const float *>(p);
        out += '[';
        for (size_t k = 0; k < n; ++k) out += (k ? "," : "") + json_number(double(f[k]));
        out += ']';
        break;
    }
    case mxINT8_CLASS: int_values<int8_t>(out, p, n); break;
    case mxUINT8_CLASS: case mxLOGICAL_CLASS: int_values<uint8_t>(out, p, n); break;
    case mxINT16_CLASS: int_values<int16_t>(out, p, n); break;
    case mxUINT16_CLASS: int_values<uint16_t>(out, p, n); break;
    case mxINT32_CLASS: int_values<int32_t>(out, p, n); break;
    case mxUINT32_CLASS: int_values<uint32_t>(out, p, n); break;
    case mxINT64_CLASS: int_values<int64_t>(out, p, n); break;
    case mxUINT64_CLASS: int_values<uint64_t>(out, p, n); break;
    default: out += "null"; break;
    }
}

void index_values(std::string &out, const mwIndex *d, size_t n) {
    out += '[';
    for (size_t k = 0; k < n; ++k) out += (k ? "," : "") + std::to_string(d[k]);
    out += ']';
}

void write_array(std::string &out, const mxArray *a) {
    if (!a) {
        out += R"({"class":"double","dims":[0,0],"complex":false,"sparse":false,"re":[],"im":null})";
        return;
    }
    const mxClassID cls = mxGetClassID(a);
    const size_t n = mxGetNumberOfElements(a);
    const size_t nd = mxGetNumberOfDimensions(a);
    out += "{\"class\":";
    out += json_string(mxGetClassName(a));
    out += ",\"dims\":";
    index_values(out, mxGetDimensions(a), nd);
    out += ",\"complex\":";
    out += mxIsComplex(a) ? "true" : "false";
    out += ",\"sparse\":";
    out += mxIsSparse(a) ? "true" : "false";
    out += ",\"re\":";
    if (mxIsSparse(a)) {
        const size_t cols = mxGetN(a);
        const mwIndex *jc = mxGetJc(a);
        const size_t nnz = jc[cols];
        float_values(out, mxGetPr(a), nnz);
        out += ",\"im\":";
        if (mxIsComplex(a)) float_values(out, mxGetPi(a), nnz);
        else out += "null";
        out += ",\"ir\":";
        index_values(out, mxGetIr(a), nnz);
        out += ",\"jc\":";
        index_values(out, jc, cols + 1);
    } else if (mxIsNumeric(a) || cls == mxLOGICAL_CLASS) {
        numeric_values(out, a, mxGetData(a), n);
        out += ",\"im\":";
        if (mxIsComplex(a)) numeric_values(out, a, mxGetImagData(a), n);
        else out += "null";
    } else if (cls == mxCHAR_CLASS) {
        out += json_string(utf8_from_units(static_cast<const mxChar *>(mxGetData(a)), n));
        out += ",\"im\":null";
    } else {
        out += "null,\"im\":null";
        if (cls == mxCELL_CLASS) {
            out += ",\"cells\":[";
            for (size_t k = 0; k < n; ++k) {
                if (k) out += ',';
                write_array(out, mxGetCell(a, k));
            }
            out += ']';
        } else if (cls == mxFUNCTION_CLASS) {
            out += ",\"name\":";
            out += json_string(mexhost::function_handle_name(a));
        }
    }
    out += '}';
}

} // namespace

std::string json_string(const std::string &s) {
    return nlohmann::json(s).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string json_number(double x) {
    if (std::isnan(x)) return "\"NaN\"";
    if (std::isinf(x)) return x > 0 ? "\"Inf\"" : "\"-Inf\"";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", x);
    return buf;
}

std::string json_array(const mxArray *a) {
    std::string out;
    write_array(out, a);
    return out;
}

std::string json_success(const std::vector<const mxArray *> &outputs, const std::vector<std::string> &warnings,
                         const std::string &printed) {
    std::string out = "{\"outputs\":[";
    for (size_t k = 0; k < outputs.size(); ++k) {
        if (k) out += ',';
        write_array(out, outputs[k]);
    }
    out += "],\"warnings\":[";
    for (size_t k = 0; k < warnings.size(); ++k) out += (k ? "," : "") + json_string(warnings[k]);
    out += "],\"printed\":";
    out += json_string(printed);
    out += '}';
    return out;
}

std::string json_error(const std::string &message) { return "{\"error\":" + json_string(message) + "}"; }

} // namespace mexrun
