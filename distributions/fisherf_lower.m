% FISHERF_LOWER  F cumulative distribution function.
%
%   p = fisherf_lower(x, a, b)
%
%   x  real double array; the points are its first column (m = its row
%      count; a row vector contributes its first element only). A sparse x
%      is read through its full equivalent.
%   a  numerator, b  denominator degrees of freedom; both >= 1e-37.
%   Parameters are scalars (their first element is used).
%   p  m-by-1 column of lower-tail probabilities P(X <= x).
%      Near full double precision. x <= 0 and NaN give 0, x = Inf gives 1.
%
%   Errors (exact messages):
%     "fisherf_lower: 3 inputs required."         wrong number of inputs
%     "fisherf_lower: 1 output argument"
%         other than exactly one output (none included)
%     "fisherf_lower: x must be a double array."  x not of class double
%     "fisherf_lower: a < 1e-37"                  a below 1e-37 or NaN
%     "fisherf_lower: b < 1e-37"                  b below 1e-37 or NaN
%
%   Example:
%     fisherf_lower([0.5; 1; 2], 3, 10)
%
%   See also noncentralf_lower, beta_lower.
