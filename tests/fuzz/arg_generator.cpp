#include "arg_generator.hpp"

#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>

namespace fuzz {

namespace {
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

template <typename T> void fill_as(void *data, size_t n, const std::vector<double> &v) {
    T *p = static_cast<T *>(data);
    for (size_t i = 0; i < n; ++i) {
        double x = v[i];
        if (std::is_integral<T>::value) {
            // Saturate like the host's conversions; NaN becomes 0.
            if (std::isnan(x)) x = 0;
            const double lo = double(std::numeric_limits<T>::min()), hi = double(std::numeric_limits<T>::max());
            x = x < lo ? lo : (x > hi ? hi : x);
            if (x >= hi) {
                p[i] = std::numeric_limits<T>::max();
                continue;
            }
        }
        p[i] = static_cast<T>(x);
    }
}
} // namespace

double ArgGenerator::value() {
    static const double specials[] = {kNaN,    kInf,     -kInf,  0.0,     -0.0,   1.0,    -1.0,   2.0,
                                      3.0,     0.5,      -0.5,   1e308,   -1e308, 5e-324, 1e-300, 1e-10,
                                      1e10,    2.5,      4.0,    100.0,   1000.0, 1e6,    -3.0,   0.999999,
                                      4294967296.0, 2147483648.0, 65536.0, 32768.0};
    switch (pick(4)) {
    case 0: return specials[pick(sizeof specials / sizeof specials[0])];
    case 1: return double(pick(6)); // small counts, sizes and 1-based indices
    case 2: return std::normal_distribution<double>(0.0, 3.0)(rng_);
    default: return std::uniform_real_distribution<double>(0.0, 1.0)(rng_);
    }
}

std::vector<size_t> ArgGenerator::shape(size_t max_elems) {
    auto dim = [&](size_t hi) { return pick(hi + 1); };
    switch (pick(9)) {
    case 0: return {0, 0};
    case 1: return {0, 1 + dim(4)};
    case 2: return {1 + dim(4), 0};
    case 3: case 4: return {1, 1};
    case 5: return {1, 1 + dim(std::min<size_t>(max_elems, 12))};
    case 6: return {1 + dim(std::min<size_t>(max_elems, 12)), 1};
    case 7: {
        size_t m = 1 + dim(8), n = 1 + dim(8);
        return {m, n};
    }
    default: return {1 + dim(3), 1 + dim(3), 1 + dim(3)};
    }
}

mexhost::ArrayPtr ArgGenerator::array(std::string &desc, size_t max_elems, int depth) {
    static const mxClassID numeric[] = {mxSINGLE_CLASS, mxINT8_CLASS,  mxUINT8_CLASS,  mxINT16_CLASS,
                                        mxUINT16_CLASS, mxINT32_CLASS, mxUINT32_CLASS, mxINT64_CLASS,
                                        mxUINT64_CLASS};
    std::vector<size_t> dims = shape(max_elems);
    size_t n = 1;
    for (size_t d : dims) n *= d;
    std::ostringstream os;
    os << "[";
    for (size_t i = 0; i < dims.size(); ++i) os << (i ? "x" : "") << dims[i];
    os << "]";

    const size_t kind = pick(20);
    mexhost::ArrayPtr a;
    if (kind < 12 || (kind >= 18 && depth > 0)) { // full double, often complex
        const bool cplx = pick(6) == 0;
        a = mexhost::make_array(dims, mxDOUBLE_CLASS, cplx);
        double *re = mxGetPr(a.get()), *im = mxGetPi(a.get());
        os << (cplx ? " complex double {" : " double {");
        for (size_t i = 0; i < n; ++i) {
            re[i] = value();
            if (im) im[i] = value();
            if (i < 8) os << (i ? " " : "") << re[i];
        }
        os << (n > 8 ? " ...}" : "}");
    } else if (kind < 14) { // sparse double, a random subset of entries stored
        const size_t m = dims[0], cols = n == 0 ? (dims.size() > 1 ? dims[1] : 0) : n / (m ? m : 1);
        std::vector<size_t> ir, jc{0};
        std::vector<double> re, im;
        const bool cplx = pick(5) == 0;
        for (size_t j = 0; j < cols; ++j) {
            for (size_t i = 0; i < m; ++i)
                if (pick(3) == 0) {
                    ir.push_back(i);
                    re.push_back(value());
                    if (cplx) im.push_back(value());
                }
            jc.push_back(ir.size());
        }
        a = mexhost::make_sparse(m, cols, ir, jc, re, im);
        os.str("");
        os << "sparse" << (cplx ? " complex " : " ") << m << "x" << cols << " nnz=" << re.size();
    } else if (kind < 16) { // other numeric classes
        const mxClassID cls = numeric[pick(sizeof numeric / sizeof numeric[0])];
        a = mexhost::make_array(dims, cls, false);
        std::vector<double> v(n);
        for (auto &x : v) x = value();
        void *d = mxGetData(a.get());
        switch (cls) {
        case mxSINGLE_CLASS: fill_as<float>(d, n, v); break;
        case mxINT8_CLASS: fill_as<int8_t>(d, n, v); break;
        case mxUINT8_CLASS: fill_as<uint8_t>(d, n, v); break;
        case mxINT16_CLASS: fill_as<int16_t>(d, n, v); break;
        case mxUINT16_CLASS: fill_as<uint16_t>(d, n, v); break;
        case mxINT32_CLASS: fill_as<int32_t>(d, n, v); break;
        case mxUINT32_CLASS: fill_as<uint32_t>(d, n, v); break;
        case mxINT64_CLASS: fill_as<int64_t>(d, n, v); break;
        default: fill_as<uint64_t>(d, n, v); break;
        }
        os << " " << mxGetClassName(a.get());
    } else if (kind == 16) {
        a = mexhost::make_string(pick(2) ? "abc" : "");
        os.str("");
        os << "char";
    } else if (kind == 17) {
        a = mexhost::make_function_handle(pick(2) ? "fuzz_objective" : "fuzz_failing");
        os.str("");
        os << "@" << mexhost::function_handle_name(a.get());
    } else { // cell of a few arrays
        const size_t k = pick(3);
        std::vector<mexhost::ArrayPtr> elems;
        os.str("");
        os << "{";
        for (size_t i = 0; i < k; ++i) {
            std::string d;
            elems.push_back(array(d, max_elems, depth + 1));
            os << (i ? ", " : "") << d;
        }
        os << "}";
        a = mexhost::make_cell(1, k, std::move(elems));
    }
    desc = os.str();
    return a;
}

GeneratedArgs ArgGenerator::args(int max_args) {
    GeneratedArgs g;
    const size_t count = pick(size_t(max_args) + 1);
    for (size_t i = 0; i < count; ++i) {
        std::string d;
        g.arrays.push_back(array(d, 10000));
        g.description += (i ? ", " : "") + d;
    }
    return g;
}

} // namespace fuzz
