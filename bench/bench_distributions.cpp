// The nine CDF plug-ins per element against Boost.Math's distributions, with
// double precision kept (no promotion to long double) and with Boost's
// default policy. Ours is the whole plug-in call on a column of 1e6 points
// (gateway included); the peer evaluates the same points with the same
// parameters.
#include "bench_common.hpp"

#include <benchmark/benchmark.h>
#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/gamma.hpp>
#include <boost/math/distributions/negative_binomial.hpp>
#include <boost/math/distributions/non_central_chi_squared.hpp>
#include <boost/math/distributions/non_central_f.hpp>
#include <boost/math/distributions/poisson.hpp>
#include <boost/math/distributions/students_t.hpp>

#include <string>
#include <vector>

namespace {

namespace bm = boost::math;
using NoPromote = bm::policies::policy<bm::policies::promote_double<false>>;
using Default = bm::policies::policy<>;
constexpr size_t kPoints = 1000000;

struct Case {
    const char *name;
    std::vector<double> params;
    std::vector<double> points;
};

template <class Dist>
void peer(benchmark::State &state, const Dist &d, const std::vector<double> &x) {
    std::vector<double> y(x.size());
    for (auto _ : state) {
        for (size_t i = 0; i < x.size(); ++i) y[i] = bm::cdf(d, x[i]);
        benchmark::DoNotOptimize(y.data());
        benchmark::ClobberMemory();
    }
    bench::items(state, x.size());
}

void ours(benchmark::State &state, const std::string &plugin, const std::vector<double> &params,
          const std::vector<double> &x) {
    auto xs = bench::column(x);
    std::vector<mexhost::ArrayPtr> p;
    std::vector<const mxArray *> in{xs.get()};
    for (double v : params) {
        p.push_back(mexhost::make_scalar(v));
        in.push_back(p.back().get());
    }
    bench::time_calls(state, plugin, 1, in);
    bench::items(state, x.size());
}

// make(params, policy tag) builds the Boost distribution for a case.
template <class Make>
void register_cdf(const std::string &plugin, const std::vector<Case> &cases, Make make) {
    for (const Case &c : cases) {
        const std::string suffix = plugin + "/" + c.name;
        const Case cc = c;
        benchmark::RegisterBenchmark(("BM_ours_" + suffix).c_str(),
                                     [plugin, cc](benchmark::State &s) { ours(s, plugin, cc.params, cc.points); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_peer_" + suffix).c_str(), [cc, make](benchmark::State &s) {
            peer(s, make(cc.params, NoPromote()), cc.points);
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_peerdefault_" + suffix).c_str(), [cc, make](benchmark::State &s) {
            peer(s, make(cc.params, Default()), cc.points);
        })->Unit(benchmark::kMillisecond);
    }
}

using P = std::vector<double>;

// Points around the centre of a distribution: mean +- k standard deviations,
// clipped to the support.
std::vector<double> around(double mean, double sd, double k, double lo, unsigned seed = 42) {
    auto v = bench::uniform_points(kPoints, mean - k * sd, mean + k * sd, seed);
    for (auto &x : v) x = x < lo ? lo : x;
    return v;
}

std::vector<double> counts_around(double mean, double sd, double k) {
    const double lo = mean - k * sd < 0 ? 0 : mean - k * sd;
    return bench::integer_points(kPoints, long(lo), long(mean + k * sd));
}

const bool registered = [] {
    // typical: moderate parameters (typical_nonint: the same, off the
    // whole numbers, where Boost has no closed form); hard: large parameters, where the
    // ratios need their asymptotic methods, and points across the bulk.
    register_cdf("gamma_lower",
                 {{"typical", {3.0}, bench::uniform_points(kPoints, 0.0, 12.0)},
                  {"typical_nonint", {3.5}, bench::uniform_points(kPoints, 0.0, 12.0)},
                  {"hard", {1e4}, around(1e4, 100.0, 6.0, 0.0)}},
                 [](const P &p, auto pol) { return bm::gamma_distribution<double, decltype(pol)>(p[0], 1.0); });
    register_cdf("chisquare_lower",
                 {{"typical", {5.0}, bench::uniform_points(kPoints, 0.0, 20.0)},
                  {"hard", {2e5}, around(2e5, 632.0, 6.0, 0.0)}},
                 [](const P &p, auto pol) { return bm::chi_squared_distribution<double, decltype(pol)>(p[0]); });
    register_cdf("poisson_lower",
                 {{"typical", {10.0}, bench::integer_points(kPoints, 0, 30)},
                  {"hard", {1e6}, counts_around(1e6, 1000.0, 6.0)}},
                 [](const P &p, auto pol) { return bm::poisson_distribution<double, decltype(pol)>(p[0]); });
    register_cdf("noncentralchi2_lower",
                 {{"typical", {4.0, 3.0}, bench::uniform_points(kPoints, 0.0, 25.0)},
                  {"hard", {10.0, 1000.0}, around(1010.0, 64.0, 6.0, 0.0)}},
                 [](const P &p, auto pol) {
                     return bm::non_central_chi_squared_distribution<double, decltype(pol)>(p[0], p[1]);
                 });
    register_cdf("beta_lower",
                 {{"typical", {2.0, 5.0}, bench::uniform_points(kPoints, 0.0, 1.0)},
                  {"typical_nonint", {2.5, 5.5}, bench::uniform_points(kPoints, 0.0, 1.0)},
                  {"hard", {1000.0, 2000.0}, around(1.0 / 3.0, 0.0086, 6.0, 0.0)}},
                 [](const P &p, auto pol) { return bm::beta_distribution<double, decltype(pol)>(p[0], p[1]); });
    register_cdf("negbinomial_lower",
                 {{"typical", {5.0, 0.4}, bench::integer_points(kPoints, 0, 30)},
                  {"typical_nonint", {5.5, 0.4}, bench::integer_points(kPoints, 0, 30)},
                  {"hard", {1e4, 0.3}, counts_around(23333.0, 279.0, 6.0)}},
                 [](const P &p, auto pol) {
                     return bm::negative_binomial_distribution<double, decltype(pol)>(p[0], p[1]);
                 });
    register_cdf("fisherf_lower",
                 {{"typical", {5.0, 10.0}, bench::uniform_points(kPoints, 0.0, 5.0)},
                  {"hard", {1e4, 1e5}, around(1.0, 0.015, 6.0, 0.0)}},
                 [](const P &p, auto pol) { return bm::fisher_f_distribution<double, decltype(pol)>(p[0], p[1]); });
    register_cdf("studentt_lower",
                 {{"typical", {5.0}, bench::uniform_points(kPoints, -6.0, 6.0)},
                  {"hard", {1e5}, bench::uniform_points(kPoints, -6.0, 6.0)}},
                 [](const P &p, auto pol) { return bm::students_t_distribution<double, decltype(pol)>(p[0]); });
    register_cdf("noncentralf_lower",
                 {{"typical", {4.0, 12.0, 3.0}, bench::uniform_points(kPoints, 0.0, 8.0)},
                  {"hard", {4.0, 12.0, 300.0}, bench::uniform_points(kPoints, 30.0, 150.0)}},
                 [](const P &p, auto pol) {
                     return bm::non_central_f_distribution<double, decltype(pol)>(p[0], p[1], p[2]);
                 });
    return true;
}();

} // namespace
