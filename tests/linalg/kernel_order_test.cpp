// The restructured matrix kernels (blocked rows, non-temporal stores) give
// bit for bit the results of their plain loops, on sizes that cross the
// block edges, odd row counts that misalign the output columns, and outputs
// large enough for the streaming path.
#include "rowkron_kernels.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

std::vector<double> random_values(size_t n, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> d(-3.0, 3.0);
    std::vector<double> v(n);
    for (auto &x : v) x = d(rng);
    if (n > 2) {
        v[1] = 0.0;
        v[n / 2] = -0.0;
    }
    return v;
}

TEST(KernelOrder, RowKronFullMatchesColumnByColumnProducts) {
    struct Size {
        size_t m, p, q;
    };
    const Size sizes[] = {{1, 1, 1},     {7, 3, 2},      {511, 2, 3},  {513, 5, 4},     {4097, 3, 3},
                          {10001, 1, 7}, {200, 100, 100}, {(size_t(1) << 19) + 3, 2, 2}, {3, 0, 4}};
    for (const Size &s : sizes) {
        const auto A = random_values(s.m * s.p, 1), B = random_values(s.m * s.q, 2);
        // One spare double in front lets the output start off a 16-byte line.
        for (size_t shift : {0, 1}) {
            std::vector<double> C(s.m * s.p * s.q + 1, 7.0), want(s.m * s.p * s.q);
            linalg::rowkron_full(C.data() + shift, A.data(), B.data(), s.m, s.p, s.q);
            for (size_t i = 0; i < s.p; ++i)
                for (size_t j = 0; j < s.q; ++j)
                    for (size_t r = 0; r < s.m; ++r) want[s.m * (i * s.q + j) + r] = A[s.m * i + r] * B[s.m * j + r];
            EXPECT_TRUE(want.empty() || std::memcmp(C.data() + shift, want.data(), want.size() * sizeof(double)) == 0)
                << s.m << "x" << s.p << " by " << s.q << ", shift " << shift;
        }
    }
}

} // namespace
