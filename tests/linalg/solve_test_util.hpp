// Helpers shared by the tests of the batched solvers.
#ifndef TESTS_LINALG_SOLVE_TEST_UTIL_HPP
#define TESTS_LINALG_SOLVE_TEST_UTIL_HPP

#include "test_util.hpp"

#include <cmath>
#include <string>
#include <vector>

namespace solvetest {

// Identical doubles: equal with the same sign, or both NaN.
inline bool same(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

inline bool same(const std::vector<double> &a, const std::vector<double> &b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!same(a[i], b[i])) return false;
    return true;
}

// An m-by-n double matrix (or any shape given by dims) holding v.
inline mexhost::ArrayPtr array(const std::vector<size_t> &dims, const std::vector<double> &v) {
    auto a = mexhost::make_array(dims, mxDOUBLE_CLASS);
    double *p = mxGetPr(a.get());
    for (size_t i = 0; i < v.size(); ++i) p[i] = v[i];
    return a;
}

inline std::vector<size_t> dims(const mxArray *a) {
    const mwSize *d = mxGetDimensions(a);
    return std::vector<size_t>(d, d + mxGetNumberOfDimensions(a));
}

// Tiny deterministic generator so that test batches do not depend on the
// standard library's distributions.
struct Lcg {
    unsigned long long s;
    explicit Lcg(unsigned long long seed) : s(seed) {}
    double uniform() { // in [-1, 1)
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return double(s >> 11) * (2.0 / 9007199254740992.0) - 1.0;
    }
    int below(int k) {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return int((s >> 33) % (unsigned long long)k);
    }
};

} // namespace solvetest

#endif
