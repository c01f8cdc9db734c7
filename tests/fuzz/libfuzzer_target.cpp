// Coverage-guided fuzz target: the input bytes decode into one call of one
// plug-in of a subsystem (chosen by $FUZZ_SUBSYSTEM: special, distributions,
// approx, linalg or optim). A call is either one of the listed valid calls
// with a few of its arguments changed by the bytes, or an argument list built
// from the bytes alone (class, complexity, storage, shape and values).
//
// The rule: no crash and no sanitizer finding (libFuzzer reports those, and
// leaks with -detect_leaks=1, and slow calls with -timeout), every refusal is
// an error with a message, and an accepted call fills every output it was
// asked for. A broken rule aborts with the call described on stderr.
#include "functions.hpp"
#include "literal.hpp"
#include "mexhost.hpp"
#include "seed_calls.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Inputs of at most this many elements must be answered within the time bound.
constexpr size_t kMaxElements = 10000;

struct Target {
    std::vector<std::string> plugins;                     // of the chosen subsystem
    std::map<std::string, std::vector<fuzz::Seed>> seeds; // by plug-in
};

Target &target() {
    static Target t;
    return t;
}

// Reads the input from the front; past its end every read gives zero, so
// short inputs are still complete calls.
class Bytes {
public:
    Bytes(const uint8_t *data, size_t size) : p_(data), end_(data + size) {}
    uint8_t u8() { return p_ < end_ ? *p_++ : 0; }
    size_t pick(size_t n) { return n ? u8() % n : 0; }
    double raw_double() {
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits = bits << 8 | u8();
        double x;
        std::memcpy(&x, &bits, sizeof x);
        return x;
    }
    // The numbers that break numerical code, small counts and indices,
    // fractions, and any bit pattern.
    double value() {
        static const double specials[] = {kNaN,   kInf,          -kInf,        0.0,     -0.0,   1.0,    -1.0,
                                          0.5,    -0.5,          1e308,        -1e308,  5e-324, 2.2250738585072014e-308,
                                          1e-300, 1e300,         2147483648.0, 4294967296.0, 9.007199254740992e15,
                                          1e5,    1e10,          0.999999,     1e-10,   2.5,    -3.0,   65536.0};
        const uint8_t b = u8();
        switch (b & 3) {
        case 0: return specials[(b >> 2) % (sizeof specials / sizeof specials[0])];
        case 1: return double(int(b >> 2) - 16);       // -16..47
        case 2: return double(int8_t(u8())) / 8.0;     // fractions
        default: return raw_double();
        }
    }

private:
    const uint8_t *p_, *end_;
};

size_t numel(const std::vector<size_t> &dims) {
    size_t n = 1;
    for (size_t d : dims) n *= d;
    return n;
}

// Integer and char data hold values in their class's range (NaN as 0): a
// double out of range has no defined conversion.
void fit_to_class(mexrun::Value &v) {
    double lo = 0, hi = 0;
    switch (v.cls) {
    case mxINT8_CLASS: lo = -128, hi = 127; break;
    case mxUINT8_CLASS: lo = 0, hi = 255; break;
    case mxLOGICAL_CLASS: lo = 0, hi = 1; break;
    case mxINT16_CLASS: lo = -32768, hi = 32767; break;
    case mxUINT16_CLASS: case mxCHAR_CLASS: lo = 0, hi = 65535; break;
    case mxINT32_CLASS: lo = -2147483648.0, hi = 2147483647.0; break;
    case mxUINT32_CLASS: lo = 0, hi = 4294967295.0; break;
    case mxINT64_CLASS: lo = -9223372036854775808.0, hi = 9223372036854775808.0; break; // the bounds clamp when stored
    case mxUINT64_CLASS: lo = 0, hi = 18446744073709551616.0; break;
    default: return;
    }
    v.im.clear();
    v.sparse = false;
    for (double &x : v.re) x = std::isnan(x) ? 0.0 : std::round(std::min(hi, std::max(lo, x)));
}

const char *const kHandles[] = {"fuzz_objective", "fuzz_failing", "fuzz_nan", "fuzz_vector",
                                "fuzz_text",      "fuzz_empty",   "sumsq",    "identity"};

// An array built from the bytes alone.
mexrun::Value build_value(Bytes &in, int depth) {
    static const mxClassID classes[] = {mxDOUBLE_CLASS, mxDOUBLE_CLASS, mxDOUBLE_CLASS, mxSINGLE_CLASS,
                                        mxINT8_CLASS,   mxUINT8_CLASS,  mxINT16_CLASS,  mxUINT16_CLASS,
                                        mxINT32_CLASS,  mxUINT32_CLASS, mxINT64_CLASS,  mxUINT64_CLASS,
                                        mxLOGICAL_CLASS, mxCHAR_CLASS,  mxCELL_CLASS,   mxFUNCTION_CLASS};
    static const size_t extents[] = {0, 1, 1, 1, 2, 2, 3, 4, 5, 7, 10, 16, 33, 100, 1000, 10000};
    mexrun::Value v;
    v.cls = classes[in.pick(sizeof classes / sizeof classes[0])];
    if (v.cls == mxFUNCTION_CLASS) {
        v.name = kHandles[in.pick(sizeof kHandles / sizeof kHandles[0])];
        v.dims = {1, 1};
        return v;
    }
    const uint8_t flags = in.u8();
    v.dims = {extents[flags & 15], extents[in.pick(16)]};
    if (flags & 16) v.dims.push_back(extents[in.pick(8)]);
    // Keep within the element bound by shrinking the last extent.
    while (numel(v.dims) > kMaxElements) v.dims.back() /= 2;
    if (v.dims.size() == 3 && v.dims[2] == 1) v.dims.pop_back();
    const size_t n = numel(v.dims);
    if (v.cls == mxCELL_CLASS) {
        if (depth > 1 || n > 8) v.dims = {1, std::min<size_t>(n, 3)};
        for (size_t k = 0; k < numel(v.dims); ++k) v.cells.push_back(build_value(in, depth + 1));
        return v;
    }
    // Values: each from the bytes, one repeated, or a ramp from a start by a step.
    const uint8_t fill = in.u8() % 3;
    const double a = in.value(), b = fill == 2 ? in.value() : 0.0;
    v.re.resize(n);
    for (size_t k = 0; k < n; ++k) v.re[k] = fill == 0 ? (k ? in.value() : a) : fill == 1 ? a : a + double(k) * b;
    if ((flags & 32) && (v.cls == mxDOUBLE_CLASS || v.cls == mxSINGLE_CLASS)) {
        v.im.resize(n);
        for (double &x : v.im) x = in.value();
    }
    if ((flags & 64) && v.cls == mxDOUBLE_CLASS && v.dims.size() == 2) v.sparse = true;
    fit_to_class(v);
    return v;
}

// Changes one argument of a valid call.
void mutate_value(Bytes &in, mexrun::Value &v, std::string &what) {
    const size_t n = v.numel();
    const bool numeric = v.cells.empty() && v.cls != mxFUNCTION_CLASS && v.cls != mxCELL_CLASS;
    switch (in.pick(6)) {
    case 0: // one element
        if (numeric && n) {
            const size_t k = in.pick(std::min<size_t>(n, 256)) * std::max<size_t>(1, n / 256);
            v.re[std::min(k, n - 1)] = in.value();
            fit_to_class(v);
            what += " element";
        }
        break;
    case 1: { // every element
        if (!numeric) break;
        const double x = in.value();
        for (double &e : v.re) e = x;
        fit_to_class(v);
        what += " all";
        break;
    }
    case 2: // shape: transposed, emptied, or made 3-D
        if (in.u8() & 1) {
            std::swap(v.dims[0], v.dims[1]);
        } else {
            v.dims = {in.pick(2), 0};
            v.re.clear(), v.im.clear(), v.cells.clear();
        }
        what += " shape";
        break;
    case 3: { // class
        static const mxClassID cls[] = {mxSINGLE_CLASS, mxINT8_CLASS,   mxUINT8_CLASS,  mxINT32_CLASS,
                                        mxUINT64_CLASS, mxLOGICAL_CLASS, mxCHAR_CLASS,  mxINT16_CLASS};
        if (!numeric) break;
        v.cls = cls[in.pick(8)];
        fit_to_class(v);
        what += " class";
        break;
    }
    case 4: // storage and complexity
        if (numeric && v.cls == mxDOUBLE_CLASS) {
            if (in.u8() & 1) {
                if (v.dims.size() == 2) v.sparse = !v.sparse;
            } else {
                v.im.assign(n, in.value());
            }
            what += " storage";
        }
        break;
    default:
        v = build_value(in, 0);
        what += " replaced";
        break;
    }
}

std::vector<mexrun::Value> seed_call(Bytes &in, const fuzz::Seed &s, std::string &what) {
    std::vector<mexrun::Value> args = s.args;
    const size_t count = 1 + in.pick(3);
    for (size_t k = 0; k < count; ++k) {
        switch (in.pick(8)) {
        case 0:
            if (!args.empty()) args.pop_back(), what += " [dropped last]";
            break;
        case 1:
            args.push_back(args.empty() ? build_value(in, 0) : args[in.pick(args.size())]);
            what += " [extra]";
            break;
        default:
            if (!args.empty()) {
                const size_t i = in.pick(args.size());
                what += " [arg " + std::to_string(i + 1);
                mutate_value(in, args[i], what);
                what += "]";
            }
        }
    }
    return args;
}

// class, size and leading values of an argument, to reproduce a call by hand.
std::string describe(const mexrun::Value &v) {
    std::ostringstream os;
    if (v.cls == mxFUNCTION_CLASS) return "@" + v.name;
    os << (v.sparse ? "sparse " : "") << (v.complex() ? "complex " : "");
    os << (v.cls == mxCELL_CLASS ? "cell" : v.cls == mxCHAR_CLASS ? "char" : v.cls == mxLOGICAL_CLASS ? "logical" : "");
    if (v.cls != mxCELL_CLASS && v.cls != mxCHAR_CLASS && v.cls != mxLOGICAL_CLASS) os << "class" << int(v.cls);
    for (size_t i = 0; i < v.dims.size(); ++i) os << (i ? "x" : " ") << v.dims[i];
    os.precision(17);
    os << " [";
    for (size_t k = 0; k < v.re.size() && k < 6; ++k) os << (k ? " " : "") << v.re[k];
    os << (v.re.size() > 6 ? " ...]" : "]");
    for (const auto &c : v.cells) os << " {" << describe(c) << "}";
    return os.str();
}

void fail(const std::string &rule, const std::string &call) {
    std::fprintf(stderr, "\n*** %s\n*** call: %s\n", rule.c_str(), call.c_str());
    std::abort();
}

void register_callbacks() {
    mexrun::register_functions(); // sumsq, identity, ... named by the listed calls
    mexhost::register_function("fuzz_objective", [](int, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
        double s = 0;
        if (nrhs > 0 && mxIsDouble(prhs[0]) && !mxIsSparse(prhs[0])) {
            const double *x = mxGetPr(prhs[0]);
            for (size_t i = 0; i < mxGetNumberOfElements(prhs[0]); ++i) s += (x[i] - 0.3) * (x[i] - 0.3);
        }
        plhs[0] = mxCreateDoubleScalar(s);
    });
    mexhost::register_function("fuzz_failing",
                               [](int, mxArray *[], int, const mxArray *[]) { mexErrMsgTxt("objective failed"); });
    mexhost::register_function("fuzz_nan",
                               [](int, mxArray *plhs[], int, const mxArray *[]) { plhs[0] = mxCreateDoubleScalar(kNaN); });
    mexhost::register_function("fuzz_vector", [](int, mxArray *plhs[], int, const mxArray *[]) {
        plhs[0] = mxCreateDoubleMatrix(1, 3, mxREAL);
    });
    mexhost::register_function("fuzz_text",
                               [](int, mxArray *plhs[], int, const mxArray *[]) { plhs[0] = mxCreateString("x"); });
    mexhost::register_function("fuzz_empty", [](int, mxArray *plhs[], int, const mxArray *[]) {
        plhs[0] = mxCreateDoubleMatrix(0, 0, mxREAL);
    });
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    const char *sub = std::getenv("FUZZ_SUBSYSTEM");
    if (!sub || !*sub) {
        std::fprintf(stderr, "set FUZZ_SUBSYSTEM to special, distributions, approx, linalg or optim\n");
        std::exit(2);
    }
    Target &t = target();
    std::istringstream table(FUZZ_PLUGIN_TABLE);
    std::string entry;
    while (table >> entry) {
        const size_t colon = entry.find(':');
        if (entry.substr(0, colon) == sub) t.plugins.push_back(entry.substr(colon + 1));
    }
    if (t.plugins.empty()) {
        std::fprintf(stderr, "no plug-ins in subsystem '%s'\n", sub);
        std::exit(2);
    }
    register_callbacks();
    mexhost::set_plugin_dir(MEX_PLUGIN_DIR);
    // Generated sizes must not turn into gigabytes of output.
    mexhost::set_allocation_limit(size_t(1) << 28);
    // Loading each plug-in now registers its coverage counters before fuzzing.
    for (const std::string &name : t.plugins) {
        mexhost::CallResult r = mexhost::call(name, 0, std::vector<const mxArray *>{});
        if (!r.ok && r.error.rfind("Cannot load plug-in", 0) == 0) {
            std::fprintf(stderr, "%s\n", r.error.c_str());
            std::exit(2);
        }
    }
    t.seeds = fuzz::read_seed_calls(SEED_CALLS_FILE);
    std::fprintf(stderr, "fuzzing %zu plug-ins of %s\n", t.plugins.size(), sub);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Target &t = target();
    Bytes in(data, size);
    const std::string &name = t.plugins[in.pick(t.plugins.size())];
    const uint8_t ctl = in.u8();
    const auto seeds = t.seeds.find(name);
    const bool from_seed = !(ctl & 0x80) && seeds != t.seeds.end();

    std::vector<mexrun::Value> args;
    std::string what;
    int nargout = int(ctl & 7);
    if (from_seed) {
        const fuzz::Seed &s = seeds->second[in.pick(seeds->second.size())];
        what = s.text;
        args = seed_call(in, s, what);
        if (nargout > 4) nargout = s.nargout; // mostly the call's own count
    } else {
        nargout %= 5;
        const size_t count = in.pick(9);
        what = name + " | " + std::to_string(nargout) + " | <" + std::to_string(count) + " built arguments>";
        for (size_t i = 0; i < count; ++i) args.push_back(build_value(in, 0));
    }

    // FUZZ_PRINT=1 shows each call before it runs (to replay a reproducer).
    static const bool print = std::getenv("FUZZ_PRINT") != nullptr;
    if (print) {
        std::fprintf(stderr, "%s nargout=%d\n", what.c_str(), nargout);
        for (size_t i = 0; i < args.size(); ++i) std::fprintf(stderr, "  arg %zu: %s\n", i + 1, describe(args[i]).c_str());
    }
    std::vector<mexhost::ArrayPtr> arrays;
    for (const mexrun::Value &v : args) arrays.push_back(mexrun::to_array(v));
    const mexhost::CallResult r = mexhost::call(name, nargout, arrays);
    what += " nargout=" + std::to_string(nargout);
    if (!r.ok && r.error.empty()) fail("refused without a message", what);
    if (r.ok) {
        if (r.outputs.size() != size_t(std::max(nargout, 1))) fail("wrong number of outputs", what);
        for (int k = 0; k < nargout; ++k)
            if (!r.outputs[size_t(k)]) fail("output " + std::to_string(k + 1) + " not set", what);
    }
    return 0;
}
