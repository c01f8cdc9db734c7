// Special functions per element against Boost.Math, with double precision
// kept (no promotion to long double) and with Boost's default policy; kernel
// density estimation against a plain double loop; option values per element.
#include "bench_common.hpp"
#include "digamma.hpp"
#include "kernel_density.hpp"
#include "normal_cdf.hpp"
#include "normal_quantile.hpp"

#include <benchmark/benchmark.h>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/special_functions/digamma.hpp>

#include <cmath>
#include <functional>
#include <string>

namespace {

using NoPromote = boost::math::policies::policy<boost::math::policies::promote_double<false>>;
constexpr size_t kPoints = 1000000;

// Times y[i] = f(x[i]) over a vector of points.
void elementwise(benchmark::State &state, const std::vector<double> &x, const std::function<double(double)> &f) {
    std::vector<double> y(x.size());
    for (auto _ : state) {
        for (size_t i = 0; i < x.size(); ++i) y[i] = f(x[i]);
        benchmark::DoNotOptimize(y.data());
        benchmark::ClobberMemory();
    }
    bench::items(state, x.size());
}

// Times the array form y = f(x) of our kernel over the same points.
void arraywise(benchmark::State &state, const std::vector<double> &x,
               const std::function<void(const double *, double *, size_t)> &f) {
    std::vector<double> y(x.size());
    for (auto _ : state) {
        f(x.data(), y.data(), x.size());
        benchmark::DoNotOptimize(y.data());
        benchmark::ClobberMemory();
    }
    bench::items(state, x.size());
}

struct Case {
    const char *name;
    std::vector<double> points;
};

// Registers BM_ours_<fn>/<case>, BM_peer_... and BM_peerdefault_... on the
// same points; ours is the loop the plug-in runs over its elements.
template <class Peer, class PeerDefault>
void register_trio(const std::string &fn, const std::vector<Case> &cases,
                   std::function<void(const double *, double *, size_t)> ours, Peer peer, PeerDefault def) {
    for (const Case &c : cases) {
        const std::string suffix = fn + "/" + c.name;
        const std::vector<double> x = c.points;
        benchmark::RegisterBenchmark(("BM_ours_" + suffix).c_str(),
                                     [x, ours](benchmark::State &s) { arraywise(s, x, ours); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_peer_" + suffix).c_str(),
                                     [x, peer](benchmark::State &s) { elementwise(s, x, peer); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_peerdefault_" + suffix).c_str(),
                                     [x, def](benchmark::State &s) { elementwise(s, x, def); })
            ->Unit(benchmark::kMillisecond);
    }
}

template <double (*F)(double)> void each(const double *x, double *y, size_t n) {
    for (size_t i = 0; i < n; ++i) y[i] = F(x[i]);
}

std::vector<double> both_tails(size_t n, double lo, double hi) {
    auto v = bench::uniform_points(n, lo, hi);
    for (size_t i = 0; i < n; i += 2) v[i] = -v[i];
    return v;
}

const bool registered = [] {
    const boost::math::normal_distribution<double, NoPromote> nd;
    const boost::math::normal_distribution<double> nd_default;
    // typical: the body of the distribution; hard: both tails, through the
    // asymptotic range down to where the lower tail underflows.
    register_trio("gausscum",
                  {{"typical", bench::uniform_points(kPoints, -4.0, 4.0)}, {"hard", both_tails(kPoints, 4.0, 38.0)}},
                  each<special::gausscum>,
                  [nd](double x) { return boost::math::cdf(nd, x); },
                  [nd_default](double x) { return boost::math::cdf(nd_default, x); });
    register_trio("gaussquant",
                  {{"typical", bench::uniform_points(kPoints, 1e-6, 1.0 - 1e-6)},
                   {"hard", bench::log_uniform_points(kPoints, 1e-300, 1e-3)}},
                  special::gaussquant_array,
                  [nd](double p) { return boost::math::quantile(nd, p); },
                  [nd_default](double p) { return boost::math::quantile(nd_default, p); });
    // hard: near the pole at 0 (many shifts) and far out.
    auto hard = bench::log_uniform_points(kPoints, 1e-8, 1.0);
    auto far = bench::log_uniform_points(kPoints / 2, 1e3, 1e15, 7);
    std::copy(far.begin(), far.end(), hard.begin());
    register_trio("digamma", {{"typical", bench::uniform_points(kPoints, 0.5, 30.0)}, {"hard", hard}},
                  special::digamma_array,
                  [](double x) { return boost::math::digamma(x, NoPromote()); },
                  [](double x) { return boost::math::digamma(x); });
    return true;
}();

// Kernel density, 1e4 evaluation points by 1e4 data points: our kernel
// against the plain double loop (the standard exponential and error
// function per pair for the Gaussian kernel).
constexpr size_t kDensityPoints = 10000;

struct DensityData {
    std::vector<double> x, xi;
    double h = 0.3;
    double sd = 0.0;
    DensityData() : x(bench::uniform_points(kDensityPoints, -3.0, 3.0, 3)), xi(bench::uniform_points(kDensityPoints, -2.0, 2.0, 4)) {
        double sum = 0.0, ss = 0.0;
        for (double v : xi) sum += v;
        const double mean = sum / double(xi.size());
        for (double v : xi) ss += (v - mean) * (v - mean);
        sd = std::sqrt(ss / double(xi.size() - 1));
    }
};

const DensityData &density_data() {
    static const DensityData d;
    return d;
}

void plain_density(const DensityData &d, bool epan, double *f, double *F) {
    const size_t m = d.x.size(), n = d.xi.size();
    const double dn = double(n);
    const double c = (epan ? 0.06708203932499368 : 0.3989422804014327) / dn;
    const double w = d.sd * d.h, cw = c / w;
    for (size_t j = 0; j < n; ++j) {
        const double xj = d.xi[j];
        for (size_t k = 0; k < m; ++k) {
            const double u = (d.x[k] - xj) / w;
            if (epan) {
                if (u * u < 5.0) {
                    f[k] += (5.0 - u * u) * cw;
                    if (F) F[k] += ((15.0 - u * u) * u + 22.360679774997898) * c / 3.0;
                } else if (F && u >= 2.23606797749979) {
                    F[k] += 1.0 / dn;
                }
            } else {
                f[k] += std::exp(u * (-0.5) * u) * cw;
                if (F) F[k] += 0.5 * std::erfc(u * -0.7071067811865476) / dn;
            }
        }
    }
}

void density(benchmark::State &state, bool ours, bool epan, bool two_outputs) {
    const DensityData &d = density_data();
    const size_t m = d.x.size();
    std::vector<double> f(m), F(m);
    for (auto _ : state) {
        std::fill(f.begin(), f.end(), 0.0);
        std::fill(F.begin(), F.end(), 0.0);
        double *Fp = two_outputs ? F.data() : nullptr;
        if (ours)
            special::kernel_density(d.x.data(), m, d.xi.data(), d.xi.size(), &d.h, 1,
                                    epan ? special::Kernel::Epanechnikov : special::Kernel::Gaussian, f.data(), Fp);
        else
            plain_density(d, epan, f.data(), Fp);
        benchmark::DoNotOptimize(f.data());
        benchmark::DoNotOptimize(F.data());
    }
    bench::items(state, m * d.xi.size()); // per pair
}

const bool registered_density = [] {
    for (bool epan : {true, false})
        for (bool two : {false, true}) {
            const std::string suffix = std::string("kerndens_pair/") + (epan ? "epanechnikov" : "gaussian") +
                                       (two ? "_f_and_F" : "_f");
            benchmark::RegisterBenchmark(("BM_ours_" + suffix).c_str(),
                                         [=](benchmark::State &s) { density(s, true, epan, two); })
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("BM_peer_" + suffix).c_str(),
                                         [=](benchmark::State &s) { density(s, false, epan, two); })
                ->Unit(benchmark::kMillisecond);
        }
    return true;
}();

} // namespace

// Option values through the plug-ins, 1e5 options per call.
static void option_call(benchmark::State &state, const char *name, int nargout) {
    const size_t n = 100000;
    auto S = bench::column(bench::uniform_points(n, 60.0, 140.0));
    auto sigma = mexhost::make_scalar(0.25), K = mexhost::make_scalar(100.0), r = mexhost::make_scalar(0.05),
         delta = mexhost::make_scalar(0.02), T = mexhost::make_scalar(0.75), put = mexhost::make_scalar(1.0);
    bench::time_calls(state, name, nargout, {sigma.get(), S.get(), K.get(), r.get(), delta.get(), T.get(), put.get()});
    bench::items(state, n);
}
BENCHMARK_CAPTURE(option_call, euoption_put, "euoption", 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(option_call, amoption_put, "amoption", 3)->Unit(benchmark::kMillisecond);
