// Vectors of W doubles (GCC vector extensions) and an exponential that runs
// in their lanes, for kernels whose inner loops go W elements at a time.
// Everything here is always inlined into its caller, so one source serves
// every instruction set a caller is compiled for.
#ifndef SPECIAL_LANES_HPP
#define SPECIAL_LANES_HPP

#include <cstddef>
#include <cstring>

// No vector crosses a call (all is inlined), so GCC's note that passing
// wide vectors by value depends on the instruction set does not apply.
#pragma GCC diagnostic ignored "-Wpsabi" // for the rest of the including file

#define LANE_INLINE inline __attribute__((always_inline))
#define LANE_INLINE_LAMBDA __attribute__((always_inline))

namespace special {

#if defined(__GNUC__) && !defined(__clang__) && (defined(__x86_64__) || defined(__i386__))
#define LANES_X86 1
#define LANES_AVX2 __attribute__((target("avx2")))
#define LANES_AVX512 __attribute__((target("avx512f")))
#endif

// The widest lane count the processor running the code supports: 8 with
// AVX-512, 4 with AVX2, else 2 (SSE2, part of every x86-64). The build stays
// generic; callers keep one version of their loop per width and pick one at
// run time with this. Every width gives the same results.
inline int lane_width() {
#ifdef LANES_X86
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) return 8;
    if (__builtin_cpu_supports("avx2")) return 4;
#endif
    return 2;
}

template <int W> struct Lanes {
    typedef double D __attribute__((vector_size(W * sizeof(double))));
    typedef long long L __attribute__((vector_size(W * sizeof(double))));
    typedef unsigned long long U __attribute__((vector_size(W * sizeof(double))));
};

// The first n (1 to W) elements at p, and zeros in the other lanes.
template <class D> LANE_INLINE D load(const double *p, size_t n) {
    D v = D{} + 0.0;
    if (n * sizeof(double) == sizeof v)
        std::memcpy(&v, p, sizeof v); // one vector load
    else
        for (size_t k = 0; k < n; ++k) v[k] = p[k];
    return v;
}

// Stores the first n lanes of v at p.
template <class D> LANE_INLINE void store(double *p, const D &v, size_t n) {
    if (n * sizeof(double) == sizeof v)
        std::memcpy(p, &v, sizeof v);
    else
        for (size_t k = 0; k < n; ++k) p[k] = v[k];
}

// body(k, len) for k = 0, W, 2W, ... with len = W, then once for the 1 to
// W-1 elements left over.
template <int W, class Body> LANE_INLINE void for_lanes(size_t m, Body body) {
    size_t k = 0;
    for (; k + W <= m; k += W) body(k, size_t(W));
    if (k < m) body(k, m - k);
}

// exp(t) for t <= 0, the Gaussian kernel's exponent, without a library
// call, so that it runs in the lanes. t = n ln2 + r with n the nearest
// integer to t/ln2 (found by the 1.5*2^52 shift) and |r| <= ln2/2, reduced in
// two parts of ln2 whose first has 32 significant bits, so n*ln2_hi is exact;
// exp(r) by a polynomial of degree 11 (near-minimax on [-ln2/2, ln2/2],
// relative error 1.7e-17 with its coefficients rounded to double) in
// Estrin's scheme, which keeps the chain of dependent operations short; then
// times 2^n, built in the exponent bits. Arguments below -746 give 0 (exp(-746) rounds to 0), NaN
// gives NaN. Against the C library's exp the result differs by a few units
// in the last place at most (measured by the tests and in
// docs/performance.md).
template <int W> LANE_INLINE typename Lanes<W>::D exp_nonpositive(const typename Lanes<W>::D &arg) {
    typedef typename Lanes<W>::D D;
    typedef typename Lanes<W>::L L;
    typedef typename Lanes<W>::U U;
    const double kLog2e = 1.4426950408889634;
    const double kShift = 6755399441055744.0;      // 1.5 * 2^52
    const double kLn2Hi = 0.693147180369123816490; // 0x1.62e42fee00000p-1
    const double kLn2Lo = 1.90821492927058770002e-10;
    const D t = arg < -746.0 ? D{} - 746.0 : arg;
    const D kd = t * kLog2e + kShift;
    const D n = kd - kShift;
    const D r = (t - n * kLn2Hi) - n * kLn2Lo;
    const D r2 = r * r, r4 = r2 * r2, r8 = r4 * r4;
    const D q0 = 1.0 + r, q1 = 0.5000000000000019 + r * 0.1666666666666668,
            q2 = 0.0416666666664881 + r * 0.008333333333319601,
            q3 = 0.0013888888952314775 + r * 0.00019841269890047113,
            q4 = 2.4801485482328494e-05 + r * 2.755724091857897e-06,
            q5 = 2.763263963904103e-07 + r * 2.5110037605963777e-08;
    const D p = (q0 + q1 * r2) + (q2 + q3 * r2) * r4 + (q4 + q5 * r2) * r8;
    // n lies in [-1076, 0] and sits, signed, in the low 51 bits of kd. 2^n
    // is applied as 2^(n - n/2) * 2^(n/2), each factor a normal number, so
    // that results in the subnormal range are rounded once (and no lane
    // needs a branch of its own).
    U bits;
    std::memcpy(&bits, &kd, sizeof bits);
    const L ni = L(bits << 13) >> 13;
    const L half = ni >> 1, rest = ni - half;
    const U e1 = U(half + 1023) << 52, e2 = U(rest + 1023) << 52;
    D s1, s2;
    std::memcpy(&s1, &e1, sizeof s1);
    std::memcpy(&s2, &e2, sizeof s2);
    return (p * s1) * s2;
}

} // namespace special

#endif
