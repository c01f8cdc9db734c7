// Shared helpers for the C++ tests: reference tables, relative errors and
// plug-in calls through the embedded host.
#ifndef TESTS_TEST_UTIL_HPP
#define TESTS_TEST_UTIL_HPP

#include "mexhost.hpp"

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace testutil {

// Reads a whitespace-separated table of numbers from TEST_DATA_DIR/<file>.
// Lines starting with '#' are comments; "nan", "inf", "-inf" are accepted.
inline std::vector<std::vector<double>> read_table(const std::string &file) {
    std::ifstream in(std::string(TEST_DATA_DIR) + "/" + file);
    if (!in) throw std::runtime_error("cannot open reference table " + file);
    std::vector<std::vector<double>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream ss(line);
        std::vector<double> row;
        std::string tok;
        while (ss >> tok) row.push_back(std::strtod(tok.c_str(), nullptr));
        if (!row.empty()) rows.push_back(row);
    }
    return rows;
}

// |got - want| / |want|, with exact agreement (including both NaN or both
// the same infinity) giving 0 and want == 0 giving the absolute error.
inline double rel_err(double got, double want) {
    if (got == want) return 0.0;
    if (std::isnan(got) && std::isnan(want)) return 0.0;
    if (std::isnan(got) || std::isnan(want)) return std::numeric_limits<double>::infinity();
    if (want == 0.0) return std::fabs(got);
    return std::fabs(got - want) / std::fabs(want);
}

inline std::vector<double> values(const mxArray *a) {
    const double *p = mxGetPr(a);
    return std::vector<double>(p, p + mxGetNumberOfElements(a));
}

// Calls a plug-in from the build's plug-in directory with the given inputs.
inline mexhost::CallResult call(const std::string &name, int nargout, const std::vector<const mxArray *> &in) {
    mexhost::set_plugin_dir(MEX_PLUGIN_DIR);
    return mexhost::call(name, nargout, in);
}

inline mexhost::ArrayPtr row(const std::vector<double> &v) { return mexhost::make_double(1, v.size(), v); }
inline mexhost::ArrayPtr col(const std::vector<double> &v) { return mexhost::make_double(v.size(), 1, v); }

} // namespace testutil

#endif
