// Accuracy of the four gamma-side CDF plug-ins over the reference grids
// tests/data/gamma_acc_*.txt and gamma_noncentral.txt: every value is
// obtained by calling the plug-in through the host (one call per parameter
// set, the points as one column) and compared with the mpmath value.
// Shared by the gamma_accuracy command and the tests that assert the figures.
#ifndef TOOLS_ACCURACY_GAMMA_ACCURACY_GRID_HPP
#define TOOLS_ACCURACY_GAMMA_ACCURACY_GRID_HPP

#include "reference_table.hpp"

#include "mexhost.hpp"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace gamma_accuracy {

struct Row {
    std::vector<double> params; // plug-in parameters after the point
    double x;                   // the point
    double want;                // reference lower tail
    double got;                 // value returned by the plug-in
    std::string region;
    double shape; // the shape of the incomplete gamma ratio (or the noncentrality)
    std::string band;
};

struct Stats {
    std::string region;
    std::size_t n = 0;
    double max = 0, median = 0;
    double worst_x = 0;
    std::vector<double> worst_params;
};

using accuracy::read_numbers;

inline double rel_err(double got, double want) {
    if (got == want) return 0;
    if (std::isnan(got) || want == 0) return std::numeric_limits<double>::infinity();
    return std::fabs(got - want) / std::fabs(want);
}

// Method region of the incomplete gamma ratio at (a, x), accuracy level 0.
inline std::string incgamma_region(double a, double x) {
    if (a == 0 || x == 0) return "zero rule";
    if (a < 1) {
        if (a == 0.5) return "a = 0.5, erf/erfc";
        if (x < 1.1) return "a < 1, x < 1.1: small-x series";
        return "a < 1, x >= 1.1: continued fraction";
    }
    if (a < 20) {
        if (a <= x && x < 31 && std::floor(2 * a) == 2 * a) return "1 <= a < 20: finite sum";
        if (x <= std::max(a, 2.30258509299405)) return "1 <= a < 20: Taylor series";
        return x < 31 ? "1 <= a < 20: continued fraction" : "1 <= a < 20: asymptotic expansion";
    }
    const double l = x / a, s = 0.5 + (0.5 - l), z = (l - 1) - std::log(l);
    if (z >= 700 / a) return "a >= 20: tail below underflow";
    if (std::fabs(s) <= 0.00025 / std::sqrt(a)) return "a >= 20: Temme, x ~ a";
    if (std::fabs(s) <= 0.4) return "a >= 20: Temme, |1 - x/a| <= 0.4";
    if (x <= a) return "a >= 20: Stirling prefactor, Taylor series";
    return x < 31 ? "a >= 20: Stirling prefactor, continued fraction"
                  : "a >= 20: Stirling prefactor, asymptotic expansion";
}

// Shape bands: near the centre the large-shape regions are sensitive to the
// rounding of 1 - x/a (like sqrt(a)), so the figures are given band by band.
inline std::string shape_band(double a) {
    if (a < 1) return "shape < 1";
    if (a < 20) return "1 <= shape < 20";
    if (a <= 1e4) return "20 <= shape <= 1e4";
    if (a <= 1e6) return "1e4 < shape <= 1e6";
    if (a <= 1e8) return "1e6 < shape <= 1e8";
    return "1e8 < shape <= 1e10";
}

inline std::string noncentral_region(double nc) {
    if (nc < 1) return "nc < 1";
    if (nc < 1e4) return "1 <= nc < 1e4";
    if (nc < 1e5) return "nc = 1e4";
    if (nc < 1e6) return "nc = 1e5";
    if (nc < 1e7) return "nc = 1e6";
    return "nc = 1e8";
}

// Loads the grid of one plug-in and fills in the plug-in's values.
// Values below `floor` are left out (the noncentral sum has an absolute
// floor of 1e-20; the central ones are measured down to 1e-300).
inline std::vector<Row> evaluate(const std::string &plugin, const std::string &data_dir) {
    std::vector<Row> rows;
    if (plugin == "noncentralchi2_lower") {
        for (const auto &r : read_numbers(data_dir + "/gamma_noncentral.txt")) {
            if (r[3] < 1e-15) continue;
            rows.push_back({{r[1], r[2]}, r[0], r[3], 0, noncentral_region(r[2]), r[2], noncentral_region(r[2])});
        }
    } else {
        const std::string file = plugin == "gamma_lower"       ? "gamma_acc_gamma.txt"
                                 : plugin == "chisquare_lower" ? "gamma_acc_chisquare.txt"
                                                               : "gamma_acc_poisson.txt";
        for (const auto &r : read_numbers(data_dir + "/" + file)) {
            const double p = r[0], x = r[1];
            const double a = plugin == "gamma_lower" ? p : plugin == "chisquare_lower" ? p * 0.5 : x + 1;
            const double ax = plugin == "gamma_lower" ? x : plugin == "chisquare_lower" ? x * 0.5 : p;
            rows.push_back({{p}, x, r[2], 0, incgamma_region(a, ax), a, shape_band(a)});
        }
    }
    // One call per parameter set, points as a column.
    std::map<std::vector<double>, std::vector<std::size_t>> groups;
    for (std::size_t i = 0; i < rows.size(); ++i) groups[rows[i].params].push_back(i);
    for (const auto &[params, idx] : groups) {
        std::vector<double> xs;
        for (std::size_t i : idx) xs.push_back(rows[i].x);
        auto col = mexhost::make_double(xs.size(), 1, xs);
        std::vector<mexhost::ArrayPtr> owned;
        std::vector<const mxArray *> in{col.get()};
        for (double p : params) {
            owned.push_back(mexhost::make_scalar(p));
            in.push_back(owned.back().get());
        }
        auto res = mexhost::call(plugin, 1, in);
        if (!res.ok) throw std::runtime_error(plugin + ": " + res.error);
        const double *out = mxGetPr(res.outputs[0].get());
        for (std::size_t k = 0; k < idx.size(); ++k) rows[idx[k]].got = out[k];
    }
    return rows;
}

// Statistics per region (in order of first appearance) and, last, overall
// under the label "all".
// With by_band, the rows are grouped by shape band instead of method region.
inline std::vector<Stats> summarise(const std::vector<Row> &rows, bool by_band = false) {
    std::vector<std::string> order;
    std::map<std::string, std::vector<const Row *>> by;
    for (const auto &r : rows) {
        const std::string &key = by_band ? r.band : r.region;
        if (!by.count(key)) order.push_back(key);
        by[key].push_back(&r);
        by["all"].push_back(&r);
    }
    order.push_back("all");
    std::vector<Stats> out;
    for (const auto &name : order) {
        Stats s;
        s.region = name;
        std::vector<double> errs;
        for (const Row *r : by[name]) {
            const double e = rel_err(r->got, r->want);
            errs.push_back(e);
            if (e >= s.max) {
                s.max = e;
                s.worst_x = r->x;
                s.worst_params = r->params;
            }
        }
        s.n = errs.size();
        std::sort(errs.begin(), errs.end());
        s.median = errs.empty() ? 0 : (errs.size() % 2 ? errs[errs.size() / 2]
                                                       : 0.5 * (errs[errs.size() / 2 - 1] + errs[errs.size() / 2]));
        out.push_back(s);
    }
    return out;
}

} // namespace gamma_accuracy

#endif
