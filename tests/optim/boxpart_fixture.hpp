// Search state arrays for calling boxpart through the embedded host, and a
// host-side objective that logs its calls.
#ifndef TESTS_OPTIM_BOXPART_FIXTURE_HPP
#define TESTS_OPTIM_BOXPART_FIXTURE_HPP

#include "test_util.hpp"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace boxtest {

using mexhost::ArrayPtr;

inline ArrayPtr column(mxClassID cls, size_t count) { return mexhost::make_array({count, 1}, cls); }
inline ArrayPtr copy(const ArrayPtr &a) { return ArrayPtr(mxDuplicateArray(a.get())); }

// Centre-to-vertex distance of a box at each level, the search box being
// the unit cube.
inline double centre_to_vertex(long long L, long long n) {
    const long long m = (L - 1) / n, r = (L - 1) % n;
    const double lng = std::pow(3.0, -double(m)), sht = lng / 3.0;
    return 0.5 * std::sqrt(double(r) * sht * sht + double(n - r) * lng * lng);
}

struct Box {
    ArrayPtr width, centre, parent, offset, cut, level, fval, size, lmin, params, ia;
    // Input positions (0-based) of an array passed a second time in place of
    // another: {source, replaced}; {0, 0} passes every array once.
    std::pair<int, int> alias{0, 0};

    // A fresh search: point 1 is the root with value root_value (user sign).
    Box(const std::vector<double> &w, const std::vector<double> &c, size_t X, size_t W, double root_value = 0.0) {
        const size_t n = w.size();
        width = testutil::col(w);
        centre = testutil::col(c);
        parent = column(mxINT32_CLASS, X);
        offset = column(mxDOUBLE_CLASS, X);
        cut = column(mxINT16_CLASS, X);
        level = column(mxINT16_CLASS, X);
        fval = column(mxDOUBLE_CLASS, X);
        size = column(mxDOUBLE_CLASS, W);
        lmin = column(mxDOUBLE_CLASS, W);
        for (size_t L = 1; L <= W; ++L) S(L) = centre_to_vertex((long long)L, (long long)n);
        params = testutil::col({1e-4, std::numeric_limits<double>::quiet_NaN(), 0.0, 1.0});
        ia = testutil::col({1, 0, 1, 1, 0, 1, 0, double(n), double(X), double(W), 0, 1e9, 0, 0});
        lev(1) = 1;
        f(1) = root_value;
    }
    Box(const Box &o)
        : width(copy(o.width)), centre(copy(o.centre)), parent(copy(o.parent)), offset(copy(o.offset)),
          cut(copy(o.cut)), level(copy(o.level)), fval(copy(o.fval)), size(copy(o.size)), lmin(copy(o.lmin)),
          params(copy(o.params)), ia(copy(o.ia)), alias(o.alias) {}

    // 1-based element access.
    double &I(int k) { return mxGetPr(ia.get())[k - 1]; }
    double &P(int k) { return mxGetPr(params.get())[k - 1]; }
    int32_t &par(long long p) { return static_cast<int32_t *>(mxGetData(parent.get()))[p - 1]; }
    double &off(long long p) { return mxGetPr(offset.get())[p - 1]; }
    int16_t &dim(long long p) { return static_cast<int16_t *>(mxGetData(cut.get()))[p - 1]; }
    int16_t &lev(long long p) { return static_cast<int16_t *>(mxGetData(level.get()))[p - 1]; }
    double &f(long long p) { return mxGetPr(fval.get())[p - 1]; }
    double &S(size_t L) { return mxGetPr(size.get())[L - 1]; }
    double &M(size_t L) { return mxGetPr(lmin.get())[L - 1]; }
    long long nf() { return (long long)I(1); }

    std::vector<const mxArray *> inputs(const mxArray *objective, const std::vector<const mxArray *> &extra = {}) const {
        std::vector<const mxArray *> in{objective, width.get(), centre.get(), parent.get(), offset.get(), cut.get(),
                                        level.get(), fval.get(), size.get(), lmin.get(), params.get(), ia.get()};
        in.insert(in.end(), extra.begin(), extra.end());
        if (alias.second != 0) in[size_t(alias.second)] = in[size_t(alias.first)];
        return in;
    }
    mexhost::CallResult call(const mxArray *objective, const std::vector<const mxArray *> &extra = {}) const {
        return testutil::call("boxpart", 0, inputs(objective, extra));
    }

    // Every byte of every array, to show that a refused call changed nothing.
    std::vector<unsigned char> bytes() const {
        std::vector<unsigned char> out;
        for (const ArrayPtr *a : {&width, &centre, &parent, &offset, &cut, &level, &fval, &size, &lmin, &params, &ia}) {
            const size_t count = mxIsSparse(a->get()) ? mxGetNzmax(a->get()) : mxGetNumberOfElements(a->get());
            const size_t n = count * mxGetElementSize(a->get());
            const unsigned char *d = static_cast<const unsigned char *>(mxGetData(a->get()));
            out.insert(out.end(), d, d + n);
        }
        return out;
    }
};

// A host-side objective of the trial vector that records every point it is
// called at.
struct Objective {
    std::function<double(const std::vector<double> &)> fn;
    std::vector<std::vector<double>> points;
    ArrayPtr handle;

    explicit Objective(std::function<double(const std::vector<double> &)> g) : fn(std::move(g)) {
        handle = mexhost::make_function_handle(
            [this](int, mxArray *plhs[], int, const mxArray *prhs[]) {
                const double *x = mxGetPr(prhs[0]);
                points.emplace_back(x, x + mxGetNumberOfElements(prhs[0]));
                plhs[0] = mxCreateDoubleScalar(fn(points.back()));
            },
            "@objective");
    }
    const mxArray *get() const { return handle.get(); }
    size_t calls() const { return points.size(); }
};

} // namespace boxtest

#endif
