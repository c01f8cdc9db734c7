// Seeded generator of plug-in argument lists: every array class the host
// has, real and complex, full and sparse, every shape kind and the values
// that break numerical code (NaN, infinities, signed zeros, huge, subnormal,
// negative and fractional sizes and indices).
#ifndef TESTS_FUZZ_ARG_GENERATOR_HPP
#define TESTS_FUZZ_ARG_GENERATOR_HPP

#include "mexhost.hpp"

#include <random>
#include <string>
#include <vector>

namespace fuzz {

struct GeneratedArgs {
    std::vector<mexhost::ArrayPtr> arrays;
    std::string description; // enough to reproduce the case by hand
};

class ArgGenerator {
public:
    explicit ArgGenerator(uint64_t seed) : rng_(seed) {}

    // An argument list of 0..max_args arrays.
    GeneratedArgs args(int max_args);
    // One array of at most max_elems elements.
    mexhost::ArrayPtr array(std::string &desc, size_t max_elems, int depth = 0);
    int nargout() { return int(pick(5)); }

private:
    size_t pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }
    double value();
    std::vector<size_t> shape(size_t max_elems);

    std::mt19937_64 rng_;
};

} // namespace fuzz

#endif
