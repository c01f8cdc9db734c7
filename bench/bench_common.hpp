// Shared inputs for the benchmarks: reproducible point sets.
#ifndef BENCH_COMMON_HPP
#define BENCH_COMMON_HPP

#include <random>
#include <vector>

namespace bench {

inline std::vector<double> uniform_points(size_t n, double lo, double hi, unsigned seed = 42) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> d(lo, hi);
    std::vector<double> v(n);
    for (auto &x : v) x = d(rng);
    return v;
}

} // namespace bench

#endif
