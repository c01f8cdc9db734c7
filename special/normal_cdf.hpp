// Standard normal cumulative distribution function by Cody's three-range
// rational Chebyshev approximations of erf and erfc.
#ifndef SPECIAL_NORMAL_CDF_HPP
#define SPECIAL_NORMAL_CDF_HPP

namespace special {

// Cody's coefficients, shared with the inverse normal CDF.
extern const double normal_cdf_p1[5];
extern const double normal_cdf_q1[4];
extern const double normal_cdf_p2[9];
extern const double normal_cdf_q2[8];
extern const double normal_cdf_p3[6];
extern const double normal_cdf_q3[5];

// The constants that differ between the plug-ins carrying the function:
// the scale s ~ 1/sqrt(2), the upper bound of the second range, the cut-off
// beyond which the tail is taken as exactly 0 or 1, and whether a NaN
// argument gives NaN (otherwise it falls through every range test to 1).
struct NormalCdfConstants {
    double scale;
    double bound2;
    double cutoff;
    bool nan_gives_nan;
};

// Constants of gausscum and kerndens.
constexpr NormalCdfConstants kDensityConstants{0.7071067811865476, 5.656854249492381, 8.3, true};
// Constants of euoption and amoption.
constexpr NormalCdfConstants kOptionConstants{0.7071067811865475, 4.0, 10.0, false};

double normal_cdf(double x, const NormalCdfConstants &c);

// Phi(x) with the gausscum/kerndens constants.
inline double gausscum(double x) { return normal_cdf(x, kDensityConstants); }
// Phi(x) with the euoption/amoption constants.
inline double gausscum_option(double x) { return normal_cdf(x, kOptionConstants); }

} // namespace special

#endif
